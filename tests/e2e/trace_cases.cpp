// The protocol trace as a debug-output viewer shows it: the test host starts the keyboard as its
// debuggee and collects what the keyboard writes with OutputDebugString.
#include <cstdio>

#include "host.h"
#include "value_pad_keys.h"

using namespace e2e;

namespace {

// The trace variable of the keyboards started while it lives; they inherit this environment.
struct TraceVariable {
  explicit TraceVariable(const char* value) {
    SetEnvironmentVariableA("PMX_TOUCHKEYBOARD_TRACE", value);
  }
  ~TraceVariable() { SetEnvironmentVariableA("PMX_TOUCHKEYBOARD_TRACE", nullptr); }
};

bool has(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

}  // namespace

// A debugger does not get in the way of the input attachment: the key still types into the field.
TEST(Trace, a_notify_request_names_the_field_type_and_the_pad) {
  TraceVariable on("1");
  Session s;
  s.catchDebugOutput = true;
  const HWND pad = s.startWithPad(s.fields[1], kHexField, "-1\x01", "100");
  ASSERT_NE(pad, nullptr);
  EXPECT_TRUE(typeKeys(pad, pads::kHexPad, s.fields[1], {{pads::hex::kF, "f", 1}}));
  char field[32];
  std::snprintf(field, sizeof field, "0x%llX",
                static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(s.fields[1])));
  const std::string notify =
      "PMXTouchKeyboard: request WM_COPYDATA QDM32_1_NOTIFYKEYBOARD field=" + std::string(field) +
      " cbData=516 fieldType=306 valueFormat=2 limitMin=\"-1\\x01\" "
      "limitMax=\"100\" pad=FHexPad";
  EXPECT_TRUE(waitFor([&] { return has(s.keyboard.debugOutput(), notify); }, 2000))
      << "no line: " << notify;
  ASSERT_TRUE(clickKey(pad, pads::kHexPad, pads::hex::kClose));
  EXPECT_TRUE(waitFor([&] { return s.hides() == 1; }, kTypeTimeoutMs));
  s.terminate();
  const std::vector<std::string> lines = s.keyboard.debugOutput();
  EXPECT_TRUE(has(lines, "PMXTouchKeyboard: request QDM32_1_TERMINATEKEYBOARD: end the keyboard"));
  EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                          [](const std::string& line) {
                            return line.find("notice QDM32_1_TOUCHKEYBOARDHIDES") !=
                                   std::string::npos;
                          }),
            1);
}

TEST(Trace, without_the_variable_or_with_0_nothing_is_written) {
  for (const char* value : {static_cast<const char*>(nullptr), "0"}) {
    TraceVariable off(value);
    Session s;
    s.catchDebugOutput = true;
    ASSERT_NE(s.startWithPad(s.fields[1], kHexField), nullptr);
    EXPECT_TRUE(s.request(messages().language, 1031).delivered);  // looks up settings
    s.terminate();
    EXPECT_EQ(s.keyboard.debugOutput(), std::vector<std::string>()) << (value ? value : "unset");
  }
}
