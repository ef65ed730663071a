#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "KeyboardRig.h"
#include "app/HostProtocol.h"

namespace pmx {
namespace {

std::vector<unsigned char> record(std::int16_t type, std::int16_t format, const char* min,
                                  const char* max) {
  std::vector<unsigned char> bytes = test::notifyRecordBytes(type, format, min, max);
  bytes[0] = 0xAA;  // reserved: ignored
  return bytes;
}

TEST(NotifyRecord, DecodesLittleEndianFieldsAndTexts) {
  auto bytes = record(-300, 2, "-5", "100");
  NotifyRecord r = decodeNotifyRecord(bytes.data(), bytes.size());
  EXPECT_EQ(r.fieldType, -300);
  EXPECT_EQ(r.valueFormat, 2);
  EXPECT_EQ(limitText(r.limitMin), "-5");
  EXPECT_EQ(limitText(r.limitMax), "100");
}

TEST(NotifyRecord, TextEndsAtTheFirstNul) {
  auto bytes = record(306, 0, "100", "");
  bytes[6 + 4] = 'x';  // after the NUL: ignored
  NotifyRecord r = decodeNotifyRecord(bytes.data(), bytes.size());
  EXPECT_EQ(limitText(r.limitMin), "100");
  EXPECT_EQ(limitText(r.limitMax), "");
}

TEST(NotifyRecord, TextWithoutNulIsCutAt254Bytes) {
  auto bytes = record(306, 0, "", "");
  std::memset(bytes.data() + 6, 'a', 255);
  std::memset(bytes.data() + 261, 'b', 255);
  NotifyRecord r = decodeNotifyRecord(bytes.data(), bytes.size());
  EXPECT_EQ(limitText(r.limitMin), std::string(254, 'a'));
  EXPECT_EQ(limitText(r.limitMax), std::string(254, 'b'));
}

TEST(NotifyRecord, ShortPayloadsAreNeverReadBeyondTheirSize) {
  auto full = record(306, 2, "12345", "67890");
  // Each prefix is copied into a buffer of exactly its size, so a read past it is caught by the
  // address sanitizer; the missing bytes count as zero.
  for (std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{3}, std::size_t{5},
                           std::size_t{8}, std::size_t{9}, std::size_t{300}, std::size_t{515}}) {
    auto exact = std::make_unique<unsigned char[]>(size == 0 ? 1 : size);
    std::memcpy(exact.get(), full.data(), size);
    NotifyRecord r = decodeNotifyRecord(exact.get(), size);
    EXPECT_EQ(r.fieldType, size >= 4 ? 306 : (size == 3 ? 306 & 0xFF : 0)) << size;
    EXPECT_EQ(r.valueFormat, size >= 5 ? 2 : 0) << size;
    EXPECT_EQ(limitText(r.limitMin), std::string("12345").substr(0, size > 6 ? size - 6 : 0))
        << size;
  }
  NotifyRecord none = decodeNotifyRecord(nullptr, 516);
  EXPECT_EQ(none.fieldType, 0);
  EXPECT_EQ(limitText(none.limitMax), "");
}

TEST(PadChoice, TypedCodesFollowTheValueFormat) {
  for (std::int16_t type : {306, 307, 310, 370, 371, 374}) {
    EXPECT_EQ(choosePad(type, 0), kPadNum) << type;
    EXPECT_EQ(choosePad(type, 1), kPadBin) << type;
    EXPECT_EQ(choosePad(type, 2), kPadHex) << type;
    EXPECT_EQ(choosePad(type, 3), kPadNum) << type;
    EXPECT_EQ(choosePad(type, 4), kNoPad) << type;
    EXPECT_EQ(choosePad(type, -1), kNoPad) << type;
  }
}

TEST(PadChoice, NumericCodesIgnoreTheFormatAndEverythingElseIsAlpha) {
  for (std::int16_t type : {295, 305, 356}) {
    for (std::int16_t format : {0, 1, 2, 3, 4, -1}) EXPECT_EQ(choosePad(type, format), kPadNum);
  }
  for (std::int16_t type : {265, 0, -5, 1000, 308, 372}) {
    EXPECT_EQ(choosePad(type, 2), kPadAlpha) << type;
  }
}

}  // namespace
}  // namespace pmx
