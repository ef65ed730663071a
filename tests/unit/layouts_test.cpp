// Invariants of the pad definitions: which keys exist, what their indices mean, how they tile
// their container, and that their Tags are well-formed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

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

std::map<Id, const ControlDef*> keyMap(const PadDef& pad) {
  std::map<Id, const ControlDef*> out;
  for (const ControlDef* k : keysOf(pad)) out[{k->array, k->index}] = k;
  return out;
}

std::multiset<Id> idsOf(const PadDef& pad) {
  std::multiset<Id> out;
  for (std::size_t i = 0; i < pad.controlCount; ++i)
    out.insert({pad.controls[i].array, pad.controls[i].index});
  return out;
}

void addRange(std::multiset<Id>& ids, A array, int first, int last) {
  for (int i = first; i <= last; ++i) ids.insert({array, i});
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

// The set of controls follows what each index means: digits, letters, caret keys, end keys.
TEST(ValuePadLayouts, HoldExactlyTheControlsTheirIndicesDefine) {
  std::multiset<Id> common;
  common.insert({A::PicKeys, 0});
  addRange(common, A::LabelLimits, 0, 1);
  common.insert({A::LimitMax, 0});
  common.insert({A::LimitMin, 0});
  addRange(common, A::Standard, 0, 1);
  addRange(common, A::Standard, 16, 19);  // Left, Right, Home, End
  addRange(common, A::End, 0, 1);
  addRange(common, A::Move, 0, 3);
  common.insert({A::PadSwitch, 0});
  common.insert({A::Close, 0});

  auto num = common;
  addRange(num, A::Standard, 2, 11);   // digits, "." and "-"
  addRange(num, A::Standard, 14, 15);  // Backspace, Delete
  auto hex = common;
  addRange(hex, A::Standard, 2, 15);   // digits, "a" to "d", Backspace, Delete
  addRange(hex, A::Standard, 20, 21);  // "e", "f"
  auto bin = common;
  addRange(bin, A::Bit, 0, 15);

  EXPECT_EQ(idsOf(numPadLayout()), num);
  EXPECT_EQ(idsOf(hexPadLayout()), hex);
  EXPECT_EQ(idsOf(binPadLayout()), bin);
}

// The handlers identify keys by index alone, so an index must send the same thing on every pad.
TEST(ValuePadLayouts, KeysSendWhatTheirIndexMeans) {
  const std::map<int, char> hexLetters = {{10, 'a'}, {11, 'b'}, {12, 'c'},
                                          {13, 'd'}, {20, 'e'}, {21, 'f'}};
  const std::map<int, std::string> named = {{14, "{BS}"},    {15, "{DEL}"},  {16, "{LEFT}"},
                                            {17, "{RIGHT}"}, {18, "{HOME}"}, {19, "{END}"}};
  for (const PadDef* pad : kValuePads) {
    SCOPED_TRACE(pad->name);
    const bool hexPad = pad == &hexPadLayout();
    for (const ControlDef* k : keysOf(*pad)) {
      SCOPED_TRACE(describe(*k));
      const std::string tag = k->tag;
      switch (k->array) {
        case A::Standard:
          if (k->index <= 9) {
            EXPECT_EQ(tag, std::string(1, static_cast<char>('0' + k->index)));
            EXPECT_EQ(std::string(k->caption), tag);
          } else if (named.count(k->index)) {
            EXPECT_EQ(tag, named.at(k->index));
          } else if (hexPad) {
            const char letter = hexLetters.at(k->index);
            EXPECT_EQ(tag, std::string(1, letter));
            EXPECT_EQ(std::string(k->caption),
                      std::string(1, static_cast<char>(std::toupper(letter))));
          } else {
            EXPECT_EQ(tag, k->index == 10 ? "." : "-");
          }
          break;
        case A::End:
          EXPECT_EQ(tag, k->index == 0 ? "{ESC}" : "{ENTER}");
          break;
        case A::Move:
        case A::PadSwitch:
        case A::Close:
          EXPECT_EQ(tag, "");
          break;
        case A::Bit:
          break;  // see BitKeysPlaceTheCaretOnTheirBit
        default:
          ADD_FAILURE() << "unexpected key array";
      }
    }
  }
  // The decimal pad's minus key shows an en dash (Windows-1252) but types a hyphen.
  EXPECT_STREQ(find(numPadLayout(), A::Standard, 11).caption, "\x96");
}

// A key that exists on several pads with the same meaning looks the same on all of them.
TEST(ValuePadLayouts, SharedKeysLookAlikeOnEveryPad) {
  const auto num = keyMap(numPadLayout()), hex = keyMap(hexPadLayout()),
             bin = keyMap(binPadLayout());
  auto compare = [](const std::map<Id, const ControlDef*>& a,
                    const std::map<Id, const ControlDef*>& b) {
    int shared = 0;
    for (const auto& entry : a) {
      const Id& id = entry.first;
      if (!b.count(id) || (id.first == A::Standard && (id.second == 10 || id.second == 11)))
        continue;
      ++shared;
      const ControlDef& x = *entry.second;
      const ControlDef& y = *b.at(id);
      SCOPED_TRACE(describe(x));
      EXPECT_STREQ(x.caption, y.caption);
      EXPECT_STREQ(x.tag, y.tag);
      EXPECT_STREQ(x.fontName, y.fontName);
      EXPECT_EQ(x.fontSize, y.fontSize);
      EXPECT_EQ(x.bold, y.bold);
      EXPECT_EQ(x.charset, y.charset);
      EXPECT_EQ(x.backColor, y.backColor);
      EXPECT_EQ(x.picture, y.picture);
    }
    return shared;
  };
  EXPECT_EQ(compare(num, hex), 24);
  EXPECT_EQ(compare(num, bin), 14);
  EXPECT_EQ(compare(hex, bin), 14);
}

// The hexadecimal pad is the decimal pad without "." and "-", with a row of letters inserted
// below the top row.
TEST(ValuePadLayouts, HexPadIsTheNumPadWithALetterRowInserted) {
  const auto num = keyMap(numPadLayout()), hex = keyMap(hexPadLayout());
  std::set<Id> onlyOnNum;
  for (const auto& entry : num) {
    const auto other = hex.find(entry.first);
    const bool repurposed =
        entry.first.first == A::Standard && (entry.first.second == 10 || entry.first.second == 11);
    if (other == hex.end() || repurposed) {
      onlyOnNum.insert(entry.first);
      continue;
    }
    const ControlDef& n = *entry.second;
    const ControlDef& h = *other->second;
    SCOPED_TRACE(describe(n));
    EXPECT_EQ(h.left, n.left);
    EXPECT_EQ(h.top, n.top == 0 ? 0 : n.top + 600);
  }
  EXPECT_EQ(onlyOnNum, (std::set<Id>{{A::Standard, 10}, {A::Standard, 11}}));
  std::set<Id> insertedRow;
  for (const auto& entry : hex)
    if (entry.second->top == 600) insertedRow.insert(entry.first);
  EXPECT_EQ(insertedRow, (std::set<Id>{{A::Standard, 10},
                                       {A::Standard, 11},
                                       {A::Standard, 12},
                                       {A::Standard, 13},
                                       {A::Standard, 20},
                                       {A::Standard, 21}}));
}

// Keys sit on a 600-twip grid inside picKeys without overlapping; the only empty cells are the
// ones each pad is known to leave.
TEST(ValuePadLayouts, KeysTileTheirContainer) {
  const std::map<std::string, std::set<std::pair<int, int>>> emptyCells = {
      {"FNumPad", {}},
      {"FHexPad", {{3000, 1200}, {2400, 3000}}},
      {"FBinPad", {{1200, 0}}},
  };
  for (const PadDef* pad : kValuePads) {
    SCOPED_TRACE(pad->name);
    const ControlDef& box = find(*pad, A::PicKeys, 0);
    std::map<std::pair<int, int>, int> cover;
    for (const ControlDef* k : keysOf(*pad)) {
      SCOPED_TRACE(describe(*k));
      EXPECT_TRUE(k->inPicKeys);
      EXPECT_EQ(k->left % 600, 0);
      EXPECT_EQ(k->top % 600, 0);
      EXPECT_GT(k->width, 0);
      EXPECT_GT(k->height, 0);
      EXPECT_EQ(k->width % 600, 0);
      EXPECT_EQ(k->height % 600, 0);
      EXPECT_GE(k->left, 0);
      EXPECT_GE(k->top, 0);
      EXPECT_LE(k->left + k->width, box.width);
      EXPECT_LE(k->top + k->height, box.height);
      for (int x = k->left; x < k->left + k->width; x += 600)
        for (int y = k->top; y < k->top + k->height; y += 600) ++cover[{x, y}];
    }
    std::set<std::pair<int, int>> empty;
    for (int x = 0; x < box.width; x += 600)
      for (int y = 0; y < box.height; y += 600) {
        const int n = cover.count({x, y}) ? cover[{x, y}] : 0;
        EXPECT_LE(n, 1) << "keys overlap at " << x << "," << y;
        if (n == 0) empty.insert({x, y});
      }
    EXPECT_EQ(empty, emptyCells.at(pad->name));
  }
}

// The limit block fills the top of the window; picKeys takes the rest of it.
TEST(ValuePadLayouts, LimitBlockSitsAbovePicKeys) {
  for (const PadDef* pad : kValuePads) {
    SCOPED_TRACE(pad->name);
    EXPECT_EQ(pad->designLeft, numPadLayout().designLeft);
    EXPECT_EQ(pad->designTop, numPadLayout().designTop);
    EXPECT_EQ(pad->backColor, kColorPadBack);

    const ControlDef& box = find(*pad, A::PicKeys, 0);
    EXPECT_EQ(box.kind, ControlKind::Container);
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.width, pad->clientWidth);
    EXPECT_EQ(box.top + box.height, pad->clientHeight);

    const bool shown = pad != &binPadLayout();
    const auto labels = controlsOf(*pad, ControlKind::Label);
    ASSERT_EQ(labels.size(), 4u);
    for (const ControlDef* l : labels) {
      SCOPED_TRACE(describe(*l));
      EXPECT_FALSE(l->inPicKeys);
      EXPECT_EQ(l->visible, shown);
      EXPECT_LE(l->top + l->height, box.top);
      EXPECT_LE(l->left + l->width, pad->clientWidth);
      EXPECT_EQ(l->backColor, kColorPadBack);
    }
    const ControlDef& maxCaption = find(*pad, A::LabelLimits, 0);
    const ControlDef& minCaption = find(*pad, A::LabelLimits, 1);
    const ControlDef& maxValue = find(*pad, A::LimitMax, 0);
    const ControlDef& minValue = find(*pad, A::LimitMin, 0);
    EXPECT_LT(maxCaption.top, minCaption.top);
    EXPECT_EQ(maxValue.top, maxCaption.top);
    EXPECT_EQ(minValue.top, minCaption.top);
    EXPECT_EQ(maxValue.left, maxCaption.left + maxCaption.width);
    EXPECT_EQ(minValue.left, minCaption.left + minCaption.width);
  }
}

