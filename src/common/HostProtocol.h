// The host protocol: message names, the notify record, the choice of pad for a field and the
// key-size factor of a request.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

// The public header hosts build against: the keyboard takes its protocol from it, so the two
// cannot drift apart.
#include "PMXTouchKeyboard.h"

namespace pmx {

// The nine registered message names, in the order the keyboard registers them.
constexpr std::array<const char*, PMXTK_MESSAGE_COUNT> kMessageNames = {
    PMXTK_MSG_KEYBOARDHANDLE, PMXTK_MSG_TERMINATEKEYBOARD, PMXTK_MSG_HIDEKEYBOARD,
    PMXTK_MSG_NOTIFYKEYBOARD, PMXTK_MSG_LANGUAGE,          PMXTK_MSG_TOUCHKEYBOARDHIDES,
    PMXTK_MSG_TOUCHPOSITION,  PMXTK_MSG_TOUCHSHOWLIMITS,   PMXTK_MSG_TOUCHKEYSIZE,
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
constexpr int kPadNum = PMXTK_PAD_DECIMAL;
constexpr int kPadAlpha = PMXTK_PAD_ALPHANUMERIC;
constexpr int kPadHex = PMXTK_PAD_HEXADECIMAL;
constexpr int kPadBin = PMXTK_PAD_BINARY;
constexpr int kNoPad = PMXTK_PAD_NONE;

constexpr std::size_t kLimitTextBytes = PMXTK_LIMIT_TEXT_BYTES;
constexpr std::size_t kNotifyRecordBytes = PMXTK_NOTIFY_RECORD_BYTES;

// The 516-byte record of a notify request, little-endian, fields back to back.
using NotifyRecord = PMXTK_NOTIFY_RECORD;

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
constexpr float kMinKeySizeFactor = PMXTK_KEY_SIZE_MIN;
constexpr float kMaxKeySizeFactor = PMXTK_KEY_SIZE_MAX;

// A key-size factor from the bits of a request's lParam; false when the factor is not usable.
bool keySizeFactorFromBits(std::uint32_t bits, float& factor);

}  // namespace pmx
