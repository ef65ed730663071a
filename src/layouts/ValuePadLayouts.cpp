// The decimal, hexadecimal and binary pads as they are right after creation.
//
// Each table holds the key container, the four limit labels above it, then the keys row by row.
// Key geometry is relative to picKeys, which starts 600 twips below the top of the window.
#include "layouts/ValuePadLayouts.h"

#include <iterator>

#include "layouts/LayoutBuilders.h"

namespace pmx {
namespace {

using layouts::Face;
using layouts::Rect;
using A = ControlArray;
using P = Pictogram;

constexpr std::int32_t kPicKeysTop = 600;
constexpr std::int32_t kDesignLeft = 3945;
constexpr std::int32_t kDesignTop = 3825;

constexpr Face kCharKey{"Arial", 18.0f, true, layouts::kAnsiCharset, kColorWhite};
constexpr Face kFuncKey{"Arial", 18.0f, true, layouts::kAnsiCharset, kColorGrey};
constexpr Face kTextKey{"Arial", 9.0f, true, layouts::kAnsiCharset, kColorGrey};
constexpr Face kEnterKey{"Symbol", 26.25f, false, layouts::kSymbolCharset, kColorGrey};

constexpr ControlDef key(A array, std::int16_t index, Rect r, const char* caption, const char* tag,
                         const Face& face, P picture = P::None) {
  return layouts::keyDef(true, array, index, r, caption, tag, face, picture);
}

constexpr ControlDef picKeys(std::int32_t width, std::int32_t height, std::uint32_t backColor) {
  return ControlDef{ControlKind::Container,
                    A::PicKeys,
                    0,
                    0,
                    kPicKeysTop,
                    width,
                    height,
                    "",
                    "",
                    "",
                    0.0f,
                    false,
                    layouts::kAnsiCharset,
                    backColor,
                    P::None,
                    true,
                    false};
}

// The window keys of the top row: four move keys, the pad switch and the close key, 600 apart.
constexpr ControlDef moveKey(std::int16_t index, std::int32_t left) {
  return key(A::Move, index, {left, 0, 600, 600}, "", "", kFuncKey,
             static_cast<P>(static_cast<int>(P::MoveUpperLeft) + index));
}
constexpr ControlDef padKey(std::int32_t left) {
  return key(A::PadSwitch, 0, {left, 0, 600, 600}, "", "", kFuncKey, P::PadSwitch);
}
constexpr ControlDef closeKey(std::int32_t left) {
  return key(A::Close, 0, {left, 0, 600, 600}, "", "", kFuncKey, P::Close);
}

// The bit keys: bits 15..8 in the upper row, 7..0 in the lower one, the highest bit leftmost.
// Each Tag puts the caret on the bit's character of a 16-character binary text, then types a
// blank over it and steps back.
constexpr const char* kBitCaptions[16] = {"0", "1", "2",  "3",  "4",  "5",  "6",  "7",
                                          "8", "9", "10", "11", "12", "13", "14", "15"};
constexpr const char* kBitTags[16] = {
    "{END}{LEFT 1} {LEFT}",   "{END}{LEFT 2} {LEFT}",   "{END}{LEFT 3} {LEFT}",
    "{END}{LEFT 4} {LEFT}",   "{END}{LEFT 5} {LEFT}",   "{END}{LEFT 6} {LEFT}",
    "{END}{LEFT 7} {LEFT}",   "{END}{LEFT 8} {LEFT}",   "{HOME}{RIGHT 7} {LEFT}",
    "{HOME}{RIGHT 6} {LEFT}", "{HOME}{RIGHT 5} {LEFT}", "{HOME}{RIGHT 4} {LEFT}",
    "{HOME}{RIGHT 3} {LEFT}", "{HOME}{RIGHT 2} {LEFT}", "{HOME}{RIGHT 1} {LEFT}",
    "{HOME} {LEFT}"};

constexpr ControlDef bitKey(std::int16_t bit) {
  const bool upper = bit >= 8;
  const std::int32_t column = upper ? 15 - bit : 7 - bit;
  return key(A::Bit, bit, {column * 600, upper ? 600 : 1200, 600, 600}, kBitCaptions[bit],
             kBitTags[bit], kFuncKey);
}

constexpr ControlDef FNumPad[] = {
    picKeys(3600, 3000, kColorButtonFace),
    layouts::limitCaptionMax(0, true),
    layouts::limitValueMax(0, true),
    layouts::limitCaptionMin(0, true),
    layouts::limitValueMin(0, true),
    moveKey(0, 0),
    moveKey(1, 600),
    moveKey(2, 1200),
    moveKey(3, 1800),
    padKey(2400),
    closeKey(3000),
    key(A::End, 0, {0, 600, 1200, 600}, "Esc", "{ESC}", kTextKey),
    key(A::Standard, 7, {1200, 600, 600, 600}, "7", "7", kCharKey),
    key(A::Standard, 8, {1800, 600, 600, 600}, "8", "8", kCharKey),
    key(A::Standard, 9, {2400, 600, 600, 600}, "9", "9", kCharKey),
    key(A::Standard, 11, {3000, 600, 600, 600}, "\x96", "-", kFuncKey),
    key(A::Standard, 14, {0, 1200, 600, 600}, "", "{BS}", kFuncKey, P::Backspace),
    key(A::Standard, 18, {600, 1200, 600, 600}, "Pos1", "{HOME}", kTextKey),
    key(A::Standard, 4, {1200, 1200, 600, 600}, "4", "4", kCharKey),
    key(A::Standard, 5, {1800, 1200, 600, 600}, "5", "5", kCharKey),
    key(A::Standard, 6, {2400, 1200, 600, 600}, "6", "6", kCharKey),
    key(A::End, 1, {3000, 1200, 600, 1800}, "", "{ENTER}", kEnterKey, P::Enter),
    key(A::Standard, 15, {0, 1800, 600, 600}, "Entf", "{DEL}", kTextKey),
    key(A::Standard, 19, {600, 1800, 600, 600}, "Ende", "{END}", kTextKey),
    key(A::Standard, 1, {1200, 1800, 600, 600}, "1", "1", kCharKey),
    key(A::Standard, 2, {1800, 1800, 600, 600}, "2", "2", kCharKey),
    key(A::Standard, 3, {2400, 1800, 600, 600}, "3", "3", kCharKey),
    key(A::Standard, 16, {0, 2400, 600, 600}, "", "{LEFT}", kFuncKey, P::ArrowLeft),
    key(A::Standard, 17, {600, 2400, 600, 600}, "", "{RIGHT}", kFuncKey, P::ArrowRight),
    key(A::Standard, 0, {1200, 2400, 1200, 600}, "0", "0", kCharKey),
    key(A::Standard, 10, {2400, 2400, 600, 600}, ".", ".", kCharKey),
};
static_assert(std::size(FNumPad) == 1 + 4 + 26, "FNumPad: container, 4 labels, 26 keys");

constexpr ControlDef FHexPad[] = {
    picKeys(3600, 3600, kColorPadBack),
    layouts::limitCaptionMax(0, true),
    layouts::limitValueMax(0, true),
    layouts::limitCaptionMin(0, true),
    layouts::limitValueMin(0, true),
    moveKey(0, 0),
    moveKey(1, 600),
    moveKey(2, 1200),
    moveKey(3, 1800),
    padKey(2400),
    closeKey(3000),
    key(A::Standard, 10, {0, 600, 600, 600}, "A", "a", kCharKey),
    key(A::Standard, 11, {600, 600, 600, 600}, "B", "b", kCharKey),
    key(A::Standard, 12, {1200, 600, 600, 600}, "C", "c", kCharKey),
    key(A::Standard, 13, {1800, 600, 600, 600}, "D", "d", kCharKey),
    key(A::Standard, 20, {2400, 600, 600, 600}, "E", "e", kCharKey),
    key(A::Standard, 21, {3000, 600, 600, 600}, "F", "f", kCharKey),
    key(A::End, 0, {0, 1200, 1200, 600}, "Esc", "{ESC}", kTextKey),
    key(A::Standard, 7, {1200, 1200, 600, 600}, "7", "7", kCharKey),
    key(A::Standard, 8, {1800, 1200, 600, 600}, "8", "8", kCharKey),
    key(A::Standard, 9, {2400, 1200, 600, 600}, "9", "9", kCharKey),
    key(A::Standard, 14, {0, 1800, 600, 600}, "", "{BS}", kFuncKey, P::Backspace),
    key(A::Standard, 18, {600, 1800, 600, 600}, "Pos1", "{HOME}", kTextKey),
    key(A::Standard, 4, {1200, 1800, 600, 600}, "4", "4", kCharKey),
    key(A::Standard, 5, {1800, 1800, 600, 600}, "5", "5", kCharKey),
    key(A::Standard, 6, {2400, 1800, 600, 600}, "6", "6", kCharKey),
    key(A::End, 1, {3000, 1800, 600, 1800}, "", "{ENTER}", kEnterKey, P::Enter),
    key(A::Standard, 15, {0, 2400, 600, 600}, "Entf", "{DEL}", kTextKey),
    key(A::Standard, 19, {600, 2400, 600, 600}, "Ende", "{END}", kTextKey),
    key(A::Standard, 1, {1200, 2400, 600, 600}, "1", "1", kCharKey),
    key(A::Standard, 2, {1800, 2400, 600, 600}, "2", "2", kCharKey),
    key(A::Standard, 3, {2400, 2400, 600, 600}, "3", "3", kCharKey),
    key(A::Standard, 16, {0, 3000, 600, 600}, "", "{LEFT}", kFuncKey, P::ArrowLeft),
    key(A::Standard, 17, {600, 3000, 600, 600}, "", "{RIGHT}", kFuncKey, P::ArrowRight),
    key(A::Standard, 0, {1200, 3000, 1200, 600}, "0", "0", kCharKey),
};
static_assert(std::size(FHexPad) == 1 + 4 + 30, "FHexPad: container, 4 labels, 30 keys");

constexpr ControlDef FBinPad[] = {
    picKeys(5400, 2400, kColorPadBack),
    layouts::limitCaptionMax(0, false),
    layouts::limitValueMax(0, false),
    layouts::limitCaptionMin(0, false),
    layouts::limitValueMin(0, false),
    key(A::End, 0, {0, 0, 1200, 600}, "Esc", "{ESC}", kTextKey),
    moveKey(0, 1800),
    moveKey(1, 2400),
    moveKey(2, 3000),
    moveKey(3, 3600),
    padKey(4200),
    closeKey(4800),
    bitKey(15),
    bitKey(14),
    bitKey(13),
    bitKey(12),
    bitKey(11),
    bitKey(10),
    bitKey(9),
    bitKey(8),
    key(A::End, 1, {4800, 600, 600, 1800}, "", "{ENTER}", kEnterKey, P::Enter),
    bitKey(7),
    bitKey(6),
    bitKey(5),
    bitKey(4),
    bitKey(3),
    bitKey(2),
    bitKey(1),
    bitKey(0),
    key(A::Standard, 18, {0, 1800, 600, 600}, "Pos1", "{HOME}", kTextKey),
    key(A::Standard, 19, {600, 1800, 600, 600}, "Ende", "{END}", kTextKey),
    key(A::Standard, 16, {1200, 1800, 600, 600}, "", "{LEFT}", kFuncKey, P::ArrowLeft),
    key(A::Standard, 17, {1800, 1800, 600, 600}, "", "{RIGHT}", kFuncKey, P::ArrowRight),
    key(A::Standard, 0, {2400, 1800, 1200, 600}, "0", "0", kCharKey),
    key(A::Standard, 1, {3600, 1800, 1200, 600}, "1", "1", kCharKey),
};
static_assert(std::size(FBinPad) == 1 + 4 + 30, "FBinPad: container, 4 labels, 30 keys");

constexpr PadDef kNumPad{"FNumPad",  3600,          3600,    kDesignLeft,
                         kDesignTop, kColorPadBack, FNumPad, std::size(FNumPad)};
constexpr PadDef kHexPad{"FHexPad",  3600,          4200,    kDesignLeft,
                         kDesignTop, kColorPadBack, FHexPad, std::size(FHexPad)};
constexpr PadDef kBinPad{"FBinPad",  5400,          3000,    kDesignLeft,
                         kDesignTop, kColorPadBack, FBinPad, std::size(FBinPad)};

}  // namespace

const PadDef& numPadLayout() { return kNumPad; }
const PadDef& hexPadLayout() { return kHexPad; }
const PadDef& binPadLayout() { return kBinPad; }

}  // namespace pmx