// The key names the value pads use in their keystroke strings; a count may follow LEFT and RIGHT.
bool wellFormedKeystrokes(const std::string& s, std::string& why) {
  static const std::set<std::string> names = {"ENTER", "ESC", "BS",   "DEL",
                                              "HOME",  "END", "LEFT", "RIGHT"};
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '}') return why = "unbalanced }", false;
    if (std::strchr("+^%~()", s[i])) return why = std::string("stray ") + s[i], false;
    if (s[i] != '{') continue;
    const std::size_t close = s.find('}', i);
    if (close == std::string::npos) return why = "unbalanced {", false;
    std::string name = s.substr(i + 1, close - i - 1);
    const std::size_t blank = name.find(' ');
    if (blank != std::string::npos) {
      const std::string count = name.substr(blank + 1);
      name.resize(blank);
      if ((name != "LEFT" && name != "RIGHT") || count.empty() ||
          count.find_first_not_of("0123456789") != std::string::npos || std::stoi(count) < 1)
        return why = "bad count in {" + s.substr(i + 1, close - i - 1) + "}", false;
    }
    if (!names.count(name)) return why = "unknown key {" + name + "}", false;
    i = close;
  }
  return true;
}

TEST(ValuePadLayouts, TagsAreWellFormedKeystrokeStrings) {
  std::string why;
  EXPECT_FALSE(wellFormedKeystrokes("{LEFT 3", why));  // the checker itself must catch these
  EXPECT_FALSE(wellFormedKeystrokes("{TAB}", why));
  EXPECT_FALSE(wellFormedKeystrokes("{HOME 2}", why));
  EXPECT_FALSE(wellFormedKeystrokes("+{ENTER}", why));
  for (const PadDef* pad : kValuePads)
    for (const ControlDef* k : keysOf(*pad))
      EXPECT_TRUE(wellFormedKeystrokes(k->tag, why))
          << pad->name << " " << describe(*k) << ": " << k->tag << ": " << why;
}

