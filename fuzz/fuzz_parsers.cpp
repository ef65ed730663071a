// The places where outside bytes enter the core one string at a time: the notify record at any
// length, the command line, keystroke strings and the settings file as the checker reads it. Built
// once per target (PMX_FUZZ_TARGET).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "Check.h"
#include "app/CommandLine.h"
#include "common/HostProtocol.h"
#include "common/Unicode.h"
#include "controls/KeyEvents.h"
#include "controls/Keystrokes.h"
#include "settings/ProfileText.h"
#include "settings/SettingsCheck.h"

namespace {

// The record, copied into a buffer of exactly its size so that a read beyond it is caught.
[[maybe_unused]] void notifyRecord(const std::uint8_t* data, std::size_t size) {
  std::vector<std::uint8_t> exact(data, data + size);
  const pmx::NotifyRecord r = pmx::decodeNotifyRecord(exact.empty() ? nullptr : exact.data(), size);
  CHECK(pmx::limitText(r.limitMin).size() <= 254 && pmx::limitText(r.limitMax).size() <= 254);
  const int pad = pmx::choosePad(r.fieldType, r.valueFormat);
  CHECK(pad >= pmx::kNoPad && pad <= pmx::kPadBin);
}

// Lines of UTF-8 in which nothing would make a terminal act: printableText leaves each as it is.
bool safeToPrint(const std::string& report) {
  std::size_t begin = 0;
  for (std::size_t end; (end = report.find('\n', begin)) != std::string::npos; begin = end + 1) {
    const std::string line = report.substr(begin, end - begin);
    if (pmx::printableText(line) != line) return false;
  }
  return begin == report.size();
}

// An argument as Windows argument builders quote it, so that the C runtime's split gives it back.
std::string quotedArgument(const std::string& argument) {
  std::string out = "\"";
  std::size_t backslashes = 0;
  for (char c : argument) {
    if (c == '"') out.append(backslashes + 1, '\\');
    backslashes = c == '\\' ? backslashes + 1 : 0;
    out += c;
  }
  return out.append(backslashes, '\\') + "\"";
}

// A switch's value is the number that follows it, wherever the switch stands. Whatever the
// arguments, a check reads the one file they name or ends with exit code 2: never 0 or 1 for a
// file that was not read (here every name of odd length cannot be read).
[[maybe_unused]] void commandLine(const std::string& text) {
  // Decimal unless it starts with 0x (blanks, tabs and line feeds skipped): the unit tests hold
  // the hexadecimal handles.
  std::string start;  // the first two characters read
  for (std::size_t i = 0; i < text.size() && start.size() < 2; ++i) {
    if (text[i] != ' ' && text[i] != '\t' && text[i] != '\n') start += text[i];
  }
  if (start != "0x" && start != "0X") {
    CHECK(pmx::readCommandLine("/Thread:" + text).thread == pmx::readDecimal(text));
    CHECK(pmx::readCommandLine("/Project:x /controller:" + text).controller ==
          pmx::readDecimal(text));
  }
  const auto trimmed = [](const std::string& s) {
    const std::size_t first = s.find_first_not_of(" \t");
    return first == std::string::npos ? std::string()
                                      : s.substr(first, s.find_last_not_of(" \t") + 1 - first);
  };
  // The file named in each form of the switch, followed by anything (what follows a NUL byte).
  const std::size_t nul = text.find('\0');
  const std::string name = text.substr(0, nul);
  const std::string rest = nul == std::string::npos ? "" : " " + text.substr(nul + 1);
  for (const std::string& arguments : {text, quotedArgument("/CheckSettings:" + name) + rest,
                                       "/CheckSettings: " + quotedArgument(name) + rest,
                                       "/checksettings=" + quotedArgument(name) + rest}) {
    std::vector<std::string> read;
    const auto reader = [&read](const std::string& file) {
      read.push_back(file);
      pmx::SettingsFileRead r;
      r.path = "/full/" + file;
      r.read = file.size() % 2 == 0;
      r.missing = !r.read && file.size() % 3 != 2;
      return r;
    };
    const pmx::CommandLine line = pmx::readCommandLine(arguments);
    const pmx::CommandOutcome outcome = pmx::runCommandLine(line, "own.ini", reader);
    CHECK(read.size() <= 1 && (line.error.empty() || read.empty()));
    CHECK(safeToPrint(outcome.output));
    if (!outcome.done || line.help || outcome.exitCode == 2) continue;
    // A file not read is reported as read never; only the keyboard's own file may be missing,
    // and that is said.
    CHECK(read.size() == 1);
    if (read[0].size() % 2 != 0) {
      CHECK(read[0] == "own.ini" && outcome.exitCode == 0 &&
            outcome.output.find("there is no settings file beside the exe") != std::string::npos);
      continue;
    }
    const std::string path = pmx::printableText("/full/" + read[0]) + ":";
    CHECK(outcome.output.compare(0, path.size(), path) == 0);
    if (arguments != text) CHECK(read[0] == trimmed(name));
  }
}

// Strokes become events that, cut anywhere and repaired, leave no key down and release no key
// that is up. A malformed string keeps what the text before the fault gives on its own.
[[maybe_unused]] void keystrokes(const std::string& text) {
  const std::u32string chars = pmx::decodeUtf8(text);
  const pmx::KeystrokeParse p = pmx::parseKeystrokes(chars);
  CHECK(p.strokes.size() <= pmx::kMaxKeystrokes);
  CHECK(p.ok == (p.error == pmx::KeystrokeError::None));
  if (!p.ok && p.error != pmx::KeystrokeError::UnclosedGroup) {
    const pmx::KeystrokeParse head = pmx::parseKeystrokes(chars.substr(0, p.errorOffset));
    if (head.ok) CHECK(head.strokes.size() == p.strokes.size());
  }
  const auto layout = [](char32_t ch) {
    pmx::CharacterKey key;
    const auto c = static_cast<unsigned char>(ch);
    key.hasKey = c % 3 != 0;
    key.vk = static_cast<std::uint16_t>(c);
    key.shift = c % 5 == 0;
    key.ctrl = key.alt = c % 7 == 0;
    key.dead = c % 11 == 0;
    return key;
  };
  const std::vector<pmx::KeyEvent> events = pmx::keyEventsFor(p.strokes, layout);
  for (std::size_t cut : {events.size() / 2, events.size() / 3, std::size_t{1}}) {
    std::set<unsigned> down;
    const auto apply = [&down](const pmx::KeyEvent& e) {
      const unsigned key = e.kind == pmx::KeyEvent::Kind::Key ? e.vk : 0x10000u + e.unit;
      if (e.up) {
        down.erase(key);
      } else {
        down.insert(key);
      }
    };
    for (std::size_t i = 0; i < cut && i < events.size(); ++i) apply(events[i]);
    for (const pmx::KeyEvent& e : pmx::releasesAfter(events, cut)) {
      CHECK(e.up && down.count(e.kind == pmx::KeyEvent::Kind::Key ? e.vk : 0x10000u + e.unit));
      apply(e);
    }
    CHECK(down.empty());
  }
}

// Any file content: the checker reads it without harm, its exit code follows its findings and its
// report is safe to print, whatever the bytes of the file and of its name.
[[maybe_unused]] void settingsFile(const std::string& bytes) {
  const pmx::SettingsCheck result = pmx::checkSettings(bytes);
  CHECK(result.exitCode() == (result.errors() > 0 ? 1 : 0));
  CHECK(safeToPrint(pmx::formatSettingsCheck(bytes.substr(0, 40), result)));
  const pmx::ProfileText text = pmx::parseProfileText(bytes);
  for (const pmx::ProfileSection& s : text.sections)
    for (const pmx::ProfileEntry& e : s.entries) {
      const auto value = pmx::profileString(text, s.name, e.name);
      CHECK(!value || value->size() <= pmx::kMaxProfileValue);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
#if PMX_FUZZ_TARGET == 1
  notifyRecord(data, size);
#elif PMX_FUZZ_TARGET == 2
  commandLine(text);
#elif PMX_FUZZ_TARGET == 3
  keystrokes(text);
#else
  settingsFile(text);
#endif
  return 0;
}
