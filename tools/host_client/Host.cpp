#include "Host.h"

#include <algorithm>
#include <cmath>

#include "layouts/AlphaPadLayout.h"
#include "layouts/ValuePadLayouts.h"
#include "settings/SettingsNames.h"

namespace host_client {

const FieldKind kDecimalField{"decimal 306/0", 306, 0, kNumPadClass, pmx::numPadLayout()};
const FieldKind kBinaryField{"binary 306/1", 306, 1, kBinPadClass, pmx::binPadLayout()};
const FieldKind kHexField{"hexadecimal 306/2", 306, 2, kHexPadClass, pmx::hexPadLayout()};
const FieldKind kTextField{"text 265", 265, 0, kAlphaPadClass, pmx::alphaPadLayout()};

namespace {
const char* const kHostClass = "PMXE2EHost";

WNDPROC editProcedure = nullptr;

// Ctrl+A selects the whole text, as in the edit fields of current Windows.
LRESULT CALLBACK fieldProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_KEYDOWN && wParam == 'A' && GetKeyState(VK_CONTROL) < 0) {
    SendMessageW(hwnd, EM_SETSEL, 0, -1);
    return 0;
  }
  if (message == WM_CHAR && wParam == 1) return 0;  // the Ctrl+A character
  return CallWindowProcW(editProcedure, hwnd, message, wParam, lParam);
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
  // A Unicode field, so that it can take any character the keyboard types.
  HWND field = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                               WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, x, y, width,
                               height, hwnd_, nullptr, GetModuleHandleA(nullptr), nullptr);
  SetWindowTextA(field, text);
  editProcedure = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(field, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&fieldProcedure)));
  return field;
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
    return 0;
  }
  if (message == WM_NCDESTROY) SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

// ---- A host with a started keyboard ------------------------------------------------------

std::function<void(HWND pad)> padShown;

KeyboardHost::KeyboardHost() {
  fields.push_back(host.addField(20, 20, 160, 24, ""));
  fields.push_back(host.addField(20, 60, 160, 24, ""));
  fields.push_back(host.addField(20, 100, 160, 24, "0000000000000000"));
  fields.push_back(host.addField(20, 140, 360, 24, ""));
}

KeyboardHost::~KeyboardHost() {
  if (keyboard.running() && keyboardWindow && IsWindow(keyboardWindow)) {
    sendRequest(keyboardWindow, messages().terminateKeyboard, 0, 0, 2000);
    waitForProcessExit(keyboard.handle(), 2000);
  }
  keyboard.kill();
  keyboard.close();
}

bool KeyboardHost::startWithSettings(const std::string& exe, const std::string& settings) {
  if (!copy_.copy(exe)) {
    why = copy_.why;
    return false;
  }
  return (settings.empty() || writeSettings(settings)) && start(copy_.exe());
}

bool KeyboardHost::writeSettings(const std::string& settings) {
  if (copy_.writeSettings(settings)) return true;
  why = copy_.why;
  return false;
}

bool KeyboardHost::start(const std::string& exe, const std::string& arguments) {
  if (host.hwnd() == nullptr || !host.activate(fields[0])) {
    why = "the host window could not be created or did not become active";
    return false;
  }
  const std::string args =
      arguments.empty() ? keyboardArguments("Host", host.hwnd(), GetCurrentThreadId()) : arguments;
  DWORD error = 0;
  if (!keyboard.start(exe, args, &error, catchDebugOutput)) {
    why = "CreateProcess(\"" + exe + "\" " + args + ") failed with error " + std::to_string(error);
    return false;
  }

  const UINT handleMessage = messages().keyboardHandle;
  const bool announced =
      waitFor([&] { return host.count(handleMessage) > 0 || !keyboard.running(); }, 15000) &&
      host.count(handleMessage) > 0;
  if (!announced) {
    why = keyboard.running()
              ? "no QDM32_1_KEYBOARDHANDLE within 15 s"
              : "the keyboard exited with code " + std::to_string(keyboard.exitCode()) +
                    " before it announced itself";
    return false;
  }
  keyboardWindow = reinterpret_cast<HWND>(host.received(handleMessage).front().wParam);
  return true;
}

