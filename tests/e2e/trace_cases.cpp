// The protocol trace as a debug-output viewer shows it: the test host starts the keyboard as its
// debuggee and collects what the keyboard writes with OutputDebugString.
#include <cstdio>

#include "host.h"
#include "value_pad_keys.h"

using namespace e2e;

// The keyboards started afterwards inherit this process's environment.
constexpr const char* kTraceVariable = "PMX_TOUCHKEYBOARD_TRACE";

// The keyboard stops in OutputDebugString until its debugger has the line, so the line is in by
// the time the pad is on screen. A debugger does not disturb the input attachment either.
TEST(Trace, a_notify_request_names_the_field_type_and_the_pad) {
  SetEnvironmentVariableA(kTraceVariable, "1");
  Session s;
  s.catchDebugOutput = true;
  const HWND pad = s.startWithPad(s.fields[1], kHexField, "-1\x01", "100");
  ASSERT_NE(pad, nullptr);
  EXPECT_TRUE(typeKeys(pad, pad_keys::kHexPad, s.fields[1], {{pad_keys::hex::kF, "f", 1}}));
  char line[256];
  std::snprintf(line, sizeof line,
                "PMXTouchKeyboard: request WM_COPYDATA QDM32_1_NOTIFYKEYBOARD field=0x%llX "
                "cbData=516 fieldType=306 valueFormat=2 limitMin=\"-1\\x01\" limitMax=\"100\" "
                "pad=FHexPad",
                static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(s.fields[1])));
  const std::vector<std::string> lines = s.keyboard.debugOutput();
  EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << line;
  s.terminate();
}

TEST(Trace, without_the_variable_or_with_0_nothing_is_written) {
  for (const char* value : {static_cast<const char*>(nullptr), "0"}) {
    SetEnvironmentVariableA(kTraceVariable, value);
    Session s;
    s.catchDebugOutput = true;
    ASSERT_NE(s.startWithPad(s.fields[1], kHexField), nullptr);
    EXPECT_TRUE(s.request(messages().language, 1031).delivered);  // looks up settings
    s.terminate();
    EXPECT_EQ(s.keyboard.debugOutput(), std::vector<std::string>()) << (value ? value : "unset");
  }
}
