// Windows font character sets, their code pages, how 8-bit texts become characters, and how
// wide a text is in Arial.
//
// An 8-bit settings file holds 8-bit texts; the "CharSet" of a language names the font character
// set in which its texts are shown, and with it the code page that turns their bytes into
// characters. (In a Unicode settings file it names only the font's character set.)
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pmx {

struct CharacterSet {
  std::int16_t value;  // the font character-set number, as in "CharSet"
  const char* name;    // the Windows name, without _CHARSET
  int codePage;        // 0: none of its own (symbol fonts, or the system's ANSI code page)
};

// Every character set Windows fonts know, in the order of their numbers.
const CharacterSet* characterSets(std::size_t& count);
const CharacterSet* findCharacterSet(int value);

// A code page seen one character at a time: the platform's for the keyboard, the checker's own
// tables for the checker.
class CodePageView {
 public:
  virtual ~CodePageView() = default;
  virtual bool leadByte(unsigned char byte) const = 0;
  // The character of one byte (trail < 0) or of a lead byte and its trail byte; 0 for none.
  virtual char32_t character(unsigned char byte, int trail) const = 0;
};

// Bytes of an 8-bit text that form no character: where they stand, in characters and in bytes.
struct BrokenBytes {
  std::size_t character;  // the 0-based position the character would have had
  std::size_t offset, length;
};

// The characters of an 8-bit text, each one whole, as the platform's code-page functions read
// them: a lead byte takes the byte after it along, whatever that is (an ASCII byte too), and the
// two are one character. A lead byte at the end, or a byte or pair the code page leaves
// undefined, gives no character; `broken` learns where such bytes are.
std::u32string decodeEightBit(const std::string& bytes, const CodePageView& page,
                              std::vector<BrokenBytes>* broken = nullptr);

// The checker's view of a code page it knows (the single-byte code pages 874 and 1250-1258, the
// double-byte ones 932, 936, 949, 950 and 1361), or null. Its characters are those of the
// printable ASCII range and, for every other byte or pair, kByteCharacter + its bytes: the checker
// knows which sequences are characters, not which characters the double-byte ones are.
const CodePageView* checkerCodePage(int codePage);
bool doubleByteCodePage(int codePage);

// The Unicode character of a byte in a known code page; 0 when the byte is undefined there or a
// control character.
char32_t codePageCharacter(int codePage, unsigned char byte);

// The width in twips of a text in Arial (Liberation Sans metrics) at a size in points, each byte
// taken as a character of the code page; nothing when a character is not in the table.
std::optional<float> arialTextWidth(const std::string& text, int codePage, float sizePoints,
                                    bool bold);
// The same for Unicode characters.
std::optional<float> arialTextWidth(const std::u32string& text, float sizePoints, bool bold);

}  // namespace pmx
