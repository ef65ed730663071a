#include "win32/Win32Platform.h"

#include <cmath>
#include <vector>

#include "common/Unicode.h"
#include "layouts/AlphaPadLayout.h"
#include "win32/PadWindow_win.h"
#include "win32/resource.h"

namespace pmx::win32 {

namespace {

constexpr const char* kMessageWindowClass = "PMXTouchKeyboard.Message";

// How many messages the message window has received: each host request is a new one.
unsigned hostRequests = 0;

}  // namespace

// The system's DPI is fixed for the process's lifetime: it is asked once.
UINT systemDpi() {
  static const UINT dpi = [] {
    HDC screen = GetDC(nullptr);
    const int value = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen != nullptr) ReleaseDC(nullptr, screen);
    return value > 0 ? static_cast<UINT>(value) : 96u;
  }();
  return dpi;
}

UINT codePageOfCharset(int charset) {
  CHARSETINFO info;
  if (charset != SYMBOL_CHARSET &&
      TranslateCharsetInfo(reinterpret_cast<DWORD*>(static_cast<std::uintptr_t>(charset)), &info,
                           TCI_SRCCHARSET)) {
    return info.ciACP;
  }
  return CP_ACP;
}

std::wstring wideText(const std::string& text, UINT codePage) {
  std::wstring wide;
  const int n =
      MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (n <= 0) return wide;
  wide.resize(static_cast<std::size_t>(n));
  MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), &wide[0], n);
  return wide;
}

std::string utf8FromWide(const wchar_t* text, std::size_t length) {
  static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 code units");
  std::u16string units(length, u'\0');
  for (std::size_t i = 0; i < length; ++i) units[i] = static_cast<char16_t>(text[i]);
  return utf8FromUtf16(units.data(), units.size());
}

// --- Win32Host -----------------------------------------------------------------------------------

std::uint32_t Win32Host::registerMessage(const char* name) { return RegisterWindowMessageA(name); }

LRESULT CALLBACK Win32Host::KeyboardWindowProc(HWND hwnd, UINT message, WPARAM wParam,
                                               LPARAM lParam) {
  auto* self = reinterpret_cast<Win32Host*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (self == nullptr || !self->procedure_) return DefWindowProcA(hwnd, message, wParam, lParam);
  ++hostRequests;
  // The core may destroy the window while it handles the message; nothing here uses it after.
  const auto result =
      static_cast<LRESULT>(self->procedure_(fromHwnd(hwnd), message, wParam, lParam));
  // The pads take the place and size the request gave them before the host hears back.
  flushPadWindows();
  return result;
}

WindowHandle Win32Host::openMessageWindow() {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  // The program's icon, in the sizes the system shows.
  const auto icon = [instance](int metric) {
    const int side = GetSystemMetrics(metric);
    return static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_PROGRAM), IMAGE_ICON,
                                         side, side, LR_DEFAULTCOLOR | LR_SHARED));
  };
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = instance;
  wc.lpszClassName = kMessageWindowClass;
  wc.hIcon = icon(SM_CXICON);
  wc.hIconSm = icon(SM_CXSMICON);
  RegisterClassExA(&wc);

  // Never shown; its size is the one the form was designed with.
  const float pixel = twipsPerPixelAt(static_cast<std::int32_t>(systemDpi()));
  RECT frame = {0, 0, static_cast<LONG>(std::lround(kMessageWindowClientWidth / pixel)),
                static_cast<LONG>(std::lround(kMessageWindowClientHeight / pixel))};
  AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
  HWND window = CreateWindowExA(0, kMessageWindowClass, kMessageWindowTitle, WS_OVERLAPPEDWINDOW,
                                CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left,
                                frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return 0;
  SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(wc.hIcon));
  SendMessageA(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(wc.hIconSm));
  SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  previousWindowProc_ = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC));
  SetWindowLongPtrA(window, GWLP_WNDPROC,
                    reinterpret_cast<LONG_PTR>(&Win32Host::KeyboardWindowProc));
  return fromHwnd(window);
}

