#include "settings/CharacterSets.h"

#include <algorithm>
#include <iterator>

#include "settings/TextTables.h"

namespace pmx {

namespace {

constexpr CharacterSet kCharacterSets[] = {
    {0, "ANSI", 1252},      {1, "DEFAULT", 0},      {2, "SYMBOL", 0},
    {77, "MAC", 10000},     {128, "SHIFTJIS", 932}, {129, "HANGUL", 949},
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

}  // namespace

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

bool knownCodePage(int codePage) { return findCodePage(codePage) != nullptr; }

char32_t codePageCharacter(int codePage, unsigned char byte) {
  if (byte < 0x20 || byte == 0x7F) return 0;
  if (byte < 0x80) return byte;
  const CodePageTable* table = findCodePage(codePage);
  return table != nullptr ? table->upper[byte - 0x80] : 0;
}

std::optional<float> arialTextWidth(const std::string& text, int codePage, float sizePoints,
                                    bool bold) {
  std::size_t count = 0;
  const GlyphWidth* widths = arialWidths(count);
  const GlyphWidth* end = widths + count;
  long units = 0;
  for (char c : text) {
    const char32_t character = codePageCharacter(codePage, static_cast<unsigned char>(c));
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
