// The host protocol: message names, the notify record, the choice of pad for a field and the
// key-size factor of a request.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace pmx {

// The nine registered message names, in the order the keyboard registers them.
constexpr std::array<const char*, 9> kMessageNames = {
    "QDM32_1_KEYBOARDHANDLE",  "QDM32_1_TERMINATEKEYBOARD", "QDM32_1_HIDEKEYBOARD",
    "QDM32_1_NOTIFYKEYBOARD",  "QDM1_LANGUAGE",             "QDM32_1_TOUCHKEYBOARDHIDES",
    "QDM32_1_TOUCHPOSITION",   "QDM32_1_TOUCHSHOWLIMITS",   "QDM32_1_TOUCHKEYSIZE",
};

// Window messages of the system that the message window answers.
constexpr std::uint32_t kWmDestroy = 0x0002;
constexpr std::uint32_t kWmClose = 0x0010;
constexpr std::uint32_t kWmEndSession = 0x0016;
constexpr std::uint32_t kWmCopyData = 0x004A;
// The screen changed under the pads: the display's mode, or (with this wParam) the work area.
constexpr std::uint32_t kWmDisplayChange = 0x007E;
constexpr std::uint32_t kWmSettingChange = 0x001A;
constexpr std::uintptr_t kSpiSetWorkArea = 0x002F;

// Pad numbers.
constexpr int kPadNum = 0;
constexpr int kPadAlpha = 1;
constexpr int kPadHex = 2;
constexpr int kPadBin = 3;
constexpr int kNoPad = -1;

constexpr std::size_t kLimitTextBytes = 255;
constexpr std::size_t kNotifyRecordBytes = 516;

// The 516-byte record of a notify request, little-endian, fields back to back.
struct NotifyRecord {
  std::int16_t reserved = 0;
  std::int16_t fieldType = 0;
  std::int16_t valueFormat = 0;
  char limitMin[kLimitTextBytes] = {};
  char limitMax[kLimitTextBytes] = {};
};

// Copies a record from the sender's payload. Never reads beyond `size` bytes: bytes the payload
// does not have count as zero.
NotifyRecord decodeNotifyRecord(const void* payload, std::size_t size);

// A limit text: the bytes before the first NUL. A text with no NUL is cut at 254 bytes, the most a
// well-formed record holds.
std::string limitText(const char (&field)[kLimitTextBytes]);

// A message, or the tag of a WM_COPYDATA, is the request of a registered id; a registration that
// failed (id 0) matches nothing.
inline bool isRequest(std::uint32_t id, std::uintptr_t message) { return id != 0 && message == id; }

// The pad for a field, or kNoPad when the field's value format names no value pad.
int choosePad(std::int16_t fieldType, std::int16_t valueFormat);

// Key-size factors outside this range would make pads vanish or exceed what windows can be; such
// requests are ignored and the previous factor stays.
constexpr float kMinKeySizeFactor = 0.1f;
constexpr float kMaxKeySizeFactor = 10.0f;

// A key-size factor from the bits of a request's lParam; false when the factor is not usable.
bool keySizeFactorFromBits(std::uint32_t bits, float& factor);

}  // namespace pmx
