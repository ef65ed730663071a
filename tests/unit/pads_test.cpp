#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <sstream>
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
  const PadDef& design = pad(kPadHex).layout();  // its client area where the design puts it
  const float left = design.designLeft - 30.0f, top = design.designTop - 30.0f;  // frame of 60
  for (const auto& [bits, k] : {std::pair{0x3F800000, 1.0f}, std::pair{0x3FC00000, 1.5f},
                                std::pair{0x3FC00000, 1.5f}, std::pair{0x40000000, 2.0f}}) {
    request("QDM32_1_TOUCHKEYSIZE", 0, bits);
    Pad& num = pad(kPadNum);
    const Control* seven = num.find(ControlArray::Standard, 7);
    EXPECT_EQ(std::vector<float>({seven->left, seven->top, seven->width, seven->height}),
              std::vector<float>({1200 * k, 600 * k, 600 * k, 600 * k}));
    EXPECT_TRUE(seven->font.size == 18 * k && seven->font.name == "Arial");
    EXPECT_EQ(num.ScaleWidth(), 3600 * k);
    EXPECT_EQ(pad(kPadAlpha).ScaleWidth(), 9000 * k);
    const PixelRect& alpha = fake.windows.windowOf[&pad(kPadAlpha)]->bounds;
    EXPECT_EQ((alpha.bottom - alpha.top) * 15.0f, 4200 * k + 60);  // frame included
    EXPECT_TRUE(fake.windows.windowOf[&num]->topmost);
    const Control* hidden = pad(kPadBin).find(ControlArray::LimitMax);
    EXPECT_FALSE(hidden->visible);
    EXPECT_EQ(hidden->left, 1800 * k);
    EXPECT_FLOAT_EQ(hidden->font.size, 8.25f * k);
    EXPECT_EQ(std::make_pair(pad(kPadHex).Left(), pad(kPadHex).Top()), std::make_pair(left, top));
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

// Operations on all pads visit the hexadecimal, alphanumeric, decimal and binary pad in turn.
// Pad numbers outside 0 to 3 show nothing.
TEST_F(PadsTest, AllPadOperationsVisitHexAlphaNumBin) {
  keyboard.pads().ShowPad(4);
  keyboard.pads().ShowPad(-1);
  EXPECT_EQ(fake.windows.created, 0);
  request("QDM32_1_HIDEKEYBOARD");
  std::vector<WindowHandle> order;
  for (int n : {kPadHex, kPadAlpha, kPadNum, kPadBin})
    order.push_back(fake.windows.windowOf.at(&pad(n))->handle());
  EXPECT_TRUE(std::is_sorted(order.begin(), order.end()));  // created in that order
}

// --- value pad keys ---------------------------------------------------------------------------

// Value keys type their tag as it is at the touch, into the field the pad serves, and leave the
// pad open; bit keys send their caret strings unchanged. Move keys push the pad into the corners;
// the window keys hand the focus back to the field.
TEST_F(PadsTest, ValueKeysTypeAndMoveKeysMove) {
  notify(306, 0);
  EXPECT_EQ(fake.host.focus, kField);  // the field keeps the focus while the pad shows
  fake.host.focus = 0;
  Pad& num = pad(kPadNum);
  for (int index : {7, 5, 10}) touch(num, ControlArray::Standard, index);
  num.find(ControlArray::Standard, 10)->tag = ",";
  touch(num, ControlArray::Standard, 10);
  EXPECT_EQ(fieldText(), "75.,");
  EXPECT_EQ(fake.host.focus, kField);
  EXPECT_TRUE(num.Visible());
  // The move keys push the pad into the corners of the screen.
  const float right = 15360 - num.Width(), bottom = 11520 - num.Height();
  const std::pair<float, float> corners[] = {{0, 0}, {right, 0}, {0, bottom}, {right, bottom}};
  fake.host.focus = 0;
  const PixelRect& at = fake.windows.windowOf[&num]->bounds;
  for (int key : {0, 2, 1, 3, -1, 4}) {
    num.Touch(ControlArray::Move, key);
    const int corner = key >= 0 && key <= 3 ? key : 3;  // no other index moves the pad
    EXPECT_EQ(std::make_pair(at.left * 15.0f, at.top * 15.0f), corners[corner]) << key;
  }
  EXPECT_EQ(fake.host.focus, kField);  // after an index that moves nothing too
  notify(306, 1);
  fake.host.windows[kField].text = "0000000011111111";
  touch(pad(kPadBin), ControlArray::Bit, 3);  // the blank goes in front of bit 3's character
  EXPECT_EQ(fieldText(), "000000001111 1111");
  EXPECT_EQ(fake.host.windows[kField].caret, 12u);
  touch(pad(kPadBin), ControlArray::Bit, 15);
  EXPECT_EQ(fieldText(), " 000000001111 1111");
  EXPECT_EQ(fake.host.windows[kField].caret, 0u);
  EXPECT_EQ(hides(), 0);
  fake.host.focus = 0;  // each window key hands the focus back to the field
  touch(pad(kPadBin), ControlArray::PadSwitch);  // the alphanumeric pad instead
  EXPECT_EQ(fake.host.focus, kField);
  fake.host.focus = 0;
  touch(pad(kPadAlpha), ControlArray::Close);
  EXPECT_TRUE(fake.host.focus == kField && !shown(kPadAlpha) && !shown(kPadBin));
}

// Every contact (the mouse M, fingers 0 to 9) is a touch of its own, its events interleaved with
// the others': it types the key it came down on once, when it lifts there, and a key shows pressed
// while a contact over it holds it. "d17=78" is the down (m move, u up, c cancel) of contact 1 at
// the top-left corner (still the key's own) of the decimal pad's 7 (E Enter, - off every
// control), after which 7 and 8 show pressed; "L=" is a language request, which reloads the pads.
TEST_F(PadsTest, EachContactTypesTheKeyItLiftsFromOnce) {
  const std::pair<const char*, const char*> cases[] = {
      {"d17=7 d28=78 u17=8 u28=", "78"},
      {"d17=7 d28=78 u28=7 u17=", "87"},
      {"dM1=1 d02=12 uM1=2 u02=", "12"},
      {"d15=5 d25=5 u15=5 u25=", "55"},
      {"d15=5 m16= m1-= m15=5 u15=", "5"},
      {"d17=7 m18= u18= u17=", ""},
      {"d39=9 c39= u39=", ""},
      {"d17=7 d18=8 u18=", "8"},
      {"d1-= m14= u14=", ""},
      {"d15=5 d2E=5E u2E= d36= u15=", ""},
      {"d15=5 L= u15=", ""},
  };
  Pad& num = pad(kPadNum);
  for (const auto& [script, typed] : cases) {
    SCOPED_TRACE(script);
    notify(306, 0);
    const std::size_t before = fieldText().size();
    std::istringstream steps(script);
    for (std::string step; steps >> step;) {
      const std::size_t eq = step.find('=');
      const ContactId id = step[1] == 'M' ? kMouseContact : static_cast<ContactId>(step[1] - '0');
      const char at = step[eq - 1];
      const Control* key = at == '-'   ? nullptr
                           : at == 'E' ? num.find(ControlArray::End, 1)
                                       : num.find(ControlArray::Standard, at - '0');
      const float x = key ? num.originLeft(*key) + key->left : -15;
      const float y = key ? num.originTop(*key) + key->top : -15;
      if (step[0] == 'd') num.contactDown(id, x, y);
      if (step[0] == 'm') num.contactMove(id, x, y);
      if (step[0] == 'u') num.contactUp(id, x, y);
      if (step[0] == 'c') num.contactCancel(id);
      if (step[0] == 'L') request("QDM1_LANGUAGE", 1031);
      std::string pressed;
      for (const Control& k : num.controls()) {
        if (k.pressed) pressed += k.array == ControlArray::End ? 'E' : char('0' + k.index);
      }
      EXPECT_EQ(pressed, step.substr(eq + 1)) << step;
    }
    EXPECT_EQ(fieldText().substr(before), typed);
  }
  EXPECT_EQ(hides(), 1);
  EXPECT_EQ(fake.keys.events().back().vk, 0x0D);  // the Enter key lifted there sent Enter
}

// --- limits -----------------------------------------------------------------------------------

// The limits are checked before the pad is placed: placement (here above a field near the bottom
// of the screen) sees the height they give it.
TEST_F(PadsTest, LimitBlockFollowsTheLimitSwitchAndTexts) {
  request("QDM32_1_TOUCHPOSITION", 0, 1);
  fake.host.windows[kField].rect = {100, 700, 300, 725};
  Pad& num = pad(kPadNum);
  notify(306, 0, "0", "100");  // limits off
  EXPECT_EQ(num.picKeys()->top, 0);
  EXPECT_EQ(num.ScaleHeight(), 3000);
  EXPECT_EQ(num.Top() + num.Height(), 700 * 15 - 15);
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
  EXPECT_EQ(num.Top() + num.Height(), 700 * 15 - 15);
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
  EXPECT_EQ(num.Top() + num.Height(), 700 * 15 - 15);

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
      {"key held", [&] { num.contactDown(kMouseContact, x, y); }},
      {"slid off the key", [&] { num.contactMove(kMouseContact, -15, -15); }},
      {"key released", [&] { num.contactUp(kMouseContact, x, y); }},
      {"other limit texts", [&] { notify(306, 0, "-7", "7"); }},
      {"a finger holds it", [&] { num.contactDown(1, x, y); }},
      {"the finger cancelled", [&] { num.contactCancel(1); }},
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
      {"back to the value pad", [&] { touch(pad(kPadAlpha), ControlArray::PadSwitch); }},
      {"rescaled", [&] { request("QDM32_1_TOUCHKEYSIZE", 0, 0x3FC00000); }},
      {"shown again", [&] { notify(265, 0, "", ""); }},
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
  EXPECT_EQ(num.find(ControlArray::Standard, 5)->caption, "F\xC3\xBCnf");  // kept when rescaled
  // A press repaints the pressed key alone.
  Pad& alpha = pad(kPadAlpha);
  const Control& a = *alpha.find(ControlArray::Standard, 27);
  alpha.contactDown(kMouseContact, a.left + 30, a.top + 30);
  constexpr float kCell = test::FakeWindow::kCell;
  EXPECT_EQ(fake.windows.windowOf[&alpha]->invalidated(), (a.width / kCell) * (a.height / kCell));
}

// Each key owns its rectangle: its top and left edge, not its right and bottom edge, which belong
// to what lies beyond. A touch on a label hits no key.
TEST_F(PadsTest, EachKeyOwnsItsRectangle) {
  notify(265, 0);  // the alphanumeric pad without the limit labels over its cursor-up key
  for (int n : {kPadHex, kPadAlpha, kPadNum, kPadBin}) {
    Pad& p = pad(n);
    for (const Control& c : p.controls()) {
      if (!c.visible || c.kind == ControlKind::Container) continue;
      // picKeys spans the value pads from their left edge down from its top.
      const float l = c.left, t = c.top + (c.inPicKeys ? p.picKeys()->top : 0);
      const float r = l + c.width, b = t + c.height;
      const Control* own = c.isKey() ? &c : nullptr;
      EXPECT_TRUE(p.keyAt(l, t) == own && p.keyAt(r - 0.5f, b - 0.5f) == own) << n << c.index;
      EXPECT_TRUE(p.keyAt(r, t) != &c && p.keyAt(l, b) != &c) << n << c.index;
    }
  }
}

}  // namespace
}  // namespace pmx