// Runs a bit key's Tag up to its blank against a 16-character binary text and returns where the
// blank lands (0 = leftmost character), or -1 when the string has another shape.
int caretBeforeBlank(const std::string& tag) {
  const std::string tail = " {LEFT}";
  if (tag.size() < tail.size() || tag.compare(tag.size() - tail.size(), tail.size(), tail) != 0)
    return -1;
  const std::string moves = tag.substr(0, tag.size() - tail.size());
  int caret = -1;
  std::size_t i = 0;
  while (i < moves.size()) {
    const std::size_t close = moves.find('}', i);
    if (moves[i] != '{' || close == std::string::npos) return -1;
    const std::string item = moves.substr(i + 1, close - i - 1);
    i = close + 1;
    const std::size_t blank = item.find(' ');
    const std::string name = item.substr(0, blank);
    const int count = blank == std::string::npos ? 1 : std::stoi(item.substr(blank + 1));
    if (name == "HOME") {
      caret = 0;
    } else if (name == "END") {
      caret = 16;
    } else if (caret >= 0 && (name == "LEFT" || name == "RIGHT")) {
      caret += name == "LEFT" ? -count : count;
    } else {
      return -1;  // another key, or a relative move without a known start
    }
    if (caret < 0 || caret > 16) return -1;
  }
  return caret;
}

