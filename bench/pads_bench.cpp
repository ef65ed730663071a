// The keyboard's hot paths against the fake platform: answering a notify request (choose, check
// limits, place, show) and one touch of a key (hit-test, handler, keystroke string).
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "FakePlatform.h"
#include "app/HostProtocol.h"
#include "app/Keyboard.h"
#include "pads/Pad.h"

namespace {

using pmx::test::FakePlatform;

constexpr pmx::WindowHandle kField = 0x2000;

struct Rig {
  Rig() {
    fake.host.windows[kField].rect = {100, 100, 300, 125};
    keyboard.Main("/Controller:1 /Thread:2", "C:\\Panel");
    keyboard.KeyboardWindowProc(fake.host.messageWindow, fake.host.idOf("QDM32_1_TOUCHSHOWLIMITS"),
                                0, 1);
    keyboard.KeyboardWindowProc(fake.host.messageWindow, fake.host.idOf("QDM32_1_TOUCHPOSITION"),
                                0, 1);
    record.assign(pmx::kNotifyRecordBytes, 0);
    record[2] = 306 & 0xFF;
    record[3] = 306 >> 8;
    std::memcpy(record.data() + 6, "-100", 4);
    std::memcpy(record.data() + 261, "100", 3);
  }
  void notify(unsigned char format) {
    record[4] = format;
    pmx::CopyData data{fake.host.idOf("QDM32_1_NOTIFYKEYBOARD"), pmx::kNotifyRecordBytes,
                       record.data()};
    keyboard.KeyboardWindowProc(fake.host.messageWindow, pmx::kWmCopyData, kField,
                                reinterpret_cast<std::intptr_t>(&data));
  }
  FakePlatform fake;
  pmx::Keyboard keyboard{fake.platform};
  std::vector<unsigned char> record;
};

void BM_NotifyRequestSwitchingPads(benchmark::State& state) {
  Rig rig;
  unsigned char format = 0;
  for (auto _ : state) {
    rig.notify(format);
    format = static_cast<unsigned char>((format + 1) % 3);
  }
}
BENCHMARK(BM_NotifyRequestSwitchingPads);

void BM_TouchDigitKey(benchmark::State& state) {
  Rig rig;
  rig.notify(0);
  pmx::Pad& pad = *rig.keyboard.pads().pad(pmx::kPadNum);
  const pmx::Control* key = pad.find(pmx::ControlArray::Standard, 5);
  const float x = pad.originLeft(*key) + key->left + 10;
  const float y = pad.originTop(*key) + key->top + 10;
  for (auto _ : state) {
    pad.pointerDown(x, y);
    pad.pointerUp(x, y);
    rig.fake.keys.strings.clear();
    rig.fake.host.windows[kField].text.clear();
  }
}
BENCHMARK(BM_TouchDigitKey);

void BM_KeySizeReloadOfAllPads(benchmark::State& state) {
  Rig rig;
  const std::uint32_t id = rig.fake.host.idOf("QDM32_1_TOUCHKEYSIZE");
  for (auto _ : state) {
    rig.keyboard.KeyboardWindowProc(rig.fake.host.messageWindow, id, 0, 0x3FC00000);
  }
}
BENCHMARK(BM_KeySizeReloadOfAllPads);

}  // namespace
