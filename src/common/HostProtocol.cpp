#include "common/HostProtocol.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace pmx {

namespace {

std::int16_t readInt16(const unsigned char* bytes) {
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8)));
}

}  // namespace

NotifyRecord decodeNotifyRecord(const void* payload, std::size_t size) {
  unsigned char raw[kNotifyRecordBytes] = {};
  if (payload != nullptr) std::memcpy(raw, payload, std::min(size, kNotifyRecordBytes));
  NotifyRecord record;
  record.reserved = readInt16(raw + 0);
  record.fieldType = readInt16(raw + 2);
  record.valueFormat = readInt16(raw + 4);
  std::memcpy(record.limitMin, raw + 6, kLimitTextBytes);
  std::memcpy(record.limitMax, raw + 6 + kLimitTextBytes, kLimitTextBytes);
  return record;
}

std::string limitText(const char (&field)[kLimitTextBytes]) {
  const char* end = static_cast<const char*>(std::memchr(field, '\0', kLimitTextBytes));
  std::size_t length = end != nullptr ? static_cast<std::size_t>(end - field) : kLimitTextBytes - 1;
  return std::string(field, length);
}

int choosePad(std::int16_t fieldType, std::int16_t valueFormat) {
  switch (fieldType) {
    case 295:
    case 305:
    case 356:
      return kPadNum;
    case 306:
    case 307:
    case 310:
    case 370:
    case 371:
    case 374:
      switch (valueFormat) {
        case 0:
        case 3:
          return kPadNum;
        case 1:
          return kPadBin;
        case 2:
          return kPadHex;
        default:
          return kNoPad;
      }
    default:
      return kPadAlpha;
  }
}

bool keySizeFactorFromBits(std::uint32_t bits, float& factor) {
  float value = 0;
  static_assert(sizeof value == sizeof bits, "the host sends a single-precision float");
  std::memcpy(&value, &bits, sizeof value);
  if (!std::isfinite(value) || value < kMinKeySizeFactor || value > kMaxKeySizeFactor) {
    return false;
  }
  factor = value;
  return true;
}

}  // namespace pmx
