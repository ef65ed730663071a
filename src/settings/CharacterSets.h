// Windows font character sets, their code pages, and how wide a text is in Arial.
//
// The settings file holds 8-bit texts; the "CharSet" of a language names the font character set
// in which its texts are shown, and with it the code page that turns their bytes into characters.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace pmx {

struct CharacterSet {
  std::int16_t value;  // the font character-set number, as in "CharSet"
  const char* name;    // the Windows name, without _CHARSET
  int codePage;        // 0: none of its own (symbol fonts, or the system's code page)
};

// Every character set Windows fonts know, in the order of their numbers.
const CharacterSet* characterSets(std::size_t& count);
const CharacterSet* findCharacterSet(int value);

// True for the single-byte code pages whose characters the checker knows.
bool knownCodePage(int codePage);
// The Unicode character of a byte in a known code page; 0 when the byte is undefined there or a
// control character.
char32_t codePageCharacter(int codePage, unsigned char byte);

// The width in twips of a text in Arial (Liberation Sans metrics) at a size in points, each byte
// taken as a character of the code page; nothing when a character is not in the table.
std::optional<float> arialTextWidth(const std::string& text, int codePage, float sizePoints,
                                    bool bold);

}  // namespace pmx
