#include "settings/Settings.h"

#include "common/Trace.h"
#include "common/Unicode.h"
#include "settings/CharacterSets.h"

namespace pmx {

namespace {

// The platform's code page of a font character set.
class PlatformCodePage : public CodePageView {
 public:
  PlatformCodePage(ProfileReader& profile, std::int16_t charset)
      : profile_(profile), charset_(charset) {}
  bool leadByte(unsigned char byte) const override { return profile_.leadByte(charset_, byte); }
  char32_t character(unsigned char byte, int trail) const override {
    return profile_.character(charset_, byte, trail);
  }

 private:
  ProfileReader& profile_;
  std::int16_t charset_;
};

// Character sets are byte values; anything else in the file is not one.
std::int16_t toCharset(int value) {
  return value >= 0 && value <= 255 ? static_cast<std::int16_t>(value) : std::int16_t{0};
}

}  // namespace

// The profile functions give the default for a value that is not there; a second lookup with
// another default tells the two apart (a value read from the file is never a newline followed by
// the default).
int settingInt(Context& context, const std::string& section, const std::string& key,
               int defaultValue) {
  ProfileReader& profile = context.platform.profile;
  const std::string& file = context.values.iniFile;
  const int value = profile.readInt(file, section, key, defaultValue);
  Trace& trace = context.platform.trace;
  if (trace.lookups()) {
    const bool found = profile.readInt(file, section, key, defaultValue ^ 1) == value;
    trace.line(settingTraceLine(section, key, std::to_string(value), found));
  }
  return value;
}

std::string settingString(Context& context, const std::string& section, const std::string& key,
                          const std::string& defaultValue) {
  ProfileReader& profile = context.platform.profile;
  const std::string& file = context.values.iniFile;
  std::string value = profile.readString(file, section, key, defaultValue);
  Trace& trace = context.platform.trace;
  if (trace.lookups()) {
    const bool found = profile.readString(file, section, key, "\n" + defaultValue) == value;
    trace.line(settingTraceLine(section, key, traceText(value), found));
  }
  return value;
}

std::string settingText(Context& context, const std::string& section, const std::string& key,
                        const std::string& defaultValue, std::int16_t charset) {
  const std::string value = settingString(context, section, key, defaultValue);
  if (context.platform.profile.unicodeFile(context.values.iniFile)) return value;
  return platformText(context, value, charset);
}

std::string platformText(Context& context, const std::string& bytes, std::int16_t charset) {
  return utf8(decodeEightBit(bytes, PlatformCodePage(context.platform.profile, charset)));
}

std::int32_t effectiveLanguage(Context& context) {
  const std::int32_t language = context.values.languageId;
  return settingInt(context, "Replace", std::to_string(language), language);
}

std::int16_t languageCharSet(Context& context, std::int32_t language) {
  return toCharset(settingInt(context, "CharSet", std::to_string(language), 0));
}

}  // namespace pmx
