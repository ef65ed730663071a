// The protocol trace: a line for each request with its fields as the keyboard reads them, for
// each notice to the host and each settings lookup; while it is off, not a single line.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "KeyboardRig.h"

namespace pmx {
namespace {

using test::kField;

struct TraceRig : test::KeyboardRig {
  explicit TraceRig(bool on) {
    if (on) fake.trace.switchOn();
    start();
  }
  std::vector<std::string>& lines() { return fake.trace.lines; }
};

TEST(Trace, ARequestIsOneLineWithItsFieldsAsRead) {
  using Send = std::function<void(TraceRig&)>;
  const auto request = [](const char* name, std::uintptr_t wParam, std::intptr_t lParam) {
    return [=](TraceRig& r) { r.request(name, wParam, lParam); };
  };
  const auto message = [](std::uint32_t id, std::uintptr_t wParam, std::intptr_t lParam) {
    return [=](TraceRig& r) { r.keyboard.KeyboardWindowProc(0x5001, id, wParam, lParam); };
  };
  const std::string notify = "request WM_COPYDATA QDM32_1_NOTIFYKEYBOARD field=0x2000 cbData=";
  struct Row {
    Send send;
    std::string line;  // empty: none
  } rows[] = {
      {[](TraceRig& r) { r.notify(kField, 306, 2, "-100", "100"); },
       notify + "516 fieldType=306 valueFormat=2 limitMin=\"-100\" limitMax=\"100\" pad=FHexPad"},
      {[](TraceRig& r) { r.notify(kField, 371, 4, "a\"\\\x01\x7F\xE9", "\t"); },
       notify + "516 fieldType=371 valueFormat=4 limitMin=\"a\\\"\\\\\\x01\\x7F\xE9\" "
                "limitMax=\"\\x09\" pad=none"},
      {[](TraceRig& r) { r.notify(kField, -5, 2, "", "", 4); },
       notify + "4 fieldType=-5 valueFormat=0 limitMin=\"\" limitMax=\"\" pad=FAlphaPad"},
      {[](TraceRig& r) {
         CopyData data{7, 0, nullptr};
         r.keyboard.KeyboardWindowProc(0x5001, kWmCopyData, kField,
                                       reinterpret_cast<std::intptr_t>(&data));
       },
       "request WM_COPYDATA dwData=0x7 cbData=0: no notify request, ignored"},
      {message(kWmCopyData, kField, 0), "request WM_COPYDATA without data: ignored"},
      {request("QDM32_1_TOUCHKEYSIZE", 0, 0x3FC00000),
       "request QDM32_1_TOUCHKEYSIZE lParam=0x3FC00000: key size 1.5, reload the pads"},
      {request("QDM32_1_TOUCHKEYSIZE", 0, 0x7F800000),
       "request QDM32_1_TOUCHKEYSIZE lParam=0x7F800000: no usable key size, ignored"},
      {request("QDM32_1_TOUCHPOSITION", 9, 0),
       "request QDM32_1_TOUCHPOSITION lParam=0: keep the pad clear of the field"},
      {request("QDM32_1_TOUCHPOSITION", 0, 1),
       "request QDM32_1_TOUCHPOSITION lParam=1: place the pad next to the field"},
      {request("QDM32_1_TOUCHPOSITION", 0, 2),
       "request QDM32_1_TOUCHPOSITION lParam=2: centre the pad"},
      {request("QDM32_1_TOUCHPOSITION", 0, -1),
       "request QDM32_1_TOUCHPOSITION lParam=-1: leave the pad where it is"},
      {request("QDM32_1_TOUCHSHOWLIMITS", 0, 2),
       "request QDM32_1_TOUCHSHOWLIMITS lParam=2: show the limits"},
      {request("QDM32_1_TOUCHSHOWLIMITS", 1, 0),
       "request QDM32_1_TOUCHSHOWLIMITS lParam=0: hide the limits"},
      {request("QDM32_1_HIDEKEYBOARD", 1, 1), "request QDM32_1_HIDEKEYBOARD: hide every pad"},
      {request("QDM32_1_TERMINATEKEYBOARD", 1, 1),
       "request QDM32_1_TERMINATEKEYBOARD: end the keyboard"},
      {message(kWmClose, 0, 0), "request WM_CLOSE: end the keyboard"},
      {message(kWmEndSession, 1, 0), "request WM_ENDSESSION: end the keyboard"},
      {message(kWmEndSession, 0, 0), ""},
      {message(kWmDestroy, 0, 0),
       "request WM_DESTROY: the message window is going, end the keyboard"},
      {message(0, 0, 0), ""},
  };
  for (const Row& row : rows) {
    TraceRig rig(true);
    rig.lines().clear();
    row.send(rig);
    const std::vector<std::string> expected =
        row.line.empty() ? std::vector<std::string>{} : std::vector<std::string>{row.line};
    EXPECT_EQ(rig.lines(), expected);
  }
}

// A language request, a notify request, the close key and the end: everything it looked up and
// said, or with the trace off nothing at all.
std::vector<std::string> traceOfAWorkingDay(bool on) {
  TraceRig rig(on);
  rig.fake.profile.set("Replace", "2055", "1031");
  rig.fake.profile.set("1031 NumPad Text", "Std5", "F\x01nf");
  rig.fake.profile.set("2055 Text", "Max", "");
  rig.request("QDM1_LANGUAGE", 2055);
  rig.notify(kField, 306, 0, "1", "2");
  rig.touch(kPadNum, ControlArray::Close);
  rig.request("QDM32_1_TERMINATEKEYBOARD");
  return rig.lines();
}

TEST(Trace, NoticesAndSettingsLookupsSayWhatWasFound) {
  const std::vector<std::string> lines = traceOfAWorkingDay(true);
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[0], "notice QDM32_1_KEYBOARDHANDLE to 0x1234 wParam=0x5001");
  EXPECT_EQ(lines[1], "request QDM1_LANGUAGE wParam=2055: switch the language, reload the pads");
  for (const char* line : {"setting [Replace] 2055 = 1031", "setting [CharSet] 1031: default",
                           "setting [1031 NumPad Text] Std5 = \"F\\x01nf\"",
                           "setting [1031 NumPad KeyCode] Std5: default",
                           "setting [2055 Text] Max = \"\"", "setting [2055 Text] Min: default",
                           "notice QDM32_1_TOUCHKEYBOARDHIDES to 0x1234 wParam=0x0"}) {
    EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << line;
  }
  EXPECT_TRUE(traceOfAWorkingDay(false).empty());
}

}  // namespace
}  // namespace pmx
