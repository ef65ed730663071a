#include "controls/KeyCode.h"

namespace pmx {

bool parseKeyCode(const std::string& tag, std::uint8_t& code) {
  const std::size_t begin = tag.find_first_not_of(' ');
  if (begin == std::string::npos) return false;
  const std::size_t end = tag.find_last_not_of(' ');
  int value = 0;
  // Leading zeros are allowed ("065"); the value is checked digit by digit, so it cannot overflow.
  for (std::size_t i = begin; i <= end; ++i) {
    const char c = tag[i];
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
    if (value > 255) return false;
  }
  code = static_cast<std::uint8_t>(value);
  return true;
}

}  // namespace pmx
