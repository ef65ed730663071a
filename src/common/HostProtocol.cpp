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
  record.reserved = readInt16(raw + offsetof(NotifyRecord, reserved));
  record.fieldType = readInt16(raw + offsetof(NotifyRecord, fieldType));
  record.valueFormat = readInt16(raw + offsetof(NotifyRecord, valueFormat));
  std::memcpy(record.limitMin, raw + offsetof(NotifyRecord, limitMin), kLimitTextBytes);
  std::memcpy(record.limitMax, raw + offsetof(NotifyRecord, limitMax), kLimitTextBytes);
  return record;
}

std::string limitText(const char (&field)[kLimitTextBytes]) {
  const char* end = static_cast<const char*>(std::memchr(field, '\0', kLimitTextBytes));
  std::size_t length = end != nullptr ? static_cast<std::size_t>(end - field) : kLimitTextBytes - 1;
  return std::string(field, length);
}

int choosePad(std::int16_t fieldType, std::int16_t valueFormat) {
  return pmxtk_pad_for_field(fieldType, valueFormat);
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
