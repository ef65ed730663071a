// The keyboard's latency as a host sees it: a benchmark host that starts PMXTouchKeyboard.exe the
// way an HMI runtime does and times what the runtime waits for, each figure beside a baseline of
// this machine and this run. Not a test: it fails on nothing but being unable to run.
//
//   host_bench.exe --exe <PMXTouchKeyboard.exe> [--quick]
//   host_bench.exe --idle /Controller:<window> [/Thread:<id> /Field:<window>]   (internal)
//   host_bench.exe --killed-host --exe <exe> /Controller:<window>                  (internal)
//   host_bench.exe /Controller:<window> /Thread:<id>    as a host starts the keyboard: a keyboard
//                                                       that only announces itself (a failing
//                                                       keyboard for the panel check)
//
// The baselines come from the host itself (its own keystroke) and from a second process, the same
// program started with --idle: a hidden window announced to the host and a message loop, nothing
// else (the do-nothing program); with /Field: also two pads that show on notify requests and
// type a 7 when clicked (the least keyboard: the floor of what a notify and a touch can cost).
#include <windows.h>
// After windows.h, which they need.
#include <psapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "Host.h"

namespace {

using namespace host_client;

// ---- Time -----------------------------------------------------------------------------------

double now() {
  static const double msPerTick = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return 1000.0 / static_cast<double>(f.QuadPart);
  }();
  LARGE_INTEGER c;
  QueryPerformanceCounter(&c);
  return static_cast<double>(c.QuadPart) * msPerTick;
}

struct Samples {
  std::vector<double> values;
  void add(double v) { values.push_back(v); }
  // Nearest rank: the smallest value with at least q of the samples at or below it.
  double quantile(double q) const {
    if (values.empty()) return 0;
    std::vector<double> sorted = values;
    std::sort(sorted.begin(), sorted.end());
    const auto rank = static_cast<std::size_t>(std::ceil(q * static_cast<double>(sorted.size())));
    return sorted[std::min(sorted.size() - 1, rank == 0 ? 0 : rank - 1)];
  }
  double median() const {
    if (values.empty()) return 0;
    std::vector<double> sorted = values;
    std::sort(sorted.begin(), sorted.end());
    const std::size_t n = sorted.size();
    return n % 2 == 1 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
  }
  double p95() const { return quantile(0.95); }
};

// ---- The host window ------------------------------------------------------------------------

constexpr char kHostClass[] = "PMXBenchHost";
constexpr char kIdleClass[] = "PMXBenchIdle";
constexpr char kIdleReadyName[] = "PMXBench_IDLEWINDOW";
// A host of its own that the benchmark kills tells it which keyboard it started.
constexpr char kKilledHostReadyName[] = "PMXBench_KILLEDHOSTKEYBOARD";
constexpr int kFieldId = 100;
// The pads of the least keyboard, in screen pixels, clear of where the keyboard puts its pads.
constexpr char kLeastPadClass[] = "PMXBenchLeastPad";
constexpr int kLeastPadLeft = 700, kLeastPadTop = 450, kLeastPadSide = 120;

struct HostState {
  HWND window = nullptr;
  HWND field = nullptr;
  UINT idleReady = 0;
  UINT killedHostReady = 0;
  DWORD killedHostKeyboard = 0;  // the process id of the keyboard of the host to kill
  HWND keyboardWindow = nullptr;
  double keyboardAnnounced = 0;  // when "QDM32_1_KEYBOARDHANDLE" arrived
  HWND idleWindow = nullptr;
  HWND idlePad = nullptr;  // the least keyboard's pad for numbers
  double idleAnnounced = 0;
  int changes = 0;        // EN_CHANGE of the field
  double lastChange = 0;  // when the last one arrived
};
HostState g;

