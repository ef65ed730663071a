// Key injection with SendInput into the input stream of the desktop.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/Platform.h"

namespace pmx {

class Win32KeyInjector : public KeyInjector {
 public:
  // Asks the keyboard layout of the calling thread, with the Caps Lock state as it is now.
  CharacterKey characterKey(char32_t character) override;
  // One SendInput call for all events.
  std::size_t inject(const std::vector<KeyEvent>& events) override;
};

}  // namespace pmx
