// The pads as assistive technology sees them: every element named, found where the pad draws it,
// and an invoke that does what a touch does.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <sstream>
#include <string>

#include "KeyboardRig.h"

namespace pmx {
namespace {

using A = ControlArray;
using test::kField;

class AccessibleTest : public ::testing::Test, public test::KeyboardRig {
 protected:
  AccessibleTest() { start(); }
  Pad& pad(int n) { return *keyboard.pads().pad(n); }
  const AccessibleElement* element(int n, const std::string& id) {
    tree_ = pad(n).accessibleTree();
    for (const AccessibleElement& e : tree_.elements)
      if (e.automationId == id) return &e;
    return nullptr;
  }
  std::string name(int n, const std::string& id) {
    const AccessibleElement* e = element(n, id);
    return e != nullptr ? e->name : "(none)";
  }
  // The toggle states of the alphanumeric pad's Shift keys 0 to 6: 0 off, 1 on, x where the key
  // cannot toggle or shows another colour.
  std::string toggles() {
    std::string out;
    for (int i = 0; i <= 6; ++i) {
      const ToggleState t = element(kPadAlpha, "Shift" + std::to_string(i))->toggle;
      const bool red = pad(kPadAlpha).find(A::Shift, i)->backColor == kColorRed;
      out += t == ToggleState::None || red != (t == ToggleState::On) ? 'x' : red ? '1' : '0';
    }
    return out;
  }
  AccessibleTree tree_;
};

// Every element of every pad has a name and an id of its own, and lies where the pad draws it: a
// touch at its middle hits that very control. Keys the limit labels cover are seen only where
// they are not covered, and not at all when covered whole.
TEST_F(AccessibleTest, EveryPadsTreeNamesEachElementWhereItIsDrawn) {
  EXPECT_EQ(name(kPadAlpha, "Extra1"), "Extra1");  // shown, without a caption, before a language
  request("QDM32_1_TOUCHSHOWLIMITS", 0, 1);
  fake.profile.set("1031 NumPad Text", "Std5", "F\xFCnf");
  fake.profile.set("1031 Text", "DecimalPad", "  Zehner\xA0 block ");
  fake.profile.set("1031 Text", "AlphanumericPad", "");   // empty: the built-in title
  fake.profile.set("1031 Text", "Max", "Ober\\ngrenze");  // a label has one line: no break
  const std::pair<const char*, const char*> limits[] = {{"-5", "5"}, {"", "5"}, {"-5", ""}};
  for (const std::string step : {"design", "German", "key size 1.5"}) {
    if (step == "German") request("QDM1_LANGUAGE", 1031);
    if (step == "key size 1.5") request("QDM32_1_TOUCHKEYSIZE", 0, 0x3FC00000);
    for (const auto& [min, max] : limits) {
      for (int n : {kPadNum, kPadHex, kPadBin, kPadAlpha}) {
        SCOPED_TRACE(step + " pad " + std::to_string(n) + " limits " + min + "/" + max);
        keyboard.values().limitMinText = min;
        keyboard.values().limitMaxText = max;
        keyboard.pads().ShowPad(n);
        Pad& p = pad(n);
        const AccessibleTree tree = p.accessibleTree();
        std::set<std::string> ids;
        for (const AccessibleElement& e : tree.elements) {
          const Control* c = p.find(e.array, e.index);
          EXPECT_TRUE(!e.name.empty() && ids.insert(e.automationId).second) << e.automationId;
          EXPECT_EQ(p.controlAt(e.left + e.width / 2, e.top + e.height / 2), c) << e.automationId;
          EXPECT_EQ(e.role == AccessibleRole::Button, c->isKey());
          EXPECT_TRUE(e.left == p.originLeft(*c) + c->left && e.width == c->width &&
                      e.top >= p.originTop(*c) + c->top && e.height <= c->height);
        }
        const std::size_t labels = (*min != '\0') * 2 + (*max != '\0') * 2;
        const std::size_t keys[] = {26, 79, 30, 30};  // 7 Shift and 3 extra keys on the alpha pad
        EXPECT_EQ(tree.elements.size(), keys[n] + labels - (n == kPadAlpha && labels == 4) -
                                            3 * (n == kPadAlpha && step != "design"));
      }
    }
  }
  // The key the lower limit label covers is seen above it.
  const AccessibleElement& up = *element(kPadAlpha, "Std57");
  EXPECT_EQ(std::vector<float>({up.left, up.top, up.width, up.height}),
            std::vector<float>({5400, 0, 900, 450}));
  keyboard.values().limitMaxText = "5";
  keyboard.pads().ShowPad(kPadNum);
  const auto names = [this](int n, std::initializer_list<const char*> ids) {
    std::string out;
    for (const char* id : ids) out += name(n, id) + "|";
    return out + tree_.name + "|" + tree_.automationId;
  };
  EXPECT_EQ(
      names(kPadNum, {"Std5", "Std11", "End0", "End1", "Std14", "Std16", "Pad", "Move3", "Close",
                      "Min", "Max", "LimitMin", "Std18"}),
      "F\xC3\xBCnf|\xE2\x80\x93|Esc|Enter|Backspace|Left|Alphanumeric pad|"
      "Move to the lower right corner|Close|Minimum|Ober\\ngrenze|-5|Pos1|Zehner block|FNumPad");
  EXPECT_EQ(name(kPadBin, "Bit12") + "|" + name(kPadHex, "Std21"), "12|F");
  EXPECT_EQ(names(kPadAlpha, {"Std0", "Std15", "Std14", "Std50", "Std13", "Std55", "Shift0",
                              "Shift1", "Shift6", "Shift4", "Pad"}),
            "~ `|Q @|Tab|Space|Backspace|Bild (Page up)|Shift lock|Shift|Shift|Alt Gr|Zehner block|"
            "Alphanumeric pad|FAlphaPad");
}

// The sticky modifiers and Shift lock toggle as their colours show, through every state (Ctrl,
// Alt and Alt Gr exclude each other), and keep their state, shown and applied, when the windows
// are loaded again; other keys do not toggle.
TEST_F(AccessibleTest, ModifierKeysToggleAsTheyShow) {
  notify(kField, 265, 0);
  const std::pair<const char*, const char*> steps[] = {
      {"Shift1", "0100001"}, {"Shift0", "1000000"}, {"Shift2", "1010010"}, {"Shift3", "1011010"},
      {"Shift4", "1000100"}, {"Shift5", "1010010"}, {"Std27", "1000000"},  {"Shift6", "0000000"},
      {"Shift3", "0001000"}, {"End0", "0000000"}};
  for (const auto& [key, after] : steps) {
    const AccessibleElement& e = *element(kPadAlpha, key);
    EXPECT_TRUE(pad(kPadAlpha).invokeAccessible(e.array, e.index));
    EXPECT_EQ(toggles(), after) << key;
    notify(kField, 265, 0);
  }
  touch(pad(kPadAlpha), A::Shift, 0);
  touch(pad(kPadAlpha), A::Shift, 2);
  request("QDM32_1_TOUCHKEYSIZE", 0, 0x3FC00000);
  EXPECT_EQ(toggles(), "1010010");
  request("QDM1_LANGUAGE", 1031);
  EXPECT_EQ(toggles(), "1010010");
  EXPECT_EQ(element(kPadAlpha, "Std27")->toggle, ToggleState::None);
  fake.keys.batches.clear();
  notify(kField, 265, 0);
  touch(pad(kPadAlpha), A::Standard, 42);  // C goes out with Shift and Ctrl, as the keys show
  std::string events;
  for (const KeyEvent& e : fake.keys.events())
    events += std::to_string(e.vk) + (e.up ? "^ " : "v ");
  EXPECT_EQ(events, "16v 17v 67v 67^ 16^ 17^ ");
}

// An invoke on any element does what a touch on it does: the same characters in the field, the
// same notices, pads and places. Labels, hidden pads and keys that are not there take none.
TEST_F(AccessibleTest, InvokeDoesWhatATouchDoes) {
  test::KeyboardRig touched;
  touched.start();
  const auto state = [](test::KeyboardRig& r) {
    std::ostringstream out;
    out << r.fake.host.windows[kField].text << '|' << r.fake.host.windows[kField].caret << '|'
        << r.fake.host.focus << '|' << r.fake.host.sent.size() << '|';
    for (const KeyEvent& e : r.fake.keys.events()) out << e.vk << (e.up ? '^' : 'v');
    for (int n = 0; n < 4; ++n) {
      const Pad* p = r.keyboard.pads().existingPad(n);
      if (p != nullptr) out << '|' << p->Visible() << p->Left() << ',' << p->Top();
    }
    return out.str();
  };
  const std::pair<std::int16_t, std::int16_t> fields[] = {{306, 0}, {265, 0}, {306, 2}, {306, 1}};
  for (int n : {kPadNum, kPadHex, kPadBin, kPadAlpha}) {
    notify(kField, fields[n].first, fields[n].second);
    for (const AccessibleElement& e : pad(n).accessibleTree().elements) {
      notify(kField, fields[n].first, fields[n].second);
      touched.notify(kField, fields[n].first, fields[n].second);
      EXPECT_TRUE(pad(n).invokeAccessible(e.array, e.index)) << e.automationId;
      touched.touch(*touched.keyboard.pads().pad(n), e.array, e.index);
      EXPECT_EQ(state(*this), state(touched)) << n << ' ' << e.automationId;
    }
  }
  request("QDM32_1_TOUCHSHOWLIMITS", 0, 1);
  notify(kField, 265, 0, "0", "9");  // the limit labels cover the cursor-up key whole
  for (const auto& [array, index] :
       {std::pair{A::Standard, 57}, {A::Shift, 7}, {A::LimitMax, 0}, {A::Bit, 0}})
    EXPECT_FALSE(pad(kPadAlpha).invokeAccessible(array, index)) << index;
  EXPECT_FALSE(pad(kPadHex).invokeAccessible(A::Standard, 7));
  // A finger that holds a key (with the highest pointer id) keeps its touch through an invoke.
  notify(kField, 306, 0);
  fake.host.windows[kField] = {};
  const Control& five = *pad(kPadNum).find(A::Standard, 5);
  pad(kPadNum).contactDown(0xFFFF, five.left + 300, five.top + 300);
  EXPECT_TRUE(pad(kPadNum).invokeAccessible(A::Standard, 7));
  pad(kPadNum).contactUp(0xFFFF, five.left + 300, five.top + 300);
  EXPECT_EQ(fake.host.windows[kField].text, "75");
}

// The clients that listen hear of a reload or of elements that come and go as a change of
// structure, of new captions as names, of modifiers as toggles; of nothing when nothing changed.
TEST_F(AccessibleTest, ChangesTellStructureNamesAndToggles) {
  request("QDM32_1_TOUCHSHOWLIMITS", 0, 1);
  notify(kField, 265, 0, "1", "2");
  const auto changes = [this](const std::function<void()>& change) {
    const AccessibleTree before = pad(kPadAlpha).accessibleTree();
    change();
    const AccessibleChanges c = accessibleChanges(before, pad(kPadAlpha).accessibleTree());
    std::string out = c.structure ? "S" : "";
    for (std::size_t i : c.names) out += " N" + tree_.elements.at(i).automationId;
    for (std::size_t i : c.toggles) out += " T" + tree_.elements.at(i).automationId;
    return out;
  };
  tree_ = pad(kPadAlpha).accessibleTree();
  AccessibleTree changed = tree_;
  changed.elements.front().name += "!";
  changed.elements.back().toggle = ToggleState::On;
  const AccessibleChanges edges = accessibleChanges(tree_, changed);
  EXPECT_EQ(edges.names, std::vector<std::size_t>{0});
  EXPECT_EQ(edges.toggles, std::vector<std::size_t>{tree_.elements.size() - 1});
  EXPECT_EQ(changes([] {}), "");
  EXPECT_EQ(changes([&] { notify(kField, 265, 0, "3", "2"); }), " NLimitMin");
  EXPECT_EQ(changes([&] { touch(pad(kPadAlpha), A::Shift, 1); }), " TShift1 TShift6");
  EXPECT_EQ(changes([&] { notify(kField, 265, 0, "", "2"); }), "S");
  EXPECT_EQ(changes([&] { request("QDM32_1_TOUCHKEYSIZE", 0, 0x3F800000); }), "S");
}

}  // namespace
}  // namespace pmx