bool KeyboardHost::answers(DWORD timeoutMs) const {
  if (!keyboard.running() || !IsWindow(keyboardWindow)) return false;
  return sendRequest(keyboardWindow, WM_NULL, 0, 0, timeoutMs).delivered;
}

void KeyboardHost::settle() const {
  if (IsWindow(keyboardWindow)) sendRequest(keyboardWindow, WM_NULL, 0, 0, 2000);
  pumpMessages();
}

bool KeyboardHost::focus(HWND field) {
  return waitFor(
      [&] {
        if (GetFocus() != field) SetFocus(field);
        return GetFocus() == field;
      },
      2000);
}

SendResult KeyboardHost::notify(HWND field, const FieldKind& kind, const char* limitMin,
                                const char* limitMax) {
  return sendNotify(keyboardWindow, field,
                    makeNotifyRecord(kind.fieldType, kind.valueFormat, limitMin, limitMax));
}

SendResult KeyboardHost::request(UINT message, WPARAM wParam, LPARAM lParam) const {
  return sendRequest(keyboardWindow, message, wParam, lParam);
}

bool KeyboardHost::terminate(DWORD exitTimeoutMs) {
  const SendResult r = request(messages().terminateKeyboard);
  const bool exited = waitForProcessExit(keyboard.handle(), exitTimeoutMs);
  if (!r.delivered || r.result != 0) {
    why = "the terminate request was not answered with 0";
  } else if (!exited) {
    why = "the keyboard did not exit within " + std::to_string(exitTimeoutMs) + " ms";
  } else if (keyboard.exitCode() != 0) {
    why = "the keyboard exited with " + std::to_string(keyboard.exitCode());
  } else {
    return true;
  }
  return false;
}

int KeyboardHost::hides() const { return host.count(messages().touchKeyboardHides); }

bool KeyboardHost::waitForPad(const char* className, DWORD timeoutMs, HWND* pad) const {
  HWND found = nullptr;
  const bool ok = waitFor(
      [&] {
        found = findVisibleWindow(keyboard.pid(), className);
        return found != nullptr;
      },
      timeoutMs);
  if (pad) *pad = found;
  if (ok && padShown) padShown(found);
  return ok;
}

HWND KeyboardHost::showPad(HWND field, const FieldKind& kind, const char* limitMin,
                           const char* limitMax) {
  HWND pad = nullptr;
  const bool shown = focus(field) && notify(field, kind, limitMin, limitMax).delivered &&
                     waitForPad(kind.padClass, kShowTimeoutMs, &pad);
  if (!shown) why = std::string("no ") + kind.padClass + " for the " + kind.name + " field";
  return pad;
}

std::vector<HWND> KeyboardHost::visibleWindows() const {
  return visibleTopLevelWindows(keyboard.pid());
}

// ---- Windows of the keyboard ----------------------------------------------------------------

std::string windowText(HWND window) {
  char buffer[1024] = {};
  GetWindowTextA(window, buffer, sizeof buffer);
  return buffer;
}

std::wstring windowTextW(HWND window) {
  wchar_t buffer[1024] = {};
  GetWindowTextW(window, buffer, 1024);
  return buffer;
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

int twipsToPixels(double twips) {
  HDC dc = GetDC(nullptr);
  const int dpi = GetDeviceCaps(dc, LOGPIXELSX);
  ReleaseDC(nullptr, dc);
  return static_cast<int>(std::lround(twips * (dpi > 0 ? dpi : 96) / 1440.0));
}

// ---- What the screen shows --------------------------------------------------------------------

Grab grabClient(HWND window) {
  Grab grab;
  RECT client{};
  POINT origin{0, 0};
  if (!GetClientRect(window, &client) || !ClientToScreen(window, &origin)) return grab;
  grab.width = client.right;
  grab.height = client.bottom;
  if (grab.width <= 0 || grab.height <= 0) return grab;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = grab.width;
  info.bmiHeader.biHeight = -grab.height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap != nullptr) {
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, grab.width, grab.height, screen, origin.x, origin.y, SRCCOPY);
    GdiFlush();
    const auto* p = static_cast<const std::uint32_t*>(bits);
    grab.pixels.assign(p, p + static_cast<std::size_t>(grab.width) * grab.height);
    for (std::uint32_t& px : grab.pixels) px &= 0x00FFFFFF;
    SelectObject(memory, old);
    DeleteObject(bitmap);
  }
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return grab;
}