LRESULT CALLBACK hostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  const Messages& m = messages();
  if (message == m.keyboardHandle) {
    g.keyboardAnnounced = now();
    g.keyboardWindow = reinterpret_cast<HWND>(wParam);
    return 0;
  }
  if (message == g.idleReady && g.idleReady != 0) {
    g.idleAnnounced = now();
    g.idleWindow = reinterpret_cast<HWND>(wParam);
    g.idlePad = reinterpret_cast<HWND>(lParam);
    return 0;
  }
  if (message == g.killedHostReady && g.killedHostReady != 0) {
    g.killedHostKeyboard = static_cast<DWORD>(wParam);
    return 0;
  }
  if (message == WM_COMMAND && LOWORD(wParam) == kFieldId && HIWORD(wParam) == EN_CHANGE) {
    g.lastChange = now();
    ++g.changes;
    return 0;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

bool createHost() {
  SetProcessDPIAware();
  messages();
  g.idleReady = RegisterWindowMessageA(kIdleReadyName);
  g.killedHostReady = RegisterWindowMessageA(kKilledHostReadyName);
  WNDCLASSA wc{};
  wc.lpfnWndProc = &hostProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kHostClass;
  RegisterClassA(&wc);
  g.window = CreateWindowExA(0, kHostClass, "PMX benchmark host",
                             WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 40, 40, 420, 200,
                             nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  if (g.window == nullptr) return false;
  g.field = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "",
                            WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, 20, 20, 160, 24,
                            g.window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFieldId)),
                            GetModuleHandleA(nullptr), nullptr);
  return g.field != nullptr;
}

bool activateField() {
  return waitFor(
      [] {
        if (GetForegroundWindow() != g.window) SetForegroundWindow(g.window);
        if (GetFocus() != g.field) SetFocus(g.field);
        return GetForegroundWindow() == g.window && GetFocus() == g.field;
      },
      5000);
}

// Empties the field without counting it as a change.
void clearField() {
  SetWindowTextA(g.field, "");
  pumpMessages();
  g.changes = 0;
}

