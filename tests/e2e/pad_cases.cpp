// The pads as a host and a user meet them: which pad a field gets, hiding, typing with real
// mouse clicks on the keys, the end keys and their notice, placement, key size and limits.
#include <cstdlib>

#include "host.h"
#include "value_pad_keys.h"

using namespace e2e;
using namespace pad_keys;

namespace {

// The only visible window of the keyboard is a pad of this class.
bool onlyPadVisible(const Session& s, const char* className) {
  const auto visible = s.visibleWindows();
  return visible.size() == 1 && windowClass(visible.front()) == className;
}

// Clicks an end key of the pad: the pad goes, the focus stays in the field, and the host's count
// of notices reaches `hides`.
void closeWith(Session& s, HWND pad, const PadDesign& design, const PadKey& key, HWND field,
               int hides) {
  SCOPED_TRACE(std::string(key.name) + " key");
  EXPECT_TRUE(clickKey(pad, design, key));
  EXPECT_TRUE(waitFor([&] { return s.hides() == hides; }, kTypeTimeoutMs));
  EXPECT_TRUE(waitFor([&] { return !IsWindowVisible(pad); }, kShowTimeoutMs));
  s.settle();
  EXPECT_EQ(s.hides(), hides);
  EXPECT_EQ(GetFocus(), field);
}

// Moves the host window, and with it its fields, by dx, dy pixels.
void moveHost(const Session& s, LONG dx, LONG dy) {
  const RECT r = windowRect(s.host.hwnd());
  SetWindowPos(s.host.hwnd(), nullptr, r.left + dx, r.top + dy, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  pumpMessages();
}

}  // namespace

TEST(Pads, pad_for_each_field_kind) {
  struct Row {
    std::int16_t fieldType;
    std::int16_t valueFormat;
    const char* padClass;  // nullptr: no pad chosen, the one on screen stays
  };
  const Row rows[] = {
      {306, 0, kNumPadClass},   {306, 1, kBinPadClass},  {306, 2, kHexPadClass},
      {306, 4, nullptr},        {306, 3, kNumPadClass},  {307, 1, kBinPadClass},
      {310, 2, kHexPadClass},   {370, 0, kNumPadClass},  {371, 1, kBinPadClass},
      {374, -1, nullptr},       {374, 2, kHexPadClass},  {295, 2, kNumPadClass},
      {265, 0, kAlphaPadClass}, {305, 1, kNumPadClass},  {0, 0, kAlphaPadClass},
      {356, 2, kNumPadClass},   {-5, 0, kAlphaPadClass}, {1000, 1, kAlphaPadClass},
  };
  Session s;
  ASSERT_TRUE(s.start());
  ASSERT_TRUE(s.focus(s.fields[0]));
  const char* expected = nullptr;
  for (const Row& row : rows) {
    SCOPED_TRACE("field type " + std::to_string(row.fieldType) + ", value format " +
                 std::to_string(row.valueFormat));
    EXPECT_TRUE(sendNotify(s.keyboardWindow, s.fields[0],
                           makeNotifyRecord(row.fieldType, row.valueFormat, "0", "100"))
                    .delivered);
    if (row.padClass) expected = row.padClass;
    s.settle();
    EXPECT_TRUE(s.waitForPad(expected, kShowTimeoutMs)) << std::string("no ") + expected;
    EXPECT_TRUE(onlyPadVisible(s, expected)) << std::string("more than ") + expected + " visible";
    EXPECT_EQ(GetFocus(), s.fields[0]);
  }
  EXPECT_EQ(s.hides(), 0);
  s.terminate();
}

TEST(Pads, hide_request_hides_every_pad_without_notice) {
  Session s;
  ASSERT_TRUE(s.start());
  // Before any notify request: all four pads come into being, hidden.
  EXPECT_TRUE(s.request(messages().hideKeyboard).delivered);
  const char* classes[] = {kNumPadClass, kHexPadClass, kBinPadClass, kAlphaPadClass};
  for (const char* cls : classes) {
    EXPECT_TRUE(findWindow(s.keyboard.pid(), cls) != nullptr) << std::string("no window ") + cls;
  }
  EXPECT_TRUE(s.visibleWindows().empty());

  ASSERT_TRUE(s.showPad(s.fields[0], kDecimalField));
  EXPECT_TRUE(s.request(messages().hideKeyboard).delivered);
  EXPECT_TRUE(waitFor([&] { return s.visibleWindows().empty(); }, kShowTimeoutMs));
  EXPECT_EQ(GetFocus(), s.fields[0]);
  s.settle();
  EXPECT_EQ(s.hides(), 0);
  s.terminate();
}

TEST(Pads, decimal_pad_types_into_the_field) {
  Session s;
  HWND field = s.fields[0];
  HWND pad = s.startWithPad(field, kDecimalField);
  ASSERT_TRUE(pad);
  // The same key twice in a row counts twice (no double click swallowed); the caret keys move
  // the caret in the field.
  ASSERT_TRUE(typeKeys(pad, kNumPad, field,
                       {{num::k1, "1", 1},
                        {num::k0, "10", 2},
                        {num::k0, "100", 3},
                        {num::kPoint, "100.", 4},
                        {num::k5, "100.5", 5},
                        {num::kBackspace, "100.", 4},
                        {num::kHome, "100.", 0},
                        {num::kMinus, "-100.", 1},
                        {num::kLeft, "-100.", 0},
                        {num::kDelete, "100.", 0},
                        {num::kRight, "100.", 1},
                        {num::k7, "1700.", 2},
                        {num::kEnd, "1700.", 5},
                        {num::kLeft, "1700.", 4},
                        {num::k9, "17009.", 5}}));

  // Typing leaves the field with the focus, the host active and the pad up.
  EXPECT_EQ(GetFocus(), field);
  EXPECT_EQ(GetForegroundWindow(), s.host.hwnd());
  EXPECT_TRUE(IsWindowVisible(pad));
  EXPECT_EQ(s.hides(), 0);

  // Enter: the pad goes, the host hears of it once, with 0 and 0.
  closeWith(s, pad, kNumPad, num::kEnter, field, 1);
  const auto hides = s.host.received(messages().touchKeyboardHides);
  if (!hides.empty()) {
    EXPECT_EQ(hides.front().wParam, WPARAM{0});
    EXPECT_EQ(hides.front().lParam, LPARAM{0});
  }
  EXPECT_EQ(windowText(field), std::string("17009."));
  s.terminate();
}

// Upper-case captions type lower-case letters; close and Esc both end the pad with a notice and
// leave the text as it is.
TEST(Pads, hex_pad_letters_and_the_end_keys) {
  Session s;
  HWND field = s.fields[1];
  HWND pad = s.startWithPad(field, kHexField, "0", "FFFF");
  ASSERT_TRUE(pad);
  ASSERT_TRUE(
      typeKeys(pad, kHexPad, field,
               {{hex::kA, "a", 1}, {hex::kF, "af", 2}, {hex::k9, "af9", 3}, {hex::k0, "af90", 4}}));
  closeWith(s, pad, kHexPad, hex::kClose, field, 1);
  ASSERT_TRUE((pad = s.showPad(field, kHexField, "0", "FFFF")) != nullptr);
  closeWith(s, pad, kHexPad, hex::kEsc, field, 2);
  EXPECT_EQ(windowText(field), std::string("af90"));
  s.terminate();
}

// A bit key puts a blank before the character of its bit (counted from the end for bits 0 to 7,
// from the start for 8 to 15) and steps back onto it; the host's field decides what a blank
// means. A plain EDIT inserts it.
TEST(Pads, binary_pad_bit_keys_place_the_caret) {
  Session s;
  HWND field = s.fields[2];
  ASSERT_TRUE(windowText(field) == "0000000000000000");
  HWND pad = s.startWithPad(field, kBinaryField, "0", "65535");
  ASSERT_TRUE(pad);
  EXPECT_TRUE(typeKeys(pad, kBinPad, field,
                       {{bin::kBit3, "000000000000 0000", 12},
                        {bin::kBit15, " 000000000000 0000", 0},
                        {bin::kBit8, " 000000 000000 0000", 7},
                        {bin::kBit0, " 000000 000000 000 0", 18},
                        {bin::k1, " 000000 000000 0001 0", 19}}));
  EXPECT_EQ(GetFocus(), field);
  s.terminate();
}

TEST(Pads, pad_key_switches_to_the_alphanumeric_pad) {
  Session s;
  HWND pad = s.startWithPad(s.fields[0], kDecimalField);
  ASSERT_TRUE(pad);
  EXPECT_TRUE(clickKey(pad, kNumPad, num::kPad));
  EXPECT_TRUE(s.waitForPad(kAlphaPadClass, kShowTimeoutMs));
  EXPECT_TRUE(waitFor([&] { return onlyPadVisible(s, kAlphaPadClass); }, kShowTimeoutMs));
  s.settle();
  EXPECT_EQ(GetFocus(), s.fields[0]);
  EXPECT_EQ(GetForegroundWindow(), s.host.hwnd());
  EXPECT_EQ(s.hides(), 0);
  s.terminate();
}

TEST(Pads, placement_modes) {
  Session s;
  ASSERT_TRUE(s.start());
  HWND field = s.fields[1];

  SCOPED_TRACE("mode 1: below the field, one pixel apart, left-aligned");
  EXPECT_TRUE(s.request(messages().touchPosition, 0, 1).delivered);
  HWND pad = s.showPad(field, kDecimalField);
  ASSERT_TRUE(pad);
  RECT f = windowRect(field);
  RECT p = windowRect(pad);
  EXPECT_EQ(p.left, f.left);
  EXPECT_EQ(p.top, f.bottom + 1);

  SCOPED_TRACE("mode 1, field near the bottom of the screen: above the field, one pixel apart");
  const LONG down = GetSystemMetrics(SM_CYSCREEN) - 40 - f.bottom;  // 40 px above the bottom
  moveHost(s, 0, down);
  EXPECT_TRUE(s.notify(field, kDecimalField).delivered);
  s.settle();
  f = windowRect(field);
  p = windowRect(pad);
  EXPECT_EQ(p.left, f.left);
  EXPECT_EQ(p.bottom, f.top - 1);
  moveHost(s, 0, -down);

  SCOPED_TRACE("mode 2: centred on the screen");
  EXPECT_TRUE(s.request(messages().touchPosition, 0, 2).delivered);
  EXPECT_TRUE(s.notify(field, kDecimalField).delivered);
  s.settle();
  p = windowRect(pad);
  const int screenW = GetSystemMetrics(SM_CXSCREEN);
  const int screenH = GetSystemMetrics(SM_CYSCREEN);
  EXPECT_TRUE(std::abs((p.left + p.right) - screenW) <= 1)
      << "left " + std::to_string(p.left) + ", right " + std::to_string(p.right);
  EXPECT_TRUE(std::abs((p.top + p.bottom) - screenH) <= 1)
      << "top " + std::to_string(p.top) + ", bottom " + std::to_string(p.bottom);

  SCOPED_TRACE("mode 0: a pad over the field goes to the first clear corner, top-left");
  // Move the host so that the field lies under the centred pad.
  f = windowRect(field);
  moveHost(s, p.left + 20 - f.left, p.top + 20 - f.top);
  f = windowRect(field);
  RECT overlap{};
  ASSERT_TRUE(IntersectRect(&overlap, &f, &p));
  EXPECT_TRUE(s.request(messages().touchPosition, 0, 0).delivered);
  ASSERT_TRUE(s.focus(field));
  EXPECT_TRUE(s.notify(field, kDecimalField).delivered);
  s.settle();
  p = windowRect(pad);
  EXPECT_EQ(p.left, LONG{0});
  EXPECT_EQ(p.top, LONG{0});
  EXPECT_TRUE(!IntersectRect(&overlap, &f, &p));

  SCOPED_TRACE("mode 0: a pad clear of the field stays where it is");
  EXPECT_TRUE(s.notify(s.fields[0], kDecimalField).delivered);
  s.settle();
  const RECT again = windowRect(pad);
  EXPECT_EQ(again.left, p.left);
  EXPECT_EQ(again.top, p.top);
  s.terminate();
}

TEST(Pads, key_size_scales_the_pads) {
  Session s;
  HWND field = s.fields[0];
  HWND pad = s.startWithPad(field, kDecimalField);
  ASSERT_TRUE(pad);
  const SIZE design = clientSize(pad);
  EXPECT_EQ(design.cx, twipsToPixels(3600));

  // Twice 1.5 is 1.5: every key-size request scales from the design size.
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE("key size 1.5, request " + std::to_string(round + 1));
    EXPECT_TRUE(s.request(messages().touchKeySize, 0, floatBits(1.5f)).delivered);
    s.settle();
    // The pads are reloaded: none is on screen until the next notify request.
    EXPECT_TRUE(s.visibleWindows().empty());
    ASSERT_TRUE((pad = s.showPad(field, kDecimalField)) != nullptr);
    const SIZE scaled = clientSize(pad);
    EXPECT_TRUE(std::abs(scaled.cx * 2 - design.cx * 3) <= 2)
        << std::to_string(scaled.cx) + " px wide, design " + std::to_string(design.cx);
    EXPECT_TRUE(std::abs(scaled.cy * 2 - design.cy * 3) <= 2)
        << std::to_string(scaled.cy) + " px high, design " + std::to_string(design.cy);
  }
  // The keys are hit where they are drawn at the new size.
  ASSERT_TRUE(typeKeys(pad, kNumPad, field, {{num::k5, "5", 1}, {num::k3, "53", 2}}));

