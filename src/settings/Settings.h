// The keyboard's lookups in its settings file: the language mapping, the character sets and the
// texts of the keys and limits.
//
// Every lookup reads the file again through the platform's profile functions; nothing is cached.
// A missing file, section or key gives the lookup's default. Each lookup is traced when the trace
// is on.
#pragma once

#include <cstdint>
#include <string>

#include "common/MPMXTouchKeyBoard.h"

namespace pmx {

int settingInt(Context& context, const std::string& section, const std::string& key,
               int defaultValue);
std::string settingString(Context& context, const std::string& section, const std::string& key,
                          const std::string& defaultValue);

// A text of the settings file in UTF-8, the form in which the keyboard keeps captions and
// keystrokes alike, so that a key types the very characters it shows: a Unicode file's text as
// it is, an 8-bit file's decoded in the code page of the font character set `charset` (whole
// characters; bytes that form none give nothing).
std::string settingText(Context& context, const std::string& section, const std::string& key,
                        const std::string& defaultValue, std::int16_t charset);

// An 8-bit text in the platform's code page of a font character set, in UTF-8 (whole characters;
// bytes that form none give nothing). The system's own ANSI code page is that of DEFAULT_CHARSET.
constexpr std::int16_t kDefaultCharset = 1;
std::string platformText(Context& context, const std::string& bytes, std::int16_t charset);

// The language whose texts and keyboard layout serve the host language: [Replace] maps it.
std::int32_t effectiveLanguage(Context& context);

// The font character set of a language's texts ([CharSet]); 0 for anything that is no byte value.
std::int16_t languageCharSet(Context& context, std::int32_t language);

}  // namespace pmx
