// The Tag of a standard key of the alphanumeric pad: a virtual-key code written in decimal.
#pragma once

#include <cstdint>
#include <string>

namespace pmx {

// A whole number from 0 to 255, blanks around it allowed. Anything else is no key code.
bool parseKeyCode(const std::string& tag, std::uint8_t& code);

}  // namespace pmx
