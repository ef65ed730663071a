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

bool settingsCheckSwitch(const std::string& arguments, const std::string& ownSettingsFile,
                         std::string& file) {
  const std::string name = "/CheckSettings";
  const std::size_t at = arguments.find(name);
  if (at == std::string::npos) return false;
  std::size_t begin = at + name.size();
  file.clear();
  if (begin < arguments.size() && arguments[begin] == ':') {
    ++begin;
    if (begin < arguments.size() && arguments[begin] == '"') {
      const std::size_t close = arguments.find('"', begin + 1);
      file = arguments.substr(begin + 1,
                              close == std::string::npos ? std::string::npos : close - begin - 1);
    } else {
      const std::size_t end = arguments.find_first_of(" \t", begin);
      file = arguments.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
    }
  }
  if (file.empty()) file = ownSettingsFile;
  return true;
}

}  // namespace pmx
