// The protocol trace as a debug-output viewer shows it: the test host starts the keyboard as its
// debuggee and collects what the keyboard writes with OutputDebugString.
#include <algorithm>
#include <cstdio>

#include "host.h"

using namespace e2e;

// With PMX_TOUCHKEYBOARD_TRACE=1 a notify request is traced with the field type and the pad. The
// keyboard stops in OutputDebugString until its debugger has the line, so the line is in by the
// time the pad is on screen; a debugger does not disturb the input attachment either. Without the
// variable, or with 0, nothing is written. (The keyboards inherit this process's environment.)
// Started with a controller window that no longer exists, or none, the keyboard has no host to
// serve: it ends at once with 2, and the trace says why, after the line that names the settings
// file.
TEST(Trace, a_notify_request_is_traced_only_when_asked) {
  for (const char* value : {"1", "0", static_cast<const char*>(nullptr)}) {
    SCOPED_TRACE(value ? value : "unset");
    SetEnvironmentVariableA("PMX_TOUCHKEYBOARD_TRACE", value);
    Session s;
    s.catchDebugOutput = true;
    const HWND pad = s.startWithPad(s.fields[1], kHexField, "-1\x01", "100");
    ASSERT_NE(pad, nullptr);
    EXPECT_TRUE(typeKeys(pad, s.fields[1], {{hex(21), "f", 1}}));  // the F key
    EXPECT_TRUE(s.request(messages().language, 1031).delivered);   // looks up settings
    s.terminate();
    char line[256];
    std::snprintf(line, sizeof line,
                  "PMXTouchKeyboard: request WM_COPYDATA QDM32_1_NOTIFYKEYBOARD field=0x%llX "
                  "cbData=516 fieldType=306 valueFormat=2 limitMin=\"-1\\x01\" limitMax=\"100\" "
                  "pad=FHexPad",
                  static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(s.fields[1])));
    const std::vector<std::string> lines = s.keyboard.debugOutput();
    if (value && value[0] == '1') {
      EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << line;
    } else {
      EXPECT_EQ(lines, std::vector<std::string>());
    }
    KeyboardProcess orphan;
    const HWND gone = value != nullptr ? s.fields[0] : nullptr;
    DestroyWindow(s.fields[0]);
    ASSERT_TRUE(orphan.start(keyboardExe(), keyboardArguments("E2E", gone, 0), nullptr, true));
    EXPECT_TRUE(waitForProcessExit(orphan.handle(), 3000));
    EXPECT_EQ(orphan.exitCode(), DWORD{2});
    std::snprintf(line, sizeof line,
                  "PMXTouchKeyboard: end: no live controller window (controller 0x%llX)",
                  static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(gone)));
    // The first line names the settings file beside the exe, which is not there.
    const std::string exe = keyboardExe();
    const std::string settings = "PMXTouchKeyboard: settings file " +
                                 exe.substr(0, exe.find_last_of("\\/")) +
                                 "\\QD4TouchKeyboard.ini: not found, the built-in texts apply";
    const std::vector<std::string> expected = {settings, line};
    EXPECT_EQ(orphan.debugOutput(),
              value && value[0] == '1' ? expected : std::vector<std::string>());
  }
}
