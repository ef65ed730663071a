// The soak: a host that drives the real keyboard for a long while the way a panel does, phase by
// phase, and prints what it sees after each: alive, requests answered, the keyboard's windows and
// resources, lost or wrong characters, modifiers left down, notices against closing touches.
//
//   pmx_soak --exe <PMXTouchKeyboard.exe> [--scale F]   F = 1 the full soak, 0.1 a tenth
//
// Exits 1 when the keyboard died, a request went unanswered, a character was lost or wrong, a
// modifier stayed down, the notices and the closing touches disagree, or the windows, handles or
// working set grew after the first phase.
#include <windows.h>
// After <windows.h>, which they need.
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "Host.h"

using namespace host_client;

namespace {

struct Resources {
  int windows = 0;          // top-level windows of the process, shown or not
  DWORD handles = 0;        // kernel handles
  DWORD gdi = 0, user = 0;  // GDI and USER objects, where the system counts them (Wine: 0)
  SIZE_T workingSetKb = 0;
};

Resources resources(const KeyboardHost& k) {
  Resources r;
  r.windows = static_cast<int>(topLevelWindows(k.keyboard.pid()).size());
  GetProcessHandleCount(k.keyboard.handle(), &r.handles);
  r.gdi = GetGuiResources(k.keyboard.handle(), GR_GDIOBJECTS);
  r.user = GetGuiResources(k.keyboard.handle(), GR_USEROBJECTS);
  PROCESS_MEMORY_COUNTERS memory{};
  if (GetProcessMemoryInfo(k.keyboard.handle(), &memory, sizeof memory))
    r.workingSetKb = memory.WorkingSetSize / 1024;
  return r;
}

struct Tally {
  int requests = 0, unanswered = 0, wrong = 0, modifiers = 0, closings = 0;
  bool ok() const { return unanswered == 0 && wrong == 0 && modifiers == 0; }
};

int failures = 0;

void report(const char* phase, KeyboardHost& k, const Tally& t, const Resources& first) {
  const Resources r = resources(k);
  const bool alive = k.answers();
  const bool grew =
      first.windows != 0 && (r.windows > first.windows || r.handles > first.handles + 8 ||
                             r.workingSetKb > first.workingSetKb * 105 / 100 + 512);
  const bool notices = k.hides() == t.closings;
  const bool ok = alive && t.ok() && notices && !grew;
  failures += ok ? 0 : 1;
  std::printf(
      "%-22s %-5s alive %-3s requests %5d answered %5d | windows %d handles %lu gdi %lu user %lu "
      "working set %lu KB | wrong characters %d, modifiers down %d, notices %d for %d closing "
      "touches\n",
      phase, ok ? "ok" : "FAIL", alive ? "yes" : "no", t.requests, t.requests - t.unanswered,
      r.windows, r.handles, r.gdi, r.user, static_cast<unsigned long>(r.workingSetKb), t.wrong,
      t.modifiers, k.hides(), t.closings);
  std::fflush(stdout);
}

void count(Tally& t, const SendResult& r) {
  ++t.requests;
  if (!r.delivered) ++t.unanswered;
}

}  // namespace

int main(int argc, char** argv) {
  std::string exe;
  double scale = 1;
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::string(argv[i]) == "--exe") exe = toWindowsPath(argv[i + 1]);
    if (std::string(argv[i]) == "--scale") scale = std::atof(argv[i + 1]);
  }
  const auto times = [scale](int n) { return std::max(1, static_cast<int>(n * scale)); };
  prepareHostProcess();
  KeyboardHost k;
  if (!k.start(exe)) {
    std::printf("the keyboard did not start: %s\n", k.why.c_str());
    return 1;
  }
  HWND field = k.fields[0];
  const FieldKind* kinds[] = {&kDecimalField, &kHexField, &kBinaryField, &kTextField};
  Tally t;

  // Notify requests for every kind of field, with and without limits.
  for (int i = 0; i < times(10000); ++i) {
    if (i % 500 == 0) count(t, k.request(messages().touchShowLimits, 0, i % 1000 == 0));
    count(t, k.notify(field, *kinds[i % 4], i % 3 ? "-5" : "", "100"));
  }
  const Resources first = resources(k);
  report("notify requests", k, t, Resources{});

  // Language and key-size requests, each with a notify request after it.
  for (int i = 0; i < times(300); ++i) {
    count(t, k.request(messages().language, i % 2 ? 1031 : 1033));
    count(t, k.notify(field, *kinds[i % 4]));
  }
  report("language requests", k, t, first);
  const float sizes[] = {1.5f, 1.0f, 2.0f, 1.0f};
  for (int i = 0; i < times(300); ++i) {
    count(t, k.request(messages().touchKeySize, 0, floatBits(sizes[i % 4])));
    count(t, k.notify(field, *kinds[i % 4]));
  }
  report("key-size requests", k, t, first);

  // Real clicks: digits typed and checked one by one, now and then Enter, which closes the pad.
  const int digits[] = {1, 3, 5, 7, 9, 0};
  const PadKey enterKey = padKey(kDecimalField.layout, pmx::ControlArray::End, 1);
  std::string expected;
  HWND pad = nullptr;
  for (int i = 0; i < times(2000); ++i) {
    if (pad == nullptr || !IsWindowVisible(pad)) {
      SetWindowTextA(field, "");
      expected.clear();
      pad = k.showPad(field, kDecimalField, "", "");
      if (pad == nullptr) break;
    }
    const bool enter = i % 50 == 49;
    const int digit = digits[i % 6];
    clickKey(pad,
             enter ? enterKey : padKey(kDecimalField.layout, pmx::ControlArray::Standard, digit));
    if (enter) {
      ++t.closings;
      waitFor([&] { return k.hides() == t.closings; }, kTypeTimeoutMs);
      continue;
    }
    expected += static_cast<char>('0' + digit);
    if (!waitFor([&] { return windowText(field) == expected; }, kTypeTimeoutMs)) {
      ++t.wrong;
      expected = windowText(field);
    }
    if (modifierDown() != 0) ++t.modifiers;
  }
  k.settle();
  report("clicks", k, t, first);

  // Malformed WM_COPYDATA: short, empty, foreign tags, limit texts without their NUL.
  NotifyRecord junk = makeNotifyRecord(306, 0, "", "");
  for (int i = 0; i < times(1000); ++i) {
    std::memset(reinterpret_cast<char*>(&junk) + 6, 'a' + i % 26, sizeof junk - 6);
    junk.fieldType = static_cast<std::int16_t>(i * 7919);
    const ULONG_PTR tag = i % 3 == 0 ? messages().notifyKeyboard + 1 : messages().notifyKeyboard;
    count(t, sendCopyData(k.keyboardWindow, field, tag, i % 5 == 0 ? nullptr : &junk,
                          i % 5 == 0 ? 0 : static_cast<DWORD>(i % 517)));
  }
  report("malformed payloads", k, t, first);

  if (!k.terminate()) {
    std::printf("the keyboard did not end: %s\n", k.why.c_str());
    ++failures;
  }
  std::printf("%s\n", failures == 0 ? "soak passed" : "soak FAILED");
  return failures == 0 ? 0 : 1;
}
