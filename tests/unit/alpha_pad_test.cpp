#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "KeyboardRig.h"
#include "pads/AlphaPad.h"

namespace pmx {
namespace {

using test::kField;

class AlphaPadTest : public ::testing::Test, public test::KeyboardRig {
 protected:
  AlphaPadTest() {
    start();
    notify(kField, 265, 0);
    fake.host.sent.clear();
  }
  AlphaPad& pad() { return static_cast<AlphaPad&>(*keyboard.pads().pad(kPadAlpha)); }
  void touch(ControlArray array, int index) { pad().Touch(array, index); }
  std::uint32_t color(int shiftIndex) {
    return pad().find(ControlArray::Shift, shiftIndex)->backColor;
  }
  // The events that went into the input stream: "16v" key 16 down, "16^" up; a trailing "*" marks
  // an event with a scan code or the extended flag, which these plain events must not have.
  std::string events() {
    std::string out;
    for (const KeyEvent& e : fake.keys.events()) {
      if (!out.empty()) out += ' ';
      out += std::to_string(e.vk) + (e.up ? "^" : "v") + (e.scanCode || e.extended ? "*" : "");
    }
    fake.keys.batches.clear();
    return out;
  }
};

TEST_F(AlphaPadTest, ArmedModifiersWrapTheNextKeyOnlyAndAreReleasedInOrder) {
  fake.host.focus = 0;            // every key hands the focus back to the field
  touch(ControlArray::Shift, 6);  // the right Shift key: both show armed
  EXPECT_TRUE(color(1) == kColorRed && color(6) == kColorRed && fake.host.focus == kField);
  fake.host.focus = 0;
  touch(ControlArray::Standard, 27);  // A
  touch(ControlArray::Standard, 28);  // S, no longer shifted
  EXPECT_EQ(events(), "16v 65v 65^ 16^ 83v 83^");
  EXPECT_EQ(fake.host.windows[kField].text, "As");
  EXPECT_EQ(color(1), kColorGrey);
  EXPECT_FALSE(fake.keys.anyKeyDown());
  EXPECT_EQ(fake.host.focus, kField);

  touch(ControlArray::Shift, 4);  // Alt Gr: Ctrl and Alt together
  touch(ControlArray::Standard, 15);
  EXPECT_EQ(events(), "17v 18v 81v 81^ 17^ 18^");
  touch(ControlArray::Shift, 0);
  touch(ControlArray::Shift, 2);
  touch(ControlArray::Standard, 57);  // cursor up: no extended flag on this pad
  EXPECT_EQ(events(), "16v 17v 38v 38^ 16^ 17^");
}

TEST_F(AlphaPadTest, KeysWhoseTagIsNoKeyCodeSendNothingAndKeepTheLatches) {
  touch(ControlArray::Shift, 1);
  for (const char* tag : {"{ENTER}", "256", "-1", "6.5", "", "65x"}) {
    pad().find(ControlArray::Standard, 27)->tag = tag;
    touch(ControlArray::Standard, 27);
  }
  EXPECT_EQ(events(), "");
  EXPECT_TRUE(pad().modifiers().shift());
}

TEST_F(AlphaPadTest, EndKeysPrefixTheModifiersHideAndNotify) {
  touch(ControlArray::Shift, 2);
  touch(ControlArray::Shift, 3);
  fake.host.focus = 0;
  touch(ControlArray::End, 1);
  EXPECT_EQ(events(), "17v* 18v* 13v* 13^* 17^* 18^*");
  EXPECT_TRUE(!pad().Visible() && fake.host.focus == kField);
  const test::SentMessage& notice = fake.host.sent.at(0);  // the one notice, without parameters
  EXPECT_TRUE(fake.host.sent.size() == 1 && notice.message == id("QDM32_1_TOUCHKEYBOARDHIDES") &&
              notice.window == test::kController && notice.wParam == 0 && notice.lParam == 0);
  EXPECT_TRUE(!pad().modifiers().ctrl() && color(2) == kColorGrey);  // disarmed, and shown so
  EXPECT_EQ(fake.host.pendingPumps, 1);
}

// The Visual Basic text boxes with the multi-line style (ES_MULTILINE) take Enter as a new line:
// the pad stays open for them. Escape always closes.
TEST_F(AlphaPadTest, EnterKeepsThePadOpenOnAMultiLineTextBoxOnly) {
  // The field's class and style, the end key touched, whether the pad stays open.
  const std::tuple<const char*, std::uint32_t, int, bool> cases[] = {
      {"ThunderRT6TextBox", 0x50010004, 1, true}, {"ThunderTextBox", 4, 1, true},
      {"ThunderRT5TextBox", 4, 1, true},          {"ThunderRT6TextBox", 0x50010000, 1, false},
      {"ThunderRT6TextBox", 4, 0, false},         {"Edit", 4, 1, false}};
  for (const auto& [className, style, endKey, open] : cases) {
    notify(kField, 265, 0);
    fake.host.windows[kField].className = className;
    fake.host.windows[kField].style = style;
    touch(ControlArray::End, endKey);
    EXPECT_EQ(pad().Visible(), open) << className << ' ' << style << ' ' << endKey;
  }
}

// The host ends the keyboard while the Enter key lets the queued messages through: the pad does
// not come back, and the host, which has let go of the keyboard, hears nothing more.
TEST_F(AlphaPadTest, TerminateDuringTheEndKeysYieldEndsEverything) {
  fake.host.onPump = [&] { request("QDM32_1_TERMINATEKEYBOARD"); };
  touch(ControlArray::End, 1);
  EXPECT_EQ(fake.windows.alive(), 0);
  EXPECT_EQ(fake.host.countSent(id("QDM32_1_TOUCHKEYBOARDHIDES")), 0);
  EXPECT_FALSE(fake.keys.anyKeyDown());
}

}  // namespace
}  // namespace pmx
