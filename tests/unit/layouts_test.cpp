// Invariants of the pad definitions: which keys exist, what their indices mean and send, how they
// tile their container, and how they look.
#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "controls/Keystrokes.h"
#include "controls/VirtualKeys.h"
#include "layouts/AlphaPadLayout.h"
#include "layouts/ValuePadLayouts.h"

namespace pmx {
namespace {

using A = ControlArray;
using Id = std::pair<A, int>;

std::vector<const ControlDef*> controlsOf(const PadDef& pad, ControlKind kind) {
  std::vector<const ControlDef*> out;
  for (std::size_t i = 0; i < pad.controlCount; ++i)
    if (pad.controls[i].kind == kind) out.push_back(&pad.controls[i]);
  return out;
}
std::vector<const ControlDef*> keysOf(const PadDef& pad) {
  return controlsOf(pad, ControlKind::Key);
}

std::multiset<Id> idsOf(const PadDef& pad) {
  std::multiset<Id> out;
  for (std::size_t i = 0; i < pad.controlCount; ++i)
    out.insert({pad.controls[i].array, pad.controls[i].index});
  return out;
}

std::multiset<Id> range(A array, int first, int last, std::multiset<Id> ids = {}) {
  for (int i = first; i <= last; ++i) ids.insert({array, i});
  return ids;
}

const ControlDef& find(const PadDef& pad, A array, int index) {
  for (std::size_t i = 0; i < pad.controlCount; ++i)
    if (pad.controls[i].array == array && pad.controls[i].index == index) return pad.controls[i];
  ADD_FAILURE() << pad.name << ": no control " << static_cast<int>(array) << "/" << index;
  static const ControlDef missing{};
  return missing;
}

bool overlap(const ControlDef& a, const ControlDef& b) {
  return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
         b.top < a.top + a.height;
}

std::string describe(const ControlDef& c) {
  return std::to_string(static_cast<int>(c.array)) + "/" + std::to_string(c.index);
}

const PadDef* const kValuePads[] = {&numPadLayout(), &hexPadLayout(), &binPadLayout()};

// What a value-pad key sends, from its index alone. The hex letters show upper-case captions.
std::string meaning(const PadDef& pad, A array, int index) {
  static const char* const named[] = {"{BS}", "{DEL}", "{LEFT}", "{RIGHT}", "{HOME}", "{END}"};
  if (array == A::End) return index == 0 ? "{ESC}" : "{ENTER}";
  if (array != A::Standard) return "";
  if (index <= 9) return std::to_string(index);
  if (index >= 14 && index <= 19) return named[index - 14];
  if (&pad == &hexPadLayout()) return std::string(1, "abcd??????ef"[index - 10]);
  return index == 10 ? "." : "-";
}

// The set of controls follows what each index means, and an index sends the same on every pad:
// the handlers identify keys by index alone.
TEST(ValuePadLayouts, IndicesExistAndSendWhatTheyMean) {
  std::multiset<Id> common = range(A::LabelLimits, 0, 1, range(A::Move, 0, 3, range(A::End, 0, 1)));
  common = range(A::Standard, 16, 19, range(A::Standard, 0, 1, common));  // caret keys
  for (A single : {A::PicKeys, A::LimitMax, A::LimitMin, A::PadSwitch, A::Close})
    common.insert({single, 0});
  EXPECT_EQ(idsOf(numPadLayout()), range(A::Standard, 2, 11, range(A::Standard, 14, 15, common)));
  EXPECT_EQ(idsOf(hexPadLayout()), range(A::Standard, 2, 15, range(A::Standard, 20, 21, common)));
  EXPECT_EQ(idsOf(binPadLayout()), range(A::Bit, 0, 15, common));

  for (const PadDef* pad : kValuePads) {
    for (const ControlDef* k : keysOf(*pad)) {
      if (k->array == A::Bit) continue;  // see BitKeysTypeABlankOverTheirBit
      SCOPED_TRACE(std::string(pad->name) + " " + describe(*k));
      EXPECT_EQ(k->tag, meaning(*pad, k->array, k->index));
      if (k->array == A::Standard && std::isalnum(static_cast<unsigned char>(*k->tag))) {
        EXPECT_EQ(k->caption, std::string(1, static_cast<char>(std::toupper(*k->tag))));
      }
    }
  }
  EXPECT_STREQ(find(numPadLayout(), A::Standard, 11).caption, "\x96");  // en dash, types "-"
}

// Keys sit on a 600-twip grid inside picKeys without overlapping; the only empty cells are the
// ones each pad is known to leave. picKeys fills the window below the limit block.
TEST(ValuePadLayouts, KeysTileTheirContainer) {
  const std::map<std::string, std::set<std::pair<int, int>>> emptyCells = {
      {"FNumPad", {}}, {"FHexPad", {{3000, 1200}, {2400, 3000}}}, {"FBinPad", {{1200, 0}}}};
  for (const PadDef* pad : kValuePads) {
    SCOPED_TRACE(pad->name);
    const ControlDef& box = find(*pad, A::PicKeys, 0);
    EXPECT_EQ(box.kind, ControlKind::Container);
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.width, pad->clientWidth);
    EXPECT_EQ(box.top + box.height, pad->clientHeight);
    for (const ControlDef* label : controlsOf(*pad, ControlKind::Label))
      EXPECT_TRUE(label->top + label->height <= box.top && !label->inPicKeys &&
                  label->visible == (pad != &binPadLayout()));

    std::map<std::pair<int, int>, int> cover;
    for (const ControlDef* k : keysOf(*pad)) {
      SCOPED_TRACE(describe(*k));
      EXPECT_TRUE(k->inPicKeys);
      EXPECT_TRUE(k->left % 600 == 0 && k->top % 600 == 0 && k->width % 600 == 0 &&
                  k->height % 600 == 0 && k->width > 0 && k->height > 0);
      EXPECT_TRUE(k->left >= 0 && k->top >= 0 && k->left + k->width <= box.width &&
                  k->top + k->height <= box.height);
      for (int x = k->left; x < k->left + k->width; x += 600)
        for (int y = k->top; y < k->top + k->height; y += 600) ++cover[std::make_pair(x, y)];
    }
    std::set<std::pair<int, int>> empty;
    for (int x = 0; x < box.width; x += 600)
      for (int y = 0; y < box.height; y += 600) {
        const int n = cover[std::make_pair(x, y)];
        EXPECT_LE(n, 1) << "keys overlap at " << x << "," << y;
        if (n == 0) empty.insert({x, y});
      }
    EXPECT_EQ(empty, emptyCells.at(pad->name));
  }
}

// Each bit key moves the caret onto its bit's character in a 16-character text (bit 15 leftmost),
// types a blank over it and steps back, all without modifiers. Bits 15..8 form the upper row, the
// higher bit to the left.
TEST(ValuePadLayouts, BitKeysTypeABlankOverTheirBit) {
  const PadDef& bin = binPadLayout();
  for (int bit = 0; bit < 16; ++bit) {
    const ControlDef& k = find(bin, A::Bit, bit);
    SCOPED_TRACE(k.tag);
    const KeystrokeParse p = parseKeystrokes(k.tag);
    ASSERT_TRUE(p.ok && p.strokes.size() >= 3);
    const std::size_t n = p.strokes.size();
    int caret = p.strokes[0].vk == kVkHome ? 0 : p.strokes[0].vk == kVkEnd ? 16 : -100;
    for (std::size_t i = 1; i + 2 < n; ++i)
      caret += p.strokes[i].vk == kVkRight ? 1 : p.strokes[i].vk == kVkLeft ? -1 : -100;
    EXPECT_EQ(caret, 15 - bit);
    EXPECT_TRUE(p.strokes[n - 2].kind == KeyStroke::Kind::Character && p.strokes[n - 2].ch == ' ');
    EXPECT_EQ(p.strokes[n - 1].vk, kVkLeft);
    for (const KeyStroke& s : p.strokes) EXPECT_FALSE(s.shift || s.ctrl || s.alt);

    EXPECT_EQ(k.caption, std::to_string(bit));
    EXPECT_EQ(k.top, find(bin, A::Bit, bit & 8).top);
    if (bit % 8 != 7) {
      EXPECT_EQ(k.left, find(bin, A::Bit, bit + 1).left + 600) << bit;
    }
  }
  EXPECT_LT(find(bin, A::Bit, 8).top, find(bin, A::Bit, 0).top);
}

// Per-key appearance rules that hold on all four pads.
TEST(PadLayouts, AppearanceRules) {
  for (const PadDef* pad : {&numPadLayout(), &hexPadLayout(), &binPadLayout(), &alphaPadLayout()}) {
    for (const ControlDef* k : keysOf(*pad)) {
      SCOPED_TRACE(std::string(pad->name) + " " + describe(*k));
      const std::string font = k->fontName;
      const bool symbolFont = font == "Symbol" || font == "Wingdings";
      EXPECT_TRUE(symbolFont || font == "Arial") << font;
      EXPECT_EQ(k->charset, symbolFont ? 2 : 0);
      EXPECT_TRUE(k->backColor == kColorWhite || k->backColor == kColorGrey);
      // On the value pads a key without a caption shows a picture instead, and only then.
      if (pad != &alphaPadLayout()) {
        EXPECT_EQ(*k->caption == '\0', k->picture != Pictogram::None);
      }
    }
    // Window keys show the same drawing everywhere; the move keys' drawing names their corner.
    for (int i = 0; i < 4; ++i)
      EXPECT_EQ(static_cast<int>(find(*pad, A::Move, i).picture),
                static_cast<int>(Pictogram::MoveUpperLeft) + i);
    EXPECT_EQ(find(*pad, A::Close, 0).picture, Pictogram::Close);
    EXPECT_EQ(find(*pad, A::PadSwitch, 0).picture, Pictogram::PadSwitch);
    EXPECT_EQ(find(*pad, A::End, 1).picture, Pictogram::Enter);
  }
}

// --- The alphanumeric pad ------------------------------------------------------------------------

// Standard keys 0..60 carry virtual-key codes: digits and letters send their own codes whatever
// the caption shows around them. The other keys carry no Tag except the end keys.
TEST(AlphaPadLayout, KeysAndTheirCodes) {
  const PadDef& pad = alphaPadLayout();
  std::multiset<Id> expected = range(A::Shift, 0, 9, range(A::Extra, 0, 2, range(A::Move, 0, 3)));
  expected = range(A::LabelLimits, 0, 1, range(A::End, 0, 1, range(A::Standard, 0, 60, expected)));
  for (A single : {A::LimitMax, A::LimitMin, A::PadSwitch, A::Close}) expected.insert({single, 0});
  EXPECT_EQ(idsOf(pad), expected);

  std::set<int> codes, digits, letters;
  for (const ControlDef* k : keysOf(pad)) {
    SCOPED_TRACE(describe(*k));
    EXPECT_EQ(k->visible, !(k->array == A::Shift && k->index >= 7));  // 7..9 have no function
    if (k->array != A::Standard) {
      EXPECT_STREQ(k->tag, k->array != A::End ? "" : k->index == 0 ? "{ESC}" : "{ENTER}");
      continue;
    }
    const std::string tag = k->tag, caption = k->caption;
    ASSERT_TRUE(!tag.empty() && tag.find_first_not_of("0123456789") == std::string::npos) << tag;
    const int vk = std::stoi(tag);
    EXPECT_TRUE(vk > 0 && vk < 255 && codes.insert(vk).second) << "code " << vk;
    if (caption.size() == 4 && caption.compare(1, 2, "\\n") == 0 && caption[3] >= '0' &&
        caption[3] <= '9') {
      EXPECT_EQ(vk, caption[3]);  // the lower line is the unshifted digit
      digits.insert(vk);
    }
    if (caption[0] >= 'A' && caption[0] <= 'Z' && (caption.size() == 1 || caption[1] == ' ')) {
      EXPECT_EQ(vk, caption[0]);
      letters.insert(vk);
    }
  }
  EXPECT_EQ(digits.size(), 10u);
  EXPECT_EQ(letters.size(), 26u);
  const ControlDef& bar = find(pad, A::Standard, 38);
  EXPECT_STREQ(bar.caption, find(pad, A::Standard, 39).caption);
  EXPECT_STRNE(bar.tag, find(pad, A::Standard, 39).tag);
}

TEST(AlphaPadLayout, KeysLieInsideTheWindowWithoutOverlapping) {
  const PadDef& pad = alphaPadLayout();
  const auto keys = keysOf(pad);
  for (std::size_t i = 0; i < pad.controlCount; ++i) {
    const ControlDef& c = pad.controls[i];
    EXPECT_FALSE(c.inPicKeys);
    EXPECT_TRUE(c.left >= 0 && c.top >= 0 && c.left + c.width <= pad.clientWidth &&
                c.top + c.height <= pad.clientHeight)
        << describe(c);
  }
  // The only keys that share area: the L-shaped Enter reaches under the key left of it, which
  // the table lists later so that it is painted over Enter and hit first.
  std::set<std::pair<const ControlDef*, const ControlDef*>> overlaps;
  for (std::size_t i = 0; i < keys.size(); ++i)
    for (std::size_t j = i + 1; j < keys.size(); ++j)
      if (overlap(*keys[i], *keys[j])) overlaps.insert({keys[i], keys[j]});
  const ControlDef* enter = &find(pad, A::End, 1);
  EXPECT_EQ(overlaps, (std::set<std::pair<const ControlDef*, const ControlDef*>>{
                          {enter, &find(pad, A::Standard, 38)}}));

  // The limit block shares its place with cursor up and with nothing else.
  const auto labels = controlsOf(pad, ControlKind::Label);
  for (const ControlDef* k : keys) {
    bool covered = false;
    for (const ControlDef* label : labels) covered = covered || overlap(*label, *k);
    EXPECT_EQ(covered, k->array == A::Standard && k->index == 57) << describe(*k);
  }
}

}  // namespace
}  // namespace pmx
