// The pads as a host and a user meet them: which pad a field gets, hiding, typing with real
// mouse clicks on the keys, the move keys, the end keys and their notice, and placement.
#include "host.h"

using namespace e2e;

namespace {

// The only visible window of the keyboard is a pad of this class.
bool onlyPadVisible(const Session& s, const char* className) {
  const auto visible = s.visibleWindows();
  return visible.size() == 1 && windowClass(visible.front()) == className;
}

// Clicks the four move keys of the pad in turn (upper left, upper right, lower left, lower right);
// each pushes the pad flush into its corner of the screen and leaves the focus in the field.
void moveIntoEachCorner(HWND pad, const pmx::PadDef& layout, HWND field) {
  const LONG width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  for (int corner : {3, 0, 2, 1}) {
    SCOPED_TRACE("corner " + std::to_string(corner));
    EXPECT_TRUE(clickKey(pad, padKey(layout, A::Move, corner)));
    const bool right = corner % 2 == 1, lower = corner >= 2;
    EXPECT_TRUE(waitFor(
        [&] {
          const RECT r = windowRect(pad);
          return (right ? r.right == width : r.left == 0) &&
                 (lower ? r.bottom == height : r.top == 0);
        },
        kShowTimeoutMs));
    EXPECT_EQ(GetFocus(), field);
  }
}

}  // namespace

// A notify request shows the pad of the field's kind alone and puts the focus into the field it
// names, whether the focus was elsewhere or there already; the host window stays the active
// window, pads never take the activation. A hide request hides every pad without a notice.
TEST(Pads, pad_for_each_field_kind_and_the_hide_request) {
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
  // Before any notify request: all four pads come into being, hidden.
  EXPECT_TRUE(s.request(messages().hideKeyboard).delivered);
  for (const char* cls : {kNumPadClass, kHexPadClass, kBinPadClass, kAlphaPadClass}) {
    EXPECT_TRUE(findWindow(s.keyboard.pid(), cls) != nullptr) << "no window " << cls;
  }
  EXPECT_TRUE(s.visibleWindows().empty());
  const char* expected = nullptr;
  for (const Row& row : rows) {
    if (row.padClass) expected = row.padClass;
    for (HWND focused : {s.fields[3], s.fields[0]}) {
      SCOPED_TRACE("field type " + std::to_string(row.fieldType) + ", value format " +
                   std::to_string(row.valueFormat) +
                   (focused == s.fields[0] ? ", focus in the field" : ", focus elsewhere"));
      ASSERT_TRUE(s.focus(focused));
      EXPECT_TRUE(sendNotify(s.keyboardWindow, s.fields[0],
                             makeNotifyRecord(row.fieldType, row.valueFormat, "0", "100"))
                      .delivered);
      EXPECT_TRUE(waitFor([&] { return GetFocus() == s.fields[0]; }, 2000))
          << "the focus did not move to the notified field";
      s.settle();
      EXPECT_TRUE(s.waitForPad(expected, kShowTimeoutMs)) << "no " << expected;
      EXPECT_TRUE(onlyPadVisible(s, expected)) << "more than " << expected << " visible";
      EXPECT_EQ(GetForegroundWindow(), s.host.hwnd());
    }
  }
  EXPECT_TRUE(s.request(messages().hideKeyboard).delivered);
  EXPECT_TRUE(waitFor([&] { return s.visibleWindows().empty(); }, kShowTimeoutMs));
  EXPECT_EQ(GetFocus(), s.fields[0]);
  s.settle();
  EXPECT_EQ(s.hides(), 0);
  s.terminate();
}

