#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

#include "KeyboardRig.h"
#include "controls/Keystrokes.h"

namespace pmx {
namespace {

using test::kField;

class PadsTest : public ::testing::Test, public test::KeyboardRig {
 protected:
  PadsTest() {
    start();
    fake.host.sent.clear();
  }

  void notify(std::int16_t type, std::int16_t format, const char* min = "", const char* max = "") {
    KeyboardRig::notify(kField, type, format, min, max);
  }

  Pad& pad(int n) { return *keyboard.pads().pad(n); }

  int hides() { return fake.host.countSent(id("QDM32_1_TOUCHKEYBOARDHIDES")); }
  std::string fieldText() { return fake.host.windows[kField].text; }
};

// --- sizing ------------------------------------------------------------------------------------

// Every key-size request scales the design again (twice 1.5 is 1.5): geometry, fonts and client
// area of every control, hidden ones too, but not the frame or the position; pads stay topmost.
TEST_F(PadsTest, KeySizesScaleTheDesign) {
  const float left = pad(kPadHex).Left(), top = pad(kPadHex).Top();
  for (const auto& [bits, k] : {std::pair{0x3F800000, 1.0f}, std::pair{0x3FC00000, 1.5f},
                                std::pair{0x3FC00000, 1.5f}, std::pair{0x40000000, 2.0f}}) {
    request("QDM32_1_TOUCHKEYSIZE", 0, bits);
    Pad& num = pad(kPadNum);
    const Control* seven = num.find(ControlArray::Standard, 7);
    EXPECT_EQ(seven->left, 1200 * k);
    EXPECT_EQ(seven->top, 600 * k);
    EXPECT_EQ(seven->width, 600 * k);
    EXPECT_EQ(seven->height, 600 * k);
    EXPECT_EQ(seven->font.size, 18 * k);
    EXPECT_EQ(num.ScaleWidth(), 3600 * k);
    EXPECT_EQ(pad(kPadAlpha).ScaleWidth(), 9000 * k);
    EXPECT_EQ(num.Width() - num.ScaleWidth(), fake.windows.frameW);
    EXPECT_EQ(num.Height() - num.ScaleHeight(), fake.windows.frameH);
    EXPECT_TRUE(fake.windows.windowOf[&num]->topmost);
    const Control* hidden = pad(kPadBin).find(ControlArray::LimitMax);
    EXPECT_FALSE(hidden->visible);
    EXPECT_EQ(hidden->left, 1800 * k);
    EXPECT_FLOAT_EQ(hidden->font.size, 8.25f * k);
    EXPECT_EQ(pad(kPadHex).Left(), left);
    EXPECT_EQ(pad(kPadHex).Top(), top);
  }
}

// --- showing and placing ----------------------------------------------------------------------

// The pad hidden for the next one is the active form: the pad last shown or touched, none once
// it is cleared. A touch queued before its pad was hidden types nothing and changes nothing.
TEST_F(PadsTest, TheActiveFormIsThePadLastShownOrTouched) {
  notify(306, 0);
  notify(306, 2);  // hex is active, num hidden
  touch(pad(kPadNum), ControlArray::Standard, 5);
  EXPECT_EQ(fieldText(), "");
  notify(306, 1);
  EXPECT_FALSE(pad(kPadHex).Visible());  // hex was still the active pad
  notify(306, 2);
  pad(kPadNum).Show();
  touch(pad(kPadNum), ControlArray::Standard, 5);
  notify(306, 1);
  EXPECT_FALSE(pad(kPadNum).Visible());  // the touched pad was the active one
  EXPECT_TRUE(pad(kPadHex).Visible());
  keyboard.pads().setActiveForm(nullptr);
  notify(306, 0);
  EXPECT_TRUE(pad(kPadBin).Visible());
  EXPECT_TRUE(pad(kPadNum).Visible());
}

// The limits are checked before the pad is placed: placement sees the height they give it.
TEST_F(PadsTest, PlacementSeesTheHeightTheLimitsGive) {
  request("QDM32_1_TOUCHPOSITION", 0, 1);
  fake.host.windows[kField].rect = {100, 700, 300, 725};  // near the bottom: the pad goes above
  for (const char* max : {"", "100", ""}) {
    request("QDM32_1_TOUCHSHOWLIMITS", 0, *max != '\0');
    notify(306, 0, "", max);
    EXPECT_EQ(pad(kPadNum).Top() + pad(kPadNum).Height(), 700 * 15 - 15) << max;
  }
}

// Operations on all pads visit the hexadecimal, alphanumeric, decimal and binary pad in turn.
TEST_F(PadsTest, AllPadOperationsVisitHexAlphaNumBin) {
  request("QDM32_1_HIDEKEYBOARD");
  std::vector<WindowHandle> order;
  for (int n : {kPadHex, kPadAlpha, kPadNum, kPadBin})
    order.push_back(fake.windows.windowOf.at(&pad(n))->handle());
  EXPECT_TRUE(std::is_sorted(order.begin(), order.end()));  // created in that order
}

TEST_F(PadsTest, PadNumbersOutsideTheRangeShowNothing) {
  keyboard.pads().ShowPad(4);
  keyboard.pads().ShowPad(-1);
  EXPECT_EQ(fake.windows.created, 0);
}

// --- value pad keys ---------------------------------------------------------------------------

// Value keys type their tag as it is at the touch, into the field the pad serves, and leave the
// pad open; hex letters go out in lower case, bit keys' caret strings unchanged.
TEST_F(PadsTest, ValueKeysTypeTheirTagIntoTheField) {
  notify(306, 0);
  fake.host.focus = 0;
  Pad& num = pad(kPadNum);
  for (int index : {7, 5, 10}) touch(num, ControlArray::Standard, index);
  num.find(ControlArray::Standard, 10)->tag = ",";
  touch(num, ControlArray::Standard, 10);
  EXPECT_EQ(fieldText(), "75.,");
  EXPECT_EQ(fake.host.focus, kField);
  EXPECT_TRUE(num.Visible());
  notify(306, 2);
  touch(pad(kPadHex), ControlArray::Standard, 10);
  touch(pad(kPadHex), ControlArray::Standard, 21);
  EXPECT_EQ(fieldText(), "75.,af");
  notify(306, 1);
  fake.host.windows[kField].text = "0000000011111111";
  touch(pad(kPadBin), ControlArray::Bit, 3);  // the blank goes in front of bit 3's character
  EXPECT_EQ(fieldText(), "000000001111 1111");
  EXPECT_EQ(fake.host.windows[kField].caret, 12u);
  touch(pad(kPadBin), ControlArray::Bit, 15);
  EXPECT_EQ(fieldText(), " 000000001111 1111");
  EXPECT_EQ(fake.host.windows[kField].caret, 0u);
  EXPECT_EQ(hides(), 0);
  fake.host.focus = 0;
  touch(pad(kPadBin), ControlArray::Close);  // closes, and hands the focus back to the field
  EXPECT_EQ(fake.host.focus, kField);
}

TEST_F(PadsTest, HostRequestAnsweringTheNotificationMayReloadThePads) {
  // The host answers the notification with a language request that unloads every pad while the
  // touch handler is still running.
  fake.host.onSend = [&](const test::SentMessage& m) {
    if (m.message == id("QDM32_1_TOUCHKEYBOARDHIDES")) request("QDM1_LANGUAGE", 1031, 0);
  };
  notify(306, 0);
  touch(pad(kPadNum), ControlArray::End, 1);
  EXPECT_TRUE(pad(kPadNum).loaded());
  EXPECT_FALSE(pad(kPadNum).Visible());
}

TEST_F(PadsTest, ReleasingOutsideTheKeyOrOnAHiddenKeyTouchesNothing) {
  notify(306, 0);
  Pad& num = pad(kPadNum);
  const Control* five = num.find(ControlArray::Standard, 5);
  float x = num.originLeft(*five) + five->left + 10, y = num.originTop(*five) + five->top + 10;
  num.pointerDown(x - 10, y - 10);  // a key's top-left corner is its own
  EXPECT_TRUE(five->pressed);
  num.pointerUp(x + five->width, y);  // slid onto the neighbour
  EXPECT_FALSE(five->pressed);
  num.pointerDown(x, y);
  num.pointerDown(x + five->width, y);  // a second press without a release moves the pressed key
  EXPECT_FALSE(five->pressed);
  num.pointerDown(-15, -15);  // off every control
  num.pointerCancel();
  EXPECT_EQ(fieldText(), "");
  num.find(ControlArray::Standard, 5)->visible = false;
  num.pointerDown(x, y);
  num.pointerUp(x, y);
  EXPECT_EQ(fieldText(), "");
}

TEST_F(PadsTest, MoveKeysPushThePadIntoTheCorners) {
  notify(306, 0);
  Pad& num = pad(kPadNum);
  const float right = 15360 - num.Width(), bottom = 11520 - num.Height();
  const std::pair<float, float> corners[] = {{0, 0}, {right, 0}, {0, bottom}, {right, bottom}};
  fake.host.focus = 0;
  for (int key : {3, 1, 2, 0}) {
    touch(num, ControlArray::Move, key);
    EXPECT_EQ(std::make_pair(num.Left(), num.Top()), corners[key]) << key;
  }
  EXPECT_EQ(fake.host.focus, kField);
}

// --- limits -----------------------------------------------------------------------------------

TEST_F(PadsTest, LimitBlockFollowsTheLimitSwitchAndTexts) {
  Pad& num = pad(kPadNum);
  notify(306, 0, "0", "100");  // limits off
  EXPECT_EQ(num.picKeys()->top, 0);
  EXPECT_EQ(num.ScaleHeight(), 3000);
  EXPECT_FALSE(num.find(ControlArray::LimitMax)->visible);
  EXPECT_EQ(num.find(ControlArray::LimitMax)->caption, "100");
  // Host texts are shown in the system's code page, not in the label font's character set.
  EXPECT_TRUE(num.find(ControlArray::LimitMax)->systemText);
  EXPECT_TRUE(num.find(ControlArray::LimitMin)->systemText);
  EXPECT_FALSE(num.find(ControlArray::LabelLimits, 0)->systemText);

  request("QDM32_1_TOUCHSHOWLIMITS", 0, 1);
  notify(306, 0, "0", "100");
  EXPECT_EQ(num.picKeys()->top, 600);
  EXPECT_EQ(num.ScaleHeight(), 3600);
  EXPECT_TRUE(num.find(ControlArray::LabelLimits, 0)->visible);
  EXPECT_TRUE(num.find(ControlArray::LabelLimits, 1)->visible);

  notify(306, 0, "", "100");  // only the maximum: the lower row stays empty
  EXPECT_TRUE(num.find(ControlArray::LimitMax)->visible);
  EXPECT_FALSE(num.find(ControlArray::LimitMin)->visible);
  EXPECT_FALSE(num.find(ControlArray::LabelLimits, 1)->visible);
  EXPECT_EQ(num.picKeys()->top, 600);

  notify(306, 0, "", "");
  EXPECT_EQ(num.picKeys()->top, 0);
  EXPECT_EQ(num.ScaleHeight(), 3000);

  notify(306, 1, "0", "1");
  EXPECT_EQ(pad(kPadBin).ScaleHeight(), 3000);
  notify(306, 2, "0", "FF");
  EXPECT_EQ(pad(kPadHex).ScaleHeight(), 4200);
}

// --- what the screen shows --------------------------------------------------------------------

// After every change to a pad on screen, whether from the host or from a touch, what the windows
// paint is the pad as it now is: the screen never shows an older state than the one touches hit.
TEST_F(PadsTest, TheScreenFollowsEveryChange) {
  struct Step {
    const char* what;
    std::function<void()> change;
  };
  fake.windows.screens = true;
  Pad& num = pad(kPadNum);
  const Control& seven = *num.find(ControlArray::Standard, 7);
  const float x = seven.left + 30, y = 600 + seven.top + 30;  // below the shown limits
  const Step steps[] = {
      {"limits shown",
       [&] {
         request("QDM32_1_TOUCHSHOWLIMITS", 0, 1);
         notify(306, 0, "-5", "5");
       }},
      {"key held", [&] { num.pointerDown(x, y); }},
      {"key released", [&] { num.pointerUp(x, y); }},
      {"limits switched off",
       [&] {
         request("QDM32_1_TOUCHSHOWLIMITS", 0, 0);
         notify(306, 0, "-5", "5");
       }},
      {"other limits",
       [&] {
         request("QDM32_1_TOUCHSHOWLIMITS", 0, 1);
         notify(306, 0, "", "1000");
       }},
      {"relabelled", [&] { request("QDM1_LANGUAGE", 1031); }},
      {"alphanumeric pad", [&] { notify(265, 0, "1", "9"); }},
      {"Shift armed", [&] { touch(pad(kPadAlpha), ControlArray::Shift, 1); }},
      {"letter typed", [&] { touch(pad(kPadAlpha), ControlArray::Standard, 27); }},
      {"rescaled", [&] { request("QDM32_1_TOUCHKEYSIZE", 0, 0x3FC00000); }},
      {"shown again", [&] { notify(265, 0, "", ""); }},
      {"back to the value pad", [&] { touch(pad(kPadAlpha), ControlArray::PadSwitch); }},
  };
  fake.profile.set("1031 NumPad Text", "Std5", "F\xFCnf");
  fake.profile.set("1031 Text", "Max",
                   "H\xF6"
                   "chstens");
  for (const Step& step : steps) {
    step.change();
    fake.windows.paint();
    EXPECT_EQ(fake.windows.stale(), 0) << step.what;
  }
  // A press repaints the pressed key alone.
  const Control& five = *num.find(ControlArray::Standard, 5);
  num.pointerDown(num.originLeft(five) + five.left + 30, num.originTop(five) + five.top + 30);
  constexpr float kCell = test::FakeWindow::kCell;
  EXPECT_EQ(fake.windows.windowOf[&num]->invalidated(),
            (five.width / kCell) * (five.height / kCell));
}

}  // namespace
}  // namespace pmx
