// The settings checker: what the keyboard would silently ignore or get wrong in a settings file.
//
// The keyboard reports nothing about its settings file by design. The checker reads a file the
// way the keyboard does (ProfileText; a UTF-16 file on its text in UTF-8) and reports, with line
// numbers:
//
//   errors   - an entry the keyboard never reads, or reads to another effect than written:
//              unknown sections and keys, sections no language reaches, later duplicates of a
//              section or key, lines outside a section or without "=", malformed keystroke
//              strings, key codes that are no whole number 0-255, numbers that read as another
//              number, unknown character sets, values cut at 254 characters, bytes that form no
//              character of the language's code page (captions and keystrokes), control
//              characters in captions, a UTF-8 byte-order mark, big-endian UTF-16, surrogates
//              without their partner;
//   warnings - what the keyboard reads but may not show as meant: captions wider than their key
//              at key size 1, captions whose width it cannot measure (one warning a section),
//              captions drawn over or against their key's pictogram, texts beyond ASCII of a
//              language without a [CharSet] entry (one warning a section), captions that look
//              like UTF-8, empty values that keep the built-in text, extra keys with keystrokes
//              but no caption.
//
// Used by `PMXTouchKeyboard.exe /CheckSettings:<file>` and by the native tool check_settings.
#pragma once

#include <string>
#include <vector>

namespace pmx {

enum class Severity { Warning, Error };

struct SettingsFinding {
  int line = 0;  // 0: the file as a whole
  Severity severity = Severity::Error;
  std::string text;
};

struct SettingsCheck {
  std::vector<SettingsFinding> findings;  // in the order of their lines
  int errors() const;
  int warnings() const;
  int exitCode() const { return errors() > 0 ? 1 : 0; }
};

// Exit code when the file cannot be read.
constexpr int kSettingsUnreadable = 2;

SettingsCheck checkSettings(const std::string& bytes);

// The report: one line per finding ("<file>:<line>: error: <text>"), then a summary line.
std::string formatSettingsCheck(const std::string& fileName, const SettingsCheck& check);

// Reads and checks a file; the report goes to `report`. Returns the exit code: 0 without errors,
// 1 with errors, kSettingsUnreadable when the file cannot be read.
int runSettingsCheck(const std::string& path, std::string& report);

// How the report writes a text of the file (quoted, bytes outside printable ASCII as \xNN, so
// that the report is plain ASCII) and a byte ("0xE9").
std::string quoted(const std::string& text);
std::string hexByte(unsigned char b);

}  // namespace pmx