// Waits for a condition, pumping messages, with a wait of about a millisecond between polls (the
// 10 ms slices of waitFor would swamp the figures measured with it).
template <typename Condition>
bool pollFor(Condition condition, double timeoutMs) {
  const double deadline = now() + timeoutMs;
  for (;;) {
    pumpMessages();
    if (condition()) return true;
    if (now() >= deadline) return false;
    MsgWaitForMultipleObjectsEx(0, nullptr, 1, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
}

// ---- The processes --------------------------------------------------------------------------

std::string selfPath() {
  char path[MAX_PATH * 2] = {};
  GetModuleFileNameA(nullptr, path, sizeof path);
  return path;
}

struct Started {
  double ms = 0;  // from CreateProcess to the announcement
  bool ok = false;
};

Started startKeyboard(KeyboardProcess& keyboard, const std::string& exe) {
  g.keyboardWindow = nullptr;
  Started s;
  const std::string args = keyboardArguments("Bench", g.window, GetCurrentThreadId());
  const double t0 = now();
  if (!keyboard.start(exe, args)) return s;
  const bool announced =
      waitFor([&] { return g.keyboardWindow != nullptr || !keyboard.running(); }, 15000);
  s.ok = announced && g.keyboardWindow != nullptr;
  s.ms = g.keyboardAnnounced - t0;
  return s;
}

void stopKeyboard(KeyboardProcess& keyboard) {
  if (keyboard.running() && g.keyboardWindow != nullptr) {
    sendRequest(g.keyboardWindow, messages().terminateKeyboard, 0, 0, 2000);
    waitForProcessExit(keyboard.handle(), 3000);
  }
  keyboard.kill();
  keyboard.close();
  g.keyboardWindow = nullptr;
}

std::string number(const void* handle) {
  return std::to_string(static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(handle)));
}

// The do-nothing process; with pads, the least keyboard.
Started startIdle(KeyboardProcess& idle, bool withPad = false) {
  g.idleWindow = nullptr;
  g.idlePad = nullptr;
  Started s;
  std::string args = "--idle /Controller:" + number(g.window);
  if (withPad) {
    args += " /Thread:" + std::to_string(GetCurrentThreadId()) + " /Field:" + number(g.field);
  }
  const double t0 = now();
  if (!idle.start(selfPath(), args)) return s;
  const bool announced = waitFor([&] { return g.idleWindow != nullptr || !idle.running(); }, 15000);
  s.ok = announced && g.idleWindow != nullptr;
  s.ms = g.idleAnnounced - t0;
  return s;
}

void stopIdle(KeyboardProcess& idle) {
  if (idle.running() && g.idleWindow != nullptr) {
    PostMessageA(g.idleWindow, WM_CLOSE, 0, 0);
    waitForProcessExit(idle.handle(), 3000);
  }
  idle.kill();
  idle.close();
  g.idleWindow = nullptr;
}

// Until a process has nothing left to do: no window of it waits to be painted, and its message
// window answers a message (sent messages go before painting, so the poll comes first).
void settle(DWORD pid, HWND messageWindow) {
  pollFor(
      [pid] {
        for (HWND w : visibleTopLevelWindows(pid)) {
          if (GetUpdateRect(w, nullptr, FALSE)) return false;
        }
        return true;
      },
      2000);
  if (messageWindow != nullptr) sendRequest(messageWindow, WM_NULL, 0, 0, 2000);
  pumpMessages();
}

void settle(DWORD pid) { settle(pid, g.keyboardWindow); }

double timedRequest(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const double t0 = now();
  sendRequest(window, message, wParam, lParam);
  return now() - t0;
}

const NotifyRecord& decimalRecord() {
  static const NotifyRecord r = makeNotifyRecord(306, 0, "-100", "100");
  return r;
}
const NotifyRecord& textRecord() {
  static const NotifyRecord r = makeNotifyRecord(265, 0, "", "");
  return r;
}
const NotifyRecord& hexRecord() {
  static const NotifyRecord r = makeNotifyRecord(306, 2, "0", "FFFF");
  return r;
}
const NotifyRecord& binaryRecord() {
  static const NotifyRecord r = makeNotifyRecord(306, 1, "0", "65535");
  return r;
}

double timedNotify(HWND window, const NotifyRecord& record) {
  const double t0 = now();
  sendNotify(window, g.field, record);
  return now() - t0;
}

// ---- Input ----------------------------------------------------------------------------------

bool clickCentre(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return clickAt(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
}

bool typeSeven() {
  INPUT in[2] = {};
  for (INPUT& i : in) {
    i.type = INPUT_KEYBOARD;
    i.ki.wVk = '7';
    i.ki.wScan = static_cast<WORD>(MapVirtualKeyA('7', MAPVK_VK_TO_VSC));
  }
  in[1].ki.dwFlags = KEYEVENTF_KEYUP;
  return SendInput(2, in, sizeof(INPUT)) == 2;
}

// ---- Process figures ------------------------------------------------------------------------

// The working set and the private bytes (what the process itself allocated) in MB. Under Wine the
// working set also holds the image as read from the file, debug sections and all.
struct Memory {
  double workingSet = 0, privateBytes = 0;
};

Memory memory(HANDLE process) {
  PROCESS_MEMORY_COUNTERS pmc{};
  pmc.cb = sizeof pmc;
  if (!GetProcessMemoryInfo(process, &pmc, sizeof pmc)) return Memory{};
  const double mb = 1024.0 * 1024.0;
  return Memory{static_cast<double>(pmc.WorkingSetSize) / mb,
                static_cast<double>(pmc.PagefileUsage) / mb};
}

double fileTimeMs(const FILETIME& f) {
  ULARGE_INTEGER u;
  u.LowPart = f.dwLowDateTime;
  u.HighPart = f.dwHighDateTime;
  return static_cast<double>(u.QuadPart) / 10000.0;
}

// User and kernel time of a process so far. GetProcessTimes would say it, but Wine answers it
// with the times of the calling process for every process; the sum over the process's threads
// is right on both.
double cpuMs(DWORD pid) {
  double total = 0;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return -1;
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
    if (entry.th32OwnerProcessID != pid) continue;
    HANDLE thread = OpenThread(THREAD_QUERY_INFORMATION, FALSE, entry.th32ThreadID);
    if (thread == nullptr) continue;
    FILETIME created, exited, kernel, user;
    if (GetThreadTimes(thread, &created, &exited, &kernel, &user)) {
      total += fileTimeMs(kernel) + fileTimeMs(user);
    }
    CloseHandle(thread);
  }
  CloseHandle(snapshot);
  return total;
}

// ---- The report -----------------------------------------------------------------------------

struct Row {
  std::string name;
  double median = 0, p95 = 0;
  std::size_t n = 0;
  std::string unit;
  std::string baselineName;
  double baseline = 0;  // the baseline's median; 0: the row is a baseline itself
  std::string target;   // e.g. "<= 1.8": the ratio the keyboard aims at
  double targetLimit = 0;
};

std::vector<Row> g_rows;

void addRow(const std::string& name, const Samples& s, const char* unit = "ms",
            const std::string& baselineName = "", double baseline = 0,
            const std::string& target = "", double targetLimit = 0) {
  Row r;
  r.name = name;
  r.median = s.median();
  r.p95 = s.p95();
  r.n = s.values.size();
  r.unit = unit;
  r.baselineName = baselineName;
  r.baseline = baseline;
  r.target = target;
  r.targetLimit = targetLimit;
  g_rows.push_back(r);
}

std::string format(double v, int decimals) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*f", decimals, v);
  return buffer;
}

