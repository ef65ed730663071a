#include "HostClient.h"

#include <algorithm>
#include <cstring>

namespace host_client {
namespace {

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

// ---- The protocol ---------------------------------------------------------------------------

const Messages& messages() {
  static const Messages m = registerMessages();
  return m;
}

NotifyRecord makeNotifyRecord(std::int16_t fieldType, std::int16_t valueFormat,
                              const char* limitMin, const char* limitMax) {
  return pmxtk_notify_record(fieldType, valueFormat, limitMin, limitMax);
}

SendResult sendRequest(HWND keyboard, UINT message, WPARAM wParam, LPARAM lParam, DWORD timeoutMs) {
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

// ---- The pads -------------------------------------------------------------------------------

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

std::vector<HWND> topLevelWindows(DWORD pid) { return queryWindows(pid, nullptr, false); }
std::vector<HWND> visibleTopLevelWindows(DWORD pid) { return queryWindows(pid, nullptr, true); }

HWND findVisibleWindow(DWORD pid, const char* className) {
  auto found = queryWindows(pid, className, true);
  return found.empty() ? nullptr : found.front();
}

HWND findWindow(DWORD pid, const char* className) {
  auto found = queryWindows(pid, className, false);
  return found.empty() ? nullptr : found.front();
}

// ---- Input ----------------------------------------------------------------------------------

bool clickAt(POINT screen) {
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  if (width <= 1 || height <= 1) return false;
  INPUT inputs[3] = {};
  for (INPUT& in : inputs) {
    in.type = INPUT_MOUSE;
    in.mi.dx = static_cast<LONG>((screen.x * 65535LL + (width - 1) / 2) / (width - 1));
    in.mi.dy = static_cast<LONG>((screen.y * 65535LL + (height - 1) / 2) / (height - 1));
    // Every event carries the position, so the press and the release land on the point even
    // when a stale pointer motion comes in between.
    in.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
  }
  inputs[1].mi.dwFlags |= MOUSEEVENTF_LEFTDOWN;
  inputs[2].mi.dwFlags |= MOUSEEVENTF_LEFTUP;
  return SendInput(3, inputs, sizeof(INPUT)) == 3;
}

// ---- Waiting --------------------------------------------------------------------------------

void pumpMessages() {
  // The wide functions, so that a character outside the ANSI code page reaches a field as it is.
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
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
    MsgWaitForMultipleObjectsEx(1, &process, timeoutMs - elapsed, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
}

// ---- The keyboard process -------------------------------------------------------------------

std::string keyboardArguments(const char* project, HWND controller, DWORD thread) {
  return std::string("/Project:") + project + " /Controller:" +
         std::to_string(static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(controller))) +
         " /Thread:" + std::to_string(thread);
}

KeyboardProcess::~KeyboardProcess() {
  kill();
  close();
}

bool KeyboardProcess::start(const std::string& exe, const std::string& arguments, DWORD* error,
                            bool catchDebugOutput) {
  if (!catchDebugOutput) return create(exe, arguments, error, 0);
  debugOutput_ = std::make_unique<DebugOutput>();
  return debugOutput_->start([&](DWORD flags) { return create(exe, arguments, error, flags); });
}

std::vector<std::string> KeyboardProcess::debugOutput() const {
  return debugOutput_ ? debugOutput_->lines() : std::vector<std::string>();
}

bool KeyboardProcess::create(const std::string& exe, const std::string& arguments, DWORD* error,
                             DWORD flags) {
  const std::string commandLine = "\"" + exe + "\" " + arguments;
  for (int attempt = 0; attempt < 2; ++attempt) {
    std::vector<char> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back('\0');
    STARTUPINFOA si{};
    si.cb = sizeof si;
    if (CreateProcessA(exe.c_str(), buffer.data(), nullptr, nullptr, FALSE, flags, nullptr, nullptr,
                       &si, &info_)) {
      return true;
    }
    const DWORD code = GetLastError();
    if (error) *error = code;
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

void KeyboardProcess::kill(UINT exitCode) {
  if (running()) {
    TerminateProcess(info_.hProcess, exitCode);
    WaitForSingleObject(info_.hProcess, 5000);
  }
}

void KeyboardProcess::close() {
  debugOutput_.reset();  // after the end of the process: its debugger has nothing left to do
  if (info_.hThread) CloseHandle(info_.hThread);
  if (info_.hProcess) CloseHandle(info_.hProcess);
  info_ = PROCESS_INFORMATION{};
}

// ---- A copy of the keyboard ----------------------------------------------------------------

KeyboardCopy::~KeyboardCopy() {
  if (folder_.empty()) return;
  DeleteFileA(exe_.c_str());
  DeleteFileA(settingsFile().c_str());
  RemoveDirectoryA(folder_.c_str());
}

bool KeyboardCopy::copy(const std::string& exe) {
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  folder_ = std::string(temp) + prefix_ + "-" + std::to_string(GetCurrentProcessId());
  CreateDirectoryA(folder_.c_str(), nullptr);
  exe_ = folder_ + "\\PMXTouchKeyboard.exe";
  if (CopyFileA(exe.c_str(), exe_.c_str(), FALSE)) return true;
  const DWORD code = GetLastError();
  return fail(code, "could not copy the keyboard to " + folder_);
}

bool KeyboardCopy::writeSettings(const std::string& bytes) {
  HANDLE file = CreateFileA(settingsFile().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  const bool ok =
      file != INVALID_HANDLE_VALUE &&
      WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
      written == bytes.size();
  const DWORD code = ok ? 0 : GetLastError();
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  return ok || fail(code, "could not write the settings file");
}

bool KeyboardCopy::copySettings(const std::string& file) {
  if (CopyFileA(file.c_str(), settingsFile().c_str(), FALSE)) return true;
  const DWORD code = GetLastError();
  return fail(code, "could not copy " + file + " to " + folder_);
}

bool KeyboardCopy::fail(DWORD code, std::string text) {
  error = code;
  why = std::move(text);
  return false;
}

}  // namespace host_client