Grab steadyGrab(HWND window) {
  Grab last = grabClient(window);
  for (int i = 0; i < 40; ++i) {
    waitFor([] { return false; }, 50);
    Grab next = grabClient(window);
    if (next == last && !next.pixels.empty()) return next;
    last = std::move(next);
  }
  return last;
}

// ---- Input ----------------------------------------------------------------------------------

PadKey padKey(const pmx::PadDef& layout, pmx::ControlArray array, int index) {
  const pmx::ControlDef *const begin = layout.controls, *const end = begin + layout.controlCount;
  const pmx::ControlDef* keys = std::find_if(
      begin, end, [](const pmx::ControlDef& c) { return c.kind == pmx::ControlKind::Container; });
  const pmx::ControlDef* c = std::find_if(
      begin, end, [&](const pmx::ControlDef& d) { return d.array == array && d.index == index; });
  const std::string where =
      "array " + std::to_string(static_cast<int>(array)) + " index " + std::to_string(index);
  PadKey key;
  if (c == end) {
    key.name = "no control of " + where;
    return key;
  }
  key.name = pmx::settingsKeyName(*c);
  if (key.name.empty()) key.name = where;
  // A control on the window of a pad with a key container, measured from the container's top.
  const int above = keys != end && !c->inPicKeys ? keys->top : 0;
  key.left = c->left;
  key.top = c->top - above;
  key.width = c->width;
  key.height = c->height;
  key.clientWidth = layout.clientWidth;
  key.keysHeight = keys != end ? keys->height : layout.clientHeight;
  return key;
}

bool keyCentre(HWND pad, const PadKey& key, POINT& screen) {
  if (key.width <= 0 || key.clientWidth <= 0) return false;
  const SIZE client = clientSize(pad);
  const double scale = static_cast<double>(client.cx) / key.clientWidth;
  const double fromBottom = (key.keysHeight - (key.top + key.height / 2.0)) * scale;
  screen = POINT{static_cast<LONG>(std::lround((key.left + key.width / 2.0) * scale)),
                 static_cast<LONG>(std::lround(client.cy - fromBottom))};
  return ClientToScreen(pad, &screen) != FALSE;
}

bool clickKey(HWND pad, const PadKey& key) {
  POINT screen;
  return keyCentre(pad, key, screen) && clickAt(screen);
}

bool postContact(HWND pad, UINT message, WORD id, const PadKey& key, WORD flags) {
  POINT screen;
  if (!keyCentre(pad, key, screen)) return false;
  if (message == WM_POINTERDOWN) flags |= POINTER_MESSAGE_FLAG_NEW;
  if (message != WM_POINTERUP) {
    flags |= POINTER_MESSAGE_FLAG_INRANGE | POINTER_MESSAGE_FLAG_INCONTACT |
             POINTER_MESSAGE_FLAG_FIRSTBUTTON;
  }
  return PostMessageW(pad, message, MAKEWPARAM(id, flags), MAKELPARAM(screen.x, screen.y)) != FALSE;
}

int modifierDown() {
  for (int vk : {VK_SHIFT, VK_CONTROL, VK_MENU, VK_LSHIFT, VK_LCONTROL, VK_LMENU}) {
    if ((GetKeyState(vk) & 0x8000) != 0 || (GetAsyncKeyState(vk) & 0x8000) != 0) return vk;
  }
  return 0;
}

}  // namespace host_client
