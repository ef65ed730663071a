// The display changes under a pad on screen: another resolution, portrait, another DPI. The pad
// is placed again by its rule, wholly on the screen as it is now, and types where it is.
#include "host.h"

using namespace e2e;

namespace {

bool changeMode(DWORD width, DWORD height) {
  DEVMODEW mode{};
  mode.dmSize = sizeof mode;
  mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
  mode.dmPelsWidth = width;
  mode.dmPelsHeight = height;
  return ChangeDisplaySettingsExW(nullptr, &mode, nullptr, 0, nullptr) == DISP_CHANGE_SUCCESSFUL;
}

void setDesktopSize(const std::wstring& size) {
  RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Wine\\Explorer\\Desktops", L"Default", REG_SZ,
                  size.c_str(), static_cast<DWORD>((size.size() + 1) * sizeof(wchar_t)));
}

// Wine's virtual desktop offers a portrait mode when its size in the registry is one; the list of
// modes is read at the change before. The desktop's mode, and its size in the registry, are put
// back however the test ends: the other cases share the desktop.
struct DesktopModes {
  DesktopModes() {
    original.dmSize = sizeof original;
    EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &original);
    setDesktopSize(L"768x1024");
  }
  ~DesktopModes() {
    changeMode(original.dmPelsWidth, original.dmPelsHeight);
    setDesktopSize(std::to_wstring(original.dmPelsWidth) + L"x" +
                   std::to_wstring(original.dmPelsHeight));
  }
  DEVMODEW original{};
};

}  // namespace

// A decimal pad next to a field at the bottom right of 1024 x 768: above it, one pixel apart, with
// the height its limits give it, and pushed left to end at the screen's right edge. The test host
// changes the display to 800 x 600, then to portrait 768 x 1024: within a second of each change
// the pad is wholly on the new screen (pushed against its right edge by the same placement),
// topmost, and a click on its keys there types into the field, which kept the focus; the host
// heard nothing. The mode is put back afterwards.
TEST(Display, a_pad_on_screen_follows_the_display_mode) {
  if (GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") == nullptr) {
    GTEST_SKIP() << "changes the display mode: only on Wine's virtual desktop";
  }
  Session s;
  ASSERT_TRUE(s.start());
  const HWND field = s.fields[0];
  SetWindowPos(s.host.hwnd(), nullptr, 824, 688, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_TRUE(s.request(messages().touchPosition, 0, 1).delivered);
  EXPECT_TRUE(s.request(messages().touchShowLimits, 0, 1).delivered);
  const HWND pad = s.showPad(field, kDecimalField);
  ASSERT_TRUE(pad);
  s.settle();
  ASSERT_TRUE(windowRect(pad).right == 1024 && windowRect(pad).bottom == windowRect(field).top - 1);
  DesktopModes modes;
  std::string typed;
  for (const SIZE screen : {SIZE{800, 600}, SIZE{768, 1024}}) {
    SCOPED_TRACE(std::to_string(screen.cx) + " x " + std::to_string(screen.cy));
    ASSERT_TRUE(changeMode(static_cast<DWORD>(screen.cx), static_cast<DWORD>(screen.cy)));
    EXPECT_TRUE(waitFor([&] { return windowRect(pad).right == screen.cx; }, 1000));
    const RECT r = windowRect(pad);
    EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.bottom <= screen.cy) << r.left << "," << r.top;
    EXPECT_NE(GetWindowLongW(pad, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    typed += "7";
    EXPECT_TRUE(typeKeys(pad, field, {{num(7), typed.c_str(), static_cast<int>(typed.size())}}));
    EXPECT_EQ(GetFocus(), field);
  }
  EXPECT_EQ(s.hides(), 0);
  s.terminate();
}

// A pad next to its field goes one pixel below it, left-aligned. Windows tells the pad that its
// monitor's DPI is one and a half times what it was, 144 after 96 (Wine never does: the test sends
// the message, with the suggested rectangle left out as it cannot cross processes). The pad is
// laid out again at one and a half times its pixels, placed again below its field, painted exactly
// as a pad made afresh at that DPI, and types.
TEST(Display, a_pad_on_screen_is_laid_out_again_for_a_new_dpi) {
  Session s;
  ASSERT_TRUE(s.start());
  const HWND field = s.fields[0];
  EXPECT_TRUE(s.request(messages().touchPosition, 0, 1).delivered);
  HWND pad = s.showPad(field, kDecimalField);
  ASSERT_TRUE(pad);
  s.settle();
  const auto below = [&] {
    const RECT f = windowRect(field), r = windowRect(pad);
    return r.left == f.left && r.top == f.bottom + 1;
  };
  EXPECT_TRUE(below());
  const SIZE before = clientSize(pad);
  const WORD dpi = static_cast<WORD>(twipsToPixels(1440 * 3 / 2));
  SendMessageW(pad, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), 0);
  const SIZE after = clientSize(pad);
  EXPECT_TRUE(after.cx == before.cx * 3 / 2 && after.cy == before.cy * 3 / 2) << after.cx;
  EXPECT_TRUE(below());
  const Grab laidOut = steadyGrab(pad);
  EXPECT_TRUE(s.request(messages().touchKeySize, 0, floatBits(1.0f)).delivered);
  ASSERT_TRUE(pad = s.showPad(field, kDecimalField));
  EXPECT_TRUE(steadyGrab(pad) == laidOut) << "not painted as a pad made at that DPI";
  EXPECT_TRUE(typeKeys(pad, field, {{num(7), "7", 1}}));
  s.terminate();
}
