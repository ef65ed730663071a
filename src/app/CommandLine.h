// The command line: the switches the host passes, and those a person types.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/Platform.h"
#include "settings/SettingsCheck.h"

namespace pmx {

// Exit code of a command line that names no single thing to do (and of a check of a file that
// cannot be read, kSettingsUnreadable).
constexpr int kExitBadCommandLine = 2;

// Reads a decimal number the way the host writes it: blanks, tabs and line feeds are skipped
// wherever they stand; an optional sign, digits, an optional decimal point with further digits and
// an optional exponent are read; reading stops at the first other character. No digits give 0.
// The result is rounded to the nearest integer (a half to the even neighbour) and clamped to the
// signed 32-bit range. `end`, when given, learns where reading stopped.
std::int32_t readDecimal(const std::string& text, std::size_t* end = nullptr);

// What a command line asks for.
struct CommandLine {
  std::int32_t controller = 0;  // /Controller:, 0 when not given
  std::int32_t thread = 0;      // /Thread:, 0 when not given
  bool help = false;            // /? or /help: show the usage
  bool checkSettings = false;   // /CheckSettings: check a settings file, start no keyboard
  std::string settingsFile;     // the file it names; empty for the keyboard's own
  std::string error;            // what cannot be read, and what to write instead; empty if none
};

// Reads the argument string (the command line without the program's path) by one table of the
// switches. Switch names match in any letter case.
//   - The arguments are split as the C runtime splits them: at blanks outside double quotes;
//     "a b" is one argument, \" a quote.
//   - /Controller: and /Thread: are read where they first stand in the string, even inside
//     another argument, as numbers by readDecimal: "/Controller:1234/Thread:567" gives 1234 and
//     567, "/Controller: 12 34" 1234; after "0x" as hexadecimal, the 32 bits of a handle as tools
//     print it ("/Controller:0x2004C" 131148, "0xFFFF1234" -60876; more than 32 bits give 0).
//     /Project: takes the rest of its argument and is not used.
//   - /CheckSettings alone names the keyboard's own settings file. /CheckSettings:<file> and
//     /CheckSettings=<file> name the rest of the argument, whatever it starts with
//     (/CheckSettings:/panel/q.ini is /panel/q.ini); after an unquoted "/CheckSettings:" that
//     ends its argument the next argument is the file, unless it is a switch.
//   - /? and /help ask for the usage.
// An error, and no file: an empty file name, a quote never closed, /CheckSettings twice, a switch
// that is none of the table or a word that is no switch (also a second word of a file name with
// blanks that were not quoted).
CommandLine readCommandLine(const std::string& arguments);

// The usage, from the same table.
std::string commandLineUsage();

// Reads a settings file for a check, with the platform's means: a full path, the bytes of a
// regular file, or why there are none.
using SettingsFileReader = std::function<SettingsFileRead(const std::string& file)>;

// What the command line has the program do before any keyboard starts: show the usage (exit code
// 0), report a command line it cannot read (kExitBadCommandLine), or check a settings file (the
// exit code of reportSettingsCheck). `done` false: start the keyboard.
struct CommandOutcome {
  bool done = false;
  int exitCode = 0;
  std::string output;  // UTF-8, for the console
};
CommandOutcome runCommandLine(const CommandLine& line, const std::string& ownSettingsFile,
                              const SettingsFileReader& read, const CharacterNamer& names = {});

// A host window handle from its 32-bit value, sign-extended as 64-bit Windows expects.
inline WindowHandle windowFromInt32(std::int32_t value) {
  return static_cast<WindowHandle>(static_cast<std::intptr_t>(value));
}

}  // namespace pmx
