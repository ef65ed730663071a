#include "settings/SettingsCheck.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <sstream>

#include "common/NearestName.h"
#include "common/Unicode.h"
#include "controls/KeyCode.h"
#include "controls/Keystrokes.h"
#include "layouts/AlphaPadLayout.h"
#include "layouts/Pictograms.h"
#include "layouts/ValuePadLayouts.h"
#include "settings/CharacterSets.h"
#include "settings/ProfileText.h"
#include "settings/SettingsNames.h"

namespace pmx {

namespace {

// True for text with bytes above 0x7F that all form valid UTF-8 sequences.
bool looksLikeUtf8(const std::string& text) {
  bool multi = false;
  for (std::size_t i = 0; i < text.size();) {
    const auto b = static_cast<unsigned char>(text[i]);
    std::size_t extra = 0;
    if (b < 0x80) {
      ++i;
      continue;
    }
    if (b >= 0xC2 && b <= 0xDF)
      extra = 1;
    else if (b >= 0xE0 && b <= 0xEF)
      extra = 2;
    else if (b >= 0xF0 && b <= 0xF4)
      extra = 3;
    else
      return false;
    for (std::size_t k = 1; k <= extra; ++k) {
      if (i + k >= text.size()) return false;
      const auto c = static_cast<unsigned char>(text[i + k]);
      if (c < 0x80 || c > 0xBF) return false;
    }
    multi = true;
    i += extra + 1;
  }
  return multi;
}

// ---- The checker
// ---------------------------------------------------------------------------------

// Widths of the caption areas, as the pads paint them: a limit label's text starts two pixels in
// (30 twips at 96 DPI); the page keys keep their left part for the arrow.
float captionAreaWidth(const ControlDef& def) {
  const float w = static_cast<float>(def.width), h = static_cast<float>(def.height);
  if (def.kind == ControlKind::Label) return w - 30.0f;
  return w - keyFace(def.picture, w, h).textLeft;
}

// Whether a caption of that many lines, the widest `width` twips wide, would be drawn over the
// key's pictogram or so close to it that the two read as one: the lines are centred in the
// caption area as the painter centres them, one line in the middle, two with equal gaps (a line
// is about 1.15 times the font size high), and must keep `clearance` twips to the side of the
// pictogram's drawing.
bool overlapsPictogram(const ControlDef& def, float width, int lines, float clearance) {
  if (def.kind != ControlKind::Key || def.picture == Pictogram::None) return false;
  const float w = static_cast<float>(def.width), h = static_cast<float>(def.height);
  const KeyFace face = keyFace(def.picture, w, h);
  const PictoBounds b = drawingBounds(pictogramDrawing(def.picture));
  const float unit = face.pictureSide / 100.0f;
  const float left = face.pictureLeft + b.left * unit, right = face.pictureLeft + b.right * unit;
  const float top = face.pictureTop + b.top * unit, bottom = face.pictureTop + b.bottom * unit;
  const float textLeft = face.textLeft + (w - face.textLeft - width) / 2;
  if (textLeft >= right + clearance || textLeft + width + clearance <= left) return false;
  const float lineHeight = def.fontSize * 20.0f * 1.15f;
  const float gap = lines == 1 ? (h - lineHeight) / 2 : std::max(0.0f, (h - 2 * lineHeight) / 3);
  for (int line = 0; line < lines; ++line) {
    const float lineTop = gap + line * (gap + lineHeight);
    if (lineTop < bottom && lineTop + lineHeight > top) return true;
  }
  return false;
}

// The language of the built-in texts: a host language mapped to it without texts in the file
// gets them as meant.
constexpr std::int32_t kBuiltInLanguage = 1033;

// Arial's line height (ascent and descent, 1854 + 434 of 2048 font units) in ems.
constexpr float kArialLineHeight = 2288.0f / 2048.0f;

std::string fontText(const ControlDef& def) {
  std::ostringstream out;
  out << "Arial " << def.fontSize << (def.bold ? " bold" : "");
  return out.str();
}

class Checker {
 public:
  explicit Checker(const CharacterNamer& names) : names_(names) {}

  SettingsCheck run(const std::string& input) {
    std::string bytes = input;
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
      error(1,
            "the file starts with a UTF-8 byte-order mark: the keyboard then reads it as UTF-8 "
            "and hands its texts on in the system's code page; save it as UTF-16 (little-endian) "
            "or as 8-bit text");
      bytes = bytes.substr(3);
    } else if (bytes.compare(0, 2, "\xFE\xFF") == 0) {
      error(1,
            "the file is UTF-16 text in big-endian byte order, which the keyboard does not read "
            "as Unicode: save it as UTF-16 little-endian (not checked further)");
      return finish();
    } else if (bytes.compare(0, 2, "\xFF\xFE") == 0) {
      unicode_ = true;
      bytes = fromUtf16(bytes);
    }
    text_ = parseProfileText(bytes);
    for (const ProfileSection& section : text_.sections) {
      firstSections_.emplace(lower(section.name), &section);
    }
    readLanguageMaps();
    findLanguagesWithTexts();
    for (std::size_t i = 0; i < text_.sections.size(); ++i) checkSection(text_.sections[i]);
    checkExtraKeysHaveCaptions();
    return finish();
  }

