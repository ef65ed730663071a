#include "host.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace e2e {

const FieldKind kDecimalField{"decimal 306/0", 306, 0, kNumPadClass};
const FieldKind kBinaryField{"binary 306/1", 306, 1, kBinPadClass};
const FieldKind kHexField{"hexadecimal 306/2", 306, 2, kHexPadClass};
const FieldKind kTextField{"text 265", 265, 0, kAlphaPadClass};

namespace {

const char* const kHostClass = "PMXE2EHost";

Messages registerMessages() {
  Messages m{};
  m.keyboardHandle = RegisterWindowMessageA("QDM32_1_KEYBOARDHANDLE");
  m.terminateKeyboard = RegisterWindowMessageA("QDM32_1_TERMINATEKEYBOARD");
  m.hideKeyboard = RegisterWindowMessageA("QDM32_1_HIDEKEYBOARD");
  m.notifyKeyboard = RegisterWindowMessageA("QDM32_1_NOTIFYKEYBOARD");
  m.language = RegisterWindowMessageA("QDM1_LANGUAGE");
  m.touchKeyboardHides = RegisterWindowMessageA("QDM32_1_TOUCHKEYBOARDHIDES");
  m.touchPosition = RegisterWindowMessageA("QDM32_1_TOUCHPOSITION");
  m.touchShowLimits = RegisterWindowMessageA("QDM32_1_TOUCHSHOWLIMITS");
  m.touchKeySize = RegisterWindowMessageA("QDM32_1_TOUCHKEYSIZE");
  return m;
}

// A limit text into its 255-byte slot, NUL-terminated (and cut at 254 bytes).
void copyText(char (&target)[255], const char* text) {
  std::memset(target, 0, sizeof target);
  if (text) std::memcpy(target, text, std::min(std::strlen(text), sizeof target - 1));
}

}  // namespace

void prepareHostProcess() {
  SetProcessDPIAware();
  messages();
  WNDCLASSA wc{};
  wc.lpfnWndProc = &HostWindow::windowProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kHostClass;
  RegisterClassA(&wc);
}

std::string toWindowsPath(const std::string& path) {
  if (path.empty() || path[0] != '/') return path;
  // Under Wine, kernel32 converts Unix paths; elsewhere a leading '/' is no Unix path.
  using ToDos = LPWSTR(CDECL*)(LPCSTR);
  auto toDos = reinterpret_cast<ToDos>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_dos_file_name")));
  if (toDos) {
    if (LPWSTR wide = toDos(path.c_str())) {
      char buffer[MAX_PATH * 4];
      int n = WideCharToMultiByte(CP_ACP, 0, wide, -1, buffer, sizeof buffer, nullptr, nullptr);
      HeapFree(GetProcessHeap(), 0, wide);
      if (n > 0) return buffer;
    }
  }
  std::string converted = "Z:" + path;
  for (char& c : converted) {
    if (c == '/') c = '\\';
  }
  return converted;
}

const Messages& messages() {
  static const Messages m = registerMessages();
  return m;
}

NotifyRecord makeNotifyRecord(std::int16_t fieldType, std::int16_t valueFormat,
                              const char* limitMin, const char* limitMax) {
  NotifyRecord record{};
  record.reserved = 0;
  record.fieldType = fieldType;
  record.valueFormat = valueFormat;
  copyText(record.limitMin, limitMin);
  copyText(record.limitMax, limitMax);
  return record;
}

SendResult sendRequest(HWND keyboard, UINT message, WPARAM wParam, LPARAM lParam,
                       DWORD timeoutMs) {
  SendResult r;
  DWORD_PTR result = 0;
  r.delivered = SendMessageTimeoutA(keyboard, message, wParam, lParam,
                                    SMTO_NORMAL | SMTO_ABORTIFHUNG, timeoutMs, &result) != 0;
  r.result = static_cast<LRESULT>(result);
  return r;
}

SendResult sendCopyData(HWND keyboard, HWND field, ULONG_PTR tag, const void* data, DWORD size,
                        DWORD timeoutMs) {
  COPYDATASTRUCT cds{};
  cds.dwData = tag;
  cds.cbData = size;
  cds.lpData = const_cast<void*>(data);
  return sendRequest(keyboard, WM_COPYDATA, reinterpret_cast<WPARAM>(field),
                     reinterpret_cast<LPARAM>(&cds), timeoutMs);
}

SendResult sendNotify(HWND keyboard, HWND field, const NotifyRecord& record) {
  return sendCopyData(keyboard, field, messages().notifyKeyboard, &record, sizeof record);
}

