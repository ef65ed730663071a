// The protocol trace: a line for each request with its fields as the keyboard reads them, for
// each notice to the host and each settings lookup; while it is off, not a single line.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <tuple>

#include "KeyboardRig.h"

namespace pmx {
namespace {

using test::kField;
using Lines = std::vector<std::string>;

// The lines that one step traces on a started keyboard.
Lines traced(const std::function<void(test::KeyboardRig&)>& step) {
  test::KeyboardRig rig;
  rig.fake.trace.switchOn();
  rig.start();
  rig.fake.trace.lines.clear();
  step(rig);
  return rig.fake.trace.lines;
}

TEST(Trace, ARequestIsOneLineWithItsFieldsAsRead) {
  using Request = std::tuple<const char*, std::uintptr_t, std::intptr_t, const char*>;
  for (const auto& [name, wParam, lParam, line] :
       {Request{"QDM32_1_TOUCHKEYSIZE", 0, 0x3FC00000, " lParam=0x3FC00000: key size 1.5"},
        Request{"QDM32_1_TOUCHKEYSIZE", 0, 0x7F800000,
                " lParam=0x7F800000: no usable key size, ignored"},
        Request{"QDM32_1_TOUCHPOSITION", 9, 0, " lParam=0: keep the pad clear of the field"},
        Request{"QDM32_1_TOUCHPOSITION", 0, 2, " lParam=2: centre the pad"},
        Request{"QDM32_1_TOUCHPOSITION", 0, -1, " lParam=-1: leave the pad where it is"},
        Request{"QDM32_1_TOUCHSHOWLIMITS", 0, 2, " lParam=2: show the limits"},
        Request{"QDM32_1_TOUCHSHOWLIMITS", 1, 0, " lParam=0: hide the limits"},
        Request{"QDM32_1_HIDEKEYBOARD", 1, 1, ": hide every pad"},
        Request{"QDM32_1_TERMINATEKEYBOARD", 1, 1, ": end the keyboard"}}) {
    EXPECT_EQ(traced([&](test::KeyboardRig& rig) { rig.request(name, wParam, lParam); }),
              Lines{std::string("request ") + name + line});
  }
  const CopyData other{7, 0, nullptr};
  using Message = std::tuple<std::uint32_t, std::uintptr_t, const CopyData*, const char*>;
  for (const auto& [message, wParam, data, line] :
       {Message{kWmClose, 0, nullptr, "request WM_CLOSE: end the keyboard"},
        Message{kWmEndSession, 1, nullptr, "request WM_ENDSESSION: end the keyboard"},
        Message{kWmDestroy, 0, nullptr, "request WM_DESTROY: end the keyboard"},
        Message{kWmCopyData, kField, nullptr, "request WM_COPYDATA without data: ignored"},
        Message{kWmCopyData, kField, &other,
                "request WM_COPYDATA dwData=0x7 cbData=0: no notify request, ignored"},
        Message{kWmEndSession, 0, nullptr, nullptr}, Message{0, 0, nullptr, nullptr}}) {
    EXPECT_EQ(traced([&](test::KeyboardRig& rig) {
                rig.keyboard.KeyboardWindowProc(0x5001, message, wParam,
                                                reinterpret_cast<std::intptr_t>(data));
              }),
              line != nullptr ? Lines{line} : Lines{});
  }
}

TEST(Trace, ANotifyRequestNamesTheFieldAndThePad) {
  const auto notify = [](std::int16_t type, std::int16_t format, const char* min, const char* max) {
    return traced([&](test::KeyboardRig& rig) { rig.notify(kField, type, format, min, max); });
  };
  const std::string line = "request WM_COPYDATA QDM32_1_NOTIFYKEYBOARD field=0x2000 cbData=516 ";
  EXPECT_EQ(
      notify(306, 2, "-100", "100"),
      Lines{line + "fieldType=306 valueFormat=2 limitMin=\"-100\" limitMax=\"100\" pad=FHexPad"});
  EXPECT_EQ(notify(-371, 4, "a\"\\\x01\x7F\xE9", "\t "),
            Lines{line + "fieldType=-371 valueFormat=4 limitMin=\"a\\\"\\\\\\x01\\x7F\xE9\" "
                         "limitMax=\"\\x09 \" pad=FAlphaPad"});
  EXPECT_EQ(notify(310, 4, "", ""),
            Lines{line + "fieldType=310 valueFormat=4 limitMin=\"\" limitMax=\"\" pad=none"});
}

// A language request, a notify request, the close key and the end: everything it looked up and
// said, or with the trace off nothing at all.
Lines traceOfAWorkingDay(bool on) {
  test::KeyboardRig rig;
  if (on) rig.fake.trace.switchOn();
  rig.start();
  rig.fake.profile.set("Replace", "2055", "1031");
  rig.fake.profile.set("1031 NumPad Text", "Std5", "F\x01nf");
  rig.fake.profile.set("2055 Text", "Max", "");
  rig.request("QDM1_LANGUAGE", 2055);
  rig.notify(kField, 306, 0, "1", "2");
  rig.touch(*rig.keyboard.pads().pad(kPadNum), ControlArray::Close);
  rig.request("QDM32_1_TERMINATEKEYBOARD");
  return rig.fake.trace.lines;
}

TEST(Trace, NoticesAndSettingsLookupsSayWhatWasFound) {
  const Lines lines = traceOfAWorkingDay(true);
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[0], "notice QDM32_1_KEYBOARDHANDLE to 0x1234 wParam=0x5001");
  EXPECT_EQ(lines[1], "request QDM1_LANGUAGE wParam=2055: switch the language");
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
