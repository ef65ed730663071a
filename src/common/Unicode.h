// Unicode texts: UTF-8, the one form in which the core keeps the texts of the settings file, and
// UTF-16, the form of a Unicode settings file and of the platform's wide functions.
#pragma once

#include <cstddef>
#include <string>

namespace pmx {

// Characters above Unicode that stand for the bytes of one character of an 8-bit text whose code
// page is known only by its structure (which bytes lead a double-byte character, which byte
// sequences are defined): kByteCharacter + the byte, or + lead byte * 256 + trail byte. They let
// such a text be parsed and reported as written; they are never typed or shown.
constexpr char32_t kByteCharacter = 0x110000;

void appendUtf8(std::string& out, char32_t character);
std::string utf8(const std::u32string& characters);

// The characters of a UTF-8 text. A byte that starts no complete, shortest-form sequence of a
// code point (a surrogate or one above U+10FFFF included) gives no character.
std::u32string decodeUtf8(const std::string& text);

// UTF-16 code units as UTF-8. A surrogate without its partner gives no character.
std::string utf8FromUtf16(const char16_t* units, std::size_t count);

// How many UTF-16 code units the characters of a UTF-8 text take.
std::size_t utf16Length(const std::string& text);

// Characters for a report that is safe to print: each character as itself, in UTF-8, except
// those a terminal would act on or that would rearrange the text around them (control characters
// C0, DEL and C1, bidirectional marks and overrides, line and paragraph separators, zero-width
// characters, the byte-order mark), which are written \uXXXX; the bytes of a kByteCharacter are
// written \xNN. The backslash stands for itself.
std::string spelledCharacters(const std::u32string& characters);

// A text in UTF-8 made safe to print in the same way: each byte that starts no shortest-form
// sequence of a character is written \xNN.
std::string printableText(const std::string& text);

}  // namespace pmx