LPARAM floatBits(float value) {
  std::uint32_t bits = 0;
  static_assert(sizeof bits == sizeof value, "a float has 32 bits");
  std::memcpy(&bits, &value, sizeof bits);
  return static_cast<LPARAM>(bits);
}

// ---- Waiting --------------------------------------------------------------------------------

void pumpMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

bool waitFor(const std::function<bool()>& condition, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    pumpMessages();
    if (condition()) return true;
    const DWORD elapsed = GetTickCount() - start;
    if (elapsed >= timeoutMs) return false;
    const DWORD slice = timeoutMs - elapsed < 10 ? timeoutMs - elapsed : 10;
    MsgWaitForMultipleObjectsEx(0, nullptr, slice, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
}

bool waitForProcessExit(HANDLE process, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    pumpMessages();
    if (WaitForSingleObject(process, 0) == WAIT_OBJECT_0) return true;
    const DWORD elapsed = GetTickCount() - start;
    if (elapsed >= timeoutMs) return false;
    MsgWaitForMultipleObjectsEx(1, &process, timeoutMs - elapsed, QS_ALLINPUT,
                                MWMO_INPUTAVAILABLE);
  }
}

// ---- The host window ------------------------------------------------------------------------

HostWindow::HostWindow() {
  hwnd_ = CreateWindowExA(0, kHostClass, "PMX end-to-end host",
                          WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 40, 40, 420, 300,
                          nullptr, nullptr, GetModuleHandleA(nullptr), this);
}

HostWindow::~HostWindow() {
  if (hwnd_) DestroyWindow(hwnd_);
}

HWND HostWindow::addField(int x, int y, int width, int height, const char* text) {
  return CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", text,
                         WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, x, y, width, height,
                         hwnd_, nullptr, GetModuleHandleA(nullptr), nullptr);
}

bool HostWindow::activate(HWND field) {
  return waitFor(
      [&] {
        if (GetForegroundWindow() != hwnd_) SetForegroundWindow(hwnd_);
        if (GetFocus() != field) SetFocus(field);
        return GetForegroundWindow() == hwnd_ && GetFocus() == field;
      },
      5000);
}

std::vector<HostWindow::Received> HostWindow::received(UINT message) const {
  std::vector<Received> out;
  for (const auto& r : received_) {
    if (r.message == message) out.push_back(r);
  }
  return out;
}

int HostWindow::count(UINT message) const { return static_cast<int>(received(message).size()); }

LRESULT CALLBACK HostWindow::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
  }
  auto* self = reinterpret_cast<HostWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  const Messages& m = messages();
  if (self && (message == m.keyboardHandle || message == m.touchKeyboardHides)) {
    self->received_.push_back(Received{message, wParam, lParam});
    if (message == m.keyboardHandle && self->onKeyboardHandle) {
      self->onKeyboardHandle(reinterpret_cast<HWND>(wParam));
    }
    if (message == m.touchKeyboardHides && self->onKeyboardHides) self->onKeyboardHides();
    return 0;
  }
  if (message == WM_NCDESTROY) SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

// ---- The keyboard process -------------------------------------------------------------------

KeyboardProcess::~KeyboardProcess() {
  kill();
  if (info_.hThread) CloseHandle(info_.hThread);
  if (info_.hProcess) CloseHandle(info_.hProcess);
}

bool KeyboardProcess::start(const std::string& exe, const std::string& arguments,
                            std::string* error) {
  std::string commandLine = "\"" + exe + "\" " + arguments;
  for (int attempt = 0; attempt < 2; ++attempt) {
    std::vector<char> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back('\0');
    STARTUPINFOA si{};
    si.cb = sizeof si;
    if (CreateProcessA(exe.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &si, &info_)) {
      return true;
    }
    const DWORD code = GetLastError();
    if (error) *error = "CreateProcess(" + commandLine + ") failed with error " +
                        std::to_string(code);
    // Under load Wine sometimes fails a start with ERROR_INTERNAL_ERROR; one retry is enough.
    if (code != ERROR_INTERNAL_ERROR) break;
  }
  return false;
}

bool KeyboardProcess::running() const {
  return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

DWORD KeyboardProcess::exitCode() const {
  DWORD code = STILL_ACTIVE;
  if (info_.hProcess) GetExitCodeProcess(info_.hProcess, &code);
  return code;
}

void KeyboardProcess::kill() {
  if (running()) {
    TerminateProcess(info_.hProcess, 99);
    WaitForSingleObject(info_.hProcess, 5000);
  }
}

std::string keyboardArguments(HWND controller, DWORD thread) {
  return "/Project:E2E /Controller:" +
         std::to_string(static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(controller))) +
         " /Thread:" + std::to_string(thread);
}