// Real clicks on each value pad type into its field. The same key twice in a row counts twice
// (no double click swallowed); the caret keys move the caret in the field; the hex pad's
// upper-case captions type lower-case letters. A bit key puts a blank before the character of
// its bit (counted from the end for bits 0 to 7, from the start for 8 to 15) and steps back onto
// it; the host's field decides what a blank means, a plain EDIT inserts it. The move keys of every
// pad push it into each corner of the screen.
TEST(Pads, value_pads_type_move_and_end) {
  Session s;
  ASSERT_TRUE(s.start());
  const std::vector<TypeStep> decimal = {
      {num(1), "1", 1},          {num(0), "10", 2},         {num(0), "100", 3},
      {num(kPoint), "100.", 4},  {num(5), "100.5", 5},      {num(kBackspace), "100.", 4},
      {num(kHome), "100.", 0},   {num(kMinus), "-100.", 1}, {num(kLeft), "-100.", 0},
      {num(kDelete), "100.", 0}, {num(kRight), "100.", 1},  {num(7), "1700.", 2},
      {num(kEnd), "1700.", 5},   {num(kLeft), "1700.", 4},  {num(9), "17009.", 5}};
  // A to F are the hex pad's keys 10 to 13, 20 and 21.
  const std::vector<TypeStep> hexadecimal = {
      {hex(10), "a", 1}, {hex(21), "af", 2}, {hex(9), "af9", 3}, {hex(0), "af90", 4}};
  const std::vector<TypeStep> binary = {{bin(3, A::Bit), "000000000000 0000", 12},
                                        {bin(15, A::Bit), " 000000000000 0000", 0},
                                        {bin(8, A::Bit), " 000000 000000 0000", 7},
                                        {bin(0, A::Bit), " 000000 000000 000 0", 18},
                                        {bin(1), " 000000 000000 0001 0", 19}};
  struct Row {
    HWND field;
    const FieldKind& kind;
    const std::vector<TypeStep>& steps;
  };
  const Row rows[] = {{s.fields[0], kDecimalField, decimal},
                      {s.fields[1], kHexField, hexadecimal},
                      {s.fields[2], kBinaryField, binary}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.kind.name);
    const HWND pad = s.showPad(row.field, row.kind, "0", "65535");
    ASSERT_TRUE(pad);
    EXPECT_TRUE(typeKeys(pad, row.field, row.steps));
    // Typing leaves the host active and the pad up, and (as every move checks) the focus in the
    // field.
    EXPECT_EQ(GetForegroundWindow(), s.host.hwnd());
    EXPECT_TRUE(IsWindowVisible(pad));
    moveIntoEachCorner(pad, row.kind.layout, row.field);
  }
  EXPECT_EQ(s.hides(), 0);

  // An end key: the pad goes, the host hears of it once, with 0 and 0, the focus stays in the
  // field and its text as it is.
  const std::pair<const Row&, PadKey> ends[] = {
      {rows[0], num(1, A::End)}, {rows[1], hex(0, A::Close)}, {rows[1], hex(0, A::End)}};
  std::size_t hides = 0;
  for (const auto& [end, key] : ends) {
    SCOPED_TRACE(key.name);
    const std::string text = windowText(end.field);
    const HWND pad = s.showPad(end.field, end.kind);
    ASSERT_TRUE(pad);
    EXPECT_TRUE(clickKey(pad, key));
    EXPECT_TRUE(waitFor([&] { return !IsWindowVisible(pad); }, kShowTimeoutMs));
    s.settle();
    const auto notices = s.host.received(messages().touchKeyboardHides);
    ASSERT_EQ(notices.size(), ++hides);
    EXPECT_EQ(notices.back().wParam, WPARAM{0});
    EXPECT_EQ(notices.back().lParam, LPARAM{0});
    EXPECT_EQ(GetFocus(), end.field);
    EXPECT_EQ(windowText(end.field), text);
  }

  // The pad key switches to the alphanumeric pad, without a notice or a change of focus.
  EXPECT_TRUE(clickKey(s.showPad(s.fields[0], kDecimalField), num(0, A::PadSwitch)));
  EXPECT_TRUE(waitFor([&] { return onlyPadVisible(s, kAlphaPadClass); }, kShowTimeoutMs));
  s.settle();
  EXPECT_EQ(GetFocus(), s.fields[0]);
  EXPECT_EQ(GetForegroundWindow(), s.host.hwnd());
  EXPECT_EQ(static_cast<std::size_t>(s.hides()), hides);
  moveIntoEachCorner(findVisibleWindow(s.keyboard.pid(), kAlphaPadClass), pmx::alphaPadLayout(),
                     s.fields[0]);
  s.terminate();
}

TEST(Pads, placement_modes) {
  Session s;
  ASSERT_TRUE(s.start());
  const HWND field = s.fields[1];
  // Where the pad of the notified field is in the placement mode.
  const auto placed = [&s](int mode, HWND notified) {
    EXPECT_TRUE(s.request(messages().touchPosition, 0, mode).delivered);
    const HWND pad = s.showPad(notified, kDecimalField);
    s.settle();
    return windowRect(pad);
  };
  // Moves the host window, and with it its fields, by dx, dy pixels; where the field is then.
  const auto moveHost = [&s, field](LONG dx, LONG dy) {
    const RECT r = windowRect(s.host.hwnd());
    SetWindowPos(s.host.hwnd(), nullptr, r.left + dx, r.top + dy, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    pumpMessages();
    return windowRect(field);
  };

  // Mode 1, next to the field: display_cases.cpp.
  SCOPED_TRACE("mode 2: centred on the screen");
  RECT f = windowRect(field);
  RECT p = placed(2, field);
  EXPECT_NEAR(p.left + p.right, GetSystemMetrics(SM_CXSCREEN), 1);
  EXPECT_NEAR(p.top + p.bottom, GetSystemMetrics(SM_CYSCREEN), 1);

  SCOPED_TRACE("mode 0: a pad over the field goes to the first clear corner, top-left");
  // The field under the centred pad's lower right, away from the top-left corner at any DPI.
  f = moveHost(p.right - 20 - f.right, p.bottom - 20 - f.bottom);
  RECT overlap{};
  ASSERT_TRUE(IntersectRect(&overlap, &f, &p));
  p = placed(0, field);
  EXPECT_EQ(p.left, LONG{0});
  EXPECT_EQ(p.top, LONG{0});
  EXPECT_TRUE(!IntersectRect(&overlap, &f, &p));

  SCOPED_TRACE("mode 0: a pad clear of the field stays where it is");
  const RECT again = placed(0, s.fields[0]);
  EXPECT_EQ(again.left, p.left);
  EXPECT_EQ(again.top, p.top);
  s.terminate();
}
