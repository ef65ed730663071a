#include "common/Unicode.h"

namespace pmx {

namespace {

bool isSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

void appendHex(std::string& out, unsigned long value, int digits) {
  static const char hex[] = "0123456789ABCDEF";
  for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) out += hex[(value >> shift) & 0xF];
}

// Characters a report writes as \uXXXX: terminals act on them, or they rearrange or hide the
// text around them.
bool unprintable(char32_t c) {
  return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x061C || (c >= 0x200B && c <= 0x200F) ||
         (c >= 0x2028 && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069) || c == 0xFEFF;
}

constexpr char32_t kNoCharacter = 0xFFFFFFFF;

// The character of the UTF-8 sequence at `i`, which it passes, when the bytes form a whole,
// shortest-form sequence of a code point (no surrogate, none beyond U+10FFFF). Otherwise
// kNoCharacter, and `i` passes the bytes that give nothing: a byte that leads no sequence, or those
// read of one that is cut short.
char32_t nextUtf8(const std::string& text, std::size_t& i) {
  const auto lead = static_cast<unsigned char>(text[i]);
  std::size_t extra = 0;
  char32_t least = 0;
  char32_t c = lead;
  if (lead >= 0xC0 && lead < 0xE0) {
    extra = 1;
    c = lead & 0x1F;
    least = 0x80;
  } else if (lead >= 0xE0 && lead < 0xF0) {
    extra = 2;
    c = lead & 0x0F;
    least = 0x800;
  } else if (lead >= 0xF0 && lead < 0xF8) {
    extra = 3;
    c = lead & 0x07;
    least = 0x10000;
  } else if (lead >= 0x80) {
    ++i;  // a continuation byte, or no lead byte of UTF-8
    return kNoCharacter;
  }
  std::size_t k = 1;
  for (; k <= extra && i + k < text.size(); ++k) {
    const auto next = static_cast<unsigned char>(text[i + k]);
    if ((next & 0xC0) != 0x80) break;
    c = (c << 6) | (next & 0x3F);
  }
  if (k <= extra) {  // cut short: the bytes read so far give nothing
    i += k;
    return kNoCharacter;
  }
  i += extra + 1;
  return c >= least && c <= 0x10FFFF && !isSurrogate(c) ? c : kNoCharacter;
}

}  // namespace

void appendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

std::string utf8(const std::u32string& characters) {
  std::string out;
  for (char32_t c : characters) appendUtf8(out, c);
  return out;
}

std::u32string decodeUtf8(const std::string& text) {
  std::u32string out;
  for (std::size_t i = 0; i < text.size();) {
    const char32_t c = nextUtf8(text, i);
    if (c != kNoCharacter) out += c;
  }
  return out;
}

std::string utf8FromUtf16(const char16_t* units, std::size_t count) {
  std::string out;
  for (std::size_t i = 0; i < count; ++i) {
    const char32_t u = units[i];
    if (u >= 0xD800 && u < 0xDC00 && i + 1 < count && units[i + 1] >= 0xDC00 &&
        units[i + 1] <= 0xDFFF) {
      appendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (units[i + 1] - 0xDC00));
      ++i;
    } else if (!isSurrogate(u)) {
      appendUtf8(out, u);
    }
  }
  return out;
}

std::size_t utf16Length(const std::string& text) {
  std::size_t units = 0;
  for (char32_t c : decodeUtf8(text)) units += c < 0x10000 ? 1 : 2;
  return units;
}

std::string spelledCharacters(const std::u32string& characters) {
  std::string out;
  for (char32_t c : characters) {
    if (c >= kByteCharacter) {
      const unsigned long bytes = c - kByteCharacter;
      if (bytes > 0xFF) {
        out += "\\x";
        appendHex(out, bytes >> 8, 2);
      }
      out += "\\x";
      appendHex(out, bytes & 0xFF, 2);
    } else if (unprintable(c)) {
      out += "\\u";
      appendHex(out, c, 4);
    } else {
      appendUtf8(out, c);
    }
  }
  return out;
}

std::string printableText(const std::string& text) {
  std::u32string characters;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t at = i;
    const char32_t c = nextUtf8(text, i);
    if (c != kNoCharacter) {
      characters += c;
    } else {  // each byte on its own
      characters += kByteCharacter + static_cast<unsigned char>(text[at]);
      i = at + 1;
    }
  }
  return spelledCharacters(characters);
}

}  // namespace pmx