 private:
  void add(int line, Severity severity, std::string text) {
    result_.findings.push_back({line, severity, std::move(text)});
  }
  void error(int line, std::string text) { add(line, Severity::Error, std::move(text)); }
  void warning(int line, std::string text) { add(line, Severity::Warning, std::move(text)); }

  SettingsCheck finish() {
    std::stable_sort(
        result_.findings.begin(), result_.findings.end(),
        [](const SettingsFinding& a, const SettingsFinding& b) { return a.line < b.line; });
    return std::move(result_);
  }

  static bool isComment(const ProfileEntry& e) { return !e.name.empty() && e.name[0] == ';'; }

  // A Unicode file's text in UTF-8 (without its byte-order mark), as the profile functions' wide
  // forms read it; each surrogate without its partner is reported on its line.
  std::string fromUtf16(const std::string& bytes) {
    std::u16string units;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
      units += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                     static_cast<unsigned char>(bytes[i + 1]) << 8);
    }
    const auto high = [&](std::size_t i) { return units[i] >= 0xD800 && units[i] < 0xDC00; };
    const auto low = [&](std::size_t i) { return units[i] >= 0xDC00 && units[i] <= 0xDFFF; };
    int line = 1;
    for (std::size_t i = 0; i < units.size(); ++i) {
      if (units[i] == u'\r' || (units[i] == u'\n' && (i == 0 || units[i - 1] != u'\r'))) ++line;
      if ((high(i) && (i + 1 == units.size() || !low(i + 1))) ||
          (low(i) && (i == 0 || !high(i - 1)))) {
        error(line, "a UTF-16 surrogate without its partner: the keyboard drops it");
      }
    }
    return utf8FromUtf16(units.data(), units.size());
  }

  // A text of the file for the report, in quotes: its characters as the keyboard reads them (a
  // Unicode file's as written, an 8-bit file's in the code page of the character set), spelled
  // as spelledCharacters() does; each byte that forms no character the checker can name as \xNN.
  std::string q(const std::string& text, int charset = -1) const {
    return "\"" + spelledCharacters(shown(text, charset)) + "\"";
  }
  // A section or key name for the report: beyond printable ASCII an 8-bit file's names have no
  // code page to be read in.
  std::string shownName(const std::string& name) const {
    return spelledCharacters(unicode_ ? decodeUtf8(name) : bytesOf(name));
  }

  // The characters of a text as the report shows them (see q()).
  std::u32string shown(const std::string& text, int charset) const {
    if (unicode_) return decodeUtf8(text);
    const CharacterSet* set = findCharacterSet(charset);
    const CodePageView* page = set != nullptr ? checkerCodePage(set->codePage) : nullptr;
    if (page == nullptr) return bytesOf(text);
    std::u32string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
      const auto b = static_cast<unsigned char>(text[i]);
      const bool pair = page->leadByte(b) && i + 1 < text.size();
      const int trail = pair ? static_cast<unsigned char>(text[++i]) : -1;
      const char32_t c = pair ? kByteCharacter + (char32_t{b} << 8) + trail : asByte(b);
      // Bytes that form no character of the code page stay bytes.
      out += page->character(b, trail) != 0 ? named(c, charset) : c;
    }
    return out;
  }

  // An 8-bit text in no known code page: printable ASCII, and beyond it bytes.
  static char32_t asByte(unsigned char b) {
    return b >= 0x20 && b < 0x7F ? char32_t{b} : kByteCharacter + b;
  }
  static std::u32string bytesOf(const std::string& text) {
    std::u32string out;
    for (char c : text) out += asByte(static_cast<unsigned char>(c));
    return out;
  }

  // A character as the checker's code pages give it (kByteCharacter + its bytes beyond printable
  // ASCII), with the character named where the checker's tables or the platform know it.
  char32_t named(char32_t c, int charset) const {
    const CharacterSet* set = findCharacterSet(charset);
    if (c < kByteCharacter || set == nullptr) return c;
    const char32_t bytes = c - kByteCharacter;
    if (!doubleByteCodePage(set->codePage)) {  // one byte each
      const char32_t known = codePageCharacter(set->codePage, static_cast<unsigned char>(bytes));
      return known != 0 ? known : c;
    }
    if (!names_) return c;
    const char32_t platform = bytes > 0xFF ? names_(set->value, bytes >> 8 & 0xFF, bytes & 0xFF)
                                           : names_(set->value, bytes & 0xFF, -1);
    return platform >= 0x20 && platform != 0x7F && platform != 0xFFFD ? platform : c;
  }

  // How many characters of a value count against the 254 that arrive.
  std::size_t valueLength(const std::string& value) const {
    return unicode_ ? utf16Length(value) : value.size();
  }

  // The [Replace] entries the keyboard can find: host language -> language and line.
  void readLanguageMaps() {
    if (const ProfileSection* replace = sectionNamed("Replace")) {
      for (const ProfileEntry& e : replace->entries) {
        const std::optional<std::int32_t> from = canonicalNumber(e.name);
        if (!from || replace_.count(*from) != 0 || !e.hasValue) continue;
        const std::string value = unquotedProfileValue(e.value);
        if (value.empty()) continue;
        replace_[*from] = {profileIntFromText(value), e.line};
      }
    }
  }

  // The languages the file has texts for: key sections, or a [CharSet] entry.
  void findLanguagesWithTexts() {
    for (const ProfileSection& section : text_.sections) {
      const SectionName kind = classify(section.name);
      if (section.header &&
          (kind.kind == SectionKind::KeyTexts || kind.kind == SectionKind::KeyCodes)) {
        withTexts_.push_back(std::to_string(kind.language));
      }
    }
    if (const ProfileSection* charsets = sectionNamed("CharSet")) {
      for (const ProfileEntry& e : charsets->entries) {
        if (canonicalNumber(e.name) && e.hasValue) withTexts_.push_back(e.name);
      }
    }
  }

  std::int32_t effective(std::int32_t language) const {
    const auto it = replace_.find(language);
    return it != replace_.end() ? it->second.first : language;
  }

  // Empty when some host language leads to this language's key texts; otherwise why none does.
  std::string unreachable(std::int32_t language) const {
    const auto own = replace_.find(language);
    if (own == replace_.end() || own->second.first == language) return std::string();
    for (const auto& entry : replace_) {
      if (entry.second.first == language) return std::string();
    }
    return "never read: [Replace] maps " + std::to_string(language) + " to " +
           std::to_string(own->second.first) + " (line " + std::to_string(own->second.second) +
           ") and no language to " + std::to_string(language);
  }

  // An 8-bit text beyond ASCII of a language without a [CharSet] entry: the keyboard takes the
  // character set 0 and shows it in that one's code page, 1252, whatever the system's code page
  // and whatever the code page it was written in (reported per section).
  void noteCharSet(const ProfileEntry& e, const std::string& text, std::int32_t language) {
    if (unicode_ || !lookup("CharSet", std::to_string(language)).value_or("").empty()) return;
    if (std::none_of(text.begin(), text.end(), [](char c) { return (c & 0x80) != 0; })) return;
    noCharSet_ += (noCharSet_.empty() ? "" : ", ") + shownName(e.name);
    noCharSetLanguage_ = language;
  }

  // The character set the keyboard takes for a language's texts, as SetKeyboardLanguage does.
  int charsetOf(std::int32_t effectiveLanguage) {
    const std::optional<std::string> text = lookup("CharSet", std::to_string(effectiveLanguage));
    if (!text || text->empty()) return 0;
    const std::int32_t value = profileIntFromText(*text);
    return value >= 0 && value <= 255 ? value : 0;
  }

  void checkSection(const ProfileSection& section) {
    if (!section.header) {
      for (const ProfileEntry& e : section.entries) {
        if (!isComment(e)) error(e.line, "outside any section: never read");
      }
      return;
    }
    const std::string where = "[" + shownName(section.name) + "]";
    if (section.nul) {
      error(section.line, "a NUL byte ends the section name: the keyboard reads this header as " +
                              where + "; delete the NUL byte");
    }
    const ProfileSection* first = sectionNamed(section.name);
    if (first != &section && first->header) {
      error(section.line, where + " again: only the first [" + shownName(first->name) + "] (line " +
                              std::to_string(first->line) + ") is read; nothing in this one is");
      return;
    }
    const SectionName kind = classify(section.name);
    if (kind.kind == SectionKind::Unknown) {
      const SectionName meant = classify(loosened(section.name));
      if (meant.kind != SectionKind::Unknown) {
        error(section.line, where +
                                ": never read: numbers in section names are written in "
                                "decimal, without leading zeros, \"+\" or extra blanks");
      } else {
        error(section.line, where +
                                ": unknown section; the keyboard reads [Replace], [CharSet], "
                                "[<language> Text] and [<language> NumPad|AlphaPad "
                                "Text|KeyCode]");
      }
      return;
    }
    if (kind.kind == SectionKind::KeyTexts || kind.kind == SectionKind::KeyCodes) {
      const std::string why = unreachable(kind.language);
      if (!why.empty()) {
        error(section.line, where + ": " + why);
        return;
      }
    }
    std::map<std::string, int> seen;  // key names in lower case, with their first line
    for (const ProfileEntry& e : section.entries) {
      if (isComment(e)) continue;
      const std::string at = where + " " + shownName(e.name) + ": ";
      if (e.nul) {
        error(e.line, at + "a NUL byte ends " +
                          (e.hasValue ? "the name or the value" : "the line") +
                          ": the keyboard reads " +
                          q(e.name + (e.hasValue ? "=" + e.value : std::string())) +
                          "; delete the NUL byte");
      }
      if (!e.name.empty() && e.name[0] == '[') {
        error(e.line, q(e.name) +
                          ": no closing \"]\", so no section header; the lines "
                          "below still belong to " +
                          where);
        continue;
      }
      const auto earlier = seen.emplace(lower(e.name), e.line);
      if (!earlier.second) {
        error(e.line, at + "again: only the first (line " + std::to_string(earlier.first->second) +
                          ") is read");
        continue;
      }
      if (!e.hasValue) {
        error(e.line, at + "no \"=\": not a value");
        continue;
      }
      switch (kind.kind) {
        case SectionKind::Replace:
          checkReplace(e, at);
          break;
        case SectionKind::CharSet:
          checkCharSet(e, at);
          break;
        case SectionKind::LimitTexts:
          checkLimitText(e, at, kind.language);
          break;
        case SectionKind::KeyTexts:
        case SectionKind::KeyCodes:
          checkKeyEntry(e, at, kind);
          break;
        case SectionKind::Unknown:
          break;
      }
    }
    if (!noCharSet_.empty()) {
      const std::string language = std::to_string(noCharSetLanguage_);
      const bool one = noCharSet_.find(',') == std::string::npos;
      warning(section.line, where + ": " + noCharSet_ + (one ? " holds" : " hold") +
                                " characters beyond ASCII, but [CharSet] names no character set "
                                "for " +
                                language + ": the keyboard shows " + (one ? "it" : "them") +
                                " in code page 1252 (Western European, CharSet 0) on every "
                                "system; give " +
                                language + " the character set of its texts");
      noCharSet_.clear();
    }
    if (!unmeasured_.empty()) {
      const bool one = unmeasured_.find(',') == std::string::npos;
      warning(section.line, where + (one ? ": the width of " : ": the widths of ") + unmeasured_ +
                                (one ? " is" : " are") + " not measured: no font metrics for " +
                                unmeasuredWhy_ + "; look at " + (one ? "it" : "them") +
                                " in the preview of the demo host "
                                "(PMXTouchKeyboardDemo.exe /settings <file> /language <id>)");
      unmeasured_.clear();
    }
  }

  bool checkLanguageKey(const ProfileEntry& e, const std::string& at, const char* what) {
    if (canonicalNumber(e.name)) return true;
    const std::string meant = loosened(e.name);
    if (canonicalNumber(meant)) {
      error(e.line, at + "never read: write the language number as " + meant);
    } else {
      error(e.line, at + "unknown key; the keys of this section are " + what);
    }
    return false;
  }

  // A number as GetPrivateProfileIntA reads it, or nothing (with the finding) when it is empty,
  // has no digits or overflows. Text around the digits is read past: a warning says the value.
  std::optional<std::int32_t> readNumber(const ProfileEntry& e, const std::string& at,
                                         const char* ifEmpty) {
    const std::string value = unquotedProfileValue(e.value);
    std::int32_t number = 0;
    if (value.empty()) {
      warning(e.line, at + "empty: " + ifEmpty);
      return std::nullopt;
    }
    if (plainDecimal(value, number)) return number;
    const ProfileNumber read = readProfileNumber(value);
    const std::string reads = std::to_string(read.value);
    if (!read.digits || read.wraps) {
      error(e.line, at + q(value) + " is no decimal number" +
                        (read.wraps ? " within 32 bits" : "") + "; the keyboard reads it as " +
                        reads);
      return std::nullopt;
    }
    warning(e.line, at + "the keyboard reads " + q(value) + " as " + reads + "; write " + reads +
                        (inlineComment(e) != std::string::npos
                             ? " and the comment on a line of its own, starting with \";\""
                             : ""));
    return read.value;
  }

  // Where a comment seems to follow a value on its line ("{TAB} ; next field"): at the blank
  // before a ";" in a value without quotes. The profile functions take comments only on lines of
  // their own: the rest of the line is part of the value. npos when there is none.
  static std::size_t inlineComment(const ProfileEntry& e) {
    if (unquotedProfileValue(e.value) != e.value) return std::string::npos;
    return std::min(e.value.find(" ;"), e.value.find("\t;"));
  }

  void checkReplace(const ProfileEntry& e, const std::string& at) {
    if (!checkLanguageKey(e, at, "host language numbers")) return;
    const std::optional<std::int32_t> to = readNumber(e, at, "the host language is used as it is");
    const std::string host = e.name;
    if (!to || *to == *canonicalNumber(host)) return;
    const std::string target = std::to_string(*to);
    const auto next = replace_.find(*to);
    if (next != replace_.end() && next->second.first != *to) {
      const std::string further = std::to_string(next->second.first);
      warning(e.line, at + target + " is mapped on to " + further + " (line " +
                          std::to_string(next->second.second) +
                          "), but the keyboard takes one step only: host language " + host +
                          " gets the texts of " + target + "; write " + host + "=" + further +
                          " for those of " + further);
    }
    if (*to != kBuiltInLanguage &&
        std::find(withTexts_.begin(), withTexts_.end(), target) == withTexts_.end()) {
      std::vector<std::string> others = withTexts_;
      others.erase(std::remove(others.begin(), others.end(), host), others.end());
      const std::string meant = nearestName(target, others);
      warning(e.line, at + "the file has no key sections and no [CharSet] entry for " + target +
                          ": host language " + host + " gets the built-in texts" +
                          (meant.empty() ? "" : "; did you mean " + meant + "?"));
    }
  }

  void checkCharSet(const ProfileEntry& e, const std::string& at) {
    if (!checkLanguageKey(e, at, "language numbers")) return;
    const std::string why = unreachable(*canonicalNumber(e.name));
    if (!why.empty()) {
      error(e.line, at + why);
      return;
    }
    const std::optional<std::int32_t> read = readNumber(e, at, "the character set is 0 (ANSI)");
    if (!read) return;
    const std::int32_t number = *read;
    const CharacterSet* set = findCharacterSet(number);
    if (set == nullptr) {
      error(e.line, at + std::to_string(number) + " is no character set" +
                        (number < 0 || number > 255 ? "; the keyboard uses 0 (ANSI)" : "") +
                        "; see the character sets in docs/settings.md");
    } else if (set->value == 2) {
      error(e.line, at + "2 is the symbol character set: the texts would show as symbols");
    }
  }

  // The characters of a text as the keyboard reads them: a Unicode file's as written, an 8-bit
  // file's in the code page of the character set (see decodeEightBit). Nothing, with the finding,
  // when some of its bytes form no character (the key neither shows nor types them) or when a
  // caption holds a control character. Where the checker does not know the code page: nothing
  // for a caption, each byte a character for keystrokes.
  std::optional<std::u32string> characters(const ProfileEntry& e, const std::string& at,
                                           const std::string& text, int charset, bool caption) {
    const std::string what = caption ? "; the key cannot show it" : "; the key cannot type it";
    const CharacterSet* set = findCharacterSet(charset);
    const std::string inCodePage = set != nullptr
                                       ? " in code page " + std::to_string(set->codePage) +
                                             " (CharSet " + std::to_string(charset) + ")"
                                       : std::string();
    std::u32string chars;
    if (unicode_) {
      chars = decodeUtf8(text);
    } else {
      const CodePageView* page = set != nullptr ? checkerCodePage(set->codePage) : nullptr;
      if (page == nullptr) {  // a code page the checker does not know: its bytes as they stand
        if (caption) return std::nullopt;
        return bytesOf(text);
      }
      std::vector<BrokenBytes> broken;
      chars = decodeEightBit(text, *page, &broken);
      if (!broken.empty()) {
        const BrokenBytes& b = broken.front();
        const auto first = static_cast<unsigned char>(text[b.offset]);
        const char32_t bytes =
            b.length == 2 ? first << 8 | static_cast<unsigned char>(text[b.offset + 1]) : first;
        error(e.line,
              at + q(text, charset) + ": character " + std::to_string(b.character + 1) + " (" +
                  spelledCharacters({kByteCharacter + bytes}) + ") is " +
                  (b.length == 1 && page->leadByte(first) ? "a lead byte without its trail byte"
                                                          : "undefined") +
                  inCodePage + what);
        return std::nullopt;
      }
      for (char32_t& c : chars) c = named(c, charset);
    }
    for (std::size_t i = 0; caption && i < chars.size(); ++i) {
      // A byte the checker cannot name is a control character only below 0x80.
      const char32_t c = chars[i] >= kByteCharacter ? chars[i] - kByteCharacter : chars[i];
      if (c < 0x20 || c == 0x7F || (chars[i] < kByteCharacter && c >= 0x80 && c <= 0x9F)) {
        error(e.line, at + q(text, charset) + ": character " + std::to_string(i + 1) + " (" +
                          spelledCharacters(chars.substr(i, 1)) + ") is a control character" +
                          what);
        return std::nullopt;
      }
    }
    return chars;
  }

  // Length, characters and encoding of a caption; true when it is shown as written.
  bool checkCaption(const ProfileEntry& e, const std::string& at, const std::string& caption,
                    int charset) {
    if (valueLength(caption) > kMaxProfileValue) {
      error(e.line, at + std::to_string(valueLength(caption)) + " characters: only the first " +
                        std::to_string(kMaxProfileValue) + " arrive");
      return false;
    }
    if (!unicode_ && looksLikeUtf8(caption)) {
      warning(e.line, at + q(caption, charset) + " looks like UTF-8 for \"" +
                          printableText(caption) +
                          "\": write each language's texts in its code page");
    }
    if (inlineComment(e) != std::string::npos) {
      warning(e.line, at + q(caption, charset) +
                          ": no comment: the key shows the text from \";\" on too; put the "
                          "comment on a line of its own, or the caption in double quotes");
    }
    return characters(e, at, caption, charset, true).has_value();
  }

  // How wide a caption is on one key: the widest of its lines (nothing when it cannot be
  // measured). The keys are drawn in Arial, and where the character set is a double-byte one
  // in the font that the system chooses for it, whose metrics the checker does not have.
  std::optional<float> captionWidth(const std::string& caption, int charset,
                                    const ControlDef& def) const {
    const CharacterSet* set = findCharacterSet(charset);
    if (set != nullptr ? doubleByteCodePage(set->codePage) : !unicode_) return std::nullopt;
    // In the lines the painter draws.
    const CaptionLines split = captionLines(def.kind, caption);
    float widest = 0;
    for (const std::string& line : {split.upper, split.lower}) {
      const std::optional<float> width =
          unicode_ ? arialTextWidth(decodeUtf8(line), def.fontSize, def.bold)
                   : arialTextWidth(line, set->codePage, def.fontSize, def.bold);
      if (!width) return std::nullopt;
      widest = std::max(widest, *width);
    }
    return widest;
  }

  // Whether a caption holds a backslash and "n", which split a key's caption into two lines: in its
  // characters, not its bytes (the trail byte of a double-byte character may be a backslash).
  bool twoLines(const std::string& caption, int charset) const {
    return shown(caption, charset).find(U"\\n") != std::u32string::npos;
  }

  // A caption of two lines on keys too low for them: the lower line is drawn cut off at the key's
  // edge. A line is as high as Arial's ascent and descent (GDI's tmHeight).
  void checkLines(const ProfileEntry& e, const std::string& at, const std::string& caption,
                  int charset, const std::vector<KeyPlace>& places) {
    if (!twoLines(caption, charset)) return;
    std::string pads;
    const ControlDef* low = nullptr;
    const auto needed = [](const ControlDef& key) {
      return 2 * key.fontSize * 20.0f * kArialLineHeight;
    };
    for (const KeyPlace& place : places) {
      if (needed(*place.key) <= static_cast<float>(place.key->height)) continue;
      low = low != nullptr ? low : place.key;
      pads += std::string(pads.empty() ? "" : ", ") + place.pad->name;
    }
    if (low == nullptr) return;
    warning(e.line, at + q(caption, charset) + ": two lines in " + fontText(*low) + " need " +
                        std::to_string(std::lround(needed(*low))) + " twips, the key is " +
                        std::to_string(low->height) + " high on " + pads +
                        ": the lower line shows cut off; write the caption in one line");
  }

  void checkWidth(const ProfileEntry& e, const std::string& at, const std::string& caption,
                  int charset, const std::vector<KeyPlace>& places) {
    std::string pads;
    std::vector<std::string> overPicture;
    const KeyPlace* first = nullptr;
    float width = 0;
    for (const KeyPlace& place : places) {
      const std::optional<float> measured = captionWidth(caption, charset, *place.key);
      if (!measured) {  // one warning for the section (see checkSection)
        const CharacterSet* set = findCharacterSet(charset);
        unmeasured_ += (unmeasured_.empty() ? "" : ", ") + shownName(e.name);
        unmeasuredWhy_ = set != nullptr && doubleByteCodePage(set->codePage)
                             ? "the fonts of CharSet " + std::to_string(charset)
                             : "some of the characters";
        return;
      }
      const int lines = captionLines(place.key->kind, caption).two ? 2 : 1;
      // At least a blank of the caption's font between the two.
      const float blank =
          arialTextWidth(" ", 1252, place.key->fontSize, place.key->bold).value_or(0);
      if (overlapsPictogram(*place.key, *measured, lines, blank)) {
        overPicture.push_back(place.pad->name);
      }
      if (*measured <= captionAreaWidth(*place.key)) continue;
      if (first == nullptr) {
        first = &place;
        width = *measured;
      }
      pads += std::string(pads.empty() ? "" : ", ") + place.pad->name;
    }
    if (!overPicture.empty()) {
      std::string on;
      for (const std::string& pad : overPicture) on += (on.empty() ? "" : ", ") + pad;
      warning(e.line, at + q(caption, charset) +
                          " is drawn over or against the key's pictogram on " + on +
                          ": leave the caption empty, or shorten it");
    }
    if (first == nullptr) return;
    warning(e.line, at + q(caption, charset) + " is " + std::to_string(std::lround(width)) +
                        " twips wide in " + fontText(*first->key) + ", its place " +
                        std::to_string(std::lround(captionAreaWidth(*first->key))) + " on " + pads +
                        ": it shows cut");
  }

  // A name of the value pads that stands for keys of different meaning on different pads.
  void checkSharedKey(const ProfileEntry& e, const std::string& at,
                      const std::vector<KeyPlace>& places, bool keystrokes) {
    std::string meanings;
    const std::string firstMeaning =
        keystrokes ? places.front().key->tag : places.front().key->caption;
    bool differ = false;
    for (const KeyPlace& place : places) {
      const std::string meaning = keystrokes ? place.key->tag : place.key->caption;
      differ = differ || meaning != firstMeaning;
      // The layouts' texts are in the code pages of their fonts: beyond ASCII, bytes.
      meanings += std::string(meanings.empty() ? "" : ", ") + "\"" +
                  spelledCharacters(bytesOf(meaning)) + "\" on " + place.pad->name;
    }
    if (differ) {
      warning(e.line, at + "one name for different keys: " + meanings + "; all of them change");
    }
  }

  void checkLimitText(const ProfileEntry& e, const std::string& at, std::int32_t language) {
    std::vector<std::string> names = {"Max", "Min"};
    std::string keys = "Max, Min";
    bool title = false;
    for (const PadTitle& t : padTitles()) {
      names.emplace_back(t.key);
      keys += std::string(", ") + t.key;
      title = title || sameProfileName(e.name, t.key);
    }
    if (!title && !sameProfileName(e.name, "Max") && !sameProfileName(e.name, "Min")) {
      unknownKey(e, at, names, keys);
      return;
    }
    const std::string caption = unquotedProfileValue(e.value);
    noteCharSet(e, caption, effective(language));
    const int charset = charsetOf(effective(language));
    // A pad's title is announced, not shown: it has no width to keep to.
    if (!checkCaption(e, at, caption, charset) || title) return;
    if (twoLines(caption, charset)) {
      warning(e.line, at + q(caption, charset) +
                          ": a limit caption has one line: the keyboard shows the backslash and "
                          "the n; write it without \"\\n\"");
    }
    const PadDef& pad = numPadLayout();
    for (std::size_t i = 0; i < pad.controlCount; ++i) {
      if (pad.controls[i].array == ControlArray::LabelLimits) {
        checkWidth(e, at, caption, charset, {{&pad, &pad.controls[i], nullptr}});
        return;
      }
    }
  }

  void checkKeyEntry(const ProfileEntry& e, const std::string& at, const SectionName& kind) {
    const bool keystrokes = kind.kind == SectionKind::KeyCodes;
    const std::vector<KeyPlace> places = keyPlaces(*kind.pad, e.name);
    const bool known = !places.empty() && (!keystrokes || places.front().array->keystrokes);
    if (!known) {
      const std::vector<std::string> names = settingsKeyNames(kind.pad->padName, keystrokes);
      unknownKey(e, at, names, describeKeyNames(names));
      return;
    }
    if (std::none_of(places.begin(), places.end(), [](const KeyPlace& p) {
          return p.key->visible || p.array->array == ControlArray::Extra;
        })) {
      error(e.line, at + "the key is never shown (it stays hidden on " + places.front().pad->name +
                        "): the entry has no effect; delete it");
      return;
    }
    const std::string value = unquotedProfileValue(e.value);
    if (value.empty()) {
      warning(e.line,
              at + "empty: the key keeps its built-in " + (keystrokes ? "keystrokes" : "caption"));
      return;
    }
    checkSharedKey(e, at, places, keystrokes);
    noteCharSet(e, value, kind.language);
    if (!keystrokes) {
      const int charset = charsetOf(kind.language);
      if (!checkCaption(e, at, value, charset)) return;
      checkLines(e, at, value, charset, places);
      checkWidth(e, at, value, charset, places);
      return;
    }
    if (valueLength(value) > kMaxProfileValue) {
      error(e.line, at + std::to_string(valueLength(value)) + " characters: only the first " +
                        std::to_string(kMaxProfileValue) + " arrive");
      return;
    }
    const bool keyCode = sameProfileName(kind.pad->padName, "AlphaPad") &&
                         places.front().array->array == ControlArray::Standard;
    if (keyCode) {
      std::uint8_t code = 0;
      if (!parseKeyCode(value, code)) {
        error(e.line, at + q(value) +
                          " is no key code: this key sends a virtual-key code, "
                          "a whole number from 1 to 255" +
                          (inlineComment(e) != std::string::npos
                               ? "; put the comment on a line of its own, starting with \";\""
                               : ""));
      } else if (code == 0) {
        error(e.line, at + "0 is no key: a touch of the key types nothing; write the virtual-key "
                           "code of a key, such as 65 for A");
      }
      return;
    }
    const int charset = charsetOf(kind.language);
    const std::optional<std::u32string> chars = characters(e, at, value, charset, false);
    if (!chars) return;
    const KeystrokeParse parse = parseKeystrokes(*chars);
    const std::size_t comment = inlineComment(e);
    if (!parse.ok) {
      error(e.line,
            at + "keystrokes " + q(value, charset) + ": " + keystrokeErrorMessage(*chars, parse));
    } else if (comment != std::string::npos) {
      error(e.line, at + "keystrokes " + q(value, charset) + ": no comment: the key types " +
                        q(value.substr(comment), charset) +
                        " too; put the comment on a line of its own, starting with \";\"");
    } else if (parse.cappedOffset != std::string::npos) {
      const std::size_t close = chars->find('}', parse.cappedOffset);
      error(
          e.line,
          at + "keystrokes " + q(value, charset) + ": character " +
              std::to_string(parse.cappedOffset + 1) + " \"" +
              spelledCharacters(chars->substr(parse.cappedOffset, close - parse.cappedOffset + 1)) +
              "\": the keyboard repeats a key " + std::to_string(kMaxKeystrokeRepeat) +
              " times at most; write a count up to " + std::to_string(kMaxKeystrokeRepeat));
    }
  }

  // An unknown key, with the known name it is close to: "did you mean Std5?".
  void unknownKey(const ProfileEntry& e, const std::string& at,
                  const std::vector<std::string>& names, const std::string& list) {
    const std::string& name = e.name;
    // A number with leading zeros ("Std05") means the number.
    const std::size_t digits = name.find_first_of("0123456789");
    const std::size_t first = name.find_first_not_of('0', digits);
    std::string meant;
    if (digits != std::string::npos && allDigits(name.substr(digits))) {
      const std::string plain =
          name.substr(0, digits) + (first == std::string::npos ? "0" : name.substr(first));
      for (const std::string& known : names) {
        if (sameProfileName(known, plain)) meant = known;
      }
    }
    if (meant.empty()) meant = nearestName(name, names);
    error(e.line,
          at + "unknown key; " +
              (meant.empty() ? std::string("the keys") : "did you mean " + meant + "? The keys") +
              " of this section are " + list);
  }

  // An extra key with keystrokes but no caption stays hidden.
  void checkExtraKeysHaveCaptions() {
    for (const ProfileSection& section : text_.sections) {
      if (!section.header || sectionNamed(section.name) != &section) continue;
      const SectionName kind = classify(section.name);
      if (kind.kind != SectionKind::KeyCodes || !sameProfileName(kind.pad->padName, "AlphaPad")) {
        continue;
      }
      if (!unreachable(kind.language).empty()) continue;
      const std::string texts = std::to_string(kind.language) + " AlphaPad Text";
      for (const ProfileEntry& e : section.entries) {
        const std::vector<KeyPlace> places = keyPlaces(*kind.pad, e.name);
        if (places.empty() || places.front().array->array != ControlArray::Extra ||
            entryNamed(section, e.name) != &e) {
          continue;
        }
        const std::optional<std::string> code = lookup(section.name, e.name);
        const std::optional<std::string> caption = lookup(texts, e.name);
        if (code && !code->empty() && (!caption || caption->empty())) {
          warning(e.line, "[" + shownName(section.name) + "] " + shownName(e.name) +
                              ": no caption in [" + texts + "]: the key stays hidden");
        }
      }
    }
  }

  // Lookups as the profile functions make them, through indexes of the first section and the
  // first key of each name: a file of many thousand lines is checked in linear time.
  const ProfileSection* sectionNamed(const std::string& name) const {
    const auto it = firstSections_.find(lower(name));
    return it != firstSections_.end() ? it->second : nullptr;
  }
  const ProfileEntry* entryNamed(const ProfileSection& section, const std::string& name) {
    auto indexed = firstEntries_.find(&section);
    if (indexed == firstEntries_.end()) {
      indexed = firstEntries_.emplace(&section, std::map<std::string, const ProfileEntry*>()).first;
      for (const ProfileEntry& e : section.entries) indexed->second.emplace(lower(e.name), &e);
    }
    const auto it = indexed->second.find(lower(name));
    return it != indexed->second.end() ? it->second : nullptr;
  }
  std::optional<std::string> lookup(const std::string& section, const std::string& key) {
    const ProfileSection* s = sectionNamed(section);
    const ProfileEntry* e = s != nullptr ? entryNamed(*s, key) : nullptr;
    if (e == nullptr || !e->hasValue) return std::nullopt;
    std::string value = unquotedProfileValue(e->value);
    if (value.size() > kMaxProfileValue) value.resize(kMaxProfileValue);
    return value;
  }

  SettingsCheck result_;
  bool unicode_ = false;  // a UTF-16 file, its text here in UTF-8
  // The captions of the section being checked whose widths cannot be measured, and why.
  std::string unmeasured_, unmeasuredWhy_;
  // The texts of the section being checked that need a [CharSet] entry their language lacks.
  std::string noCharSet_;
  std::int32_t noCharSetLanguage_ = 0;
  ProfileText text_;
  std::map<std::string, const ProfileSection*> firstSections_;
  std::map<const ProfileSection*, std::map<std::string, const ProfileEntry*>> firstEntries_;
  std::map<std::int32_t, std::pair<std::int32_t, int>> replace_;  // to language, line
  std::vector<std::string> withTexts_;  // the languages with key sections or a [CharSet] entry
  CharacterNamer names_;
};

}  // namespace

SettingsCheck checkSettings(const std::string& bytes, const CharacterNamer& names) {
  return Checker(names).run(bytes);
}

}  // namespace pmx