TEST(ValuePadLayouts, BitKeysPlaceTheCaretOnTheirBit) {
  EXPECT_EQ(caretBeforeBlank("{END}{LEFT 3} {LEFT}"), 13);  // the helper itself
  EXPECT_EQ(caretBeforeBlank("{LEFT 3} {LEFT}"), -1);

  const PadDef& bin = binPadLayout();
  for (int bit = 0; bit < 16; ++bit) {
    SCOPED_TRACE(bit);
    const ControlDef& k = find(bin, A::Bit, bit);
    EXPECT_EQ(caretBeforeBlank(k.tag), 15 - bit) << k.tag;  // bit 15 is the leftmost character
    EXPECT_EQ(std::string(k.caption), std::to_string(bit));
    // Two rows, high byte above, the higher bit to the left.
    EXPECT_EQ(k.top, find(bin, A::Bit, bit < 8 ? 0 : 8).top);
    if (bit != 7 && bit != 15) {
      EXPECT_EQ(k.left, find(bin, A::Bit, bit + 1).left + 600);
    }
  }
  EXPECT_LT(find(bin, A::Bit, 8).top, find(bin, A::Bit, 0).top);
  EXPECT_EQ(find(bin, A::Bit, 15).left, find(bin, A::Bit, 7).left);
}

// Per-key appearance rules that hold on all four pads.
void checkAppearance(const PadDef& pad) {
  SCOPED_TRACE(pad.name);
  for (const ControlDef* k : keysOf(pad)) {
    SCOPED_TRACE(describe(*k));
    const std::string font = k->fontName;
    const bool symbolFont = font == "Symbol" || font == "Wingdings";
    EXPECT_TRUE(symbolFont || font == "Arial") << font;
    EXPECT_EQ(k->charset, symbolFont ? 2 : 0);
    EXPECT_TRUE(k->backColor == kColorWhite || k->backColor == kColorGrey);
    EXPECT_GT(k->fontSize, 0.0f);
  }
  // Window keys show the same drawing on every pad; the move keys' drawing names their corner.
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(find(pad, A::Move, i).picture,
              static_cast<Pictogram>(static_cast<int>(Pictogram::MoveUpperLeft) + i));
  EXPECT_EQ(find(pad, A::Close, 0).picture, Pictogram::Close);
  EXPECT_EQ(find(pad, A::PadSwitch, 0).picture, Pictogram::PadSwitch);
  EXPECT_EQ(find(pad, A::End, 1).picture, Pictogram::Enter);
  EXPECT_EQ(find(pad, A::End, 0).picture, Pictogram::None);
}

