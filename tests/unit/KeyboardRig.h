// A keyboard process on the fake platform, and a host that sends it requests.
#pragma once

#include <cstring>
#include <vector>

#include "FakePlatform.h"
#include "app/Keyboard.h"
#include "common/HostProtocol.h"
#include "pads/Pad.h"

namespace pmx::test {

constexpr WindowHandle kController = 0x1234;  // "/Controller:4660"
constexpr WindowHandle kField = 0x2000;

// The bytes of a notify record as a host writes them.
inline std::vector<unsigned char> notifyRecordBytes(std::int16_t type, std::int16_t format,
                                                    const char* min, const char* max) {
  std::vector<unsigned char> bytes(kNotifyRecordBytes, 0);
  const auto u16 = [](std::int16_t v) { return static_cast<std::uint16_t>(v); };
  bytes[2] = static_cast<unsigned char>(u16(type) & 0xFF);
  bytes[3] = static_cast<unsigned char>(u16(type) >> 8);
  bytes[4] = static_cast<unsigned char>(u16(format) & 0xFF);
  bytes[5] = static_cast<unsigned char>(u16(format) >> 8);
  std::memcpy(bytes.data() + 6, min, std::min(std::strlen(min), kLimitTextBytes));
  std::memcpy(bytes.data() + 6 + kLimitTextBytes, max, std::min(std::strlen(max), kLimitTextBytes));
  return bytes;
}

struct KeyboardRig {
  KeyboardRig() {
    fake.host.windows[kController] = {};
    fake.host.windows[kField].rect = {100, 100, 300, 125};
  }

  void start() { keyboard.Main("/Project:Plant1 /Controller:4660 /Thread:567", "C:\\Panel"); }

  std::uint32_t id(const char* name) { return fake.host.idOf(name); }

  std::intptr_t request(const char* name, std::uintptr_t wParam = 0, std::intptr_t lParam = 0) {
    return keyboard.KeyboardWindowProc(fake.host.messageWindow, id(name), wParam, lParam);
  }

  // A notify request for a field; `size` bytes of the record travel.
  std::intptr_t notify(WindowHandle field, std::int16_t type, std::int16_t format,
                       const char* min = "", const char* max = "",
                       std::size_t size = kNotifyRecordBytes) {
    std::vector<unsigned char> bytes = notifyRecordBytes(type, format, min, max);
    bytes.resize(size);  // exactly the payload: a read beyond it is caught by the sanitizer
    CopyData data{id("QDM32_1_NOTIFYKEYBOARD"), static_cast<std::uint32_t>(size),
                  bytes.empty() ? nullptr : bytes.data()};
    return keyboard.KeyboardWindowProc(fake.host.messageWindow, kWmCopyData, field,
                                       reinterpret_cast<std::intptr_t>(&data));
  }

  // A touch in the middle of a pad's key, as the native window reports it.
  void touch(Pad& pad, ControlArray array, int index = 0) {
    const Control* key = pad.find(array, index);
    if (key == nullptr) return;
    const float x = pad.originLeft(*key) + key->left + key->width / 2;
    const float y = pad.originTop(*key) + key->top + key->height / 2;
    pad.contactDown(kMouseContact, x, y);
    pad.contactUp(kMouseContact, x, y);
  }

  bool shown(int padNumber) const {
    const Pad* pad = const_cast<Keyboard&>(keyboard).pads().existingPad(padNumber);
    return pad != nullptr && pad->Visible();
  }

  FakePlatform fake;
  Keyboard keyboard{fake.platform};
};

}  // namespace pmx::test
