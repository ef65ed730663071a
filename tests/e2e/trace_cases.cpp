// The protocol trace as a debug-output viewer shows it (the test host starts the keyboard as its
// debuggee and collects what the keyboard writes with OutputDebugString) and as a file keeps it.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "host.h"

using namespace e2e;

// With PMX_TOUCHKEYBOARD_TRACE=1 a notify request is traced with the field type and the pad. The
// keyboard stops in OutputDebugString until its debugger has the line, so the line is in by the
// time the pad is on screen; a debugger does not disturb the input attachment either. Named a
// file, the variable gets the same lines written there too, each after its time, and appended by
// every keyboard. Without the variable, or with 0, nothing is written. (The keyboards inherit this
// process's environment.) Started with a controller window that no longer exists, or none, the
// keyboard has no host to serve: it ends at once with 2, and the trace says why, after the line
// that names the settings file.
TEST(Trace, a_notify_request_is_traced_only_when_asked) {
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string file = temp + std::string("pmx-trace.log");
  for (const char* value : {"1", file.c_str(), "0", static_cast<const char*>(nullptr)}) {
    const bool on = value != nullptr && value[0] != '0';
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
    const std::string notifyLine = line;
    const std::vector<std::string> lines = s.keyboard.debugOutput();
    if (on) {
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
    EXPECT_EQ(orphan.debugOutput(), on ? expected : std::vector<std::string>());
    if (value != file.c_str()) continue;
    // The file: the notify line of the first keyboard, and last the line of the second; each
    // after its time ("2026-12-08 10:15:02.123 ") and without the name in front.
    std::ostringstream written;
    written << std::ifstream(file, std::ios::binary).rdbuf();
    const std::string text = written.str(), last = std::string(line).substr(18) + "\r\n";
    const std::size_t at = text.size() - std::min(text.size(), last.size());
    EXPECT_TRUE(text.compare(at, last.size(), last) == 0 && text.rfind('\n', at) + 25 == at &&
                text.compare(at - 5, 1, ".") == 0)
        << text;
    EXPECT_NE(text.find(" " + notifyLine.substr(18) + "\r\n"), std::string::npos) << text;
  }
  DeleteFileA(file.c_str());
}
