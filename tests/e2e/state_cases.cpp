// What the user sees while the state changes: a pad on screen that the host changes, reloads that
// must keep the language, the alphanumeric pad's modifiers, the symbol captions, and the ways the
// keyboard is ended from outside.
#include <cstdio>

#include "host.h"
#include "value_pad_keys.h"
// clang-format off
#include <shellapi.h>  // after <windows.h>, which host.h brings
// clang-format on

using namespace e2e;
using namespace pad_keys;

namespace {

// The alphanumeric pad at design size: its keys lie directly on the window.
constexpr PadDesign kAlphaPad{9000, 4200};
namespace alpha {
constexpr PadKey kTab{"Tab", 0, 1800, 900, 600};
constexpr PadKey kShiftLock{"Shift lock", 0, 2400, 1050, 600};
constexpr PadKey kShift{"Shift", 0, 3000, 750, 600};
constexpr PadKey kCtrl{"Strg", 0, 3600, 750, 600};
constexpr PadKey kA{"A", 1050, 2400, 600, 600};
constexpr PadKey kS{"S", 1650, 2400, 600, 600};
constexpr PadKey kD{"D", 2250, 2400, 600, 600};
constexpr PadKey kX{"X", 1950, 3000, 600, 600};
constexpr PadKey kBackspace{"Backspace", 7800, 1200, 1200, 600};
}  // namespace alpha

// A key's area in a grab of the pad, inside its bevel.
struct Area {
  int left, top, right, bottom;
};
Area keyArea(const Grab& g, const PadDesign& design, const PadKey& key) {
  const double scale = static_cast<double>(g.width) / design.clientWidth;
  const auto px = [scale](int twips) { return static_cast<int>(twips * scale); };
  return {px(key.left) + 3, px(key.top) + 3, px(key.left + key.width) - 3,
          px(key.top + key.height) - 3};
}

bool dark(std::uint32_t rgb) {
  return ((rgb >> 16) & 0xFF) + ((rgb >> 8) & 0xFF) + (rgb & 0xFF) < 3 * 80;
}

// How far the dark pixels of an area reach across at their first and at their last line: rows
// from the top down, or columns from the left. {-1, -1} when the area has none.
struct Ends {
  int first = -1, last = -1;
};
Ends darkEnds(const Grab& g, const Area& a, bool rows) {
  Ends ends;
  const int lines = rows ? a.bottom - a.top : a.right - a.left;
  const int across = rows ? a.right - a.left : a.bottom - a.top;
  for (int i = 0; i < lines; ++i) {
    int lo = -1, hi = -1;
    for (int j = 0; j < across; ++j) {
      const int x = rows ? a.left + j : a.left + i, y = rows ? a.top + i : a.top + j;
      if (!dark(g.at(x, y))) continue;
      if (lo < 0) lo = j;
      hi = j;
    }
    if (lo < 0) continue;
    if (ends.first < 0) ends.first = hi - lo + 1;
    ends.last = hi - lo + 1;
  }
  return ends;
}

std::string describe(const Ends& e) {
  return std::to_string(e.first) + " then " + std::to_string(e.last);
}

bool keyDown(int vk) { return (GetKeyState(vk) & 0x8000) != 0 || (GetAsyncKeyState(vk) & 0x8000); }

}  // namespace

// The host changes the limit display of the pad on screen and notifies again: the pad is painted
// exactly as the same pad made afresh in that state, and a touch on a drawn key types that key.
TEST(State, a_visible_pad_shows_its_new_limits) {
  Session s;
  HWND field = s.fields[0];
  ASSERT_TRUE(s.start());
  HWND pad = s.showPad(field, kDecimalField, "0", "100");
  ASSERT_TRUE(pad);
  steadyGrab(pad);
  struct State {
    LPARAM showLimits;
    const char *min, *max;
    bool tall;  // the limit block takes 600 of the 3600 design twips of the pad's height
  };
  for (const State& state :
       {State{1, "0", "100", true}, State{0, "0", "100", false}, State{1, "-5", "", true},
        State{1, "", "100", true}, State{1, "", "", false}, State{1, "-12345", "67890", true}}) {
    SCOPED_TRACE(std::string(state.showLimits ? "on" : "off") + ", \"" + state.min + "\", \"" +
                 state.max + "\"");
    EXPECT_TRUE(s.request(messages().touchShowLimits, 0, state.showLimits).delivered);
    EXPECT_TRUE(s.notify(field, kDecimalField, state.min, state.max).delivered);
    const Grab changed = steadyGrab(pad);
    // Height against width, so that the check holds at any DPI.
    EXPECT_NEAR(changed.height, state.tall ? changed.width : changed.width * 5 / 6, 1);
    // The same state on a pad made afresh: a key-size request reloads every pad.
    EXPECT_TRUE(s.request(messages().touchKeySize, 0, floatBits(1.0f)).delivered);
    ASSERT_TRUE(pad = s.showPad(field, kDecimalField, state.min, state.max));
    const Grab fresh = steadyGrab(pad);
    EXPECT_EQ(changed.height, fresh.height);
    int differing = 0;
    for (std::size_t i = 0; i < changed.pixels.size() && i < fresh.pixels.size(); ++i)
      differing += changed.pixels[i] != fresh.pixels[i];
    EXPECT_EQ(differing, 0);
  }
  SetWindowTextA(field, "");
  EXPECT_TRUE(typeKeys(pad, kNumPad, field, {{num::k7, "7", 1}}));
  s.terminate();
}

