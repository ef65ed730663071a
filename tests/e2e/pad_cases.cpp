// The pads as a host and a user meet them: which pad a field gets, hiding, typing with real
// mouse clicks on the keys, the end keys and their notice, placement, key size and limits.
#include <cstdlib>

#include "host.h"
#include "value_pad_keys.h"

using namespace e2e;
using namespace e2e::pads;

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
  Case& t = s.t;
  t.note(std::string(key.name) + " key");
  E2E_CHECK(clickKey(pad, design, key));
  E2E_CHECK(waitFor([&] { return s.hides() == hides; }, kTypeTimeoutMs));
  E2E_CHECK(waitFor([&] { return !IsWindowVisible(pad); }, kShowTimeoutMs));
  s.settle();
  E2E_CHECK_EQ(s.hides(), hides);
  E2E_CHECK_EQ(GetFocus(), field);
}

// Moves the host window, and with it its fields, by dx, dy pixels.
void moveHost(const Session& s, LONG dx, LONG dy) {
  const RECT r = windowRect(s.host.hwnd());
  SetWindowPos(s.host.hwnd(), nullptr, r.left + dx, r.top + dy, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  pumpMessages();
}

}  // namespace

E2E_CASE(pad_for_each_field_kind) {
  struct Row {
    std::int16_t fieldType;
    std::int16_t valueFormat;
    const char* padClass;  // nullptr: no pad chosen, the one on screen stays
  };
  const Row rows[] = {
      {306, 0, kNumPadClass},  {306, 1, kBinPadClass},   {306, 2, kHexPadClass},
      {306, 4, nullptr},       {306, 3, kNumPadClass},   {307, 1, kBinPadClass},
      {310, 2, kHexPadClass},  {370, 0, kNumPadClass},   {371, 1, kBinPadClass},
      {374, -1, nullptr},      {374, 2, kHexPadClass},   {295, 2, kNumPadClass},
      {265, 0, kAlphaPadClass}, {305, 1, kNumPadClass},  {0, 0, kAlphaPadClass},
      {356, 2, kNumPadClass},  {-5, 0, kAlphaPadClass},  {1000, 1, kAlphaPadClass},
  };
  Session s(t);
  E2E_REQUIRE(s.start());
  E2E_REQUIRE(s.focus(s.fields[0]));
  const char* expected = nullptr;
  for (const Row& row : rows) {
    t.note("field type " + std::to_string(row.fieldType) + ", value format " +
           std::to_string(row.valueFormat));
    E2E_CHECK(sendNotify(s.keyboardWindow, s.fields[0],
                         makeNotifyRecord(row.fieldType, row.valueFormat, "0", "100"))
                  .delivered);
    if (row.padClass) expected = row.padClass;
    s.settle();
    E2E_CHECK_MSG(s.waitForPad(expected, kShowTimeoutMs), std::string("no ") + expected);
    E2E_CHECK_MSG(onlyPadVisible(s, expected), std::string("more than ") + expected + " visible");
    E2E_CHECK_EQ(GetFocus(), s.fields[0]);
  }
  E2E_CHECK_EQ(s.hides(), 0);
  s.terminate();
}

E2E_CASE(hide_request_hides_every_pad_without_notice) {
  Session s(t);
  E2E_REQUIRE(s.start());
  // Before any notify request: all four pads come into being, hidden.
  E2E_CHECK(s.request(messages().hideKeyboard).delivered);
  const char* classes[] = {kNumPadClass, kHexPadClass, kBinPadClass, kAlphaPadClass};
  for (const char* cls : classes) {
    E2E_CHECK_MSG(findWindow(s.keyboard.pid(), cls) != nullptr, std::string("no window ") + cls);
  }
  E2E_CHECK(s.visibleWindows().empty());

  E2E_REQUIRE(s.showPad(s.fields[0], kDecimalField));
  E2E_CHECK(s.request(messages().hideKeyboard).delivered);
  E2E_CHECK(waitFor([&] { return s.visibleWindows().empty(); }, kShowTimeoutMs));
  E2E_CHECK_EQ(GetFocus(), s.fields[0]);
  s.settle();
  E2E_CHECK_EQ(s.hides(), 0);
  s.terminate();
}

