#include <gtest/gtest.h>

#include "KeyboardRig.h"

namespace pmx {
namespace {

class SettingsTest : public ::testing::Test, public test::KeyboardRig {
 protected:
  SettingsTest() { start(); }
  Control& key(int pad, ControlArray array, int index) {
    return *keyboard.pads().pad(pad)->find(array, index);
  }
  std::string caption(int pad, ControlArray array, int index = 0) {
    return keyboard.pads().pad(pad)->find(array, index)->caption;
  }
};

TEST_F(SettingsTest, ReplacedLanguageServesKeysCharsetAndLayoutButNotTheLimitCaptions) {
  fake.profile.set("Replace", "2055", "1031");
  fake.profile.set("CharSet", "1031", "' 238'");  // quoted, with a blank
  fake.profile.set("1031 numpad text", "std10", ",");  // names match in any letter case
  fake.profile.set("1031 NumPad KeyCode", "Std10", "{DEL}");
  fake.profile.set("1031 NumPad Text", "Std5", "''");  // an empty key text keeps the design's
  fake.profile.set("2031 NumPad Text", "Std7", "x");  // another language's section
  fake.profile.set("1031 AlphaPad Text", "Extra1", "F1");
  fake.profile.set("2055 Text", "Max", "Hoechstwert");
  fake.profile.set("1031 Text", "Max", "wrong section");
  fake.layouts.installed = {0x04090409, 0x04070407, 0x040C040C};
  request("QDM1_LANGUAGE", 2055);

  EXPECT_EQ(keyboard.values().charSet, 238);
  EXPECT_EQ(fake.layouts.current() & 0xFFFF, 0x0407u);
  // The value pads share their texts: the "." key and the "A" key change together.
  EXPECT_EQ(caption(kPadNum, ControlArray::Standard, 10), ",");
  EXPECT_EQ(caption(kPadHex, ControlArray::Standard, 10), ",");
  EXPECT_EQ(key(kPadHex, ControlArray::Standard, 10).tag, "{DEL}");
  EXPECT_EQ(caption(kPadNum, ControlArray::Standard, 5), "5");
  EXPECT_EQ(caption(kPadNum, ControlArray::Standard, 7), "7");
  EXPECT_EQ(key(kPadNum, ControlArray::Standard, 10).font.charset, 238);
  EXPECT_EQ(key(kPadNum, ControlArray::End, 1).font.charset, 2);  // no entry: design font kept
  EXPECT_EQ(caption(kPadAlpha, ControlArray::LabelLimits, 0), "Hoechstwert");
  EXPECT_EQ(key(kPadBin, ControlArray::LimitMax, 0).font.charset, 238);
  EXPECT_TRUE(key(kPadAlpha, ControlArray::Extra, 1).visible);
  EXPECT_FALSE(key(kPadAlpha, ControlArray::Extra, 0).visible);
  // A character set is a byte value: anything else, or none, is 0 (ANSI).
  const std::pair<const char*, int> charsets[] = {{"255", 255}, {"256", 0}, {"-1", 0}, {"", 0}};
  for (int language = 1; language <= 4; ++language) {
    fake.profile.set("CharSet", std::to_string(language), charsets[language - 1].first);
    request("QDM1_LANGUAGE", language);
    EXPECT_EQ(keyboard.values().charSet, charsets[language - 1].second) << language;
  }
}

// The texts of a double-byte code page are whole characters, for the caption and the keystrokes
// alike: a trail byte that is also an ASCII one ("\x83\x7B" holds "{", "\x83\x5C" a backslash
// that "n" follows) belongs to its character, and a lead byte at the end gives nothing. The texts
// of a Unicode file arrive as they stand. Either way the key types what it shows.
TEST_F(SettingsTest, DoubleByteAndUnicodeTextsTypeWhatTheKeyShows) {
  const std::string shown = "\xE3\x81\x82\xE3\x83\x9C\xE6\x97\xA5\xE3\x82\xBDn";
  for (bool unicode : {false, true}) {
    fake.profile = test::FakeProfile{};
    fake.profile.unicode = unicode;
    const std::string text = unicode ? shown : "\x82\xA0\x83\x7B\x93\xFA\x83\x5Cn\x93";
    fake.profile.set("CharSet", "1041", "128");
    fake.profile.set("1041 NumPad Text", "Std10", text);
    fake.profile.set("1041 NumPad KeyCode", "Std10", text);
    fake.profile.set("1041 Text", "Max", text);
    request("QDM1_LANGUAGE", 1041);
    notify(test::kField, 306, 0);
    touch(*keyboard.pads().pad(kPadNum), ControlArray::Standard, 10);
    // Both captions are UTF-8 now, and say so to the painter.
    const Control& label = key(kPadNum, ControlArray::LabelLimits, 0);
    EXPECT_TRUE(label.caption == shown && label.utf8 &&
                key(kPadNum, ControlArray::LabelLimits, 1).utf8);
    EXPECT_TRUE(key(kPadNum, ControlArray::Standard, 10).utf8);
    EXPECT_EQ(caption(kPadNum, ControlArray::Standard, 10), shown);
  }
  EXPECT_EQ(fake.host.windows[test::kField].text, shown + shown);
}

TEST_F(SettingsTest, KeyboardLayoutCycleEndsOnTheStartWhenTheLanguageIsNotInstalled) {
  fake.layouts.installed = {0x04090409, 0x04070407, 0x040C040C};
  fake.layouts.active = 1;
  request("QDM1_LANGUAGE", 1041);
  EXPECT_EQ(fake.layouts.active, 1u);
  EXPECT_EQ(fake.layouts.switches, 3);
  // A language above 65535 never matches the low 16 bits of a layout.
  request("QDM1_LANGUAGE", 0x10409);
  EXPECT_EQ(fake.layouts.active, 1u);
}

TEST_F(SettingsTest, ExtraKeyWithCaptionAndKeystrokesTypesThemAndOneWithoutTypesNothing) {
  fake.profile.set("1031 AlphaPad Text", "Extra0", "kg");
  fake.profile.set("1031 AlphaPad KeyCode", "Extra0", "kg");
  fake.profile.set("1031 AlphaPad Text", "Extra2", "m");
  request("QDM1_LANGUAGE", 1031);
  notify(test::kField, 265, 0);
  Pad& alpha = *keyboard.pads().pad(kPadAlpha);
  fake.host.focus = 0;  // the key hands the focus back to the field before it types
  alpha.Touch(ControlArray::Extra, 0);
  alpha.Touch(ControlArray::Extra, 2);
  EXPECT_EQ(fake.host.windows[test::kField].text, "kg");
  EXPECT_TRUE(key(kPadAlpha, ControlArray::Extra, 2).visible);
}

}  // namespace
}  // namespace pmx