// A key-size request after a language request keeps the language: the decimal key configured as
// "," still shows and types ",". A key of a Central European language types what it shows.
TEST(State, key_size_keeps_the_language_and_keys_type_what_they_show) {
  Session s;
  HWND field = s.fields[0];
  ASSERT_TRUE(
      s.startWithSettings("[CharSet]\r\n1045=238\r\n"
                          "[1031 NumPad Text]\r\nStd10=,\r\n"
                          "[1031 NumPad KeyCode]\r\nStd10=,\r\n"
                          "[1045 numpad text]\r\nstd10=\xB3\r\n"  // "ł" in code page 1250
                          "[1045 NumPad KeyCode]\r\nSTD10=\xB3\r\n"));
  EXPECT_TRUE(s.request(messages().language, 1031).delivered);
  EXPECT_TRUE(s.request(messages().touchKeySize, 0, floatBits(1.5f)).delivered);
  HWND pad = s.showPad(field, kDecimalField);
  ASSERT_TRUE(pad);
  EXPECT_TRUE(typeKeys(pad, kNumPad, field, {{num::kPoint, ",", 1}}));
  EXPECT_TRUE(s.request(messages().language, 1045).delivered);
  ASSERT_TRUE(pad = s.showPad(field, kDecimalField));
  EXPECT_TRUE(clickKey(pad, kNumPad, num::kPoint));
  const bool typed = waitFor([&] { return windowTextW(field) == L",\u0142"; }, kTypeTimeoutMs);
  std::string got;
  for (wchar_t c : windowTextW(field)) {
    char code[16];
    std::snprintf(code, sizeof code, " U+%04X", static_cast<unsigned>(c));
    got += code;
  }
  EXPECT_TRUE(typed) << "the field holds" + got;
  s.terminate();
}

