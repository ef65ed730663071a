// The keyboard process: its module-wide values, the pad manager and the host link.
#pragma once

#include <string>

#include "PMXTouchKeyboard.h"
#include "app/HostLink.h"
#include "common/MPMXTouchKeyBoard.h"
#include "pad_manager/PadManager.h"

namespace pmx {

constexpr const char* kSettingsFileName = "\\" PMXTK_SETTINGS_FILE_NAME;

// The exit code of a keyboard started without a live controller window.
constexpr int kExitNoHost = 2;

class Keyboard {
 public:
  explicit Keyboard(Platform& platform)
      : context_{platform, values_, pads_}, pads_(context_), link_(context_) {}

  // Start-up: names the settings file, reads "/Controller:" and "/Thread:" from the argument
  // string (the command line without the program's path), watches the process of the controller
  // window, registers the host protocol's messages and opens the host link. Afterwards the process
  // only runs its message loop. False, with nothing opened, when there is no live controller
  // window: the keyboard has no host to serve and ends at once (kExitNoHost).
  bool Main(const std::string& arguments, const std::string& exeDirectory);

  // The host's process has ended without the terminate request: the keyboard ends as that
  // request ends it, and sends nothing more.
  void HostGone() { link_.HostGone(); }

  std::intptr_t KeyboardWindowProc(WindowHandle window, std::uint32_t message,
                                   std::uintptr_t wParam, std::intptr_t lParam) {
    return link_.KeyboardWindowProc(window, message, wParam, lParam);
  }

  ModuleValues& values() { return values_; }
  PadManager& pads() { return pads_; }
  HostLink& hostLink() { return link_; }

 private:
  ModuleValues values_;
  Context context_;
  PadManager pads_;
  HostLink link_;
};

}  // namespace pmx
