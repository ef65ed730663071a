// What the pad definitions promise the handlers and the user: what each key index sends, the bit
// keys' caret strings and places, the alphanumeric pad's key codes, and pictures that show what
// their keys do.
#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <string>
#include <vector>

#include "controls/Keystrokes.h"
#include "controls/VirtualKeys.h"
#include "layouts/AlphaPadLayout.h"
#include "layouts/Pictograms.h"
#include "layouts/ValuePadLayouts.h"

namespace pmx {
namespace {

using A = ControlArray;

const ControlDef* find(const PadDef& pad, A array, int index) {
  for (std::size_t i = 0; i < pad.controlCount; ++i)
    if (pad.controls[i].array == array && pad.controls[i].index == index) return &pad.controls[i];
  return nullptr;
}

// The handlers know keys by index alone: an index sends the same on every value pad. The hex
// pad's letters show upper case and send lower case.
TEST(Layouts, ValuePadIndicesSendWhatTheyMean) {
  static const char* const named[] = {"{BS}", "{DEL}", "{LEFT}", "{RIGHT}", "{HOME}", "{END}"};
  for (const PadDef* pad : {&numPadLayout(), &hexPadLayout(), &binPadLayout()}) {
    const bool hex = pad == &hexPadLayout();
    int standard = 0;
    for (std::size_t i = 0; i < pad->controlCount; ++i) {
      const ControlDef& k = pad->controls[i];
      SCOPED_TRACE(std::string(pad->name) + " " + std::to_string(static_cast<int>(k.array)) + "/" +
                   std::to_string(k.index));
      if (k.array == A::End) {
        EXPECT_STREQ(k.tag, k.index == 0 ? "{ESC}" : "{ENTER}");
      }
      if (k.array != A::Standard) continue;
      ++standard;
      const int i2 = k.index;
      const std::string meaning = i2 <= 9                ? std::to_string(i2)
                                  : i2 >= 14 && i2 <= 19 ? named[i2 - 14]
                                  : hex                  ? std::string(1, "abcd??????ef"[i2 - 10])
                                  : i2 == 10             ? "."
                                                         : "-";
      EXPECT_EQ(k.tag, meaning);
      if (std::isalnum(static_cast<unsigned char>(*k.tag))) {
        EXPECT_EQ(k.caption, std::string(1, static_cast<char>(std::toupper(*k.tag))));
      }
    }
    EXPECT_EQ(standard, pad == &numPadLayout() ? 18 : hex ? 22 : 6);
    for (int i = 0; i < 4; ++i)  // a move key's picture shows its corner
      EXPECT_EQ(static_cast<int>(find(*pad, A::Move, i)->picture),
                static_cast<int>(Pictogram::MoveUpperLeft) + i);
  }
}

// Each bit key moves the caret onto its bit's character of a 16-character text (bit 15
// leftmost), types a blank there and steps back, all without modifiers.
TEST(Layouts, BitKeysTypeABlankBeforeTheirBit) {
  for (int bit = 0; bit < 16; ++bit) {
    const ControlDef* k = find(binPadLayout(), A::Bit, bit);
    ASSERT_NE(k, nullptr);
    const KeystrokeParse p = parseKeystrokes(k->tag);
    ASSERT_TRUE(p.ok && p.strokes.size() >= 3) << k->tag;
    const std::size_t n = p.strokes.size();
    int caret = p.strokes[0].vk == kVkHome ? 0 : p.strokes[0].vk == kVkEnd ? 16 : -100;
    for (std::size_t i = 1; i + 2 < n; ++i)
      caret += p.strokes[i].vk == kVkRight ? 1 : p.strokes[i].vk == kVkLeft ? -1 : -100;
    EXPECT_EQ(caret, 15 - bit) << k->tag;
    EXPECT_EQ(p.strokes[n - 2].ch, ' ');
    EXPECT_EQ(p.strokes[n - 1].vk, kVkLeft);
    EXPECT_EQ(k->caption, std::to_string(bit));
    EXPECT_EQ(k->left, find(binPadLayout(), A::Bit, bit | 8)->left);  // bit b under bit b + 8
  }
}

// Standard keys 0..60 of the alphanumeric pad carry distinct virtual-key codes; digits and letters
// send their own codes whatever else the caption shows.
TEST(Layouts, AlphaPadKeyCodes) {
  const PadDef& pad = alphaPadLayout();
  std::set<int> codes, digits, letters;
  for (int index = 0; index <= 60; ++index) {
    const ControlDef* k = find(pad, A::Standard, index);
    ASSERT_NE(k, nullptr) << index;
    const std::string caption = k->caption;
    const int vk = std::atoi(k->tag);
    EXPECT_TRUE(vk > 0 && vk < 255 && codes.insert(vk).second) << index;
    if (caption.size() == 4 && caption.compare(1, 2, "\\n") == 0 && std::isdigit(caption[3])) {
      EXPECT_EQ(vk, caption[3]);
      digits.insert(vk);
    }
    if (std::isupper(caption[0]) && (caption.size() == 1 || caption[1] == ' ')) {
      EXPECT_EQ(vk, caption[0]);
      letters.insert(vk);
    }
  }
  EXPECT_EQ(digits.size(), 10u);
  EXPECT_EQ(letters.size(), 26u);
  EXPECT_EQ(find(pad, A::Standard, 61), nullptr);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(find(pad, A::Shift, i)->visible, i < 7);
}

// Every picture lies in its box and covers the part of it the settings checker keeps captions
// clear of. The move pictures' white arrowheads point into the corner their key moves the pad to,
// from a window with a title bar along its top; arrows point where their keys move the caret. A
// picture sits in the middle of its key and fills most of it, clear of the key's edges.
TEST(Layouts, PicturesShowWhatTheirKeysDo) {
  const int covers[][4] = {{0, 0, 0, 0},     {5, 6, 95, 90},   {5, 6, 95, 90},   {5, 6, 95, 90},
                           {5, 6, 95, 90},   {5, 6, 95, 90},   {5, 6, 95, 90},   {15, 15, 78, 84},
                           {8, 32, 92, 68},  {15, 20, 85, 80}, {15, 20, 85, 80}, {20, 15, 80, 85},
                           {20, 15, 80, 85}, {7, 34, 31, 66},  {7, 34, 31, 66},  {8, 10, 83, 95}};
  for (int p = 0; p <= static_cast<int>(Pictogram::Menu); ++p) {
    const PictogramDrawing d = pictogramDrawing(static_cast<Pictogram>(p));
    const PictoBounds b = drawingBounds(d);
    EXPECT_EQ(std::vector<int>({b.left, b.top, b.right, b.bottom}),
              std::vector<int>(covers[p], covers[p] + 4))
        << p;
    for (std::size_t i = 0; i < d.count; ++i)
      EXPECT_TRUE(d.shapes[i].pointCount >= 2 && d.shapes[i].pointCount <= kMaxShapePoints &&
                  d.shapes[i].width >= 1)
          << p << " shape " << i;
  }
  for (int corner = 0; corner < 4; ++corner) {
    const PictogramDrawing d = pictogramDrawing(
        static_cast<Pictogram>(static_cast<int>(Pictogram::MoveUpperLeft) + corner));
    // After the monitor's six shapes: the window's body, its title bar, the two arrowheads.
    ASSERT_EQ(d.count, 10u);
    const PictoBounds body = drawingBounds({&d.shapes[6], 1}),
                      bar = drawingBounds({&d.shapes[7], 1});
    const PictoBounds arrows = drawingBounds({&d.shapes[8], 2});
    EXPECT_EQ(arrows.left + arrows.right > 100, corner % 2 == 1) << corner;  // centre (50, 39)
    EXPECT_EQ(arrows.top + arrows.bottom > 78, corner >= 2) << corner;
    EXPECT_TRUE(bar.top == body.top && body.left < body.right && bar.top < bar.bottom &&
                (bar.bottom - bar.top) * 3 < body.bottom - body.top)
        << corner;
  }
  const auto tip = [](PictogramDrawing d, int dx, int dy) {  // the extreme point that way
    int best = -1000;
    for (int p = 0; p < d.shapes[0].pointCount; ++p)
      best = std::max(best, d.shapes[0].points[p].x * dx + d.shapes[0].points[p].y * dy);
    return best;
  };
  EXPECT_LT(tip(pictogramDrawing(Pictogram::ArrowLeft), -1, 0), -10);
  EXPECT_GT(tip(pictogramDrawing(Pictogram::ArrowRight), 1, 0), 80);
  EXPECT_LT(tip(pictogramDrawing(Pictogram::ArrowUp), 0, -1), -10);
  EXPECT_GT(tip(pictogramDrawing(Pictogram::ArrowDown), 0, 1), 80);
  // Stand-ins for symbol-font characters (the end-to-end tests see Tab and Shift drawn with them).
  EXPECT_GT(symbolGlyphDrawing("wingdings", 0xFF).count, 0u);        // the system key's flag
  EXPECT_LE(tip(symbolGlyphDrawing("Wingdings", 0xF2), 0, 1), 100);  // Shift lock's, in its box
  EXPECT_EQ(symbolGlyphDrawing("Symbol", 'x').count, 0u);
  const KeyFace enter = keyFace(Pictogram::Enter, 600, 1800);  // the value pads' tall Enter key
  EXPECT_TRUE(enter.pictureLeft * 2 + enter.pictureSide == 600 &&
              enter.pictureTop * 2 + enter.pictureSide == 1800);
  EXPECT_TRUE(enter.pictureSide >= 450 && enter.pictureSide <= 540);
}

}  // namespace
}  // namespace pmx
