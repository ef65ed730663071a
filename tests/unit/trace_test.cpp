// The protocol trace: a line for each request, each notice to the host and each settings lookup;
// while it is off, not a single line. (The end-to-end tests read a notify request's line as a
// debug-output viewer shows it.)
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

#include "KeyboardRig.h"

namespace pmx {
namespace {

using test::kField;
using Lines = std::vector<std::string>;

// A language request, the settings requests, a notify request, the close key and the end of the
// session: everything it looked up and said, or with the trace off nothing at all.
Lines traceOfAWorkingDay(bool on, bool lookups = true) {
  test::KeyboardRig rig;
  if (on) rig.fake.trace.switchOn(lookups);
  rig.start();
  rig.keyboard.KeyboardWindowProc(rig.fake.host.messageWindow, kWmEndSession, 0, 0);  // goes on
  rig.fake.profile.set("Replace", "2055", "1031");
  rig.fake.profile.set("1031 NumPad Text", "Std5", "F\x01nf");
  rig.fake.profile.set("2055 Text", "Max", "");
  rig.request("QDM1_LANGUAGE", 2055);
  rig.request("QDM32_1_TOUCHPOSITION", 0, 0);
  rig.request("QDM32_1_TOUCHPOSITION", 0, 2);
  rig.request("QDM32_1_TOUCHSHOWLIMITS", 0, 0);
  rig.request("QDM32_1_TOUCHKEYSIZE", 0, 0x3FC00000);
  rig.notify(kField, 306, 0, "a \"\\\x1F", "2");
  rig.touch(*rig.keyboard.pads().pad(kPadNum), ControlArray::Close);
  rig.keyboard.KeyboardWindowProc(rig.fake.host.messageWindow, kWmEndSession, 1, 0);
  return rig.fake.trace.lines;
}

TEST(Trace, NoticesAndSettingsLookupsSayWhatWasFound) {
  const Lines lines = traceOfAWorkingDay(true);
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[1], "notice QDM32_1_KEYBOARDHANDLE to 0x1234 wParam=0x5001");
  EXPECT_EQ(lines[2], "request QDM1_LANGUAGE wParam=2055: switch the language");
  for (const char* line :
       {"setting [Replace] 2055 = 1031", "setting [CharSet] 1031: default",
        "setting [1031 NumPad Text] Std5 = \"F\\x01nf\"",
        "setting [1031 NumPad KeyCode] Std5: default", "setting [2055 Text] Max = \"\"",
        "setting [2055 Text] Min: default",
        "request QDM32_1_TOUCHPOSITION lParam=0: keep the pad clear of the field",
        "request QDM32_1_TOUCHPOSITION lParam=2: centre the pad",
        "request QDM32_1_TOUCHSHOWLIMITS lParam=0: hide the limits",
        "request QDM32_1_TOUCHKEYSIZE lParam=0x3FC00000: key size 1.5",
        "request WM_COPYDATA QDM32_1_NOTIFYKEYBOARD field=0x2000 cbData=516 fieldType=306 "
        "valueFormat=0 limitMin=\"a \\\"\\\\\\x1F\" limitMax=\"2\" pad=FNumPad",
        "notice QDM32_1_TOUCHKEYBOARDHIDES to 0x1234 wParam=0x0",
        "request WM_ENDSESSION: end the keyboard"}) {
    EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << line;
  }
  EXPECT_TRUE(traceOfAWorkingDay(false).empty());
  // On without the lookups (as it is kept for a crash report): the same lines but theirs.
  Lines protocol;
  std::copy_if(lines.begin(), lines.end(), std::back_inserter(protocol),
               [](const std::string& line) { return line.rfind("setting ", 0) != 0; });
  EXPECT_EQ(traceOfAWorkingDay(true, false), protocol);
}

// Before anything else the trace names the settings file and says how it is read.
TEST(Trace, TheFirstLineNamesTheSettingsFileAndHowItIsRead) {
  struct Row {
    bool present, unicode, sample;
    const char* how;
  };
  for (const Row& row :
       {Row{true, false, true, "8-bit text, each language in the code page of its CharSet"},
        Row{true, true, false, "Unicode (UTF-16), every language in its own characters"},
        Row{false, true, true, "not found, the built-in texts apply; a .sample file is beside it: "
                               "rename it to use it"},
        Row{false, false, false, "not found, the built-in texts apply"}}) {
    test::KeyboardRig rig;
    rig.fake.trace.switchOn();
    rig.fake.profile.present = row.present;
    rig.fake.profile.unicode = row.unicode;
    rig.fake.profile.samplePresent = row.sample;
    rig.start();
    ASSERT_FALSE(rig.fake.trace.lines.empty());
    EXPECT_EQ(rig.fake.trace.lines[0],
              std::string("settings file C:\\Panel\\QD4TouchKeyboard.ini: ") + row.how);
  }
}

}  // namespace
}  // namespace pmx
