// Key injection with SendInput into the input stream of the desktop.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/Platform.h"

namespace pmx {

class Win32KeyInjector : public KeyInjector {
 public:
  // The whole string goes in one SendInput call, so that no real key press lands in its middle.
  // Characters are typed through the keyboard layout of the calling thread.
  void sendKeys(const std::vector<KeyStroke>& strokes) override;
  // One key event: the virtual key, scan code 0, never the extended-key flag.
  void keyEvent(std::uint8_t vk, bool up) override;
};

}  // namespace pmx
