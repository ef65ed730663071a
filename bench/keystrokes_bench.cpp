// Parsing the keystroke strings the pads send, and the worst string the limit lets through.
#include <benchmark/benchmark.h>

#include <string>

#include "controls/KeyEvents.h"
#include "controls/Keystrokes.h"

namespace {

void BM_ParseDigit(benchmark::State& state) {
  const std::string text = "7";
  for (auto _ : state) benchmark::DoNotOptimize(pmx::parseKeystrokes(text));
}
BENCHMARK(BM_ParseDigit);

void BM_ParseBitKey(benchmark::State& state) {
  const std::string text = "{HOME}{RIGHT 7} {LEFT}";
  for (auto _ : state) benchmark::DoNotOptimize(pmx::parseKeystrokes(text));
}
BENCHMARK(BM_ParseBitKey);

void BM_ParseEndKeyWithModifiers(benchmark::State& state) {
  const std::string text = "+^%{ENTER}";
  for (auto _ : state) benchmark::DoNotOptimize(pmx::parseKeystrokes(text));
}
BENCHMARK(BM_ParseEndKeyWithModifiers);

void BM_ParseRejectedHugeString(benchmark::State& state) {
  const std::string text(100 * 1024, '1');
  for (auto _ : state) benchmark::DoNotOptimize(pmx::parseKeystrokes(text));
}
BENCHMARK(BM_ParseRejectedHugeString);

void BM_EventsForBitKey(benchmark::State& state) {
  const pmx::KeystrokeParse parsed = pmx::parseKeystrokes("{END}{LEFT 8} {LEFT}");
  const pmx::CharacterLayout layout = [](char32_t ch) {
    pmx::CharacterKey key;
    key.hasKey = true;
    key.vk = static_cast<pmx::VirtualKeyCode>(ch & 0xFF);
    return key;
  };
  for (auto _ : state) benchmark::DoNotOptimize(pmx::keyEventsFor(parsed.strokes, layout));
}
BENCHMARK(BM_EventsForBitKey);

}  // namespace
