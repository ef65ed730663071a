#include "app/CommandLine.h"

#include <cstdlib>
#include <iterator>
#include <vector>

#include "common/NearestName.h"
#include "common/Rounding.h"
#include "common/Unicode.h"

namespace pmx {

namespace {

// ---- The switches -------------------------------------------------------------------------------

// What follows a switch's name.
enum class Value {
  None,    // nothing: "/?"
  Text,    // ":" and the rest of the argument
  Number,  // ":" and a number, read where the switch first stands (readNumberAt)
  File,    // nothing (the keyboard's own settings file), or ":" or "=" and a file name
};

struct SwitchDef {
  const char* name;  // without the "/"
  Value value;
  std::int32_t CommandLine::*number;  // where a Number goes
  const char* form;                   // for the usage; empty for a second name of a switch
  const char* help;
};

constexpr SwitchDef kSwitches[] = {
    {"Project", Value::Text, nullptr, "/Project:<name>", "the host's project; not used"},
    {"Controller", Value::Number, &CommandLine::controller, "/Controller:<window>",
     "the host window that receives the keyboard's messages (decimal,\n"
     "or hexadecimal after 0x)"},
    {"Thread", Value::Number, &CommandLine::thread, "/Thread:<thread>",
     "the host thread whose input the keyboard joins (decimal, or\n"
     "hexadecimal after 0x)"},
    {"CheckSettings", Value::File, nullptr, "/CheckSettings[:<file>]",
     "check a settings file instead of starting the keyboard; without a\n"
     "file the QD4TouchKeyboard.ini beside the exe; exit code 0 without\n"
     "errors, 1 with errors, 2 when it cannot be read"},
    {"?", Value::None, nullptr, "/? or /help", "show this"},
    {"help", Value::None, nullptr, "", ""},
};
static_assert(std::size(kSwitches) == 6, "every switch of the keyboard, and the second help name");

// A switch written in an argument: "/" and a name of the table, then ":", "=" or the end.
struct Written {
  const SwitchDef* def = nullptr;  // null: no switch of the table
  std::string name;                // as written, without the "/"
  char separator = '\0';           // ':', '=' or '\0' for none
  std::string value;               // what follows the separator
};

Written writtenSwitch(const std::string& argument) {
  Written w;
  if (argument.empty() || argument[0] != '/') return w;
  const std::size_t end = argument.find_first_of(":=");
  w.name = argument.substr(1, end == std::string::npos ? end : end - 1);
  if (end != std::string::npos) {
    w.separator = argument[end];
    w.value = argument.substr(end + 1);
  }
  for (const SwitchDef& def : kSwitches) {
    if (sameName(w.name, def.name)) w.def = &def;
  }
  return w;
}

// ---- The arguments ------------------------------------------------------------------------------

struct Argument {
  std::string text;   // as the C runtime passes it: quotes removed, \" a quote
  std::size_t begin;  // where it starts and ends in the argument string
  std::size_t end;
  bool quoted = false;  // it holds double quotes
  bool closed = true;   // every quote it opens is closed
};

// The arguments as the C runtime splits a command line: at blanks and tabs outside double
// quotes; 2n backslashes and a quote are n backslashes and a quote that opens or closes,
// 2n+1 backslashes and a quote are n backslashes and a quote; "" inside quotes is a quote. A
// command line is a C string: it ends at a NUL.
std::vector<Argument> splitArguments(const std::string& s) {
  std::vector<Argument> arguments;
  const char* const start = s.c_str();
  const char* p = start;
  for (;;) {
    while (*p == ' ' || *p == '\t') ++p;
    if (*p == '\0') return arguments;
    Argument a{std::string(), static_cast<std::size_t>(p - start), 0};
    bool inQuotes = false;
    while (*p != '\0' && (inQuotes || (*p != ' ' && *p != '\t'))) {
      if (*p == '\\') {
        const char* const first = p;
        while (*p == '\\') ++p;
        const auto count = static_cast<std::size_t>(p - first);
        a.text.append(*p == '"' ? count / 2 : count, '\\');
        if (*p == '"' && count % 2 == 1) a.text += *p++;
      } else if (*p == '"') {
        a.quoted = true;
        if (inQuotes && p[1] == '"') {
          a.text += '"';
          p += 2;
        } else {
          inQuotes = !inQuotes;
          ++p;
        }
      } else {
        a.text += *p++;
      }
    }
    a.end = static_cast<std::size_t>(p - start);
    a.closed = !inQuotes;
    arguments.push_back(std::move(a));
  }
}

// Where the value of "/" + name + ":" first begins in the text from `from` on, the switch in any
// letter case; npos if it is not there.
std::size_t findNumberSwitch(const std::string& text, const char* name, std::size_t from = 0) {
  const std::string wanted = std::string("/") + name + ":";
  for (std::size_t at = text.find('/', from); at != std::string::npos;
       at = text.find('/', at + 1)) {
    if (sameName(text.substr(at, wanted.size()), wanted)) return at + wanted.size();
  }
  return std::string::npos;
}

std::string trimmed(const std::string& s) {
  const std::size_t first = s.find_first_not_of(" \t");
  if (first == std::string::npos) return std::string();
  return s.substr(first, s.find_last_not_of(" \t") + 1 - first);
}

bool isSkipped(char c) { return c == ' ' || c == '\t' || c == '\n'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Walks the text, skipping blanks, tabs and line feeds between the characters it reads.
class Reader {
 public:
  Reader(const std::string& text, std::size_t from) : text_(text), pos_(from) {}
  char peek() {
    while (pos_ < text_.size() && isSkipped(text_[pos_])) ++pos_;
    return pos_ < text_.size() ? text_[pos_] : '\0';
  }
  void next() { ++pos_; }
  std::size_t position() const { return pos_; }

 private:
  const std::string& text_;
  std::size_t pos_;
};

// readDecimal from `from` on; `end` learns where reading stopped.
std::int32_t readDecimalAt(const std::string& text, std::size_t from, std::size_t* end) {
  Reader in(text, from);
  std::string number;  // the recognised characters, without blanks, for strtod
  const auto done = [&](std::int32_t value) {
    if (end != nullptr) *end = in.position();
    return value;
  };
  if (in.peek() == '+' || in.peek() == '-') {
    number += in.peek();
    in.next();
  }
  bool digits = false;
  while (isDigit(in.peek())) {
    number += in.peek();
    in.next();
    digits = true;
  }
  if (in.peek() == '.') {
    number += '.';
    in.next();
    while (isDigit(in.peek())) {
      number += in.peek();
      in.next();
      digits = true;
    }
  }
  if (!digits) return done(0);
  char e = in.peek();
  if (e == 'e' || e == 'E') {
    in.next();
    bool negative = false;
    if (in.peek() == '+' || in.peek() == '-') {
      negative = in.peek() == '-';
      in.next();
    }
    int exponent = 0;  // saturates: beyond it the value is 0 or out of range anyway
    bool expDigits = false;
    while (isDigit(in.peek())) {
      if (exponent < 100000) exponent = exponent * 10 + (in.peek() - '0');
      in.next();
      expDigits = true;
    }
    if (expDigits) number += "e" + std::string(negative ? "-" : "") + std::to_string(exponent);
  }
  // strtod reads the C locale's decimal point; the keyboard never changes the locale.
  const double value = std::strtod(number.c_str(), nullptr);
  return done(roundHalfEven(value));
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The value of a number switch: hexadecimal after "0x", as many tools print window handles
// (/Controller:0x2004C), its 32 bits as they stand (0 when it needs more, or has no digits, as
// the decimal reading of "0x" is too); else decimal, as readDecimal reads it. Blanks are skipped
// as there.
std::int32_t readNumberAt(const std::string& text, std::size_t from, std::size_t* end) {
  Reader in(text, from);
  if (in.peek() == '0') {
    in.next();
    if (in.peek() == 'x' || in.peek() == 'X') {
      in.next();
      std::uint64_t value = 0;
      for (int d = hexDigit(in.peek()); d >= 0; d = hexDigit(in.peek())) {
        if (value <= 0xFFFFFFFFu) value = value * 16 + static_cast<std::uint64_t>(d);
        in.next();
      }
      if (end != nullptr) *end = in.position();
      if (value > 0xFFFFFFFFu) return 0;
      // The 32 bits as a signed number: two's complement, as every compiler we build with
      // converts (and C++20 requires).
      return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
    }
  }
  return readDecimalAt(text, from, end);
}

}  // namespace

std::int32_t readDecimal(const std::string& text, std::size_t* end) {
  return readDecimalAt(text, 0, end);
}

CommandLine readCommandLine(const std::string& arguments) {
  CommandLine line;
  for (const SwitchDef& def : kSwitches) {
    if (def.value != Value::Number) continue;
    const std::size_t at = findNumberSwitch(arguments, def.name);
    line.*def.number = at == std::string::npos ? 0 : readNumberAt(arguments, at, nullptr);
  }

  const std::vector<Argument> words = splitArguments(arguments);
  // The first error is told, safe to print whatever the words it quotes hold.
  const auto fail = [&line](const std::string& error) {
    if (line.error.empty()) line.error = printableText(error);
  };
  // What the argument before was, for the message about a word that is no switch.
  enum class Before { Other, FileName, CheckAlone } before = Before::Other;
  std::size_t consumedTo = 0;  // arguments that begin before it belong to a number
  for (std::size_t k = 0; k < words.size(); ++k) {
    const Argument& word = words[k];
    if (word.begin < consumedTo) continue;
    if (!word.closed) fail("the double quote in " + word.text + " is never closed");
    const Written w = writtenSwitch(word.text);
    const Before previous = before;
    before = Before::Other;
    if (w.def == nullptr) {
      if (!line.error.empty()) continue;  // only the first error is told
      if (previous == Before::FileName) {
        fail("\"" + word.text + "\" follows the file name: write a file name with blanks in " +
             "double quotes, /CheckSettings:\"" + line.settingsFile + " " + word.text + "\"");
      } else if (previous == Before::CheckAlone) {
        fail("\"" + word.text + "\" is no switch: to check it, write /CheckSettings:" + word.text);
      } else if (!word.text.empty() && word.text[0] == '/') {
        std::vector<std::string> names;
        for (const SwitchDef& def : kSwitches) names.emplace_back(def.name);
        const std::string meant = nearestName(w.name, names);
        fail("/" + w.name + " is no switch of PMXTouchKeyboard" +
             (meant.empty() ? std::string() : "; did you mean /" + meant + "?"));
      } else {
        fail("\"" + word.text + "\" is no switch of PMXTouchKeyboard");
      }
      continue;
    }
    switch (w.def->value) {
      case Value::None:
        if (w.separator != '\0') fail("/" + w.name + " takes no value");
        line.help = true;
        break;
      case Value::Text:
      case Value::Number:
        if (w.separator != ':') fail("write /" + std::string(w.def->name) + ":<value>");
        if (w.def->value == Value::Number) {
          // The arguments that the number's reading runs into are part of it ("/Thread: 12").
          const std::size_t at = findNumberSwitch(arguments, w.def->name, word.begin);
          if (at != std::string::npos && at <= word.end) readNumberAt(arguments, at, &consumedTo);
        }
        break;
      case Value::File:
        if (line.checkSettings) {
          fail("/CheckSettings is given twice: check one file at a time, /CheckSettings:<file>");
          break;
        }
        line.checkSettings = true;
        if (w.separator == '\0') {
          before = Before::CheckAlone;
          break;
        }
        line.settingsFile = trimmed(w.value);
        before = Before::FileName;
        // "/CheckSettings: q.ini": the file is the next argument, unless it is a switch.
        if (line.settingsFile.empty() && !word.quoted && k + 1 < words.size() &&
            writtenSwitch(words[k + 1].text).def == nullptr) {
          line.settingsFile = trimmed(words[++k].text);
        }
        if (line.settingsFile.empty()) {
          fail("the file name after /CheckSettings" + std::string(1, w.separator) +
               " is empty: write /CheckSettings:<file>, or /CheckSettings alone for the "
               "QD4TouchKeyboard.ini beside the exe");
        }
        break;
    }
  }
  if (!line.error.empty()) line.settingsFile.clear();
  return line;
}

std::string commandLineUsage() {
  std::string out = "Usage: PMXTouchKeyboard <switches>   (switch names in any letter case)\n\n";
  for (const SwitchDef& def : kSwitches) {
    if (*def.form == '\0') continue;
    std::string form = std::string("  ") + def.form;
    form.resize(28, ' ');
    out += form;
    for (const char* c = def.help; *c != '\0'; ++c) {
      out += *c;
      if (*c == '\n') out += std::string(28, ' ');
    }
    out += '\n';
  }
  return out +
         "\nThe HMI runtime starts the keyboard with /Project:, /Controller: and /Thread:. A file\n"
         "name with blanks goes in double quotes: /CheckSettings:\"C:\\My Panel\\q.ini\".\n";
}

CommandOutcome runCommandLine(const CommandLine& line, const std::string& ownSettingsFile,
                              const SettingsFileReader& read, const CharacterNamer& names) {
  CommandOutcome outcome;
  if (line.help) return {true, 0, commandLineUsage()};
  if (!line.checkSettings) return outcome;
  outcome.done = true;
  if (!line.error.empty()) {
    outcome.exitCode = kExitBadCommandLine;
    outcome.output = "PMXTouchKeyboard: " + line.error + "\n";
    return outcome;
  }
  const bool own = line.settingsFile.empty();
  const SettingsFileRead file = read(own ? ownSettingsFile : line.settingsFile);
  if (own && file.missing) {
    // Running without a settings file is normal: nothing to check, nothing wrong.
    outcome.output = printableText(file.path) +
                     ": there is no settings file beside the exe: the keyboard shows its "
                     "built-in texts\n";
    return outcome;
  }
  outcome.exitCode = reportSettingsCheck(file, outcome.output, names);
  return outcome;
}

}  // namespace pmx
