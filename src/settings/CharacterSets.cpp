#include "settings/CharacterSets.h"

#include <algorithm>
#include <iterator>
#include <memory>
#include <utility>

#include "common/Unicode.h"
#include "settings/TextTables.h"

namespace pmx {

namespace {

// The code pages are those the platform decodes the texts of a character set in (its
// TranslateCharsetInfo): DEFAULT, MAC and OEM have none of their own and take the system's.
constexpr CharacterSet kCharacterSets[] = {
    {0, "ANSI", 1252},      {1, "DEFAULT", 0},      {2, "SYMBOL", 0},
    {77, "MAC", 0},         {128, "SHIFTJIS", 932}, {129, "HANGUL", 949},
    {130, "JOHAB", 1361},   {134, "GB2312", 936},   {136, "CHINESEBIG5", 950},
    {161, "GREEK", 1253},   {162, "TURKISH", 1254}, {163, "VIETNAMESE", 1258},
    {177, "HEBREW", 1255},  {178, "ARABIC", 1256},  {186, "BALTIC", 1257},
    {204, "RUSSIAN", 1251}, {222, "THAI", 874},     {238, "EASTEUROPE", 1250},
    {255, "OEM", 0},
};
static_assert(std::size(kCharacterSets) == 19, "the character sets of the Windows font interface");

const CodePageTable* findCodePage(int codePage) {
  std::size_t count = 0;
  const CodePageTable* tables = codePageTables(count);
  for (std::size_t i = 0; i < count; ++i) {
    if (tables[i].codePage == codePage) return &tables[i];
  }
  return nullptr;
}

bool bit(const std::uint64_t (&bits)[4], unsigned char b) { return (bits[b >> 6] >> (b & 63)) & 1; }

char32_t byteCharacter(unsigned char byte, int trail) {
  if (trail >= 0) return kByteCharacter + (static_cast<char32_t>(byte) << 8) + trail;
  return byte >= 0x20 && byte < 0x7F ? byte : kByteCharacter + byte;
}

class SingleBytePage : public CodePageView {
 public:
  explicit SingleBytePage(const CodePageTable& table) : table_(table) {}
  bool leadByte(unsigned char) const override { return false; }
  char32_t character(unsigned char byte, int) const override {
    return byte < 0x80 || table_.upper[byte - 0x80] != 0 ? byteCharacter(byte, -1) : 0;
  }

 private:
  const CodePageTable& table_;
};

class DoubleBytePage : public CodePageView {
 public:
  explicit DoubleBytePage(const DoubleByteTable& table) : table_(table) {}
  bool leadByte(unsigned char byte) const override { return table_.leads[byte] != 0; }
  char32_t character(unsigned char byte, int trail) const override {
    if (trail < 0) return bit(table_.singles, byte) ? byteCharacter(byte, -1) : 0;
    std::size_t count = 0;
    const TrailPattern* patterns = trailPatterns(count);
    const std::size_t pattern = table_.leads[byte];
    const bool defined = pattern >= 1 && pattern <= count &&
                         bit(patterns[pattern - 1].bits, static_cast<unsigned char>(trail));
    return defined ? byteCharacter(byte, trail) : 0;
  }

 private:
  const DoubleByteTable& table_;
};

}  // namespace

std::u32string decodeEightBit(const std::string& bytes, const CodePageView& page,
                              std::vector<BrokenBytes>* broken) {
  std::u32string out;
  const std::size_t n = bytes.size();
  for (std::size_t i = 0; i < n;) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    const bool lead = page.leadByte(byte);
    const std::size_t length = lead && i + 1 < n ? 2 : 1;
    const char32_t c =
        lead && length == 1
            ? 0
            : page.character(byte, length == 2 ? static_cast<unsigned char>(bytes[i + 1]) : -1);
    if (c != 0) {
      out += c;
    } else if (broken != nullptr) {
      broken->push_back({out.size(), i, length});
    }
    i += length;
  }
  return out;
}

const CodePageView* checkerCodePage(int codePage) {
  static const std::vector<std::pair<int, std::unique_ptr<CodePageView>>> pages = [] {
    std::vector<std::pair<int, std::unique_ptr<CodePageView>>> all;
    std::size_t count = 0;
    const CodePageTable* single = codePageTables(count);
    for (std::size_t i = 0; i < count; ++i)
      all.emplace_back(single[i].codePage, std::make_unique<SingleBytePage>(single[i]));
    const DoubleByteTable* dbcs = doubleByteTables(count);
    for (std::size_t i = 0; i < count; ++i)
      all.emplace_back(dbcs[i].codePage, std::make_unique<DoubleBytePage>(dbcs[i]));
    return all;
  }();
  for (const auto& page : pages) {
    if (page.first == codePage) return page.second.get();
  }
  return nullptr;
}

bool doubleByteCodePage(int codePage) {
  std::size_t count = 0;
  const DoubleByteTable* tables = doubleByteTables(count);
  return std::any_of(tables, tables + count,
                     [codePage](const DoubleByteTable& t) { return t.codePage == codePage; });
}

const CharacterSet* characterSets(std::size_t& count) {
  count = std::size(kCharacterSets);
  return kCharacterSets;
}

const CharacterSet* findCharacterSet(int value) {
  for (const CharacterSet& set : kCharacterSets) {
    if (set.value == value) return &set;
  }
  return nullptr;
}

char32_t codePageCharacter(int codePage, unsigned char byte) {
  if (byte < 0x20 || byte == 0x7F) return 0;
  if (byte < 0x80) return byte;
  const CodePageTable* table = findCodePage(codePage);
  return table != nullptr ? table->upper[byte - 0x80] : 0;
}

std::optional<float> arialTextWidth(const std::string& text, int codePage, float sizePoints,
                                    bool bold) {
  std::u32string characters;
  for (char c : text) characters += codePageCharacter(codePage, static_cast<unsigned char>(c));
  return arialTextWidth(characters, sizePoints, bold);
}

std::optional<float> arialTextWidth(const std::u32string& text, float sizePoints, bool bold) {
  std::size_t count = 0;
  const GlyphWidth* widths = arialWidths(count);
  const GlyphWidth* end = widths + count;
  long units = 0;
  for (char32_t character : text) {
    const GlyphWidth* glyph =
        std::lower_bound(widths, end, character,
                         [](const GlyphWidth& g, char32_t wanted) { return g.codePoint < wanted; });
    if (character == 0 || glyph == end || glyph->codePoint != character) return std::nullopt;
    units += bold ? glyph->bold : glyph->regular;
  }
  // One point is 20 twips.
  return static_cast<float>(units) * sizePoints * 20.0f / static_cast<float>(kFontUnitsPerEm);
}

}  // namespace pmx