void printReport() {
  std::printf("\n| Figure | Median | p95 | n | Baseline (median) | Ratio | Target |\n");
  std::printf("|---|---|---|---|---|---|---|\n");
  for (const Row& r : g_rows) {
    const int decimals = r.unit == "MB" ? 1 : 2;
    std::string ratio = "-", baseline = "-", target = "-";
    if (r.baseline > 0) {
      const double q = r.median / r.baseline;
      ratio = format(q, 2);
      baseline = r.baselineName + " " + format(r.baseline, decimals) + " " + r.unit;
      if (!r.target.empty()) {
        target = r.target + (q <= r.targetLimit ? " met" : " missed");
      }
    } else if (!r.target.empty()) {
      target = r.target + (r.median <= r.targetLimit ? " met" : " missed");
    }
    std::printf("| %s | %s %s | %s | %zu | %s | %s | %s |\n", r.name.c_str(),
                format(r.median, decimals).c_str(), r.unit.c_str(),
                r.n > 1 ? format(r.p95, decimals).c_str() : "-", r.n, baseline.c_str(),
                ratio.c_str(), target.c_str());
  }
  std::fflush(stdout);
}

void progress(const char* what) {
  std::printf("bench: %s\n", what);
  std::fflush(stdout);
}

// ---- The runs -------------------------------------------------------------------------------

struct Counts {
  int startups = 15;
  int copyData = 2000;
  int samePad = 400;
  int alternating = 200;
  int touches = 100;
  int reloads = 30;
  int kills = 10;
  int requests = 10000;
  double idleSeconds = 10;
};