TEST(ValuePadLayouts, AppearanceRules) {
  for (const PadDef* pad : kValuePads) {
    checkAppearance(*pad);
    // A value-pad key without a caption shows a picture instead, and only then.
    for (const ControlDef* k : keysOf(*pad)) {
      EXPECT_EQ(*k->caption == '\0', k->picture != Pictogram::None) << describe(*k);
      EXPECT_TRUE(k->visible);
    }
  }
}

// --- The alphanumeric pad ------------------------------------------------------------------------

TEST(AlphaPadLayout, HoldsEveryKeyArrayWithoutGaps) {
  std::multiset<Id> expected;
  addRange(expected, A::Standard, 0, 60);
  addRange(expected, A::End, 0, 1);
  addRange(expected, A::Move, 0, 3);
  expected.insert({A::Close, 0});
  expected.insert({A::PadSwitch, 0});
  addRange(expected, A::Shift, 0, 9);
  addRange(expected, A::Extra, 0, 2);
  addRange(expected, A::LabelLimits, 0, 1);
  expected.insert({A::LimitMax, 0});
  expected.insert({A::LimitMin, 0});
  EXPECT_EQ(idsOf(alphaPadLayout()), expected);
  EXPECT_TRUE(controlsOf(alphaPadLayout(), ControlKind::Container).empty());
}

// Standard keys carry virtual-key codes: the digits and letters send their own codes, whatever
// the caption shows around them.
TEST(AlphaPadLayout, StandardKeysSendVirtualKeyCodes) {
  const PadDef& pad = alphaPadLayout();
  std::set<int> codes, digits, letters;
  for (const ControlDef* k : keysOf(pad)) {
    if (k->array != A::Standard) continue;
    SCOPED_TRACE(describe(*k));
    const std::string tag = k->tag;
    ASSERT_FALSE(tag.empty());
    ASSERT_EQ(tag.find_first_not_of("0123456789"), std::string::npos) << tag;
    const int vk = std::stoi(tag);
    EXPECT_TRUE(vk > 0 && vk < 255);
    EXPECT_TRUE(codes.insert(vk).second) << "code " << vk << " twice";

    const std::string caption = k->caption;
    const std::size_t split = caption.find("\\n");
    if (split != std::string::npos && split + 3 == caption.size() &&
        std::isdigit(static_cast<unsigned char>(caption.back()))) {
      EXPECT_EQ(vk, caption.back());  // the lower line is the unshifted digit
      digits.insert(vk);
    }
    if (!caption.empty() && caption[0] >= 'A' && caption[0] <= 'Z' &&
        (caption.size() == 1 || caption[1] == ' ')) {
      EXPECT_EQ(vk, caption[0]);
      letters.insert(vk);
    }
  }
  EXPECT_EQ(digits.size(), 10u);
  EXPECT_EQ(letters.size(), 26u);
  const ControlDef& bar = find(pad, A::Standard, 38);
  const ControlDef& lessGreater = find(pad, A::Standard, 39);
  EXPECT_STREQ(bar.caption, lessGreater.caption);
  EXPECT_STRNE(bar.tag, lessGreater.tag);
}

TEST(AlphaPadLayout, OtherKeysAndTheirTags) {
  const PadDef& pad = alphaPadLayout();
  EXPECT_STREQ(find(pad, A::End, 0).tag, "{ESC}");
  EXPECT_STREQ(find(pad, A::End, 1).tag, "{ENTER}");
  for (const ControlDef* k : keysOf(pad)) {
    SCOPED_TRACE(describe(*k));
    if (k->array != A::Standard && k->array != A::End) {
      EXPECT_STREQ(k->tag, "");
    }
    EXPECT_EQ(k->visible, !(k->array == A::Shift && k->index >= 7));
    if (k->array == A::Extra) {
      EXPECT_STREQ(k->caption, "");
    }
    // Two-line captions have one separator with text on both sides.
    const std::string caption = k->caption;
    const std::size_t split = caption.find("\\n");
    if (split != std::string::npos) {
      EXPECT_GT(split, 0u);
      EXPECT_LT(split + 2, caption.size());
      EXPECT_EQ(caption.find("\\n", split + 1), std::string::npos);
    }
    // The Wingdings captions are single symbol-font characters.
    if (std::string(k->fontName) == "Wingdings" && !caption.empty()) {
      EXPECT_EQ(caption.size(), 1u);
      EXPECT_GE(static_cast<unsigned char>(caption[0]), 0xF0);
    }
  }
  // The space bar is the one plain, empty, picture-less key.
  int plain = 0;
  for (const ControlDef* k : keysOf(pad))
    if (!k->bold && *k->caption == '\0' && k->picture == Pictogram::None) {
      ++plain;
      EXPECT_EQ(k->array, A::Standard);
      EXPECT_EQ(k->index, 50);
      EXPECT_EQ(k->width, 3750);
    }
  EXPECT_EQ(plain, 1);
  checkAppearance(pad);
}

