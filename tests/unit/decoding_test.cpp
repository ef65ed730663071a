// What the keyboard reads from the host: the command line, the notify record, the pad a field
// gets, and the rounding its arithmetic uses; and UTF-8 and UTF-16, the forms of its settings.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <limits>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "KeyboardRig.h"
#include "app/CommandLine.h"
#include "common/HostProtocol.h"
#include "common/NearestName.h"
#include "common/Rounding.h"
#include "common/Unicode.h"

namespace pmx {
namespace {

constexpr auto kMax = std::numeric_limits<std::int32_t>::max();
constexpr auto kMin = std::numeric_limits<std::int32_t>::min();

TEST(CommandLine, Numbers) {
  const std::pair<std::string, std::int32_t> cases[] = {
      {"12abc", 12},
      {"7-3", 7},
      {"\t1\n2 3", 123},
      {" - 42", -42},
      {"1 . 5", 2},
      {"12\r34", 12},  // a carriage return ends the number
      {"12.5", 12},
      {"13.5", 14},
      {"-2.5", -2},
      {"-3.5", -4},
      {"2.51", 3},
      {".5", 0},
      {"+17", 17},
      {"1.5e3", 1500},
      {"15E-1", 2},
      {"25e-1", 2},
      {"30000000000e-10", 3},
      {"12e", 12},
      {"-", 0},
      {".", 0},
      {"2147483647", kMax},
      {"2147483648", kMax},
      {"-2147483648", kMin},
      {"-99999999999999999999", kMin},
      {"1e999999999999", kMax},
      {"1e-999999999999", 0},
      {std::string(5000, '9'), kMax},
  };
  for (const auto& [text, value] : cases) EXPECT_EQ(readDecimal(text), value) << text;
  EXPECT_EQ(roundHalfEven(std::numeric_limits<double>::quiet_NaN()), 0);
  // A switch's value: the first one, in any letter case, wherever it stands; a missing one is 0.
  const CommandLine line = readCommandLine("/controller:7 /Project:x/THREAD:1 2/Thread:3");
  EXPECT_EQ(line.controller, 7);
  EXPECT_EQ(line.thread, 12);
  EXPECT_EQ(readCommandLine("/Controller:1234/Thread:567").thread, 567);
  EXPECT_EQ(readCommandLine("/Project:a//thread:5").thread, 5);
  EXPECT_EQ(readCommandLine("/Project:x /Thread:5").controller, 0);
  // Hexadecimal after 0x, as tools print handles: the 32 bits as they stand.
  for (const auto& [text, value] : std::vector<std::pair<std::string, std::int32_t>>{
           {"0x2004C", 0x2004C}, {"0X7fffffff", kMax}, {"0xFFFF1234", -60876}, {" 0x 1 0", 16},
           {"0xa9", 0xa9}, {"0xA0", 0xA0}, {"0x80000000", kMin}, {"0xFFFFFFFF", -1},
           {"0x100000000", 0},
           {"0xFFFFFFFF0", 0}, {"0x", 0}, {"0xg", 0}, {"00x12", 0}}) {
    EXPECT_EQ(readCommandLine("/Controller:" + text + " /Thread:0x1F").controller, value) << text;
  }
  EXPECT_EQ(readCommandLine("/Thread:0x1F/Controller:3").thread, 31);
  EXPECT_EQ(windowFromInt32(-2), static_cast<WindowHandle>(static_cast<std::intptr_t>(-2)));
}

// The switch as people write it names the file it shows ("" the keyboard's own), or it is an
// error ("!") and names none: never a check of another file.
TEST(CommandLine, CheckSettingsNamesOneFileOrIsAnError) {
  const std::pair<const char*, const char*> cases[] = {
      {"/CheckSettings:a.ini /Project:x", "a.ini"},
      {"/CheckSettings:  a.ini", "a.ini"},
      {"/checksettings=/panel/q.ini", "/panel/q.ini"},
      {"/CHECKSETTINGS: //server/share/q.ini /Thread:1", "//server/share/q.ini"},
      {"/CheckSettings:\"C:\\My Panel\\b.ini\" /Project:x", "C:\\My Panel\\b.ini"},
      {"/Project:x \"/CheckSettings:with blank.ini\" \"/Thread:1\"", "with blank.ini"},
      {"\"/CheckSettings= with blank.ini \"", "with blank.ini"},
      {"/CheckSettings:\\\"q\\\".ini", "\"q\".ini"},
      {"/Project:x /CheckSettings /Controller: 12 34", ""},
      {"\"/CheckSettings:a \"\"b\"\" c.ini\"", "a \"b\" c.ini"},
      {"/CheckSettings:x\\\\\\\"y\\\\z", "x\\\"y\\\\z"},
      {"\"/CheckSettings:a b\\\\\"", "a b\\"},
      {"\"/Thread\":5 /CheckSettings:a.ini /thread:7", "a.ini"},
      {"/CheckSettings:\"\" q.ini", "!"},
      {"xCheckSettings:a.ini", "!"},
      {"/CheckSettings:", "!"},
      {"/CheckSettings:\"\" /Thread:1", "!"},
      {"\"/CheckSettings:\"", "!"},
      {"/CheckSettings: /Project:x", "!"},
      {"/CheckSettings:a.ini /CheckSettings:b.ini", "!"},
      {"/CheckSettings:\"a.ini", "!"},
      {"/CheckSettings:a.ini /Thread:1 b.ini", "!"},
      {"/CheckSettings-a.ini", "!"},
  };
  for (const auto& [args, file] : cases) {
    const CommandLine line = readCommandLine(args);
    EXPECT_EQ(line.error.empty() ? line.settingsFile : "!", file) << args << ": " << line.error;
    EXPECT_TRUE(line.error.empty() || line.settingsFile.empty()) << args;
  }
  // The error says what to write.
  EXPECT_EQ(readCommandLine("/CheckSettings:my panel.ini").error,
            "\"panel.ini\" follows the file name: write a file name with blanks in double quotes, "
            "/CheckSettings:\"my panel.ini\"");
  EXPECT_EQ(readCommandLine("/CheckSettings q.ini").error,
            "\"q.ini\" is no switch: to check it, write /CheckSettings:q.ini");
  EXPECT_EQ(readCommandLine("/CheckSetings:q.ini").error,
            "/CheckSetings is no switch of PMXTouchKeyboard; did you mean /CheckSettings?");
  EXPECT_EQ(readCommandLine("/Project:x stray").error,
            "\"stray\" is no switch of PMXTouchKeyboard");
  EXPECT_EQ(readCommandLine("/abc").error, "/abc is no switch of PMXTouchKeyboard");
  EXPECT_EQ(
      readCommandLine("/CheckSettings=").error.rfind("the file name after /CheckSettings= ", 0),
      0u);

  // The usage for /? and /help, a check, or the keyboard.
  const auto read = [](const std::string& file) {
    SettingsFileRead r;
    r.path = "/full/" + file;
    r.read = file != "gone.ini" && file != "own-gone.ini";
    r.missing = !r.read;
    return r;
  };
  const CommandOutcome help = runCommandLine(readCommandLine("/Controller:5 /HELP /x"), "o", read);
  std::ostringstream usage;
  usage << std::ifstream(PMX_SOURCE_DIR "/tools/check_settings/cases/usage.txt").rdbuf();
  EXPECT_TRUE(help.done && help.exitCode == 0 && help.output == usage.str()) << help.output;
  EXPECT_TRUE(readCommandLine("/?").help && readCommandLine("/?").error.empty());
  EXPECT_EQ(runCommandLine(readCommandLine("/CheckSettings"), "own.ini", read).output,
            "/full/own.ini: 0 errors, 0 warnings\n");
  EXPECT_EQ(runCommandLine(readCommandLine("/CheckSettings:gone.ini"), "o", read).exitCode, 2);
  // No file beside the exe is normal: the built-in texts apply.
  const CommandOutcome none = runCommandLine(readCommandLine("/CheckSettings"), "own-gone.ini", read);
  EXPECT_TRUE(none.done && none.exitCode == 0 &&
              none.output == "/full/own-gone.ini: there is no settings file beside the exe: the "
                             "keyboard shows its built-in texts\n")
      << none.output;
  const CommandOutcome empty = runCommandLine(readCommandLine("/CheckSettings:"), "o", read);
  EXPECT_TRUE(empty.done && empty.exitCode == 2);
  EXPECT_FALSE(runCommandLine(readCommandLine("/Controller:5 /x"), "o", read).done);
}

// A misspelt name gets the one known name it is close to, in any letter case (a swap of two
// neighbours is one edit); none when two are as close, or the name is too short to tell.
TEST(NearestName, OneCloseNameOrNone) {
  const std::vector<std::string> names = {"Std5", "Std55", "Shift55", "Max", "Controller"};
  const std::pair<const char*, const char*> cases[] = {
      {"sdt5", "Std5"},     {"tSd5", "Std5"}, {"xStd5", "Std5"},
      {"td5", "Std5"},      {"Std6", "Std5"}, {"Maxxy", "Max"},
      {"Shift", "Shift55"}, {"Mx", ""},       {"Cantrallar", ""},
      {"Std5xy", ""},       {"d5", ""}};
  for (const auto& [name, meant] : cases) EXPECT_EQ(nearestName(name, names), meant) << name;
  EXPECT_EQ(nearestName("aX", {"Xa"}), "");
  EXPECT_TRUE(sameName("AZ", "az") && !sameName("@", "`") && !sameName("[", "{"));
  EXPECT_FALSE(sameName("a", "ab"));
}

TEST(NotifyRecord, FieldsAndTexts) {
  std::vector<unsigned char> bytes = test::notifyRecordBytes(-300, 2, "100", "-5");
  bytes[0] = 0xAA;     // reserved: ignored
  bytes[6 + 4] = 'x';  // after the NUL: ignored
  NotifyRecord r = decodeNotifyRecord(bytes.data(), bytes.size());
  EXPECT_EQ(r.fieldType, -300);
  EXPECT_EQ(r.valueFormat, 2);
  EXPECT_EQ(limitText(r.limitMin), "100");
  EXPECT_EQ(limitText(r.limitMax), "-5");
  // A text without a NUL is cut at 254 bytes.
  std::memset(bytes.data() + 6, 'a', 510);
  r = decodeNotifyRecord(bytes.data(), bytes.size());
  EXPECT_EQ(limitText(r.limitMin), std::string(254, 'a'));
  EXPECT_EQ(limitText(r.limitMax), std::string(254, 'a'));
}

TEST(NotifyRecord, ShortPayloadsAreNeverReadBeyondTheirSize) {
  const std::vector<unsigned char> full = test::notifyRecordBytes(306, 2, "12345", "67890");
  // Each prefix lies in a buffer of exactly its size, so a read past it is caught by the address
  // sanitizer; the missing bytes count as zero.
  for (std::size_t size : {0, 1, 3, 5, 8, 9, 300, 515}) {
    auto exact = std::make_unique<unsigned char[]>(size == 0 ? 1 : size);
    std::memcpy(exact.get(), full.data(), size);
    const NotifyRecord r = decodeNotifyRecord(exact.get(), size);
    EXPECT_EQ(r.fieldType, size >= 4 ? 306 : (size == 3 ? 306 & 0xFF : 0)) << size;
    EXPECT_EQ(r.valueFormat, size >= 5 ? 2 : 0) << size;
    EXPECT_EQ(limitText(r.limitMin), std::string("12345").substr(0, size > 6 ? size - 6 : 0));
  }
  EXPECT_EQ(decodeNotifyRecord(nullptr, 516).fieldType, 0);
}

TEST(PadChoice, TypeAndFormat) {
  for (std::int16_t type : {306, 307, 310, 370, 371, 374}) {
    const int expected[] = {kNoPad, kPadNum, kPadBin, kPadHex, kPadNum, kNoPad};  // formats -1..4
    for (std::int16_t format = -1; format <= 4; ++format)
      EXPECT_EQ(choosePad(type, format), expected[format + 1]) << type << "/" << format;
  }
  for (std::int16_t format : {0, 1, 2, 4}) {
    for (std::int16_t type : {295, 305, 356}) EXPECT_EQ(choosePad(type, format), kPadNum);
    for (std::int16_t type : {265, 0, -5, 1000, 308, 372})
      EXPECT_EQ(choosePad(type, format), kPadAlpha);
  }
}

// Every length of UTF-8 at its edges goes there and back; what is no shortest-form sequence of a
// code point (overlong, a surrogate, beyond U+10FFFF, cut short, a stray continuation byte) gives
// nothing, and the characters after it are kept. UTF-16 pairs its surrogates and drops lone ones.
TEST(Unicode, Utf8AndUtf16AtTheirEdges) {
  const std::u32string edges = {0,      0x7F,   0x80,   0x7FF,   0x800,
                                0xD7FF, 0xE000, 0xFFFF, 0x10000, 0x10FFFF};
  EXPECT_EQ(decodeUtf8(utf8(edges)), edges);
  EXPECT_EQ(utf8(edges).size(), 1 + 1 + 2 + 2 + 3 + 3 + 3 + 3 + 4 + 4u);
  EXPECT_EQ(utf16Length(utf8(edges)), 12u);
  EXPECT_EQ(decodeUtf8("\xC3\xA9\x80"
                       "a"),
            U"\u00E9a");
  for (const char* bad :
       {"\xC0\x80", "\xC1\xBF", "\xE0\x9F\xBF", "\xED\xA0\x80", "\xED\xBF\xBF", "\xF0\x8F\xBF\xBF",
        "\xF4\x90\x80\x80", "\xF8\x90\x80\x80\x80", "\x80", "\xE3\x81", "\xE3\x81x"}) {
    EXPECT_EQ(decodeUtf8(std::string(bad) + "a"), bad[std::strlen(bad) - 1] == 'x' ? U"xa" : U"a")
        << spelledCharacters(decodeUtf8(bad));
  }
  const char16_t units[] = {u'a',   0xD800, 0xDC00, 0xDBFF, 0xDFFF, 0xDE00, 0xD83D, u'b',
                            0xD83D, 0xE000, 0xDC00, 0xDC00, 0xD83D, 0xDE00, 0xD83D};
  for (std::size_t count : {14, 15})  // a pair at the very end, then a lone high surrogate
    EXPECT_EQ(utf8FromUtf16(units, count),
              "a\xF0\x90\x80\x80\xF4\x8F\xBF\xBF"
              "b\xEE\x80\x80\xF0\x9F\x98\x80");
  // Safe to print: what a terminal acts on, or what turns text around, is spelled out.
  EXPECT_EQ(spelledCharacters({'a', '\\', 0x1F, 0x7F, 0x85, 0x202E, 0xE9, 0x10000,
                               kByteCharacter + 0x82A0, kByteCharacter}),
            "a\\\\u001F\\u007F\\u0085\\u202E\u00E9\U00010000\\x82\\xA0\\x00");
  // At the edges of what is spelled out: each first one spelled, each second one shown.
  EXPECT_EQ(
      spelledCharacters({0x9F, 0xA0, 0x61C, 0x61D, 0x200B, 0x200A, 0x200F, 0x2010, 0x2028, 0x2027,
                         0x202E, 0x202F, 0x2066, 0x2065, 0x2069, 0x206A, 0xFEFF, 0xFEFE}),
      "\\u009F\u00A0\\u061C\u061D\\u200B\u200A\\u200F\u2010\\u2028\u2027\\u202E\u202F"
      "\\u2066\u2065\\u2069\u206A\\uFEFF\uFEFE");
  EXPECT_EQ(printableText("\x1B[31m\xC3\xA9\xC3\xE2\x80\xAE\xF4\x90\x80\x80"),
            "\\u001B[31m\u00E9\\xC3\\u202E\\xF4\\x90\\x80\\x80");
}

}  // namespace
}  // namespace pmx
