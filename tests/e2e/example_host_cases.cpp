// The example host of the package, used as a person uses it: each field shows its pad and a touch
// types into it; Enter closes the pad, the host hears of it and takes the focus off the field, so
// that touching a field again brings its pad back; closing the host ends the keyboard.
#include "host.h"

using namespace e2e;

namespace {

HWND visiblePad(const char* className) {
  HWND pad = FindWindowA(className, nullptr);
  return pad != nullptr && IsWindowVisible(pad) ? pad : nullptr;
}

bool clickWindow(HWND window) {
  const RECT r = windowRect(window);
  return clickAt({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
}

// The text of a control of another process (GetWindowText reads only its caption).
std::string controlText(HWND control) {
  char buffer[256] = {};
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(control, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer),
                      SMTO_ABORTIFHUNG, 2000, &ignored);
  return buffer;
}

}  // namespace

TEST(ExampleHost, each_field_shows_its_pad_types_and_closes) {
  // It starts the keyboard of its own folder, as it does in the package.
  const std::string exe = exampleHostExe();
  ASSERT_FALSE(exe.empty()) << "no ExampleHost.exe beside the check, as the package has it";
  KeyboardProcess example;
  ASSERT_TRUE(example.start(exe, ""));
  HWND host = nullptr, status = nullptr;
  ASSERT_TRUE(waitFor(
      [&] {
        host = FindWindowA("PMXTouchKeyboard.ExampleHost", nullptr);
        status = host != nullptr ? GetDlgItem(host, 200) : nullptr;
        return status != nullptr && controlText(status) == "Keyboard running: touch a field.";
      },
      kShowTimeoutMs))
      << "the example host did not report a running keyboard";

  struct Row {
    int field;
    const char* padClass;
    PadKey key, enter;
    const char* typed;
  };
  const Row rows[] = {{0, kNumPadClass, num(7), num(1, A::End), "7"},
                      {1, kHexPadClass, hex(21), hex(1, A::End), "f"},
                      {2, kBinPadClass, bin(1), bin(1, A::End), "1"},
                      {3, kAlphaPadClass, alpha(27), alpha(1, A::End), "a"},
                      {0, kNumPadClass, num(8), num(1, A::End), "78"}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.padClass);
    HWND field = GetDlgItem(host, 100 + row.field), pad = nullptr;
    ASSERT_TRUE(clickWindow(field));
    ASSERT_TRUE(waitFor([&] { return (pad = visiblePad(row.padClass)) != nullptr; }, kShowTimeoutMs));
    ASSERT_TRUE(clickKey(pad, row.key));
    EXPECT_TRUE(waitFor([&] { return controlText(field) == row.typed; }, kShowTimeoutMs))
        << "the field holds \"" << controlText(field) << "\"";
    ASSERT_TRUE(clickKey(pad, row.enter));
    EXPECT_TRUE(waitFor([&] { return controlText(status) == "The user closed the pad."; },
                        kShowTimeoutMs));
    EXPECT_TRUE(waitFor([&] { return visiblePad(row.padClass) == nullptr; }, kShowTimeoutMs));
    DWORD_PTR ignored = 0;  // ready for the next notice (SetWindowText cannot reach another process)
    SendMessageTimeoutA(status, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""), SMTO_ABORTIFHUNG, 2000,
                        &ignored);
  }

  // Closing the host ends the keyboard with it: no pad is left.
  PostMessageA(host, WM_CLOSE, 0, 0);
  EXPECT_TRUE(waitForProcessExit(example.handle(), kShowTimeoutMs));
  EXPECT_TRUE(waitFor([] { return FindWindowA(kNumPadClass, nullptr) == nullptr; }, 3000))
      << "the keyboard outlived the example host";
}