// ---- Session --------------------------------------------------------------------------------

Session::Session(Case& c) : t(c) {
  fields.push_back(host.addField(20, 20, 160, 24, ""));
  fields.push_back(host.addField(20, 60, 160, 24, ""));
  fields.push_back(host.addField(20, 100, 160, 24, "0000000000000000"));
  fields.push_back(host.addField(20, 140, 360, 24, ""));
}

Session::~Session() {
  if (keyboard.running() && keyboardWindow && IsWindow(keyboardWindow)) {
    sendRequest(keyboardWindow, messages().terminateKeyboard, 0, 0, 2000);
    waitForProcessExit(keyboard.handle(), 2000);
  }
  keyboard.kill();
}

bool Session::start(const std::string& arguments) {
  if (!E2E_CHECK_MSG(host.hwnd() != nullptr, "the host window could not be created")) return false;
  if (!E2E_CHECK_MSG(host.activate(fields[0]), "the host window did not become active"))
    return false;
  const std::string args =
      arguments.empty() ? keyboardArguments(host.hwnd(), GetCurrentThreadId()) : arguments;
  std::string error;
  if (!E2E_CHECK_MSG(keyboard.start(keyboardExe(), args, &error), error)) return false;

  const UINT handleMessage = messages().keyboardHandle;
  const bool announced = waitFor([&] { return host.count(handleMessage) > 0 || !keyboard.running(); },
                                 15000) &&
                         host.count(handleMessage) > 0;
  if (!announced) {
    std::string why = keyboard.running()
                          ? "no QDM32_1_KEYBOARDHANDLE within 15 s"
                          : "the keyboard exited with code " + std::to_string(keyboard.exitCode()) +
                                " before it announced itself";
    E2E_CHECK_MSG(announced, why);
    return false;
  }
  keyboardWindow = reinterpret_cast<HWND>(host.received(handleMessage).front().wParam);
  return true;
}

bool Session::answers(DWORD timeoutMs) const {
  if (!keyboard.running() || !IsWindow(keyboardWindow)) return false;
  return sendRequest(keyboardWindow, WM_NULL, 0, 0, timeoutMs).delivered;
}

void Session::settle() const {
  if (IsWindow(keyboardWindow)) sendRequest(keyboardWindow, WM_NULL, 0, 0, 2000);
  pumpMessages();
}

bool Session::focus(HWND field) {
  return waitFor(
      [&] {
        if (GetFocus() != field) SetFocus(field);
        return GetFocus() == field;
      },
      2000);
}

SendResult Session::notify(HWND field, const FieldKind& kind, const char* limitMin,
                           const char* limitMax) {
  return sendNotify(keyboardWindow, field,
                    makeNotifyRecord(kind.fieldType, kind.valueFormat, limitMin, limitMax));
}

SendResult Session::request(UINT message, WPARAM wParam, LPARAM lParam) const {
  return sendRequest(keyboardWindow, message, wParam, lParam);
}

bool Session::terminate(DWORD exitTimeoutMs) {
  const SendResult r = request(messages().terminateKeyboard);
  bool ok = E2E_CHECK_MSG(r.delivered, "the terminate request was not answered");
  ok = E2E_CHECK_EQ(r.result, 0) && ok;
  const bool exited = waitForProcessExit(keyboard.handle(), exitTimeoutMs);
  ok = E2E_CHECK_MSG(exited, "the keyboard did not exit within " + std::to_string(exitTimeoutMs) +
                                 " ms of the terminate request") &&
       ok;
  if (exited) ok = E2E_CHECK_EQ(keyboard.exitCode(), DWORD{0}) && ok;
  return ok;
}

HWND Session::visiblePad(const char* className) const {
  return findVisibleWindow(keyboard.pid(), className);
}

bool Session::waitForPad(const char* className, DWORD timeoutMs, HWND* pad) const {
  HWND found = nullptr;
  const bool ok = waitFor(
      [&] {
        found = visiblePad(className);
        return found != nullptr;
      },
      timeoutMs);
  if (pad) *pad = found;
  return ok;
}

std::vector<HWND> Session::visibleWindows() const { return visibleTopLevelWindows(keyboard.pid()); }

// ---- Windows of the keyboard ----------------------------------------------------------------

std::string windowText(HWND window) {
  char buffer[1024] = {};
  GetWindowTextA(window, buffer, sizeof buffer);
  return buffer;
}

std::string windowClass(HWND window) {
  char buffer[256] = {};
  GetClassNameA(window, buffer, sizeof buffer);
  return buffer;
}

