// What the user sees while the state changes: a pad on screen that the host changes, key-size
// reloads that must keep the language, the alphanumeric pad's modifiers, the symbol captions,
// keys held across a reload, and fingers on a touch screen.
#include "Fingers.h"
#include "host.h"

using namespace e2e;

namespace {

// How far the dark pixels of an area reach across at their first and at their last line: rows
// from the top down, or columns from the left. {-1, -1} when the area has none.
struct Ends {
  int first = -1, last = -1;
};
Ends darkEnds(const Grab& g, const RECT& a, bool rows) {
  const auto dark = [](std::uint32_t rgb) {
    return ((rgb >> 16) & 0xFF) + ((rgb >> 8) & 0xFF) + (rgb & 0xFF) < 3 * 80;
  };
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

// An arrow's tip is far narrower than its other end; a box is as wide at the top as below.
::testing::AssertionResult narrowsTo(const Ends& e, bool toLast) {
  const int tip = toLast ? e.last : e.first, base = toLast ? e.first : e.last;
  if (tip > 0 && tip * 2 < base) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << e.first << " then " << e.last;
}

// A multi-line text box of a Visual Basic host: the EDIT control under the class name it has
// there.
HWND addMultiLineTextBox(HWND parent) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  GetClassInfoExW(nullptr, L"EDIT", &wc);
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"ThunderRT6TextBox";
  RegisterClassExW(&wc);
  return CreateWindowExW(WS_EX_CLIENTEDGE, L"ThunderRT6TextBox", L"",
                         WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_WANTRETURN, 200, 20, 160, 60,
                         parent, nullptr, wc.hInstance, nullptr);
}

}  // namespace

// The host changes the limit display of the pad on screen and notifies again: the pad is painted
// exactly as the same pad made afresh in that state. Keys held by the mouse and by a finger while
// the host reloads the pads are let go with the old pad: the reloaded pad shows no key pressed,
// and a click on a drawn key types that key once. Then fingers (injected where the system can,
// else posted as Windows sends them; Wine makes no touch input): two overlapping contacts on 8 and
// 9 type "89", in the order they lift; a contact that slides off its key and lifts on another types
// nothing, a tap on 2 types after them; held keys show pressed until the system cancels their
// contacts (by flag, by lost capture), which type nothing; a click afterwards types once. The field
// keeps the focus, the host hears nothing; the pad answers the pointer's activation with "no
// activate" and the tablet service's query with press-and-hold, pen feedback and flicks off.
TEST(State, a_visible_pad_repaints_and_held_keys_and_fingers_type_once) {
  Session s;
  HWND field = s.fields[0];
  HWND pad = s.startWithPad(field, kDecimalField, "0", "100");
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
    EXPECT_TRUE(steadyGrab(pad) == changed) << "the changed pad is not painted as a fresh one";
  }

  const Grab unpressed = steadyGrab(pad);
  INPUT press{};
  press.type = INPUT_MOUSE;
  press.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  const RECT r = windowRect(pad);
  ASSERT_TRUE(SetCursorPos((r.left + r.right) / 2, r.bottom - 10));
  ASSERT_EQ(SendInput(1, &press, sizeof press), 1u);
  Fingers fingers(pad);
  RecordProperty("touch", Fingers::how());
  EXPECT_TRUE(fingers.touch(WM_POINTERDOWN, 9, num(4)));
  s.settle();
  EXPECT_TRUE(steadyGrab(pad) != unpressed);  // the keys show pressed
  EXPECT_TRUE(s.request(messages().language, 1033).delivered);
  press.mi.dwFlags = MOUSEEVENTF_LEFTUP;
  ASSERT_EQ(SendInput(1, &press, sizeof press), 1u);
  EXPECT_TRUE(fingers.touch(WM_POINTERUP, 9, num(4)));
  s.settle();
  ASSERT_TRUE(pad = s.showPad(field, kDecimalField, "-12345", "67890"));
  fingers.setPad(pad);
  EXPECT_TRUE(steadyGrab(pad) == unpressed);
  EXPECT_TRUE(typeKeys(pad, field, {{num(7), "7", 1}}));

  const std::tuple<UINT, WORD, int> contacts[] = {
      {WM_POINTERDOWN, 1, 8},   {WM_POINTERDOWN, 2, 9}, {WM_POINTERUPDATE, 2, 9},
      {WM_POINTERUP, 1, 8},     {WM_POINTERUP, 2, 9},   {WM_POINTERDOWN, 1, 6},
      {WM_POINTERUPDATE, 1, 3}, {WM_POINTERUP, 1, 3},   {WM_POINTERDOWN, 3, 5},
      {WM_POINTERDOWN, 4, 4},   {WM_POINTERDOWN, 5, 2}, {WM_POINTERUP, 5, 2}};
  for (const auto& [message, id, key] : contacts) {
    EXPECT_TRUE(fingers.touch(message, id, num(key)));
  }
  EXPECT_TRUE(waitFor([&] { return windowText(field) == "7892"; }, kTypeTimeoutMs));
  EXPECT_TRUE(steadyGrab(pad) != unpressed);
  EXPECT_TRUE(fingers.cancel(3, num(5)));
  EXPECT_TRUE(fingers.loseCapture(4, num(4)));
  EXPECT_TRUE(typeKeys(pad, field, {{num(1), "78921", 5}}));  // posted messages go before input
  s.settle();
  EXPECT_EQ(windowText(field), std::string("78921"));
  EXPECT_TRUE(steadyGrab(pad) == unpressed);
  EXPECT_EQ(GetFocus(), field);
  EXPECT_EQ(GetForegroundWindow(), s.host.hwnd());
  EXPECT_EQ(s.hides(), 0);
  EXPECT_EQ(
      SendMessageW(pad, WM_POINTERACTIVATE, MAKEWPARAM(1, HTCLIENT), reinterpret_cast<LPARAM>(pad)),
      LRESULT{PA_NOACTIVATE});
  const LRESULT tabletFlags = 0x00010019;  // press and hold, pen tap, pen barrel, flicks: off
  EXPECT_EQ(SendMessageW(pad, 0x02CC, 0, 0), tabletFlags);  // WM_TABLET_QUERYSYSTEMGESTURESTATUS
  EXPECT_EQ(reinterpret_cast<LRESULT>(GetPropA(pad, "MicrosoftTabletPenServiceProperty")),
            tabletFlags);
  s.terminate();
}

