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

// "/CheckSettings": check a settings file instead of starting the keyboard, as people write it:
//   /CheckSettings:q.ini   /CheckSettings: q.ini   /CheckSettings=q.ini
//   /CheckSettings:"my panel.ini"   "/CheckSettings:my panel.ini" (the whole switch quoted)
// Without a file (the switch alone, or another switch next) it is the keyboard's own settings
// file. The switch is matched in its letter case, as the host's switches are.
struct SettingsCheckRequest {
  bool requested = false;  // the switch is there
  std::string file;        // the file to check
  std::string error;       // when set, what cannot be read as a file: no file is checked
};
SettingsCheckRequest settingsCheckSwitch(const std::string& arguments,
                                         const std::string& ownSettingsFile);

// A host window handle from its 32-bit value, sign-extended as 64-bit Windows expects.
inline WindowHandle windowFromInt32(std::int32_t value) {
  return static_cast<WindowHandle>(static_cast<std::intptr_t>(value));
}

}  // namespace pmx