int runBench(const std::string& exe, const Counts& n) {
  if (!createHost() || !activateField()) {
    std::printf("bench: the host window or its field could not be made active\n");
    return 2;
  }

  // Start-up: the do-nothing process and the keyboard, alternately; each keyboard also takes
  // its first notify request, which creates the pad.
  progress("start-up and first notify requests");
  Samples idleStart, keyboardStart, firstNotify, firstNotifyAlpha;
  for (int i = 0; i < n.startups; ++i) {
    KeyboardProcess idle;
    const Started si = startIdle(idle);
    if (si.ok) idleStart.add(si.ms);
    stopIdle(idle);

    KeyboardProcess keyboard;
    const Started sk = startKeyboard(keyboard, exe);
    if (!sk.ok) {
      std::printf("bench: the keyboard did not announce itself\n");
      return 2;
    }
    keyboardStart.add(sk.ms);
    settle(keyboard.pid());
    activateField();
    firstNotify.add(timedNotify(g.keyboardWindow, decimalRecord()));
    settle(keyboard.pid());
    firstNotifyAlpha.add(timedNotify(g.keyboardWindow, textRecord()));
    settle(keyboard.pid());
    stopKeyboard(keyboard);
  }

  // The round trip of a WM_COPYDATA to a window that does nothing.
  progress("WM_COPYDATA round trips to a window that does nothing");
  Samples copyData;
  {
    KeyboardProcess idle;
    if (!startIdle(idle).ok) {
      std::printf("bench: the idle process did not announce itself\n");
      return 2;
    }
    for (int i = 0; i < n.copyData; ++i) copyData.add(timedNotify(g.idleWindow, decimalRecord()));
    stopIdle(idle);
  }

  KeyboardProcess keyboard;
  if (!startKeyboard(keyboard, exe).ok) {
    std::printf("bench: the keyboard did not announce itself\n");
    return 2;
  }
  const DWORD pid = keyboard.pid();
  const HWND kb = g.keyboardWindow;
  settle(pid);
  activateField();

  // The least keyboard runs beside it from here on: the floor of what a notify and a touch cost.
  KeyboardProcess least;
  if (!startIdle(least, true).ok || g.idlePad == nullptr) {
    std::printf("bench: the least keyboard did not announce itself\n");
    return 2;
  }
  const DWORD leastPid = least.pid();
  const HWND leastWindow = g.idleWindow;
  activateField();

  progress("notify requests: the same pad, alternating pads (and on the least keyboard)");
  Samples samePad, alternating, alternatingPainted, leastSame, leastAlternating;
  sendNotify(kb, g.field, decimalRecord());
  settle(pid);
  for (int i = 0; i < n.samePad; ++i) {
    samePad.add(timedNotify(kb, decimalRecord()));
    settle(pid);
    leastSame.add(timedNotify(leastWindow, decimalRecord()));
    settle(leastPid, leastWindow);
  }
  for (int i = 0; i < n.alternating; ++i) {
    const NotifyRecord& record = i % 2 == 0 ? textRecord() : decimalRecord();
    const double t0 = now();
    sendNotify(kb, g.field, record);
    alternating.add(now() - t0);
    settle(pid);
    alternatingPainted.add(now() - t0);
    leastAlternating.add(timedNotify(leastWindow, record));
    settle(leastPid, leastWindow);
  }

  progress("touch of the decimal pad's 7 (click, contact), the host's own 7, the least keyboard");
  Samples touch, ownKey, leastTouch, contact;
  sendNotify(kb, g.field, decimalRecord());
  settle(pid);
  sendNotify(leastWindow, g.field, decimalRecord());
  settle(leastPid, leastWindow);
  HWND pad = findVisibleWindow(pid, kNumPadClass);
  if (pad == nullptr) {
    std::printf("bench: the decimal pad did not show\n");
    return 2;
  }
  const PadKey key7 = padKey(kDecimalField.layout, pmx::ControlArray::Standard, 7);
  for (int i = 0; i < n.touches; ++i) {
    for (int way = 0; way < 4; ++way) {
      clearField();
      settle(pid);
      settle(leastPid, leastWindow);
      const double t0 = now();
      // way 3: a finger's down and up, posted as Windows sends them (Wine makes none).
      const WORD primary = POINTER_MESSAGE_FLAG_PRIMARY;
      const bool sent = way == 0   ? clickKey(pad, key7)
                        : way == 1 ? typeSeven()
                        : way == 2 ? clickCentre(g.idlePad)
                                   : postContact(pad, WM_POINTERDOWN, 1, key7, primary) &&
                                         postContact(pad, WM_POINTERUP, 1, key7, primary);
      if (!sent) continue;
      Samples& into = way == 0 ? touch : way == 1 ? ownKey : way == 2 ? leastTouch : contact;
      if (pollFor([] { return g.changes > 0; }, 3000)) into.add(g.lastChange - t0);
    }
  }
  clearField();
  stopIdle(least);

  progress("language and key-size requests with all four pads loaded");
  Samples language, keySize, notifyAfterReload;
  const Messages& m = messages();
  for (const NotifyRecord* r : {&textRecord(), &hexRecord(), &binaryRecord(), &decimalRecord()}) {
    sendNotify(kb, g.field, *r);
    settle(pid);
  }
  for (int i = 0; i < n.reloads; ++i) {
    language.add(timedRequest(kb, m.language, i % 2 == 0 ? 1031 : 1033, 0));
    settle(pid);
    notifyAfterReload.add(timedNotify(kb, decimalRecord()));
    settle(pid);
  }
  for (int i = 0; i < n.reloads; ++i) {
    keySize.add(timedRequest(kb, m.touchKeySize, 0, floatBits(i % 2 == 0 ? 1.25f : 1.0f)));
    settle(pid);
    notifyAfterReload.add(timedNotify(kb, decimalRecord()));
    settle(pid);
  }
  stopKeyboard(keyboard);

  // Memory: a fresh keyboard, then a mix of every request a host sends. Each hundred holds every
  // kind, a language request and both key sizes among them, so that the first hundred has met
  // every state the pads can be in: what grows after it, grows with use.
  progress("working set over requests");
  Memory atStart, at100, atAll;
  KeyboardProcess idle;
  if (!startKeyboard(keyboard, exe).ok || !startIdle(idle).ok) {
    std::printf("bench: a process did not announce itself\n");
    return 2;
  }
  const DWORD pid2 = keyboard.pid();
  const HWND kb2 = g.keyboardWindow;
  settle(pid2);
  activateField();
  atStart = memory(keyboard.handle());
  const NotifyRecord* cycle[] = {&decimalRecord(), &textRecord(),    &hexRecord(),
                                 &binaryRecord(),  &decimalRecord(), &decimalRecord()};
  for (int i = 1; i <= n.requests; ++i) {
    if (i % 100 == 25) {
      sendRequest(kb2, m.language, (i / 100) % 2 == 0 ? 1031 : 1033, 0);
    } else if (i % 100 == 50 || i % 100 == 0) {
      sendRequest(kb2, m.touchKeySize, 0, floatBits(i % 100 == 50 ? 1.25f : 1.0f));
    } else if (i % 10 == 9) {
      sendRequest(kb2, m.hideKeyboard, 0, 0);
    } else if (i % 10 == 7) {
      sendRequest(kb2, m.touchShowLimits, 0, (i / 10) % 2);
    } else {
      sendNotify(kb2, g.field, *cycle[static_cast<std::size_t>(i) % 6]);
    }
    settle(pid2);
    if (i == 100) at100 = memory(keyboard.handle());
  }
  atAll = memory(keyboard.handle());

  // Idle: both processes left alone, a pad on screen.
  progress("CPU time while idle");
  sendNotify(kb2, g.field, decimalRecord());
  settle(pid2);
  const double cpu0 = cpuMs(pid2), idleCpu0 = cpuMs(idle.pid());
  waitFor([] { return false; }, static_cast<DWORD>(n.idleSeconds * 1000));
  const double cpu1 = cpuMs(pid2), idleCpu1 = cpuMs(idle.pid());
  // Whether the system reports another process's times at all: the keyboard has worked hard.
  const bool timesKnown = cpu1 > 0;
  stopKeyboard(keyboard);
  stopIdle(idle);

  // A host killed with its keyboard and a pad on screen: from TerminateProcess until the
  // keyboard's process has ended, beside the time until the killed host's own process has.
  progress("hosts killed with a pad on screen");
  Samples hostKilled, keyboardGone;
  for (int i = 0; i < n.kills; ++i) {
    KeyboardProcess host;
    g.killedHostKeyboard = 0;
    if (!host.start(selfPath(),
                    "--killed-host --exe \"" + exe + "\" /Controller:" + number(g.window)) ||
        !waitFor([&] { return g.killedHostKeyboard != 0 || !host.running(); }, 20000) ||
        g.killedHostKeyboard == 0) {
      std::printf("bench: the host to kill did not start its keyboard\n");
      return 2;
    }
    const HANDLE gone = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, g.killedHostKeyboard);
    const double t0 = now();
    TerminateProcess(host.handle(), 99);
    WaitForSingleObject(host.handle(), 5000);
    const double t1 = now();
    if (gone != nullptr && WaitForSingleObject(gone, 5000) == WAIT_OBJECT_0) {
      hostKilled.add(t1 - t0);
      keyboardGone.add(now() - t0);
    } else {
      std::printf("bench: a keyboard outlived its killed host by 5 s\n");
    }
    if (gone != nullptr) {
      TerminateProcess(gone, 99);
      CloseHandle(gone);
    }
  }

  const double baseCopy = copyData.median();
  addRow("start-up to QDM32_1_KEYBOARDHANDLE", keyboardStart, "ms",
         "start-up of a do-nothing program", idleStart.median());
  addRow("start-up of a do-nothing program to its first message", idleStart);
  addRow("WM_COPYDATA round trip to a do-nothing window", copyData);
  addRow("notify, first (creates the decimal pad)", firstNotify, "ms", "WM_COPYDATA", baseCopy);
  addRow("notify, first (creates the alphanumeric pad)", firstNotifyAlpha, "ms", "WM_COPYDATA",
         baseCopy);
  addRow("notify, same pad again", samePad, "ms", "WM_COPYDATA", baseCopy);
  addRow("least keyboard: notify, same pad again", leastSame, "ms", "WM_COPYDATA", baseCopy);
  addRow("notify, alternating decimal / alphanumeric", alternating, "ms", "same-pad notify",
         samePad.median(), "<= 3", 3);
  addRow("notify, alternating, until painted", alternatingPainted, "ms", "same-pad notify",
         samePad.median());
  addRow("least keyboard: notify, alternating", leastAlternating, "ms", "its same-pad notify",
         leastSame.median());
  addRow("host's own SendInput 7 to EN_CHANGE", ownKey);
  addRow("touch 7 (SendInput click) to EN_CHANGE", touch, "ms", "own SendInput", ownKey.median(),
         "<= 1.8", 1.8);
  addRow("click on the least keyboard to EN_CHANGE", leastTouch, "ms", "own SendInput",
         ownKey.median());
  addRow("contact down on 7 (posted pointer messages) to EN_CHANGE", contact, "ms", "own SendInput",
         ownKey.median());
  addRow("language request, four pads loaded", language, "ms", "first notify", firstNotify.median(),
         "<= 2", 2);
  addRow("key-size request, four pads loaded", keySize, "ms", "first notify", firstNotify.median(),
         "<= 2", 2);
  addRow("notify after a language or key-size request", notifyAfterReload, "ms", "same-pad notify",
         samePad.median());
  addRow("a killed host's own process ended", hostKilled);
  addRow("host killed to keyboard gone", keyboardGone, "ms", "killed host ended",
         hostKilled.median());
  const auto one = [](double value) {
    Samples s;
    s.add(value);
    return s;
  };
  const std::string all = std::to_string(n.requests);
  addRow("working set after start", one(atStart.workingSet), "MB");
  addRow("working set after 100 requests", one(at100.workingSet), "MB", "after start",
         atStart.workingSet);
  addRow("working set after " + all + " requests", one(atAll.workingSet), "MB", "after 100",
         at100.workingSet, "<= 1.05", 1.05);
  addRow("private bytes after start", one(atStart.privateBytes), "MB");
  addRow("private bytes after 100 requests", one(at100.privateBytes), "MB", "after start",
         atStart.privateBytes);
  addRow("private bytes after " + all + " requests", one(atAll.privateBytes), "MB", "after 100",
         at100.privateBytes);
  if (timesKnown) {
    const std::string what = "CPU time idle for " + format(n.idleSeconds, 0) + " s";
    addRow(what + ", do-nothing program", one(idleCpu1 - idleCpu0));
    addRow(what, one(cpu1 - cpu0), "ms", "", 0, "0 ms", 0);
  } else {
    std::printf("bench: the system reports no CPU times of other processes\n");
  }
  printReport();
  return 0;
}

