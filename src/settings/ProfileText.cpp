#include "settings/ProfileText.h"

#include "common/NearestName.h"

namespace pmx {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\x1A'; }

std::string trimmed(const std::string& s, std::size_t begin, std::size_t end) {
  while (begin < end && isBlank(s[begin])) ++begin;
  while (end > begin && isBlank(s[end - 1])) --end;
  return s.substr(begin, end - begin);
}

// Names and values are C strings to the platform: a NUL byte ends them (and `cut` learns of it).
std::string beforeNul(std::string s, bool& cut) {
  const std::size_t nul = s.find('\0');
  if (nul != std::string::npos) {
    s.resize(nul);
    cut = true;
  }
  return s;
}

}  // namespace

ProfileText parseProfileText(const std::string& bytes) {
  ProfileText text;
  text.sections.emplace_back();
  const std::size_t n = bytes.size();
  std::size_t at = 0;
  int line = 0;
  while (at < n) {
    std::size_t end = at;
    while (end < n && bytes[end] != '\n' && bytes[end] != '\r') ++end;
    ++line;
    // The line is split at its brackets or its "=" before a NUL byte cuts the parts.
    const std::string content = trimmed(bytes, at, end);
    at = end;
    if (at < n && bytes[at] == '\r' && at + 1 < n && bytes[at + 1] == '\n') ++at;
    if (at < n) ++at;
    if (content.empty()) continue;
    if (content[0] == '[') {
      const std::size_t close = content.rfind(']');
      if (close != std::string::npos) {
        ProfileSection section;
        section.line = line;
        section.header = true;
        section.name = beforeNul(trimmed(content, 1, close), section.nul);
        text.sections.push_back(std::move(section));
        continue;
      }
    }
    ProfileEntry entry;
    entry.line = line;
    const std::size_t equals = content.find('=');
    if (equals == std::string::npos) {
      entry.name = beforeNul(content, entry.nul);
    } else {
      entry.name = beforeNul(trimmed(content, 0, equals), entry.nul);
      entry.hasValue = true;
      entry.value = beforeNul(trimmed(content, equals + 1, content.size()), entry.nul);
    }
    text.sections.back().entries.push_back(std::move(entry));
  }
  return text;
}

bool sameProfileName(const std::string& a, const std::string& b) { return sameName(a, b); }

const ProfileSection* findProfileSection(const ProfileText& text, const std::string& section) {
  const std::string name = trimmed(section, 0, section.size());
  for (const ProfileSection& s : text.sections) {
    if (sameProfileName(s.name, name)) return &s;
  }
  return nullptr;
}

const ProfileEntry* findProfileEntry(const ProfileSection& section, const std::string& key) {
  const std::string name = trimmed(key, 0, key.size());
  for (const ProfileEntry& e : section.entries) {
    if (sameProfileName(e.name, name)) return &e;
  }
  return nullptr;
}

std::string unquotedProfileValue(const std::string& value) {
  if (value.size() >= 2 && (value[0] == '\'' || value[0] == '"') && value.back() == value[0]) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

std::optional<std::string> profileString(const ProfileText& text, const std::string& section,
                                         const std::string& key) {
  const ProfileSection* s = findProfileSection(text, section);
  const ProfileEntry* e = s != nullptr ? findProfileEntry(*s, key) : nullptr;
  if (e == nullptr || !e->hasValue) return std::nullopt;
  std::string value = unquotedProfileValue(e->value);
  if (value.size() > kMaxProfileValue) value.resize(kMaxProfileValue);
  return value;
}

std::optional<std::int32_t> profileInt(const ProfileText& text, const std::string& section,
                                       const std::string& key) {
  const std::optional<std::string> value = profileString(text, section, key);
  if (!value || value->empty()) return std::nullopt;
  return profileIntFromText(*value);
}

std::int32_t profileIntFromText(const std::string& text) { return readProfileNumber(text).value; }

ProfileNumber readProfileNumber(const std::string& text) {
  ProfileNumber number;
  std::size_t i = 0;
  while (i < text.size() && static_cast<unsigned char>(text[i]) <= ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  unsigned base = 10;
  if (i + 1 < text.size() && text[i] == '0') {
    const char prefix = lowerAscii(text[i + 1]);
    if (prefix == 'x') base = 16;
    if (prefix == 'o') base = 8;
    if (prefix == 'b') base = 2;
    if (base != 10) i += 2;
  }
  std::uint32_t value = 0;
  std::uint64_t whole = 0;  // the digits' value, up to where it no longer fits 32 bits
  for (; i < text.size(); ++i) {
    const char c = lowerAscii(text[i]);
    unsigned digit = base;
    if (c >= '0' && c <= '9') digit = static_cast<unsigned>(c - '0');
    if (c >= 'a' && c <= 'f') digit = static_cast<unsigned>(c - 'a' + 10);
    if (digit >= base) break;
    value = value * base + digit;  // wraps at 32 bits, as the platform's conversion does
    if (whole <= 0xFFFFFFFFu) whole = whole * base + digit;
    number.digits = true;
  }
  number.wraps = whole > (negative ? 0x80000000u : 0x7FFFFFFFu);
  if (negative) value = 0u - value;
  number.value = static_cast<std::int32_t>(value);
  return number;
}

}  // namespace pmx
