// The host link: the hidden message window, the input attachment to the host's GUI thread and
// the window procedure that dispatches the host's requests.
#pragma once

#include <cstdint>

#include "common/MPMXTouchKeyBoard.h"

namespace pmx {

class HostLink {
 public:
  explicit HostLink(Context& context) : context_(context) {}

  // Creates the message window, routes it through KeyboardWindowProc, attaches this thread's input
  // to the host thread and announces the window to the controller. Does nothing a second time.
  void OpenHostLink();
  // Detaches the input, restores the window's procedure and destroys it. Nothing when not open.
  void CloseHostLink();

  // Every message of the message window comes here first.
  std::intptr_t KeyboardWindowProc(WindowHandle window, std::uint32_t message,
                                   std::uintptr_t wParam, std::intptr_t lParam);

  bool linked() const { return messageWindow_ != 0; }

  // The host's process has ended: the keyboard ends as the terminate request ends it.
  void HostGone();

 private:
  // The end of the keyboard: the host link closes (unless the window is already going), every pad
  // is unloaded and the message loop ends. Nothing of the keyboard comes back afterwards.
  void shutDown(bool windowDestroyed);
  void notifyRequest(std::uintptr_t wParam, std::intptr_t lParam);
  void keySizeRequest(std::intptr_t lParam);

  Context& context_;
  WindowHandle messageWindow_ = 0;
};

}  // namespace pmx
