// FAlphaPad as it is right after creation: every key and label sits directly on the window.
//
// The Tag of a keyStandard key is the decimal virtual-key code it produces; the end keys carry
// keystroke strings; the other keys carry no Tag. Captions are 8-bit text in the key's font:
// "\\n" (backslash, n) splits a caption into an upper and a lower line, and the Wingdings and
// Symbol captions are code points of those symbol fonts.
#include "layouts/AlphaPadLayout.h"

#include <iterator>

#include "layouts/LayoutBuilders.h"

namespace pmx {
namespace {

using layouts::Face;
using layouts::kAnsiCharset;
using layouts::kSymbolCharset;
using layouts::Rect;
using A = ControlArray;
using P = Pictogram;

constexpr Face kCharKey{"Arial", 9.75f, true, kAnsiCharset, kColorWhite};
constexpr Face kSpaceKey{"Arial", 9.75f, false, kAnsiCharset, kColorWhite};
constexpr Face kTextKey{"Arial", 9.0f, true, kAnsiCharset, kColorGrey};
constexpr Face kPadKey{"Arial", 9.75f, true, kAnsiCharset, kColorGrey};
constexpr Face kWindowKey{"Arial", 14.25f, true, kAnsiCharset, kColorGrey};
constexpr Face kBackKey{"Wingdings", 14.25f, true, kSymbolCharset, kColorGrey};
constexpr Face kTabKey{"Symbol", 9.75f, true, kSymbolCharset, kColorGrey};
constexpr Face kEnterKey{"Symbol", 26.25f, false, kSymbolCharset, kColorGrey};
constexpr Face kShiftKey{"Wingdings", 20.25f, false, kSymbolCharset, kColorGrey};
constexpr Face kWinKey{"Wingdings", 15.75f, false, kSymbolCharset, kColorGrey};

constexpr ControlDef key(A array, std::int16_t index, Rect r, const char* caption, const char* tag,
                         const Face& face, P picture = P::None, bool visible = true) {
  return layouts::keyDef(false, array, index, r, caption, tag, face, picture, visible);
}

// A character key of the main block: 600 square, white.
constexpr ControlDef charKey(std::int16_t index, std::int32_t left, std::int32_t top,
                             const char* caption, const char* vk) {
  return key(A::Standard, index, {left, top, 600, 600}, caption, vk, kCharKey);
}

// The limit labels come last so that, when shown, they are drawn over the cursor-up key whose
// place they share.
constexpr std::int32_t kLimitBlockLeft = 3600;

constexpr ControlDef FAlphaPad[] = {
    // Navigation block and window keys, top row.
    key(A::Standard, 51, {900, 0, 600, 600}, "Einfg", "45", kTextKey),
    key(A::Standard, 53, {1500, 0, 600, 600}, "Pos1", "36", kTextKey),
    key(A::Standard, 55, {2100, 0, 600, 600}, "Bild", "33", kTextKey, P::PageUp),
    key(A::Standard, 57, {3600, 0, 600, 600}, "", "38", kTextKey, P::ArrowUp),
    key(A::Move, 0, {7200, 0, 600, 600}, "", "", kWindowKey, P::MoveUpperLeft),
    key(A::Move, 1, {7800, 0, 600, 600}, "", "", kWindowKey, P::MoveUpperRight),
    key(A::Close, 0, {8400, 0, 600, 600}, "", "", kWindowKey, P::Close),
    // Second row.
    key(A::End, 0, {0, 600, 600, 600}, "Esc", "{ESC}", kTextKey),
    key(A::Standard, 52, {900, 600, 600, 600}, "Entf", "46", kTextKey),
    key(A::Standard, 54, {1500, 600, 600, 600}, "Ende", "35", kTextKey),
    key(A::Standard, 56, {2100, 600, 600, 600}, "Bild", "34", kTextKey, P::PageDown),
    key(A::Standard, 58, {3000, 600, 600, 600}, "", "37", kTextKey, P::ArrowLeft),
    key(A::Standard, 59, {3600, 600, 600, 600}, "", "40", kTextKey, P::ArrowDown),
    key(A::Standard, 60, {4200, 600, 600, 600}, "", "39", kTextKey, P::ArrowRight),
    key(A::Extra, 0, {5100, 600, 600, 600}, "", "", kCharKey),
    key(A::Extra, 1, {5700, 600, 600, 600}, "", "", kCharKey),
    key(A::Extra, 2, {6300, 600, 600, 600}, "", "", kCharKey),
    key(A::Move, 2, {7200, 600, 600, 600}, "", "", kWindowKey, P::MoveLowerLeft),
    key(A::Move, 3, {7800, 600, 600, 600}, "", "", kWindowKey, P::MoveLowerRight),
    key(A::PadSwitch, 0, {8400, 600, 600, 600}, "", "", kPadKey, P::PadSwitch),
    // Number row.
    charKey(0, 0, 1200, "~\\n`", "192"),
    charKey(1, 600, 1200, "!\\n1", "49"),
    charKey(2, 1200, 1200, "@\\n2", "50"),
    charKey(3, 1800, 1200, "#\\n3", "51"),
    charKey(4, 2400, 1200, "$\\n4", "52"),
    charKey(5, 3000, 1200, "%\\n5", "53"),
    charKey(6, 3600, 1200, "^\\n6", "54"),
    charKey(7, 4200, 1200, "&\\n7", "55"),
    charKey(8, 4800, 1200, "*\\n8", "56"),
    charKey(9, 5400, 1200, "(\\n9", "57"),
    charKey(10, 6000, 1200, ")\\n0", "48"),
    charKey(11, 6600, 1200, "_\\n-", "189"),
    charKey(12, 7200, 1200, "+\\n=", "187"),
    key(A::Standard, 13, {7800, 1200, 1200, 600}, "", "8", kBackKey, P::Backspace),
    // Upper letter row; Tab shows two arrows of the Symbol font.
    key(A::Standard, 14, {0, 1800, 900, 600}, "|\xAC\\n\xAE|", "9", kTabKey),
    charKey(15, 900, 1800, "Q  \xA0   @", "81"),
    charKey(16, 1500, 1800, "W  \xA0", "87"),
    charKey(17, 2100, 1800, "E  \xA0    \x80", "69"),
    charKey(18, 2700, 1800, "R", "82"),
    charKey(19, 3300, 1800, "T", "84"),
    charKey(20, 3900, 1800, "Y", "89"),
    charKey(21, 4500, 1800, "U", "85"),
    charKey(22, 5100, 1800, "I", "73"),
    charKey(23, 5700, 1800, "O", "79"),
    charKey(24, 6300, 1800, "P", "80"),
    charKey(25, 6900, 1800, "{\\n[", "219"),
    charKey(26, 7500, 1800, "}\\n]", "221"),
    key(A::End, 1, {8100, 1800, 900, 1200}, "", "{ENTER}", kEnterKey, P::Enter),
    // Middle letter row, after Shift lock.
    key(A::Shift, 0, {0, 2400, 1050, 600}, "\xF2", "", kShiftKey),
    charKey(27, 1050, 2400, "A", "65"),
    charKey(28, 1650, 2400, "S", "83"),
    charKey(29, 2250, 2400, "D", "68"),
    charKey(30, 2850, 2400, "F", "70"),
    charKey(31, 3450, 2400, "G", "71"),
    charKey(32, 4050, 2400, "H", "72"),
    charKey(33, 4650, 2400, "J", "74"),
    charKey(34, 5250, 2400, "K", "75"),
    charKey(35, 5850, 2400, "L", "76"),
    charKey(36, 6450, 2400, ":\\n;", "186"),
    charKey(37, 7050, 2400, "\"\\n'", "222"),
    charKey(38, 7650, 2400, "|\\n\\", "220"),
    // Lower letter row between the two Shift keys.
    key(A::Shift, 1, {0, 3000, 750, 600}, "\xF1", "", kShiftKey),
    charKey(39, 750, 3000, "|\\n\\", "226"),
    charKey(40, 1350, 3000, "Z", "90"),
    charKey(41, 1950, 3000, "X", "88"),
    charKey(42, 2550, 3000, "C", "67"),
    charKey(43, 3150, 3000, "V", "86"),
    charKey(44, 3750, 3000, "B", "66"),
    charKey(45, 4350, 3000, "N", "78"),
    charKey(46, 4950, 3000, "M", "77"),
    charKey(47, 5550, 3000, "<\\n,", "188"),
    charKey(48, 6150, 3000, ">\\n.", "190"),
    charKey(49, 6750, 3000, "?\\n/", "191"),
    key(A::Shift, 6, {7350, 3000, 1650, 600}, "\xF1", "", kShiftKey),
    // Bottom row: modifiers around the space bar; 7, 8 and 9 have no function and stay hidden.
    key(A::Shift, 2, {0, 3600, 750, 600}, "Strg", "", kTextKey),
    key(A::Shift, 7, {750, 3600, 750, 600}, "\xFF", "", kWinKey, P::None, false),
    key(A::Shift, 3, {1500, 3600, 750, 600}, "Alt", "", kTextKey),
    key(A::Standard, 50, {2250, 3600, 3750, 600}, "", "32", kSpaceKey),
    key(A::Shift, 4, {6000, 3600, 750, 600}, "Alt Gr", "", kTextKey),
    key(A::Shift, 8, {6750, 3600, 750, 600}, "\xFF", "", kWinKey, P::None, false),
    key(A::Shift, 9, {7500, 3600, 750, 600}, "", "", kShiftKey, P::Menu, false),
    key(A::Shift, 5, {8250, 3600, 750, 600}, "Strg", "", kTextKey),
    // Limit block.
    layouts::limitCaptionMax(kLimitBlockLeft, true),
    layouts::limitValueMax(kLimitBlockLeft, true),
    layouts::limitCaptionMin(kLimitBlockLeft, true),
    layouts::limitValueMin(kLimitBlockLeft, true),
};
static_assert(
    std::size(FAlphaPad) == 61 + 2 + 4 + 1 + 1 + 10 + 3 + 4,
    "FAlphaPad: 61 standard, 2 end, 4 move, close, pad, 10 shift, 3 extra keys, 4 labels");

constexpr PadDef kAlphaPad{"FAlphaPad", 9000,          4200,      45,
                           45,          kColorPadBack, FAlphaPad, std::size(FAlphaPad)};

}  // namespace

const PadDef& alphaPadLayout() { return kAlphaPad; }

}  // namespace pmx