// Letters with Shift and Shift lock, Ctrl+A selecting the field's text, Backspace; and no
// modifier is left down in the host afterwards.
TEST(State, alphanumeric_pad_types_with_shift_shift_lock_and_ctrl) {
  Session s;
  HWND field = s.fields[3];
  HWND pad = s.startWithPad(field, kTextField);
  ASSERT_TRUE(pad);
  using namespace alpha;
  ASSERT_TRUE(typeKeys(pad, kAlphaPad, field,
                       {{kA, "a", 1},
                        {kShift, "a", 1},
                        {kS, "aS", 2},
                        {kD, "aSd", 3},
                        {kShiftLock, "aSd", 3},
                        {kA, "aSdA", 4},
                        {kS, "aSdAS", 5},
                        {kShift, "aSdAS", 5},
                        {kD, "aSdASd", 6},
                        {kBackspace, "aSdAS", 5}}));
  EXPECT_TRUE(clickKey(pad, kAlphaPad, kCtrl));
  EXPECT_TRUE(clickKey(pad, kAlphaPad, kA));  // Ctrl+A selects everything
  EXPECT_TRUE(waitFor(
      [&] {
        DWORD start = 0, end = 0;
        SendMessageA(field, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
        return start == 0 && end == 5;
      },
      kTypeTimeoutMs));
  EXPECT_TRUE(typeKeys(pad, kAlphaPad, field, {{kX, "x", 1}}));
  s.settle();
  for (int vk : {VK_SHIFT, VK_CONTROL, VK_MENU, VK_LSHIFT, VK_LCONTROL, VK_LMENU}) {
    EXPECT_TRUE(!keyDown(vk)) << "key " + std::to_string(vk) + " is still down";
  }
  s.terminate();
}

// The Tab, Shift and Shift-lock captions come from symbol fonts; where the system lacks the font
// or its glyphs they are drawn as pictograms, never as empty boxes: Shift points up, Shift lock
// down, and Tab's upper arrow points left to its bar, the lower one right.
TEST(State, symbol_captions_are_drawn) {
  Session s;
  HWND pad = s.startWithPad(s.fields[3], kTextField);
  ASSERT_TRUE(pad);
  const Grab g = steadyGrab(pad);
  ASSERT_TRUE(g.width > 0);
  using namespace alpha;
  // An arrow's tip is far narrower than its other end; a box is as wide at the top as below.
  const Ends shift = darkEnds(g, keyArea(g, kAlphaPad, kShift), true);
  const Ends lock = darkEnds(g, keyArea(g, kAlphaPad, kShiftLock), true);
  EXPECT_TRUE(shift.first > 0 && shift.first * 2 < shift.last) << "Shift: " + describe(shift);
  EXPECT_TRUE(lock.last > 0 && lock.last * 2 < lock.first) << "Shift lock: " + describe(lock);
  // Tab: "|" and an arrow to its left above, an arrow to its right and "|" below. Column by
  // column, each line starts or ends with the tall bar and with the thin shaft at the other end.
  const Area tab = keyArea(g, kAlphaPad, kTab);
  const int middle = (tab.top + tab.bottom) / 2;
  const Ends upper = darkEnds(g, {tab.left, tab.top, tab.right, middle}, false);
  const Ends lower = darkEnds(g, {tab.left, middle, tab.right, tab.bottom}, false);
  EXPECT_TRUE(upper.last > 0 && upper.last * 2 < upper.first) << "Tab, upper: " + describe(upper);
  EXPECT_TRUE(lower.first > 0 && lower.first * 2 < lower.last) << "Tab, lower: " + describe(lower);
  s.terminate();
}

// A polite close (as task managers send it) and the end of the session end the keyboard as the
// terminate request does: exit code 0, no pad left, no notice to the host.
TEST(State, close_and_session_end_end_the_keyboard) {
  for (int way = 0; way < 2; ++way) {
    SCOPED_TRACE(way == 0 ? "WM_CLOSE" : "WM_ENDSESSION");
    Session s;
    ASSERT_TRUE(s.startWithPad(s.fields[0], kDecimalField));
    if (way == 0) {
      EXPECT_TRUE(PostMessageA(s.keyboardWindow, WM_CLOSE, 0, 0));
    } else {
      EXPECT_TRUE(s.request(WM_QUERYENDSESSION, 0, 0).result != 0);  // it may end
      EXPECT_TRUE(s.answers());
      s.request(WM_ENDSESSION, TRUE, 0);
    }
    EXPECT_TRUE(waitForProcessExit(s.keyboard.handle(), 5000));
    EXPECT_EQ(s.keyboard.exitCode(), DWORD{0});
    EXPECT_TRUE(s.visibleWindows().empty());
    EXPECT_EQ(s.hides(), 0);
  }
}

// The program carries its icon. (That the message window shows it cannot be seen from here under
// Wine, which answers WM_GETICON and the class icon only inside the window's own process.)
TEST(State, program_carries_the_icon) {
  EXPECT_TRUE(ExtractIconExA(keyboardExe().c_str(), -1, nullptr, nullptr, 0) >= 1);
  HICON large = nullptr;
  EXPECT_TRUE(ExtractIconExA(keyboardExe().c_str(), 0, &large, nullptr, 1) == 1 &&
              large != nullptr);
  if (large != nullptr) DestroyIcon(large);
}

// A settings file that appears while the keyboard runs is read at the next language request.
TEST(State, a_settings_file_written_later_is_read) {
  Session s;
  HWND field = s.fields[0];
  ASSERT_TRUE(s.startWithSettings(""));
  EXPECT_TRUE(s.request(messages().language, 1031).delivered);
  ASSERT_TRUE(s.writeSettings("[1031 NumPad KeyCode]\r\nStd10=,\r\n"));
  EXPECT_TRUE(s.request(messages().language, 1031).delivered);
  HWND pad = s.showPad(field, kDecimalField);
  ASSERT_TRUE(pad);
  EXPECT_TRUE(typeKeys(pad, kNumPad, field, {{num::kPoint, ",", 1}}));
  s.terminate();
}

// A key held while the host reloads the pads is let go with the old pad: the reloaded pad shows
// no key pressed, and one click on it types once.
TEST(State, a_key_held_across_a_reload_is_let_go) {
  Session s;
  HWND field = s.fields[0];
  HWND pad = s.startWithPad(field, kDecimalField);
  ASSERT_TRUE(pad);
  const Grab unpressed = steadyGrab(pad);
  INPUT press{};
  press.type = INPUT_MOUSE;
  press.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  RECT r = windowRect(pad);
  ASSERT_TRUE(SetCursorPos((r.left + r.right) / 2, r.bottom - 10));
  ASSERT_EQ(SendInput(1, &press, sizeof press), 1u);
  s.settle();
  EXPECT_TRUE(steadyGrab(pad) != unpressed);  // the key shows pressed
  EXPECT_TRUE(s.request(messages().language, 1033).delivered);
  press.mi.dwFlags = MOUSEEVENTF_LEFTUP;
  ASSERT_EQ(SendInput(1, &press, sizeof press), 1u);
  s.settle();
  EXPECT_EQ(windowText(field), std::string(""));
  ASSERT_TRUE(pad = s.showPad(field, kDecimalField));
  EXPECT_TRUE(steadyGrab(pad) == unpressed);
  EXPECT_TRUE(typeKeys(pad, kNumPad, field, {{num::k7, "7", 1}}));
  s.terminate();
}
