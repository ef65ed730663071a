// The settings checker: what the keyboard would silently ignore or get wrong in a settings file.
//
// The keyboard reports nothing about its settings file by design. The checker reads a file the
// way the keyboard does (ProfileText; a UTF-16 file on its text in UTF-8) and reports, with line
// numbers, what the keyboard will do and how to mend it:
//
//   errors   - an entry the keyboard never reads, or reads to another effect than written:
//              unknown sections and keys (with the nearest known key name), sections no language
//              reaches, later duplicates of a section or key, lines outside a section or without
//              "=", NUL bytes, malformed keystroke strings, repeat counts beyond 255, comments
//              behind keystrokes, key codes that are no whole number 1-255, numbers that are none
//              or overflow, unknown character sets, values cut at 254 characters, bytes that form
//              no character of the language's code page (captions and keystrokes), control
//              characters in captions, captions of keys that are never shown, a UTF-8 byte-order
//              mark, big-endian UTF-16, surrogates without their partner;
//   warnings - what the keyboard reads but may not show as meant: numbers it reads despite the
//              text around them (with the value read), captions wider than their key at key size
//              1, two-line captions on keys too low for two lines, "\n" in limit captions,
//              captions whose width it cannot measure (one warning a section), captions drawn over
//              or against their key's pictogram, comments behind captions, texts beyond ASCII of
//              a language without a [CharSet] entry (one warning a section), captions that look
//              like UTF-8, empty values that keep the built-in text, extra keys with keystrokes but
//              no caption, [Replace] entries that lead to a language the file has no texts for or
//              that another entry maps on (the keyboard takes one step only).
//
// The report is safe to print: UTF-8 without control characters; the texts of the file appear as
// the keyboard reads them (see spelledCharacters).
//
// Used by `PMXTouchKeyboard.exe /CheckSettings:<file>` and by the native tool check_settings.
#pragma once

#include <cstdint>
#include <functional>
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

// How the platform decodes a font character set's double-byte code page, for the report: the
// character of a byte (trail < 0) or of a lead and a trail byte; 0 for none. The checker's own
// tables know which byte sequences form characters there, not which characters they are: without
// this, the report shows such characters as their bytes.
using CharacterNamer = std::function<char32_t(std::int16_t charset, unsigned char byte, int trail)>;

SettingsCheck checkSettings(const std::string& bytes, const CharacterNamer& names = {});

// The report: one line per finding ("<file>:<line>: error: <text>"), then a summary line.
std::string formatSettingsCheck(const std::string& fileName, const SettingsCheck& check);

// A settings file as a front end read it, with the platform's means. Folders and devices are no
// settings files: a front end reads only a regular file.
struct SettingsFileRead {
  std::string path;   // the full path, in UTF-8
  bool read = false;  // the bytes are the whole file
  std::string bytes;
  std::string problem;  // when not read: why ("there is no such file", "it is a folder", ...)
  bool missing = false;  // not read because there is no such file
};

// The report on a file, every line of it beginning with the file's full path, and the exit code:
// 0 without errors, 1 with errors, kSettingsUnreadable when it was not read.
int reportSettingsCheck(const SettingsFileRead& file, std::string& report,
                        const CharacterNamer& names = {});

}  // namespace pmx
