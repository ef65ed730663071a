// Reading the switches the host passes on the command line.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Platform.h"

namespace pmx {

// Reads a decimal number the way the host writes it: blanks, tabs and line feeds are skipped
// wherever they stand; an optional sign, digits, an optional decimal point with further digits and
// an optional exponent are read; reading stops at the first other character. No digits give 0.
// The result is rounded to the nearest integer (a half to the even neighbour) and clamped to the
// signed 32-bit range.
std::int32_t readDecimal(const std::string& text);

// The value of a switch such as "/Controller:": the text after the first exact (case-sensitive)
// occurrence of the switch, read with readDecimal. A missing switch gives 0.
std::int32_t switchValue(const std::string& arguments, const std::string& switchText);

// "/CheckSettings:<file>": check a settings file instead of starting the keyboard. The file is
// the text after the colon up to the next blank, or in double quotes; without a colon or a file
// it is the keyboard's own settings file, `ownSettingsFile`. False when the switch is absent.
bool settingsCheckSwitch(const std::string& arguments, const std::string& ownSettingsFile,
                         std::string& file);

// A host window handle from its 32-bit value, sign-extended as 64-bit Windows expects.
inline WindowHandle windowFromInt32(std::int32_t value) {
  return static_cast<WindowHandle>(static_cast<std::intptr_t>(value));
}

}  // namespace pmx