DWORD windowProcessId(HWND window) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  return pid;
}

namespace {

struct WindowQuery {
  DWORD pid;
  const char* className;  // nullptr: any
  bool visibleOnly;
  std::vector<HWND> found;
};

BOOL CALLBACK collectWindow(HWND window, LPARAM param) {
  auto* q = reinterpret_cast<WindowQuery*>(param);
  if (windowProcessId(window) != q->pid) return TRUE;
  if (q->visibleOnly && !IsWindowVisible(window)) return TRUE;
  if (q->className && windowClass(window) != q->className) return TRUE;
  q->found.push_back(window);
  return TRUE;
}

std::vector<HWND> queryWindows(DWORD pid, const char* className, bool visibleOnly) {
  WindowQuery q{pid, className, visibleOnly, {}};
  if (pid != 0) EnumWindows(&collectWindow, reinterpret_cast<LPARAM>(&q));
  return q.found;
}

}  // namespace

std::vector<HWND> visibleTopLevelWindows(DWORD pid) { return queryWindows(pid, nullptr, true); }

HWND findVisibleWindow(DWORD pid, const char* className) {
  auto found = queryWindows(pid, className, true);
  return found.empty() ? nullptr : found.front();
}

HWND findWindow(DWORD pid, const char* className) {
  auto found = queryWindows(pid, className, false);
  return found.empty() ? nullptr : found.front();
}

RECT windowRect(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return r;
}

SIZE clientSize(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

// ---- Input ----------------------------------------------------------------------------------

bool clickClientPoint(HWND window, POINT client) {
  POINT screen = client;
  if (!ClientToScreen(window, &screen)) return false;
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  if (width <= 1 || height <= 1) return false;
  INPUT inputs[3] = {};
  for (INPUT& in : inputs) {
    in.type = INPUT_MOUSE;
    in.mi.dx = static_cast<LONG>((screen.x * 65535LL + (width - 1) / 2) / (width - 1));
    in.mi.dy = static_cast<LONG>((screen.y * 65535LL + (height - 1) / 2) / (height - 1));
    // Every event carries the position, so the press and the release land on the point even
    // when a stale pointer motion (Wine's X11 driver reports its own warps) comes in between.
    in.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
  }
  inputs[1].mi.dwFlags |= MOUSEEVENTF_LEFTDOWN;
  inputs[2].mi.dwFlags |= MOUSEEVENTF_LEFTUP;
  return SendInput(3, inputs, sizeof(INPUT)) == 3;
}

namespace {
double twipsPerPixel(int axis) {
  HDC dc = GetDC(nullptr);
  const int dpi = GetDeviceCaps(dc, axis);
  ReleaseDC(nullptr, dc);
  return 1440.0 / (dpi > 0 ? dpi : 96);
}
}  // namespace

int twipsToPixelsX(double twips) {
  return static_cast<int>(std::lround(twips / twipsPerPixel(LOGPIXELSX)));
}
int twipsToPixelsY(double twips) {
  return static_cast<int>(std::lround(twips / twipsPerPixel(LOGPIXELSY)));
}

POINT keyCentre(HWND pad, const PadDesign& design, const PadKey& key) {
  const SIZE client = clientSize(pad);
  const double scale = static_cast<double>(client.cx) / design.clientWidth;
  const double x = (key.left + key.width / 2.0) * scale;
  const double fromBottom = (design.keysHeight - (key.top + key.height / 2.0)) * scale;
  return POINT{static_cast<LONG>(std::lround(x)),
               static_cast<LONG>(std::lround(client.cy - fromBottom))};
}

bool clickKey(HWND pad, const PadDesign& design, const PadKey& key) {
  return clickClientPoint(pad, keyCentre(pad, design, key));
}

int caretPosition(HWND field) {
  DWORD start = 0, end = 0;
  SendMessageA(field, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return static_cast<int>(end);
}

bool typeKey(Case& t, HWND pad, const PadDesign& design, const PadKey& key, HWND field,
             const std::string& expected, int caret) {
  if (!t.check(clickKey(pad, design, key), "the click was injected", __FILE__, __LINE__, key.name))
    return false;
  const bool typed = waitFor(
      [&] { return windowText(field) == expected && caretPosition(field) == caret; },
      kTypeTimeoutMs);
  return t.check(typed, "the field holds the expected text and caret", __FILE__, __LINE__,
                 std::string("after key ") + key.name + ": \"" + windowText(field) + "\" caret " +
                     std::to_string(caretPosition(field)) + ", expected \"" + expected +
                     "\" caret " + std::to_string(caret));
}

}  // namespace e2e