TEST(AlphaPadLayout, KeysFillTheWindowLikeAKeyboard) {
  const PadDef& pad = alphaPadLayout();
  const auto keys = keysOf(pad);
  for (std::size_t i = 0; i < pad.controlCount; ++i) {
    const ControlDef& c = pad.controls[i];
    SCOPED_TRACE(describe(c));
    EXPECT_FALSE(c.inPicKeys);
    EXPECT_GE(c.left, 0);
    EXPECT_GE(c.top, 0);
    EXPECT_LE(c.left + c.width, pad.clientWidth);
    EXPECT_LE(c.top + c.height, pad.clientHeight);
  }
  // The only keys that share area: the L-shaped Enter reaches under the key left of it.
  std::set<std::pair<std::string, std::string>> overlaps;
  for (std::size_t i = 0; i < keys.size(); ++i)
    for (std::size_t j = i + 1; j < keys.size(); ++j)
      if (overlap(*keys[i], *keys[j])) overlaps.insert({describe(*keys[i]), describe(*keys[j])});
  const ControlDef& enter = find(pad, A::End, 1);
  const ControlDef& beside = find(pad, A::Standard, 38);
  EXPECT_EQ(overlaps,
            (std::set<std::pair<std::string, std::string>>{{describe(enter), describe(beside)}}));
  // The table order puts that key after Enter, so it is painted over it and hit first.
  EXPECT_GT(&beside, &enter);

  // The limit block shares its place with cursor up and with nothing else.
  const auto labels = controlsOf(pad, ControlKind::Label);
  for (const ControlDef* k : keys) {
    const bool covered = std::any_of(labels.begin(), labels.end(),
                                     [k](const ControlDef* label) { return overlap(*label, *k); });
    EXPECT_EQ(covered, k->array == A::Standard && k->index == 57) << describe(*k);
  }

  // Each row of the main block spans the full width without a gap.
  for (int top = 1200; top <= 3600; top += 600) {
    SCOPED_TRACE(top);
    std::vector<std::pair<int, int>> spans;
    for (const ControlDef* k : keys)
      if (k->top <= top && top < k->top + k->height) spans.push_back({k->left, k->width});
    std::sort(spans.begin(), spans.end());
    int reached = 0;
    for (const auto& s : spans) {
      EXPECT_LE(s.first, reached) << "gap before " << s.first;
      reached = std::max(reached, s.first + s.second);
    }
    EXPECT_EQ(reached, pad.clientWidth);
  }

  // The letter rows are staggered as on a physical keyboard.
  std::map<int, int> rowStart;
  for (const ControlDef* k : keys)
    if (k->caption[0] >= 'A' && k->caption[0] <= 'Z' && k->array == A::Standard &&
        (k->caption[1] == '\0' || k->caption[1] == ' ')) {
      auto it = rowStart.find(k->top);
      if (it == rowStart.end() || k->left < it->second) rowStart[k->top] = k->left;
    }
  EXPECT_EQ(rowStart, (std::map<int, int>{{1800, 900}, {2400, 1050}, {3000, 1350}}));

  // The move keys form a 2 x 2 block whose corners match their pictures.
  const ControlDef& m0 = find(pad, A::Move, 0);
  EXPECT_EQ(find(pad, A::Move, 1).left, m0.left + m0.width);
  EXPECT_EQ(find(pad, A::Move, 1).top, m0.top);
  EXPECT_EQ(find(pad, A::Move, 2).left, m0.left);
  EXPECT_EQ(find(pad, A::Move, 2).top, m0.top + m0.height);
  EXPECT_EQ(find(pad, A::Move, 3).left, m0.left + m0.width);
  EXPECT_EQ(find(pad, A::Move, 3).top, m0.top + m0.height);
}

}  // namespace
}  // namespace pmx
