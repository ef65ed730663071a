#include "controls/KeyCode.h"

namespace pmx {

bool parseKeyCode(const std::string& tag, std::uint8_t& code) {
  const std::size_t begin = tag.find_first_not_of(' ');
  const std::size_t end = tag.find_last_not_of(' ');
  if (begin == std::string::npos) return false;
  const std::string digits = tag.substr(begin, end - begin + 1);
  if (digits.size() > 3) return false;
  int value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  if (value > 255) return false;
  code = static_cast<std::uint8_t>(value);
  return true;
}

}  // namespace pmx