// Every key-size request scales the pads from their design size (twice 1.5 is 1.5) and reloads
// them: none is on screen until the next notify request, and the keys are hit where they are
// drawn. The reload keeps the language the host chose, here from a settings file written while
// the keyboard runs and read at the next language request: the decimal key configured as ","
// types ",". A key of a Central European language types what it shows (its code page decodes it).
TEST(State, key_size_scales_the_pads_and_keeps_the_language) {
  Session s;
  HWND field = s.fields[0];
  ASSERT_TRUE(s.startWithSettings(""));
  HWND pad = s.showPad(field, kDecimalField);
  ASSERT_TRUE(pad);
  const SIZE design = clientSize(pad);
  EXPECT_EQ(design.cx, twipsToPixels(3600));
  EXPECT_TRUE(s.request(messages().language, 1031).delivered);
  ASSERT_TRUE(
      s.writeSettings("[CharSet]\r\n1045=238\r\n"
                      "[1031 NumPad Text]\r\nStd10=,\r\n"
                      "[1031 NumPad KeyCode]\r\nStd10=,\r\n"
                      "[1045 numpad text]\r\nstd10=\xB3\r\n"  // "ł" in code page 1250
                      "[1045 NumPad KeyCode]\r\nSTD10=\xB3\r\n"));
  EXPECT_TRUE(s.request(messages().language, 1031).delivered);
  // A key-size request: no pad on screen until the decimal pad is shown again, at that size
  // (exactly the design size at 1.0).
  const auto resize = [&](float size) {
    SCOPED_TRACE("key size " + std::to_string(size));
    EXPECT_TRUE(s.request(messages().touchKeySize, 0, floatBits(size)).delivered);
    s.settle();
    EXPECT_TRUE(s.visibleWindows().empty());
    pad = s.showPad(field, kDecimalField);
    EXPECT_NEAR(clientSize(pad).cx, design.cx * size, size == 1.0f ? 0.0 : 1.0);
    EXPECT_NEAR(clientSize(pad).cy, design.cy * size, size == 1.0f ? 0.0 : 1.0);
  };
  resize(1.5f);
  resize(1.5f);
  EXPECT_TRUE(typeKeys(pad, field, {{num(5), "5", 1}, {num(kPoint), "5,", 2}}));
  EXPECT_TRUE(s.request(messages().language, 1045).delivered);
  ASSERT_TRUE(pad = s.showPad(field, kDecimalField));
  EXPECT_TRUE(clickKey(pad, num(kPoint)));
  waitFor([&] { return windowTextW(field) == L"5,\u0142"; }, kTypeTimeoutMs);
  EXPECT_EQ(windowTextW(field), std::wstring(L"5,\u0142"));

  resize(1.0f);
  s.terminate();
}