// ---- The do-nothing process ---------------------------------------------------------------

// With /Field: it is the least a keyboard must do: linked to the host's input, two pad windows
// made at start; a notify request shows the one for the field (the second for a text field) and
// hands the focus back to the field, and a click on a pad types a 7 into the field.
HWND g_idleField = nullptr;
HWND g_leastPads[2] = {};

LRESULT CALLBACK idleProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) PostQuitMessage(0);
  if (message == WM_COPYDATA && g_idleField != nullptr) {
    const auto* cds = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    if (cds->dwData == messages().notifyKeyboard && cds->cbData >= sizeof(NotifyRecord)) {
      NotifyRecord record;
      std::memcpy(&record, cds->lpData, sizeof record);
      const int shown = record.fieldType == 265 ? 1 : 0;
      ShowWindow(g_leastPads[1 - shown], SW_HIDE);
      ShowWindow(g_leastPads[shown], SW_SHOWNOACTIVATE);
      SetFocus(reinterpret_cast<HWND>(wParam));
    }
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK leastPadProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_LBUTTONUP:
      SetFocus(g_idleField);
      typeSeven();
      return 0;
    default:
      return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

unsigned long long switchValue(const std::string& arguments, const char* name) {
  const std::size_t at = arguments.find(name);
  if (at == std::string::npos) return 0;
  return std::strtoull(arguments.c_str() + at + std::strlen(name), nullptr, 10);
}

// As the keyboard starts, less everything it does: a hidden window announced to the controller.
int runIdle(const std::string& arguments, const char* announcement) {
  const auto controller =
      reinterpret_cast<HWND>(static_cast<UINT_PTR>(switchValue(arguments, "/Controller:")));
  const auto thread = static_cast<DWORD>(switchValue(arguments, "/Thread:"));
  g_idleField = reinterpret_cast<HWND>(static_cast<UINT_PTR>(switchValue(arguments, "/Field:")));
  WNDCLASSA wc{};
  wc.lpfnWndProc = &idleProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = kIdleClass;
  RegisterClassA(&wc);
  HWND window = CreateWindowExA(0, kIdleClass, "", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, 100, 100, nullptr, nullptr, wc.hInstance, nullptr);
  if (g_idleField != nullptr) {
    messages();
    AttachThreadInput(GetCurrentThreadId(), thread, TRUE);
    WNDCLASSA pc{};
    pc.lpfnWndProc = &leastPadProc;
    pc.hInstance = wc.hInstance;
    pc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    pc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    pc.lpszClassName = kLeastPadClass;
    RegisterClassA(&pc);
    for (HWND& pad : g_leastPads) {
      pad = CreateWindowExA(WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, kLeastPadClass, "",
                            WS_POPUP | WS_BORDER, kLeastPadLeft, kLeastPadTop, kLeastPadSide,
                            kLeastPadSide, nullptr, nullptr, wc.hInstance, nullptr);
    }
    ShowWindow(g_leastPads[0], SW_SHOWNOACTIVATE);
  }
  SendMessageA(controller, RegisterWindowMessageA(announcement), reinterpret_cast<WPARAM>(window),
               reinterpret_cast<LPARAM>(g_leastPads[0]));
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  if (thread != 0) AttachThreadInput(GetCurrentThreadId(), thread, FALSE);
  return 0;
}

// A host of its own for the benchmark to kill: starts the keyboard, shows a pad, tells the
// benchmark the keyboard's process and waits to be killed.
int runKilledHost(const std::string& exe, const std::string& arguments) {
  const auto bench =
      reinterpret_cast<HWND>(static_cast<UINT_PTR>(switchValue(arguments, "/Controller:")));
  KeyboardProcess keyboard;
  if (!createHost() || !startKeyboard(keyboard, exe).ok) return 2;
  sendNotify(g.keyboardWindow, g.field, decimalRecord());
  settle(keyboard.pid());
  SendMessageA(bench, RegisterWindowMessageA(kKilledHostReadyName), keyboard.pid(), 0);
  for (;;) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, INFINITE, QS_ALLINPUT);
    pumpMessages();
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::string exe;
  bool idle = false, quick = false, killedHost = false;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--exe" && i + 1 < argc) {
      exe = argv[++i];
    } else if (a == "--idle") {
      idle = true;
    } else if (a == "--quick") {
      quick = true;
    } else if (a == "--killed-host") {
      killedHost = true;
    }
  }
  if (idle) return runIdle(GetCommandLineA(), kIdleReadyName);
  if (exe.empty() && switchValue(GetCommandLineA(), "/Controller:") != 0) {
    return runIdle(GetCommandLineA(), "QDM32_1_KEYBOARDHANDLE");
  }
  if (killedHost) return runKilledHost(exe, GetCommandLineA());
  if (exe.empty()) {
    std::printf("usage: host_bench --exe <PMXTouchKeyboard.exe> [--quick]\n");
    return 2;
  }
  Counts n;
  if (quick) {
    n.startups = 5;
    n.copyData = 300;
    n.samePad = 60;
    n.alternating = 40;
    n.touches = 20;
    n.reloads = 8;
    n.kills = 3;
    n.requests = 1000;
    n.idleSeconds = 3;
  }
  return runBench(exe, n);
}
