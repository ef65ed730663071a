#include "settings/SettingsNames.h"

#include <algorithm>
#include <iterator>
#include <sstream>

#include "common/NearestName.h"
#include "layouts/AlphaPadLayout.h"
#include "layouts/ValuePadLayouts.h"
#include "settings/ProfileText.h"

namespace pmx {

namespace {

constexpr KeyArrayName kValuePadArrays[] = {{ControlArray::Standard, "Std", true},
                                            {ControlArray::End, "End", true}};
constexpr KeyArrayName kAlphaPadArrays[] = {{ControlArray::Standard, "Std", true},
                                            {ControlArray::End, "End", true},
                                            {ControlArray::Shift, "Shift", false},
                                            {ControlArray::Extra, "Extra", true}};

}  // namespace

const std::vector<PadTexts>& padTexts() {
  static const std::vector<PadTexts> texts = {
      {"NumPad",
       {&numPadLayout(), &hexPadLayout(), &binPadLayout()},
       kValuePadArrays,
       std::size(kValuePadArrays)},
      {"AlphaPad", {&alphaPadLayout()}, kAlphaPadArrays, std::size(kAlphaPadArrays)},
  };
  return texts;
}

const PadTexts* findPadTexts(const std::string& padName) {
  for (const PadTexts& p : padTexts()) {
    if (sameProfileName(p.padName, padName)) return &p;
  }
  return nullptr;
}

std::vector<KeyPlace> keyPlaces(const PadTexts& texts, const std::string& keyName) {
  std::vector<KeyPlace> places;
  for (const PadDef* pad : texts.pads) {
    for (std::size_t i = 0; i < pad->controlCount; ++i) {
      const ControlDef& def = pad->controls[i];
      const std::string name = settingsKeyName(def);
      if (name.empty()) continue;
      for (std::size_t a = 0; a < texts.arrayCount; ++a) {
        const KeyArrayName& array = texts.arrays[a];
        if (def.array == array.array && sameProfileName(name, keyName)) {
          places.push_back({pad, &def, &array});
        }
      }
    }
  }
  return places;
}

std::string lower(std::string s) {
  for (char& c : s) c = lowerAscii(c);
  return s;
}

bool allDigits(const std::string& s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::optional<std::int32_t> canonicalNumber(const std::string& s) {
  const bool negative = !s.empty() && s[0] == '-';
  const std::string digits = negative ? s.substr(1) : s;
  if (!allDigits(digits) || digits.size() > 10) return std::nullopt;
  if (digits[0] == '0' && (digits.size() > 1 || negative)) return std::nullopt;
  const long long value = std::stoll(digits) * (negative ? -1 : 1);
  if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

bool plainDecimal(const std::string& s, std::int32_t& value) {
  const bool negative = !s.empty() && s[0] == '-';
  const std::string digits = negative ? s.substr(1) : s;
  if (!allDigits(digits)) return false;
  const std::size_t first = digits.find_first_not_of('0');
  if (first != std::string::npos && digits.size() - first > 10) return false;
  const long long v = first == std::string::npos ? 0 : std::stoll(digits.substr(first));
  if ((negative ? -v : v) < INT32_MIN || (negative ? -v : v) > INT32_MAX) return false;
  value = static_cast<std::int32_t>(negative ? -v : v);
  return true;
}

std::string loosened(const std::string& name) {
  std::istringstream words(name);
  std::string word, out;
  while (words >> word) {
    std::string w = word;
    if (w[0] == '+') w = w.substr(1);
    if (allDigits(w)) {
      const std::size_t first = w.find_first_not_of('0');
      w = first == std::string::npos ? "0" : w.substr(first);
    }
    if (!out.empty()) out += ' ';
    out += w;
  }
  return out;
}

SectionName classify(const std::string& name) {
  SectionName s;
  const std::string l = lower(name);
  if (l == "replace") {
    s.kind = SectionKind::Replace;
    return s;
  }
  if (l == "charset") {
    s.kind = SectionKind::CharSet;
    return s;
  }
  const std::size_t blank = l.find(' ');
  if (blank == std::string::npos) return s;
  const std::optional<std::int32_t> number = canonicalNumber(l.substr(0, blank));
  if (!number) return s;
  const std::string rest = l.substr(blank + 1);
  s.language = *number;
  if (rest == "text") {
    s.kind = SectionKind::LimitTexts;
    return s;
  }
  for (const PadTexts& p : padTexts()) {
    const std::string pad = lower(p.padName);
    if (rest == pad + " text" || rest == pad + " keycode") {
      s.kind = rest == pad + " text" ? SectionKind::KeyTexts : SectionKind::KeyCodes;
      s.pad = &p;
    }
  }
  return s;
}

// "Std0-60, End0-1": the key names of a section, for a message.
std::string describeKeyNames(const std::vector<std::string>& names) {
  std::vector<std::pair<std::string, std::pair<int, int>>> ranges;
  for (const std::string& name : names) {
    const std::size_t digits = name.find_first_of("0123456789");
    const std::string prefix = name.substr(0, digits);
    const int index = std::stoi(name.substr(digits));
    if (ranges.empty() || ranges.back().first != prefix) {
      ranges.push_back({prefix, {index, index}});
    } else {
      ranges.back().second.first = std::min(ranges.back().second.first, index);
      ranges.back().second.second = std::max(ranges.back().second.second, index);
    }
  }
  std::string out;
  for (const auto& r : ranges) {
    if (!out.empty()) out += ", ";
    out += r.first + std::to_string(r.second.first) + "-" + std::to_string(r.second.second);
  }
  return out;
}

std::vector<std::string> settingsKeyNames(const std::string& padName, bool keystrokes) {
  std::vector<std::string> names;
  const PadTexts* texts = findPadTexts(padName);
  if (texts == nullptr) return names;
  for (std::size_t a = 0; a < texts->arrayCount; ++a) {
    const KeyArrayName& array = texts->arrays[a];
    if (keystrokes && !array.keystrokes) continue;
    std::vector<int> indices;
    for (const PadDef* pad : texts->pads) {
      for (std::size_t i = 0; i < pad->controlCount; ++i) {
        const ControlDef& def = pad->controls[i];
        if (def.kind == ControlKind::Key && def.array == array.array) indices.push_back(def.index);
      }
    }
    std::sort(indices.begin(), indices.end());
    indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
    for (int index : indices) names.push_back(array.name + std::to_string(index));
  }
  return names;
}

std::string settingsKeyName(const ControlDef& control) {
  return settingsKeyName(control.kind, control.array, control.index);
}

std::string settingsKeyName(ControlKind kind, ControlArray array, int index) {
  if (kind != ControlKind::Key) return std::string();
  for (const KeyArrayName& names : kAlphaPadArrays) {
    if (names.array == array) return names.name + std::to_string(index);
  }
  return std::string();
}

const std::vector<PadTitle>& padTitles() {
  static const std::vector<PadTitle> titles = {
      {&numPadLayout(), "DecimalPad", "Decimal pad"},
      {&hexPadLayout(), "HexadecimalPad", "Hexadecimal pad"},
      {&binPadLayout(), "BinaryPad", "Binary pad"},
      {&alphaPadLayout(), "AlphanumericPad", "Alphanumeric pad"},
  };
  return titles;
}

}  // namespace pmx
