// The keyboard's hot paths against the fake platform: answering a notify request (choose, check
// limits, place, show) and one touch of a key (hit-test, handler, keystroke string).
#include <benchmark/benchmark.h>

#include "KeyboardRig.h"

namespace {

using pmx::test::kField;

struct Rig : pmx::test::KeyboardRig {
  Rig() {
    fake.windows.screens = false;  // the fake screens' pixels would be most of the time
    start();
    request("QDM32_1_TOUCHSHOWLIMITS", 0, 1);
    request("QDM32_1_TOUCHPOSITION", 0, 1);
  }
  void notify(std::int16_t format) { KeyboardRig::notify(kField, 306, format, "-100", "100"); }
};

void BM_NotifyRequestSwitchingPads(benchmark::State& state) {
  Rig rig;
  std::int16_t format = 0;
  for (auto _ : state) {
    rig.notify(format);
    format = static_cast<std::int16_t>((format + 1) % 3);
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
    pad.contactDown(pmx::kMouseContact, x, y);
    pad.contactUp(pmx::kMouseContact, x, y);
    rig.fake.keys.batches.clear();
    rig.fake.host.windows[kField].text.clear();
    rig.fake.host.windows[kField].caret = 0;
  }
}
BENCHMARK(BM_TouchDigitKey);

void BM_KeySizeReloadOfAllPads(benchmark::State& state) {
  Rig rig;
  for (auto _ : state) rig.request("QDM32_1_TOUCHKEYSIZE", 0, 0x3FC00000);
}
BENCHMARK(BM_KeySizeReloadOfAllPads);

}  // namespace