E2E_CASE(decimal_pad_types_into_the_field) {
  Session s(t);
  HWND field = s.fields[0];
  HWND pad = s.startWithPad(field, kDecimalField);
  E2E_REQUIRE(pad);
  // The same key twice in a row counts twice (no double click swallowed); the caret keys move
  // the caret in the field.
  E2E_REQUIRE(typeKeys(t, pad, kNumPad, field,
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
  E2E_CHECK_EQ(GetFocus(), field);
  E2E_CHECK_EQ(GetForegroundWindow(), s.host.hwnd());
  E2E_CHECK(IsWindowVisible(pad));
  E2E_CHECK_EQ(s.hides(), 0);

  // Enter: the pad goes, the host hears of it once, with 0 and 0.
  closeWith(s, pad, kNumPad, num::kEnter, field, 1);
  const auto hides = s.host.received(messages().touchKeyboardHides);
  if (!hides.empty()) {
    E2E_CHECK_EQ(hides.front().wParam, WPARAM{0});
    E2E_CHECK_EQ(hides.front().lParam, LPARAM{0});
  }
  E2E_CHECK_EQ(windowText(field), std::string("17009."));
  s.terminate();
}

// Upper-case captions type lower-case letters; close and Esc both end the pad with a notice and
// leave the text as it is.
E2E_CASE(hex_pad_letters_and_the_end_keys) {
  Session s(t);
  HWND field = s.fields[1];
  HWND pad = s.startWithPad(field, kHexField, "0", "FFFF");
  E2E_REQUIRE(pad);
  E2E_REQUIRE(
      typeKeys(t, pad, kHexPad, field,
               {{hex::kA, "a", 1}, {hex::kF, "af", 2}, {hex::k9, "af9", 3}, {hex::k0, "af90", 4}}));
  closeWith(s, pad, kHexPad, hex::kClose, field, 1);
  E2E_REQUIRE((pad = s.showPad(field, kHexField, "0", "FFFF")) != nullptr);
  closeWith(s, pad, kHexPad, hex::kEsc, field, 2);
  E2E_CHECK_EQ(windowText(field), std::string("af90"));
  s.terminate();
}

// A bit key puts a blank before the character of its bit (counted from the end for bits 0 to 7,
// from the start for 8 to 15) and steps back onto it; the host's field decides what a blank
// means. A plain EDIT inserts it.
E2E_CASE(binary_pad_bit_keys_place_the_caret) {
  Session s(t);
  HWND field = s.fields[2];
  E2E_REQUIRE(windowText(field) == "0000000000000000");
  HWND pad = s.startWithPad(field, kBinaryField, "0", "65535");
  E2E_REQUIRE(pad);
  E2E_CHECK(typeKeys(t, pad, kBinPad, field,
                     {{bin::kBit3, "000000000000 0000", 12},
                      {bin::kBit15, " 000000000000 0000", 0},
                      {bin::kBit8, " 000000 000000 0000", 7},
                      {bin::kBit0, " 000000 000000 000 0", 18},
                      {bin::k1, " 000000 000000 0001 0", 19}}));
  E2E_CHECK_EQ(GetFocus(), field);
  s.terminate();
}

E2E_CASE(pad_key_switches_to_the_alphanumeric_pad) {
  Session s(t);
  HWND pad = s.startWithPad(s.fields[0], kDecimalField);
  E2E_REQUIRE(pad);
  E2E_CHECK(clickKey(pad, kNumPad, num::kPad));
  E2E_CHECK(s.waitForPad(kAlphaPadClass, kShowTimeoutMs));
  E2E_CHECK(waitFor([&] { return onlyPadVisible(s, kAlphaPadClass); }, kShowTimeoutMs));
  s.settle();
  E2E_CHECK_EQ(GetFocus(), s.fields[0]);
  E2E_CHECK_EQ(GetForegroundWindow(), s.host.hwnd());
  E2E_CHECK_EQ(s.hides(), 0);
  s.terminate();
}

E2E_CASE(placement_modes) {
  Session s(t);
  E2E_REQUIRE(s.start());
  HWND field = s.fields[1];

  t.note("mode 1: below the field, one pixel apart, left-aligned");
  E2E_CHECK(s.request(messages().touchPosition, 0, 1).delivered);
  HWND pad = s.showPad(field, kDecimalField);
  E2E_REQUIRE(pad);
  RECT f = windowRect(field);
  RECT p = windowRect(pad);
  E2E_CHECK_EQ(p.left, f.left);
  E2E_CHECK_EQ(p.top, f.bottom + 1);

  t.note("mode 1, field near the bottom of the screen: above the field, one pixel apart");
  const LONG down = GetSystemMetrics(SM_CYSCREEN) - 40 - f.bottom;  // 40 px above the bottom
  moveHost(s, 0, down);
  E2E_CHECK(s.notify(field, kDecimalField).delivered);
  s.settle();
  f = windowRect(field);
  p = windowRect(pad);
  E2E_CHECK_EQ(p.left, f.left);
  E2E_CHECK_EQ(p.bottom, f.top - 1);
  moveHost(s, 0, -down);

  t.note("mode 2: centred on the screen");
  E2E_CHECK(s.request(messages().touchPosition, 0, 2).delivered);
  E2E_CHECK(s.notify(field, kDecimalField).delivered);
  s.settle();
  p = windowRect(pad);
  const int screenW = GetSystemMetrics(SM_CXSCREEN);
  const int screenH = GetSystemMetrics(SM_CYSCREEN);
  E2E_CHECK_MSG(std::abs((p.left + p.right) - screenW) <= 1,
                "left " + std::to_string(p.left) + ", right " + std::to_string(p.right));
  E2E_CHECK_MSG(std::abs((p.top + p.bottom) - screenH) <= 1,
                "top " + std::to_string(p.top) + ", bottom " + std::to_string(p.bottom));

  t.note("mode 0: a pad over the field goes to the first clear corner, top-left");
  // Move the host so that the field lies under the centred pad.
  f = windowRect(field);
  moveHost(s, p.left + 20 - f.left, p.top + 20 - f.top);
  f = windowRect(field);
  RECT overlap{};
  E2E_REQUIRE(IntersectRect(&overlap, &f, &p));
  E2E_CHECK(s.request(messages().touchPosition, 0, 0).delivered);
  E2E_REQUIRE(s.focus(field));
  E2E_CHECK(s.notify(field, kDecimalField).delivered);
  s.settle();
  p = windowRect(pad);
  E2E_CHECK_EQ(p.left, LONG{0});
  E2E_CHECK_EQ(p.top, LONG{0});
  E2E_CHECK(!IntersectRect(&overlap, &f, &p));

  t.note("mode 0: a pad clear of the field stays where it is");
  E2E_CHECK(s.notify(s.fields[0], kDecimalField).delivered);
  s.settle();
  const RECT again = windowRect(pad);
  E2E_CHECK_EQ(again.left, p.left);
  E2E_CHECK_EQ(again.top, p.top);
  s.terminate();
}

E2E_CASE(key_size_scales_the_pads) {
  Session s(t);
  HWND field = s.fields[0];
  HWND pad = s.startWithPad(field, kDecimalField);
  E2E_REQUIRE(pad);
  const SIZE design = clientSize(pad);
  E2E_CHECK_EQ(design.cx, twipsToPixels(3600));

  // Twice 1.5 is 1.5: every key-size request scales from the design size.
  for (int round = 0; round < 2; ++round) {
    t.note("key size 1.5, request " + std::to_string(round + 1));
    E2E_CHECK(s.request(messages().touchKeySize, 0, floatBits(1.5f)).delivered);
    s.settle();
    // The pads are reloaded: none is on screen until the next notify request.
    E2E_CHECK(s.visibleWindows().empty());
    E2E_REQUIRE((pad = s.showPad(field, kDecimalField)) != nullptr);
    const SIZE scaled = clientSize(pad);
    E2E_CHECK_MSG(std::abs(scaled.cx * 2 - design.cx * 3) <= 2,
                  std::to_string(scaled.cx) + " px wide, design " + std::to_string(design.cx));
    E2E_CHECK_MSG(std::abs(scaled.cy * 2 - design.cy * 3) <= 2,
                  std::to_string(scaled.cy) + " px high, design " + std::to_string(design.cy));
  }
  // The keys are hit where they are drawn at the new size.
  E2E_REQUIRE(typeKeys(t, pad, kNumPad, field, {{num::k5, "5", 1}, {num::k3, "53", 2}}));

  t.note("key size 1.0 again");
  E2E_CHECK(s.request(messages().touchKeySize, 0, floatBits(1.0f)).delivered);
  E2E_REQUIRE((pad = s.showPad(field, kDecimalField)) != nullptr);
  E2E_CHECK_EQ(clientSize(pad).cx, design.cx);
  E2E_CHECK_EQ(clientSize(pad).cy, design.cy);
  s.terminate();
}

// The limit block takes 600 of the 3600 design twips of the decimal pad's height when shown.
E2E_CASE(limits_change_the_pad_height) {
  struct Step {
    bool show;
    const char* min;
    const char* max;
    bool tall;
  };
  const Step steps[] = {
      {false, "0", "100", false}, {true, "0", "100", true}, {true, "", "100", true},
      {true, "0", "", true},      {true, "", "", false},    {false, "", "", false},
      {true, "-5", "5", true},
  };
  Session s(t);
  E2E_REQUIRE(s.start());
  for (const Step& step : steps) {
    t.note(std::string("limits ") + (step.show ? "on" : "off") + ", min \"" + step.min +
           "\", max \"" + step.max + "\"");
    E2E_CHECK(s.request(messages().touchShowLimits, 0, step.show ? 1 : 0).delivered);
    HWND pad = s.showPad(s.fields[0], kDecimalField, step.min, step.max);
    E2E_REQUIRE(pad);
    const SIZE client = clientSize(pad);
    // Height against width, so the check holds at any DPI: 3600 x 3600 or 3600 x 3000 twips.
    const int expected = step.tall ? client.cx : client.cx * 5 / 6;
    E2E_CHECK_MSG(std::abs(client.cy - expected) <= 1,
                  std::to_string(client.cx) + " x " + std::to_string(client.cy) + " px, expected " +
                      std::to_string(expected) + " px high");
  }
  s.terminate();
}

// The move keys push every pad flush into each corner of the screen.
E2E_CASE(move_keys_push_every_pad_into_each_corner) {
  struct Pad {
    const FieldKind& kind;
    PadDesign design;
    int firstMoveLeft, moveTop, rowStep;  // where keyMove(0) is; the next ones follow
  };
  const Pad pads[] = {{kDecimalField, kNumPad, 0, 0, 0},
                      {kHexField, kHexPad, 0, 0, 0},
                      {kBinaryField, kBinPad, 1800, 0, 0},
                      {kTextField, {9000, 4200}, 7200, 0, 600}};
  Session s(t);
  E2E_REQUIRE(s.start());
  const LONG width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  for (const Pad& p : pads) {
    HWND pad = s.showPad(s.fields[0], p.kind);
    E2E_REQUIRE(pad);
    for (int corner : {3, 0, 2, 1}) {
      // On the value pads the four keys stand in a row; on the alphanumeric pad in two rows.
      const int column = p.rowStep != 0 ? corner % 2 : corner;
      const PadKey key{"move", p.firstMoveLeft + 600 * column, p.moveTop + p.rowStep * (corner / 2),
                       600, 600};
      t.note(std::string(p.kind.name) + ", corner " + std::to_string(corner));
      E2E_CHECK(clickKey(pad, p.design, key));
      const bool right = corner % 2 == 1, lower = corner >= 2;
      E2E_CHECK(waitFor(
          [&] {
            const RECT r = windowRect(pad);
            return (right ? r.right == width : r.left == 0) &&
                   (lower ? r.bottom == height : r.top == 0);
          },
          kShowTimeoutMs));
      E2E_CHECK_EQ(GetFocus(), s.fields[0]);
    }
  }
  s.terminate();
}
