// What the keyboard reads from the host: the command line, the notify record, the pad a field
// gets, and the rounding its arithmetic uses; and UTF-8 and UTF-16, the forms of its settings.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "KeyboardRig.h"
#include "app/CommandLine.h"
#include "common/HostProtocol.h"
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
  // A switch's value: the first one, its letter case as written; a missing switch gives 0.
  EXPECT_EQ(switchValue("/Controller:7 /Thread:1 2/Thread:3", "/Thread:"), 12);
  EXPECT_EQ(switchValue("/CONTROLLER:7 /thread:5", "/Controller:"), 0);
  EXPECT_EQ(windowFromInt32(-2), static_cast<WindowHandle>(static_cast<std::intptr_t>(-2)));
}

// The switch as people write it names the file it shows, or the keyboard's own; what cannot be
// read as one file is an error, never a check of another file.
TEST(CommandLine, CheckSettingsNamesAFileOrTheKeyboardsOwn) {
  const std::pair<std::string, std::string> cases[] = {
      {"/CheckSettings:a.ini /Project:x", "a.ini"},
      {"/CheckSettings:  a.ini", "a.ini"},
      {"/CheckSettings=a.ini", "a.ini"},
      {"/CheckSettings:\"C:\\My Panel\\b.ini\" /Project:x", "C:\\My Panel\\b.ini"},
      {"/CheckSettings: \"with blank.ini\"", "with blank.ini"},
      {"/Project:x \"/CheckSettings:with blank.ini\" \"/Thread:1\"", "with blank.ini"},
      {"\"/CheckSettings= with blank.ini \"", "with blank.ini"},
      {"/Project:x /CheckSettings", "own.ini"},
      {"/CheckSettings: /Project:x", "own.ini"},
      {"\"/CheckSettings\"", "own.ini"},
      {"/CheckSettings:", "own.ini"},
      {"/CheckSettings:\"\" /Project:x /Thread:1", "own.ini"},
  };
  for (const auto& [args, expected] : cases) {
    const SettingsCheckRequest request = settingsCheckSwitch(args, "own.ini");
    EXPECT_TRUE(request.requested && request.error.empty()) << args << ": " << request.error;
    EXPECT_EQ(request.file, expected) << args;
  }
  for (const char* args :
       {"/CheckSettings:with blank.ini", "/CheckSettings: a.ini b.ini", "/CheckSettings:\"a.ini",
        "/CheckSettingsX:a.ini", "\"/CheckSettings-a.ini\"", "/CheckSettings:a.ini \"b\"",
        "/CheckSettings:a.ini /Thread:1 b.ini", "\"/CheckSettings:a.ini\"x",
        "/CheckSettings:\"a b.ini\"x", "/CheckSettings:a.ini \"/Thread:1\"x"}) {
    const SettingsCheckRequest request = settingsCheckSwitch(args, "own.ini");
    EXPECT_TRUE(request.requested && !request.error.empty()) << args;
  }
  // The error quotes what it could not read.
  EXPECT_EQ(settingsCheckSwitch("/Thread:1 /CheckSettingsX:a.ini /Project:x", "").error,
            "\"/CheckSettingsX:a.ini\" is no switch of the keyboard");
  EXPECT_EQ(settingsCheckSwitch("/CheckSettings:a b /Thread:1", "").error.substr(0, 24),
            "b follows the file name:");
  EXPECT_FALSE(settingsCheckSwitch("/Project:x /checksettings:a.ini", "own.ini").requested);
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
  EXPECT_EQ(spelledCharacters(
                {'a', '\\', 0x1F, 0x7F, 0xE9, 0x10000, kByteCharacter + 0x82A0, kByteCharacter}),
            "a\\\\\\u001F\\u007F\\u00E9\\U00010000\\x82\\xA0\\x00");
}

}  // namespace
}  // namespace pmx