  SCOPED_TRACE("key size 1.0 again");
  EXPECT_TRUE(s.request(messages().touchKeySize, 0, floatBits(1.0f)).delivered);
  ASSERT_TRUE((pad = s.showPad(field, kDecimalField)) != nullptr);
  EXPECT_EQ(clientSize(pad).cx, design.cx);
  EXPECT_EQ(clientSize(pad).cy, design.cy);
  s.terminate();
}

// The move keys push every pad flush into each corner of the screen.
TEST(Pads, move_keys_push_every_pad_into_each_corner) {
  struct Pad {
    const FieldKind& kind;
    PadDesign design;
    int firstMoveLeft, moveTop, rowStep;  // where keyMove(0) is; the next ones follow
  };
  const Pad pads[] = {{kDecimalField, kNumPad, 0, 0, 0},
                      {kHexField, kHexPad, 0, 0, 0},
                      {kBinaryField, kBinPad, 1800, 0, 0},
                      {kTextField, {9000, 4200}, 7200, 0, 600}};
  Session s;
  ASSERT_TRUE(s.start());
  const LONG width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  for (const Pad& p : pads) {
    HWND pad = s.showPad(s.fields[0], p.kind);
    ASSERT_TRUE(pad);
    for (int corner : {3, 0, 2, 1}) {
      // On the value pads the four keys stand in a row; on the alphanumeric pad in two rows.
      const int column = p.rowStep != 0 ? corner % 2 : corner;
      const PadKey key{"move", p.firstMoveLeft + 600 * column, p.moveTop + p.rowStep * (corner / 2),
                       600, 600};
      SCOPED_TRACE(std::string(p.kind.name) + ", corner " + std::to_string(corner));
      EXPECT_TRUE(clickKey(pad, p.design, key));
      const bool right = corner % 2 == 1, lower = corner >= 2;
      EXPECT_TRUE(waitFor(
          [&] {
            const RECT r = windowRect(pad);
            return (right ? r.right == width : r.left == 0) &&
                   (lower ? r.bottom == height : r.top == 0);
          },
          kShowTimeoutMs));
      EXPECT_EQ(GetFocus(), s.fields[0]);
    }
  }
  s.terminate();
}