// The Tab, Shift and Shift-lock captions come from symbol fonts; where the system lacks the font
// or its glyphs they are drawn as pictograms, never as empty boxes: Shift points up, Shift lock
// down, and Tab's upper arrow points left to its bar, the lower one right. Then letters with
// Shift and Shift lock, Backspace, Ctrl+A selecting the field's text; and no modifier is left
// down in the host afterwards.
TEST(State, alphanumeric_pad_draws_its_symbols_and_types_with_modifiers) {
  Session s;
  HWND field = s.fields[3];
  HWND pad = s.startWithPad(field, kTextField);
  ASSERT_TRUE(pad);
  const PadKey lock = alpha(0, A::Shift), shift = alpha(1, A::Shift), ctrl = alpha(2, A::Shift);
  const PadKey keyA = alpha(27), keyS = alpha(28), keyD = alpha(29), keyX = alpha(41);
  const Grab g = steadyGrab(pad);
  ASSERT_TRUE(g.width > 0);
  EXPECT_TRUE(narrowsTo(darkEnds(g, keyArea(g, shift), true), false)) << "Shift";
  EXPECT_TRUE(narrowsTo(darkEnds(g, keyArea(g, lock), true), true)) << "Shift lock";
  // Tab: "|" and an arrow to its left above, an arrow to its right and "|" below. Column by
  // column, each line starts or ends with the tall bar and with the thin shaft at the other end.
  const RECT tab = keyArea(g, alpha(14));
  const LONG middle = (tab.top + tab.bottom) / 2;
  EXPECT_TRUE(narrowsTo(darkEnds(g, {tab.left, tab.top, tab.right, middle}, false), true))
      << "Tab, upper";
  EXPECT_TRUE(narrowsTo(darkEnds(g, {tab.left, middle, tab.right, tab.bottom}, false), false))
      << "Tab, lower";

  const std::vector<TypeStep> steps = {
      {keyA, "a", 1},      {shift, "a", 1},        {keyS, "aS", 2},    {keyD, "aSd", 3},
      {lock, "aSd", 3},    {keyA, "aSdA", 4},      {keyS, "aSdAS", 5}, {shift, "aSdAS", 5},
      {keyD, "aSdASd", 6}, {alpha(13), "aSdAS", 5}};  // Backspace
  ASSERT_TRUE(typeKeys(pad, field, steps));
  EXPECT_TRUE(clickKey(pad, ctrl));
  EXPECT_TRUE(clickKey(pad, keyA));  // Ctrl+A selects everything
  EXPECT_TRUE(
      waitFor([&] { return selection(field) == std::pair<DWORD, DWORD>(0, 5); }, kTypeTimeoutMs));
  EXPECT_TRUE(typeKeys(pad, field, {{keyX, "x", 1}}));
  s.settle();
  EXPECT_EQ(modifierDown(), 0);
  s.terminate();
}

// A settings file beside the exe shapes the alphanumeric pad: the host language 2055 is served by
// the sections of 1031 through "Replace" (names in any letter case), but its limit captions are
// its own; an extra key with a caption shows and types its keystroke string, cut at 254
// characters as the profile functions read it; one without a caption stays hidden and types
// nothing. Digits type, and Enter stays on a multi-line text box and closes a single-line field.
TEST(State, a_settings_file_shapes_the_alphanumeric_pad_and_enter_follows_the_field) {
  Session s;
  ASSERT_TRUE(
      s.startWithSettings("[replace]\r\n2055=1031\r\n"
                          "[1031 alphapad text]\r\nEXTRA0=kg\r\n"
                          "[1031 AlphaPad KeyCode]\r\nextra0=" +
                          std::string(300, '7') +
                          "\r\nExtra1=x\r\n[2055 Text]\r\nMax=\r\n[1031 Text]\r\nMax=wrong\r\n"));
  EXPECT_TRUE(s.request(messages().language, 2055).delivered);
  EXPECT_TRUE(s.request(messages().touchShowLimits, 0, 1).delivered);
  const HWND field = s.fields[3];
  HWND pad = s.showPad(field, kTextField, "1", "9");
  ASSERT_TRUE(pad);
  const Grab g = steadyGrab(pad);
  EXPECT_EQ(darkEnds(g, keyArea(g, alpha(0, A::LabelLimits)), true).first, -1)
      << "the empty maximum caption";
  EXPECT_GT(darkEnds(g, keyArea(g, alpha(1, A::LabelLimits)), true).first, 0)
      << "the built-in minimum caption";
  ASSERT_TRUE(typeKeys(pad, field, {{alpha(0, A::Extra), std::string(254, '7').c_str(), 254}}));
  EXPECT_TRUE(clickKey(pad, alpha(1, A::Extra)));
  s.settle();
  EXPECT_EQ(windowText(field), std::string(254, '7'));

  const HWND box = addMultiLineTextBox(s.host.hwnd());
  ASSERT_TRUE(s.host.activate(box));
  ASSERT_TRUE(pad = s.showPad(box, kTextField));
  ASSERT_TRUE(typeKeys(pad, box, {{alpha(1), "1", 1}, {alpha(1, A::End), "1\r\n", 3}}));
  s.settle();
  EXPECT_TRUE(IsWindowVisible(pad));
  EXPECT_EQ(s.hides(), 0);
  ASSERT_TRUE(s.host.activate(field));
  ASSERT_TRUE(pad = s.showPad(field, kTextField));
  EXPECT_TRUE(clickKey(pad, alpha(1, A::End)));
  EXPECT_TRUE(waitFor([&] { return s.hides() == 1 && !IsWindowVisible(pad); }, kShowTimeoutMs));
  s.terminate();
}
