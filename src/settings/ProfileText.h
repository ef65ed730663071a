// A settings file read the way the platform's profile functions read it, with its line numbers.
//
// The keyboard itself reads its settings with the platform's profile functions (ProfileReader);
// this model of them serves the settings checker, which has to say on which line a value stands.
// The rules, as Wine's GetPrivateProfileStringA and GetPrivateProfileIntA follow them (the
// end-to-end tests compare the two on the same file):
//   - a line ends at CR LF, LF or a lone CR; blanks, tabs and ^Z around a line are dropped;
//   - "[" starts a section header, its name runs to the last "]" of the line, blanks around the
//     name dropped; a "[" line without "]" is an ordinary line;
//   - any other line is a key: the name up to the first "=", the value after it, blanks around
//     both dropped; a line without "=" is a key without a value (the lookup gives its default);
//   - a NUL byte ends a name or a value, but not the line: brackets and "=" after it still count;
//   - names match in any letter case, blanks around the names looked up dropped; only the first
//     section of a name is searched, and in it only the first key of a name; the lines before
//     the first header form a section with an empty name;
//   - a value in one pair of matching single or double quotes loses them; at most 254
//     characters of a value arrive;
//   - an integer is read like the platform's string-to-integer conversion: blanks, a sign,
//     "0x" for hexadecimal, digits up to the first other character, wrapping at 32 bits; a text
//     without digits reads as 0, an empty value gives the default.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pmx {

// The longest text value that arrives: the keyboard reads into 255-character buffers.
constexpr std::size_t kMaxProfileValue = 254;

struct ProfileEntry {
  int line = 0;
  std::string name;
  bool hasValue = false;  // the line had an "="
  std::string value;      // as written, blanks around it dropped, quotes kept
  bool nul = false;       // a NUL byte cut the name or the value
};

struct ProfileSection {
  int line = 0;         // of the header; 0 for the lines before the first header
  bool header = false;  // false only for the lines before the first header
  std::string name;     // blanks around it dropped
  bool nul = false;     // a NUL byte cut the name
  std::vector<ProfileEntry> entries;
};

struct ProfileText {
  std::vector<ProfileSection> sections;  // the first holds the lines before any header
};

ProfileText parseProfileText(const std::string& bytes);

// Letter case does not matter in section and key names.
bool sameProfileName(const std::string& a, const std::string& b);

// The section a lookup searches (the first of that name), or null. The lookup's names may have
// blanks around them.
const ProfileSection* findProfileSection(const ProfileText& text, const std::string& section);
// The entry a lookup finds in the section (the first of that name), or null.
const ProfileEntry* findProfileEntry(const ProfileSection& section, const std::string& key);

// A value as it arrives: one pair of enclosing quotes removed, not yet cut to 254 characters.
std::string unquotedProfileValue(const std::string& value);

// What GetPrivateProfileStringA gives for a lookup, or nothing when the default applies.
std::optional<std::string> profileString(const ProfileText& text, const std::string& section,
                                         const std::string& key);
// What GetPrivateProfileIntA gives for a lookup, or nothing when the default applies.
std::optional<std::int32_t> profileInt(const ProfileText& text, const std::string& section,
                                       const std::string& key);
// A text read as an integer by the profile functions' rules.
std::int32_t profileIntFromText(const std::string& text);

// The same reading in detail: the value, whether any digit was read, and whether the digits
// overflow 32 bits (the value then wraps around).
struct ProfileNumber {
  std::int32_t value = 0;
  bool digits = false;
  bool wraps = false;
};
ProfileNumber readProfileNumber(const std::string& text);

}  // namespace pmx