void Win32Host::closeMessageWindow(WindowHandle window) {
  HWND hwnd = toHwnd(window);
  if (hwnd == nullptr) return;
  if (previousWindowProc_ != nullptr) {
    SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousWindowProc_));
  }
  DestroyWindow(hwnd);
}

void Win32Host::endMessageLoop() {
  destroyParkedPadWindows();
  PostQuitMessage(0);
}

std::intptr_t Win32Host::callPrevious(WindowHandle window, std::uint32_t message,
                                      std::uintptr_t wParam, std::intptr_t lParam) {
  WNDPROC previous = previousWindowProc_ != nullptr ? previousWindowProc_ : DefWindowProcA;
  return static_cast<std::intptr_t>(CallWindowProcA(
      previous, toHwnd(window), message, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam)));
}

bool Win32Host::readCopyData(std::intptr_t lParam, CopyData& data) {
  const auto* cds = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
  if (cds == nullptr) return false;
  data.dwData = static_cast<std::uintptr_t>(cds->dwData);
  data.cbData = static_cast<std::uint32_t>(cds->cbData);
  data.lpData = cds->lpData;
  if (data.lpData == nullptr) data.cbData = 0;
  return true;
}

bool Win32Host::attachInput(ThreadId hostThread, bool attach) {
  return AttachThreadInput(GetCurrentThreadId(), hostThread, attach ? TRUE : FALSE) != FALSE;
}

bool Win32Host::windowExists(WindowHandle window) { return IsWindow(toHwnd(window)) != FALSE; }

HostWatch Win32Host::watchOwnerProcess(WindowHandle window) {
  if (hostProcess_ != nullptr) return HostWatch::Watching;
  DWORD processId = 0;
  GetWindowThreadProcessId(toHwnd(window), &processId);
  if (processId == 0) return HostWatch::Gone;
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
  // The window is asked again: had the host ended before the process was opened, its id could
  // name another process by now.
  DWORD owner = 0;
  GetWindowThreadProcessId(toHwnd(window), &owner);
  if (owner != processId) {
    if (process != nullptr) CloseHandle(process);
    return HostWatch::Gone;
  }
  if (process == nullptr) return HostWatch::Refused;
  hostProcess_ = process;
  return HostWatch::Watching;
}

Win32Host::~Win32Host() {
  if (hostProcess_ != nullptr) CloseHandle(hostProcess_);
}

std::intptr_t Win32Host::sendMessage(WindowHandle window, std::uint32_t message,
                                     std::uintptr_t wParam, std::intptr_t lParam) {
  return static_cast<std::intptr_t>(SendMessageA(
      toHwnd(window), message, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam)));
}

void Win32Host::setFocus(WindowHandle window) { SetFocus(toHwnd(window)); }

bool Win32Host::windowRect(WindowHandle window, PixelRect& rect) {
  RECT r;
  // GetWindowRect fails for what is no window; asking IsWindow first would cost another trip.
  if (!GetWindowRect(toHwnd(window), &r)) return false;
  rect = {r.left, r.top, r.right, r.bottom};
  return true;
}

std::string Win32Host::className(WindowHandle window) {
  char name[256] = {};
  int n = GetClassNameA(toHwnd(window), name, 255);
  if (n <= 0) return std::string();
  return std::string(name, static_cast<std::size_t>(n));
}

std::uint32_t Win32Host::windowStyle(WindowHandle window) {
  return static_cast<std::uint32_t>(GetWindowLongA(toHwnd(window), GWL_STYLE));
}

void Win32Host::processPendingMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // Keep the end of the message loop for the loop itself.
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

// --- Win32Profile --------------------------------------------------------------------------------

