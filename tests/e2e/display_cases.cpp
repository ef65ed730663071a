// The display changes under a pad on screen: another resolution, portrait, another DPI. The pad
// is placed again by its rule, wholly on the screen as it is now, and types where it is.
#include "host.h"

using namespace e2e;

namespace {

bool underWine() {
  return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

bool changeMode(DWORD width, DWORD height) {
  DEVMODEW mode{};
  mode.dmSize = sizeof mode;
  mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
  mode.dmPelsWidth = width;
  mode.dmPelsHeight = height;
  return ChangeDisplaySettingsExW(nullptr, &mode, nullptr, 0, nullptr) == DISP_CHANGE_SUCCESSFUL;
}

// Wine's virtual desktop offers a portrait mode when its size in the registry is one; the list of
// modes is read at the change before. The desktop's mode and that value are put back however the
// test ends: the other cases share the desktop.
class DesktopModes {
 public:
  DesktopModes() {
    original_.dmSize = sizeof original_;
    EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &original_);
    RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\Explorer\\Desktops", 0, nullptr, 0,
                    KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key_, nullptr);
    DWORD size = sizeof size_;
    hadSize_ = RegQueryValueExW(key_, L"Default", nullptr, nullptr,
                                reinterpret_cast<BYTE*>(size_), &size) == ERROR_SUCCESS;
    setSize(L"768x1024");
  }
  ~DesktopModes() {
    changeMode(original_.dmPelsWidth, original_.dmPelsHeight);
    if (hadSize_) setSize(size_);
    else RegDeleteValueW(key_, L"Default");
    RegCloseKey(key_);
  }

 private:
  void setSize(const wchar_t* size) {
    RegSetValueExW(key_, L"Default", 0, REG_SZ, reinterpret_cast<const BYTE*>(size),
                   static_cast<DWORD>((wcslen(size) + 1) * sizeof(wchar_t)));
  }
  DEVMODEW original_{};
  HKEY key_ = nullptr;
  bool hadSize_ = false;
  wchar_t size_[64] = {};
};

// The pad is wholly on a screen of this size, topmost, and what lies at its keys is the pad.
::testing::AssertionResult wholyOnScreen(HWND pad, LONG width, LONG height) {
  const RECT r = windowRect(pad);
  if (r.left < 0 || r.top < 0 || r.right > width || r.bottom > height) {
    return ::testing::AssertionFailure() << "at " << r.left << "," << r.top << " - " << r.right
                                         << "," << r.bottom;
  }
  POINT key;
  if ((GetWindowLongW(pad, GWL_EXSTYLE) & WS_EX_TOPMOST) == 0 || !keyCentre(pad, num(7), key) ||
      GetAncestor(WindowFromPoint(key), GA_ROOT) != pad) {
    return ::testing::AssertionFailure() << "not topmost, or covered at its key 7";
  }
  return ::testing::AssertionSuccess();
}

}  // namespace

// A decimal pad next to a field at the bottom right of 1024 x 768. The test host changes the
// display to 800 x 600, then to portrait 768 x 1024: within a second of each change the pad is
// wholly on the new screen (pushed against its right edge by its placement next to the field),
// topmost, and a click on its keys types into the field, which kept the focus; the host heard
// nothing. The mode is put back afterwards.
TEST(Display, a_pad_on_screen_follows_the_display_mode) {
  if (!underWine()) GTEST_SKIP() << "changes the display mode: only on Wine's virtual desktop";
  Session s;
  ASSERT_TRUE(s.start());
  const HWND field = s.fields[0];
  SetWindowPos(s.host.hwnd(), nullptr, 824, 688, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_TRUE(s.request(messages().touchPosition, 0, 1).delivered);
  const HWND pad = s.showPad(field, kDecimalField);
  ASSERT_TRUE(pad);
  s.settle();
  ASSERT_EQ(windowRect(pad).right, 1024);
  DesktopModes modes;
  const struct {
    LONG width, height;
    const char* typed;
  } steps[] = {{800, 600, "7"}, {768, 1024, "77"}};
  for (const auto& step : steps) {
    SCOPED_TRACE(std::to_string(step.width) + " x " + std::to_string(step.height));
    ASSERT_TRUE(changeMode(static_cast<DWORD>(step.width), static_cast<DWORD>(step.height)));
    EXPECT_TRUE(waitFor([&] { return windowRect(pad).right == step.width; }, 1000));
    EXPECT_TRUE(wholyOnScreen(pad, step.width, step.height));
    EXPECT_TRUE(typeKeys(pad, field, {{num(7), step.typed, static_cast<int>(strlen(step.typed))}}));
    EXPECT_EQ(GetFocus(), field);
  }
  EXPECT_EQ(s.hides(), 0);
  s.terminate();
}

// Windows tells a pad that its monitor's DPI is 144 now (Wine never does: the test sends the
// message, with the suggested rectangle left out as it cannot cross processes). The pad is laid
// out again at one and a half times its pixels, placed again below its field, painted exactly as
// a pad made afresh at that DPI, and types.
TEST(Display, a_pad_on_screen_is_laid_out_again_for_a_new_dpi) {
  Session s;
  ASSERT_TRUE(s.start());
  const HWND field = s.fields[0];
  EXPECT_TRUE(s.request(messages().touchPosition, 0, 1).delivered);
  HWND pad = s.showPad(field, kDecimalField);
  ASSERT_TRUE(pad);
  s.settle();
  const SIZE before = clientSize(pad);
  SendMessageW(pad, WM_DPICHANGED, MAKEWPARAM(144, 144), 0);
  const SIZE after = clientSize(pad);
  EXPECT_EQ(after.cx, before.cx * 3 / 2);
  EXPECT_EQ(after.cy, before.cy * 3 / 2);
  const RECT f = windowRect(field), r = windowRect(pad);
  EXPECT_EQ(r.left, f.left);
  EXPECT_EQ(r.top, f.bottom + 1);
  const Grab laidOut = steadyGrab(pad);
  EXPECT_TRUE(s.request(messages().touchKeySize, 0, floatBits(1.0f)).delivered);
  ASSERT_TRUE(pad = s.showPad(field, kDecimalField));
  EXPECT_TRUE(steadyGrab(pad) == laidOut) << "not painted as a pad made at 144 DPI";
  EXPECT_TRUE(typeKeys(pad, field, {{num(7), "7", 1}}));
  s.terminate();
}
