#include "app/CommandLine.h"

#include <cstdlib>

#include "common/Rounding.h"

namespace pmx {

namespace {

bool isSkipped(char c) { return c == ' ' || c == '\t' || c == '\n'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Walks the text, skipping blanks, tabs and line feeds between the characters it reads.
class Reader {
 public:
  explicit Reader(const std::string& text) : text_(text) {}
  char peek() {
    while (pos_ < text_.size() && isSkipped(text_[pos_])) ++pos_;
    return pos_ < text_.size() ? text_[pos_] : '\0';
  }
  void next() { ++pos_; }

 private:
  const std::string& text_;
  std::size_t pos_ = 0;
};

}  // namespace

std::int32_t readDecimal(const std::string& text) {
  Reader in(text);
  std::string number;  // the recognised characters, without blanks, for strtod
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
  if (!digits) return 0;
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
  double value = std::strtod(number.c_str(), nullptr);
  return roundHalfEven(value);
}

std::int32_t switchValue(const std::string& arguments, const std::string& switchText) {
  std::size_t at = arguments.find(switchText);
  if (at == std::string::npos) return 0;
  return readDecimal(arguments.substr(at + switchText.size()));
}

SettingsCheckRequest settingsCheckSwitch(const std::string& arguments,
                                         const std::string& ownSettingsFile) {
  const std::string name = "/CheckSettings";
  SettingsCheckRequest request;
  const std::size_t at = arguments.find(name);
  if (at == std::string::npos) return request;
  request.requested = true;
  const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
  const auto skipBlanks = [&](std::size_t i) {
    while (i < arguments.size() && isBlank(arguments[i])) ++i;
    return i;
  };
  // A text up to its closing quote (npos when there is none), or up to the next blank.
  const auto wordEnd = [&](std::size_t i) {
    return arguments[i] == '"' ? arguments.find('"', i + 1) : arguments.find_first_of(" \t", i);
  };
  const bool quotedSwitch = at > 0 && arguments[at - 1] == '"';
  std::size_t i = at + name.size();
  std::size_t rest = i;  // where the other switches begin
  std::string value;
  if (quotedSwitch) {
    const std::size_t close = arguments.find('"', i);
    const std::string inner = arguments.substr(i, close == std::string::npos ? close : close - i);
    rest = close == std::string::npos ? arguments.size() : close + 1;
    if (!inner.empty() && inner[0] != ':' && inner[0] != '=') {
      request.error = "\"" + name + inner + "\" is no switch of the keyboard";
    } else if (!inner.empty()) {
      const std::size_t first = inner.find_first_not_of(" \t", 1);
      const std::size_t last = inner.find_last_not_of(" \t");
      if (first != std::string::npos) value = inner.substr(first, last + 1 - first);
    }
  } else if (i < arguments.size() && (arguments[i] == ':' || arguments[i] == '=')) {
    i = skipBlanks(i + 1);
    rest = i;
    if (i < arguments.size() && arguments[i] != '/') {
      const std::size_t end = wordEnd(i);
      if (arguments[i] == '"' && end == std::string::npos) {
        request.error = "the file name " + arguments.substr(i) + " has no closing quote";
      }
      value = arguments.substr(i, end == std::string::npos ? end : end - i);
      if (arguments[i] == '"') value = value.substr(1);
      rest = end == std::string::npos ? arguments.size() : end + (arguments[i] == '"' ? 1 : 0);
    }
  } else if (i < arguments.size() && !isBlank(arguments[i])) {
    const std::size_t end = wordEnd(i);
    request.error = "\"" + arguments.substr(at, end == std::string::npos ? end : end - at) +
                    "\" is no switch of the keyboard";
  }
  // Whatever follows must be other switches: a word that is none is part of a file name with
  // blanks that was not quoted, and checking a file other than the one meant would mislead.
  for (i = skipBlanks(rest); request.error.empty() && i < arguments.size(); i = skipBlanks(i)) {
    const std::size_t end = wordEnd(i);
    const std::string word = arguments.substr(i, end == std::string::npos ? end : end - i);
    const std::size_t start = word[0] == '"' ? 1 : 0;
    if (word.compare(start, 1, "/") != 0) {
      request.error = word +
                      " follows the file name: write a file name with blanks in double "
                      "quotes, /CheckSettings:\"my panel.ini\"";
    }
    i = end == std::string::npos ? arguments.size() : end + (word[0] == '"' ? 1 : 0);
  }
  request.file = value.empty() ? ownSettingsFile : value;
  return request;
}

}  // namespace pmx