bool Win32Profile::fileMissing(const std::string& file) {
  // The lookups of a request come in a burst: the file is looked for once per host request.
  if (file == checkedFile_ && checkedInRequest_ == hostRequests) return checkedMissing_;
  WIN32_FILE_ATTRIBUTE_DATA data;
  const bool missing =
      !GetFileAttributesExA(file.c_str(), GetFileExInfoStandard, &data) &&
      (GetLastError() == ERROR_FILE_NOT_FOUND || GetLastError() == ERROR_PATH_NOT_FOUND);
  checkedUnicode_ = false;
  if (!missing) {
    HANDLE h = CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
      unsigned char mark[2] = {};
      DWORD read = 0;
      checkedUnicode_ =
          ReadFile(h, mark, 2, &read, nullptr) && read == 2 && mark[0] == 0xFF && mark[1] == 0xFE;
      CloseHandle(h);
    }
  }
  if (!missing || file != checkedFile_ || !checkedMissing_) {
    strings_.clear();
    ints_.clear();
  }
  checkedFile_ = file;
  checkedMissing_ = missing;
  checkedInRequest_ = hostRequests;
  return missing;
}

int Win32Profile::readInt(const std::string& file, const std::string& section,
                          const std::string& key, int defaultValue) {
  const bool missing = fileMissing(file);
  const Lookup lookup(section, key, std::to_string(defaultValue));
  if (missing) {
    const auto kept = ints_.find(lookup);
    if (kept != ints_.end()) return kept->second;
  }
  const int value = checkedUnicode_
                        ? static_cast<int>(GetPrivateProfileIntW(
                              wideText(section, CP_UTF8).c_str(), wideText(key, CP_UTF8).c_str(),
                              defaultValue, wideText(file, CP_ACP).c_str()))
                        : static_cast<int>(GetPrivateProfileIntA(section.c_str(), key.c_str(),
                                                                 defaultValue, file.c_str()));
  if (missing) ints_.emplace(lookup, value);
  return value;
}

std::string Win32Profile::readString(const std::string& file, const std::string& section,
                                     const std::string& key, const std::string& defaultValue) {
  const bool missing = fileMissing(file);
  const Lookup lookup(section, key, defaultValue);
  if (missing) {
    const auto kept = strings_.find(lookup);
    if (kept != strings_.end()) return kept->second;
  }
  std::string value;
  if (checkedUnicode_) {
    wchar_t buffer[255] = {};
    DWORD n = GetPrivateProfileStringW(
        wideText(section, CP_UTF8).c_str(), wideText(key, CP_UTF8).c_str(),
        wideText(defaultValue, CP_UTF8).c_str(), buffer, 255, wideText(file, CP_ACP).c_str());
    if (n >= 255) n = 254;
    value = utf8FromWide(buffer, n);
  } else {
    char buffer[255] = {};
    DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(), buffer,
                                       sizeof buffer, file.c_str());
    if (n >= sizeof buffer) n = sizeof buffer - 1;
    value.assign(buffer, n);
  }
  if (missing) strings_.emplace(lookup, value);
  return value;
}

bool Win32Profile::unicodeFile(const std::string& file) {
  fileMissing(file);
  return checkedUnicode_;
}

bool Win32Profile::fileExists(const std::string& file) {
  const DWORD attributes = GetFileAttributesA(file.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// The symbol character set has no code page of its own: its texts are read in the system's, and
// the pads draw their characters with the symbol font's glyphs.
bool Win32Profile::leadByte(std::int16_t charset, unsigned char byte) {
  return IsDBCSLeadByteEx(codePageOfCharset(charset), byte) != FALSE;
}

char32_t Win32Profile::character(std::int16_t charset, unsigned char byte, int trail) {
  const char bytes[2] = {static_cast<char>(byte), static_cast<char>(trail)};
  wchar_t wide[2] = {};
  const int n = MultiByteToWideChar(codePageOfCharset(charset), MB_ERR_INVALID_CHARS, bytes,
                                    trail < 0 ? 1 : 2, wide, 2);
  return n == 1 ? static_cast<char32_t>(wide[0]) : 0;
}

// --- Win32Layouts --------------------------------------------------------------------------------

LayoutHandle Win32Layouts::current() {
  return static_cast<LayoutHandle>(reinterpret_cast<std::uintptr_t>(GetKeyboardLayout(0)));
}

LayoutHandle Win32Layouts::activateNext() {
  ActivateKeyboardLayout(reinterpret_cast<HKL>(static_cast<std::uintptr_t>(HKL_NEXT)), 0);
  return current();
}

}  // namespace pmx::win32
