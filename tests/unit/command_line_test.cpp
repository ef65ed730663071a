#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "app/CommandLine.h"
#include "app/Rounding.h"

namespace pmx {
namespace {

TEST(CommandLine, ReadsSwitchesInAnyOrder) {
  const std::string forward = "/Project:Plant1 /Controller:1234 /Thread:567";
  const std::string backward = "/Thread:567 /Controller:1234 /Project:Plant1";
  for (const std::string& args : {forward, backward}) {
    EXPECT_EQ(switchValue(args, "/Controller:"), 1234) << args;
    EXPECT_EQ(switchValue(args, "/Thread:"), 567) << args;
  }
}

TEST(CommandLine, StopsAtTheFirstOtherCharacter) {
  EXPECT_EQ(switchValue("/Controller:1234/Thread:567", "/Controller:"), 1234);
  EXPECT_EQ(switchValue("/Controller:1234/Thread:567", "/Thread:"), 567);
  EXPECT_EQ(readDecimal("12abc"), 12);
  EXPECT_EQ(readDecimal("7-3"), 7);
}

TEST(CommandLine, SkipsBlanksTabsAndLineFeedsAnywhere) {
  EXPECT_EQ(switchValue("/Controller: 1234", "/Controller:"), 1234);
  EXPECT_EQ(switchValue("/Controller:12 34", "/Controller:"), 1234);
  EXPECT_EQ(readDecimal("\t1\n2 3"), 123);
  EXPECT_EQ(readDecimal(" - 42"), -42);
  EXPECT_EQ(readDecimal("1 . 5"), 2);
  // A carriage return is not skipped: it ends the number.
  EXPECT_EQ(readDecimal("12\r34"), 12);
}

TEST(CommandLine, CheckSettingsNamesAFileOrTheKeyboardsOwn) {
  const std::pair<std::string, std::string> cases[] = {
      {"/CheckSettings:a.ini /Project:x", "a.ini"},
      {"/CheckSettings:\"C:\\My Panel\\b.ini\" /Project:x", "C:\\My Panel\\b.ini"},
      {"/Project:x /CheckSettings", "own.ini"},
      {"/CheckSettings: /Project:x", "own.ini"},
  };
  for (const auto& [args, expected] : cases) {
    std::string file;
    EXPECT_TRUE(settingsCheckSwitch(args, "own.ini", file)) << args;
    EXPECT_EQ(file, expected) << args;
  }
  std::string file;
  EXPECT_FALSE(settingsCheckSwitch("/Project:x /checksettings:a.ini", "own.ini", file));
}

TEST(CommandLine, SwitchesAreCaseSensitiveAndMissingOnesGiveZero) {
  EXPECT_EQ(switchValue("/CONTROLLER:1234 /thread:5", "/Controller:"), 0);
  EXPECT_EQ(switchValue("/CONTROLLER:1234 /thread:5", "/Thread:"), 0);
  EXPECT_EQ(switchValue("", "/Thread:"), 0);
  EXPECT_EQ(switchValue("/Thread:", "/Thread:"), 0);
  EXPECT_EQ(switchValue("/Thread:abc", "/Thread:"), 0);
  // The first occurrence counts.
  EXPECT_EQ(switchValue("/Thread:1 /Thread:2", "/Thread:"), 1);
}

TEST(CommandLine, RoundsHalvesToEven) {
  EXPECT_EQ(readDecimal("12.5"), 12);
  EXPECT_EQ(readDecimal("13.5"), 14);
  EXPECT_EQ(readDecimal("-2.5"), -2);
  EXPECT_EQ(readDecimal("-3.5"), -4);
  EXPECT_EQ(readDecimal("2.51"), 3);
  EXPECT_EQ(readDecimal(".5"), 0);
  EXPECT_EQ(readDecimal("1.5"), 2);
}

TEST(CommandLine, ReadsSignsAndExponents) {
  EXPECT_EQ(readDecimal("+17"), 17);
  EXPECT_EQ(readDecimal("1.5e3"), 1500);
  EXPECT_EQ(readDecimal("15E-1"), 2);
  EXPECT_EQ(readDecimal("25e-1"), 2);
  EXPECT_EQ(readDecimal("12e"), 12);  // an exponent without digits is not read
  EXPECT_EQ(readDecimal("-"), 0);
  EXPECT_EQ(readDecimal("."), 0);
}

TEST(CommandLine, ClampsValuesBeyondThe32BitRange) {
  constexpr auto kMax = std::numeric_limits<std::int32_t>::max();
  constexpr auto kMin = std::numeric_limits<std::int32_t>::min();
  EXPECT_EQ(readDecimal("2147483647"), kMax);
  EXPECT_EQ(readDecimal("2147483648"), kMax);
  EXPECT_EQ(readDecimal("-2147483648"), kMin);
  EXPECT_EQ(readDecimal("-99999999999999999999"), kMin);
  EXPECT_EQ(readDecimal("1e999999999999"), kMax);
  EXPECT_EQ(readDecimal("1e-999999999999"), 0);
  EXPECT_EQ(readDecimal(std::string(5000, '9')), kMax);
}

TEST(CommandLine, WindowHandlesAreSignExtended) {
  EXPECT_EQ(windowFromInt32(1234), WindowHandle{1234});
  EXPECT_EQ(windowFromInt32(-2), static_cast<WindowHandle>(static_cast<std::intptr_t>(-2)));
  if (sizeof(WindowHandle) == 8) {
    EXPECT_EQ(static_cast<std::uint64_t>(windowFromInt32(-2)), 0xFFFFFFFFFFFFFFFEull);
  }
}

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(roundHalfEven(0.5), 0);
  EXPECT_EQ(roundHalfEven(1.5), 2);
  EXPECT_EQ(roundHalfEven(2.5), 2);
  EXPECT_EQ(roundHalfEven(-0.5), 0);
  EXPECT_EQ(roundHalfEven(-1.5), -2);
  EXPECT_EQ(roundHalfEven(7499.5), 7500);
  EXPECT_EQ(roundHalfEven(7500.5), 7500);
  EXPECT_EQ(roundHalfEven(std::numeric_limits<double>::quiet_NaN()), 0);
  EXPECT_EQ(roundHalfEven(std::numeric_limits<double>::infinity()),
            std::numeric_limits<std::int32_t>::max());
}

}  // namespace
}  // namespace pmx
