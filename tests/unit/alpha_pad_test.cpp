#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "KeyboardRig.h"
#include "pads/AlphaPad.h"

namespace pmx {
namespace {

using test::kField;
using Events = std::vector<std::pair<std::uint8_t, bool>>;  // key, up

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
};

TEST_F(AlphaPadTest, ArmedModifiersWrapTheNextKeyOnlyAndAreReleasedInOrder) {
  touch(ControlArray::Shift, 1);
  EXPECT_EQ(color(1), kColorRed);
  EXPECT_EQ(color(6), kColorRed);
  touch(ControlArray::Standard, 27);  // A
  touch(ControlArray::Standard, 28);  // S, no longer shifted
  EXPECT_EQ(
      fake.keys.events,
      (Events{{0x10, false}, {65, false}, {65, true}, {0x10, true}, {83, false}, {83, true}}));
  EXPECT_EQ(color(1), kColorGrey);
  EXPECT_FALSE(fake.keys.anyKeyDown());
  EXPECT_EQ(fake.host.focus, kField);

  fake.keys.events.clear();
  touch(ControlArray::Shift, 4);  // Alt Gr: Ctrl and Alt together
  touch(ControlArray::Standard, 15);
  EXPECT_EQ(
      fake.keys.events,
      (Events{{0x11, false}, {0x12, false}, {81, false}, {81, true}, {0x11, true}, {0x12, true}}));
}

TEST_F(AlphaPadTest, ShiftLockStaysUntilAShiftKeyReleasesIt) {
  touch(ControlArray::Shift, 0);
  touch(ControlArray::Shift, 0);  // touched again: still locked
  touch(ControlArray::Standard, 27);
  touch(ControlArray::Standard, 28);
  EXPECT_EQ(fake.keys.events.size(), 8u);  // both keys shifted
  EXPECT_EQ(color(0), kColorRed);
  EXPECT_EQ(color(1), kColorGrey);
  touch(ControlArray::Shift, 6);
  EXPECT_FALSE(pad().modifiers().shift());
  EXPECT_EQ(color(0), kColorGrey);
}

TEST_F(AlphaPadTest, CtrlAltAndAltGrExcludeEachOther) {
  touch(ControlArray::Shift, 2);
  touch(ControlArray::Shift, 4);
  EXPECT_EQ(pad().modifiers().ctrlLatch, 0);
  EXPECT_EQ(pad().modifiers().altGrLatch, -1);
  touch(ControlArray::Shift, 5);
  EXPECT_EQ(pad().modifiers().ctrlLatch, -1);
  EXPECT_EQ(pad().modifiers().altGrLatch, 0);
  EXPECT_EQ(color(4), kColorGrey);
}

TEST_F(AlphaPadTest, KeysWhoseTagIsNoKeyCodeSendNothingAndKeepTheLatches) {
  touch(ControlArray::Shift, 1);
  for (const char* tag : {"{ENTER}", "256", "-1", "6.5", "", "65x"}) {
    pad().find(ControlArray::Standard, 27)->tag = tag;
    touch(ControlArray::Standard, 27);
  }
  EXPECT_TRUE(fake.keys.events.empty());
  EXPECT_TRUE(pad().modifiers().shift());
}

TEST_F(AlphaPadTest, EndKeysPrefixTheModifiersHideAndNotify) {
  touch(ControlArray::Shift, 2);
  touch(ControlArray::Shift, 3);
  touch(ControlArray::End, 1);
  ASSERT_EQ(fake.keys.strings.size(), 1u);
  const KeyStroke& enter = fake.keys.strings[0].at(0);
  EXPECT_TRUE(enter.ctrl && enter.alt && !enter.shift);
  EXPECT_EQ(enter.vk, 13);
  EXPECT_FALSE(pad().Visible());
  EXPECT_EQ(fake.host.countSent(id("QDM32_1_TOUCHKEYBOARDHIDES")), 1);
  EXPECT_FALSE(pad().modifiers().ctrl());
  EXPECT_EQ(fake.host.pendingPumps, 1);
}

TEST_F(AlphaPadTest, EnterKeepsThePadOpenOnAMultiLineTextBoxOnly) {
  fake.host.windows[kField].className = "ThunderRT6TextBox";
  fake.host.windows[kField].style = 0x0004;
  touch(ControlArray::End, 1);
  EXPECT_TRUE(pad().Visible());
  EXPECT_EQ(fake.host.countSent(id("QDM32_1_TOUCHKEYBOARDHIDES")), 0);
  touch(ControlArray::End, 0);  // Escape always closes
  EXPECT_FALSE(pad().Visible());

  notify(kField, 265, 0);
  fake.host.windows[kField].className = "Edit";  // the standard edit class closes on Enter
  touch(ControlArray::End, 1);
  EXPECT_FALSE(pad().Visible());
}

TEST_F(AlphaPadTest, ModifierStateSurvivesReloadingThePads) {
  touch(ControlArray::Shift, 0);
  request("QDM32_1_TOUCHKEYSIZE", 0, 0x3FC00000);
  EXPECT_TRUE(pad().modifiers().shift());
  EXPECT_EQ(color(0), kColorGrey);  // a reloaded window starts with the layout's colours
}

}  // namespace
}  // namespace pmx
