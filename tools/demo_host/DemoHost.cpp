// An HMI host simulator: a window with input fields of the kinds an HMI runtime has, which
// starts PMXTouchKeyboard.exe with /Controller: and /Thread: and drives it like the runtime does.
//
//   PMXTouchKeyboardDemo.exe [/keyboard <path of PMXTouchKeyboard.exe>] [/settings <file>]
//                            [/language <id>] [/tour <folder> | /docs <folder>]
//
// Without /keyboard the keyboard is looked for in the demo host's own folder. With /settings it
// runs a copy of the keyboard in a temporary folder with that file beside it as its settings file
// (the preview of a translation on the panel itself; nothing beside the real keyboard changes). With /tour the
// host runs a scripted tour without a human: it focuses each field in turn, waits for the pad,
// saves a screenshot of the screen as a BMP in the folder, then ends the keyboard and exits
// (0 when every pad showed and every screenshot was saved). /language sends that language
// request first, so the pads show the texts of the keyboard's settings file for it. /docs saves
// the pictures of the documentation instead: each pad alone, and each pad at key size 1.5 with
// the settings-file name of every key it can relabel (Std5, End0, ...) written on the key.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "HostClient.h"
#include "layouts/AlphaPadLayout.h"
#include "layouts/ValuePadLayouts.h"
#include "settings/SettingsNames.h"

namespace {

using namespace host_client;

// ---- The fields -----------------------------------------------------------------------------

struct DemoField {
  const char* label;
  const char* shortName;  // for screenshot files
  std::int16_t fieldType;
  std::int16_t valueFormat;
  const char* limitMin;
  const char* limitMax;
  const char* preset;
  const char* padClass;  // the pad the keyboard shows for this field
  int width;
};

constexpr DemoField kFields[] = {
    {"Decimal, 0 to 100 (306/0)", "decimal", 306, 0, "0", "100", "", kNumPadClass, 160},
    {"Hexadecimal (306/2)", "hexadecimal", 306, 2, "0", "FFFF", "", kHexPadClass, 160},
    {"Binary, 16 bits (306/1)", "binary", 306, 1, "0", "65535", "0000000000000000", kBinPadClass,
     160},
    {"Text (265)", "text", 265, 0, "", "", "", kAlphaPadClass, 260},
};
constexpr int kFieldCount = static_cast<int>(sizeof kFields / sizeof kFields[0]);
static_assert(kFieldCount == 4, "one field of each kind");

// ---- Control ids ----------------------------------------------------------------------------

enum : int {
  kIdFieldFirst = 100,  // 100 .. 103
  kIdHide = 200,
  kIdShowLimits,
  kIdPlacement0,
  kIdPlacement1,
  kIdPlacement2,
  kIdKeySize10,
  kIdKeySize15,
  kIdLanguage,
  kIdSetLanguage,
  kIdStatus,
};

// ---- The host -------------------------------------------------------------------------------

struct Host {
  HWND window = nullptr;
  HWND fields[kFieldCount] = {};
  HWND status = nullptr;
  HWND keyboardWindow = nullptr;
  KeyboardProcess keyboard;
  int hides = 0;
  int lastField = 0;
  std::string keyboardPath;
  std::string startError;
  bool languageGiven = false;  // /language: sent before the tour
  long language = 0;
};

Host g_host;

void updateStatus() {
  char text[256];
  if (g_host.keyboardWindow) {
    std::snprintf(text, sizeof text, "Keyboard running (message window %llu). Hides received: %d",
                  static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(g_host.keyboardWindow)),
                  g_host.hides);
  } else if (!g_host.startError.empty()) {
    std::snprintf(text, sizeof text, "%s", g_host.startError.c_str());
  } else {
    std::snprintf(text, sizeof text, "Waiting for the keyboard to announce itself...");
  }
  SetWindowTextA(g_host.status, text);
}

LRESULT sendToKeyboard(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!g_host.keyboardWindow) return 0;
  return sendRequest(g_host.keyboardWindow, message, wParam, lParam).result;
}

void notifyField(int index) {
  const DemoField& def = kFields[index];
  if (!g_host.keyboardWindow) return;
  sendNotify(g_host.keyboardWindow, g_host.fields[index],
             makeNotifyRecord(def.fieldType, def.valueFormat, def.limitMin, def.limitMax));
}

bool startKeyboard() {
  DWORD error = 0;
  if (g_host.keyboard.start(g_host.keyboardPath,
                            keyboardArguments("Demo", g_host.window, GetCurrentThreadId()),
                            &error)) {
    return true;
  }
  g_host.startError =
      "Could not start " + g_host.keyboardPath + " (error " + std::to_string(error) + ")";
  updateStatus();
  return false;
}

// Ends the keyboard: the terminate request, then a short wait for the process.
DWORD stopKeyboard() {
  if (!g_host.keyboard.handle()) return STILL_ACTIVE;
  if (g_host.keyboardWindow) sendToKeyboard(messages().terminateKeyboard, 0, 0);
  g_host.keyboardWindow = nullptr;
  if (WaitForSingleObject(g_host.keyboard.handle(), 3000) != WAIT_OBJECT_0) g_host.keyboard.kill(1);
  const DWORD code = g_host.keyboard.exitCode();
  g_host.keyboard.close();
  return code;
}

// After a setting changed by a control, the field gets the focus back (and with it the pad).
void refocusLastField() { SetFocus(g_host.fields[g_host.lastField]); }

void onCommand(int id, int code, HWND control) {
  const Messages& m = messages();
  if (id >= kIdFieldFirst && id < kIdFieldFirst + kFieldCount && code == EN_SETFOCUS) {
    g_host.lastField = id - kIdFieldFirst;
    notifyField(g_host.lastField);
    return;
  }
  if (code != BN_CLICKED) return;
  switch (id) {
    case kIdHide:
      sendToKeyboard(m.hideKeyboard, 0, 0);
      break;
    case kIdShowLimits:
      sendToKeyboard(m.touchShowLimits, 0,
                     SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0);
      refocusLastField();
      break;
    case kIdPlacement0:
    case kIdPlacement1:
    case kIdPlacement2:
      sendToKeyboard(m.touchPosition, 0, id - kIdPlacement0);
      refocusLastField();
      break;
    case kIdKeySize10:
    case kIdKeySize15:
      sendToKeyboard(m.touchKeySize, 0, floatBits(id == kIdKeySize10 ? 1.0f : 1.5f));
      refocusLastField();
      break;
    case kIdSetLanguage: {
      char text[32] = {};
      GetDlgItemTextA(g_host.window, kIdLanguage, text, sizeof text);
      sendToKeyboard(m.language, static_cast<WPARAM>(std::strtol(text, nullptr, 10)), 0);
      refocusLastField();
      break;
    }
    default:
      break;
  }
}

HWND addControl(const char* cls, const char* text, DWORD style, int x, int y, int w, int h,
                int id, DWORD exStyle = 0) {
  HWND control = CreateWindowExA(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h,
                                 g_host.window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 GetModuleHandleA(nullptr), nullptr);
  SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
               TRUE);
  return control;
}

void createControls() {
  int y = 12;
  for (int i = 0; i < kFieldCount; ++i, y += 32) {
    addControl("STATIC", kFields[i].label, SS_LEFT, 12, y + 4, 190, 20, -1);
    g_host.fields[i] = addControl("EDIT", kFields[i].preset, WS_TABSTOP | ES_AUTOHSCROLL, 210, y,
                                  kFields[i].width, 24, kIdFieldFirst + i, WS_EX_CLIENTEDGE);
  }
  y += 10;
  addControl("BUTTON", "Hide keyboard", WS_TABSTOP | BS_PUSHBUTTON, 12, y, 120, 26, kIdHide);
  addControl("BUTTON", "Show limits", WS_TABSTOP | BS_AUTOCHECKBOX, 150, y + 3, 120, 20,
             kIdShowLimits);
  y += 36;
  addControl("STATIC", "Placement:", SS_LEFT, 12, y + 3, 80, 20, -1);
  addControl("BUTTON", "0 keep clear", WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON, 100, y, 110,
             22, kIdPlacement0);
  addControl("BUTTON", "1 next to field", BS_AUTORADIOBUTTON, 215, y, 120, 22, kIdPlacement1);
  addControl("BUTTON", "2 centred", BS_AUTORADIOBUTTON, 340, y, 100, 22, kIdPlacement2);
  CheckRadioButton(g_host.window, kIdPlacement0, kIdPlacement2, kIdPlacement0);
  y += 32;
  addControl("STATIC", "Key size:", SS_LEFT, 12, y + 3, 80, 20, -1);
  addControl("BUTTON", "1.0", WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON, 100, y, 50, 22,
             kIdKeySize10);
  addControl("BUTTON", "1.5", BS_AUTORADIOBUTTON, 155, y, 50, 22, kIdKeySize15);
  CheckRadioButton(g_host.window, kIdKeySize10, kIdKeySize15, kIdKeySize10);
  addControl("STATIC", "Language:", SS_LEFT, 240, y + 3, 70, 20, -1);
  addControl("EDIT", "1031", WS_TABSTOP | WS_GROUP | ES_NUMBER, 310, y, 60, 24, kIdLanguage,
             WS_EX_CLIENTEDGE);
  addControl("BUTTON", "Set", WS_TABSTOP | BS_PUSHBUTTON, 378, y, 50, 24, kIdSetLanguage);
  y += 38;
  g_host.status = addControl("STATIC", "", SS_LEFT | SS_SUNKEN, 12, y, 470, 22, kIdStatus);
}

LRESULT CALLBACK hostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  const Messages& m = messages();
  if (message == m.keyboardHandle) {
    g_host.keyboardWindow = reinterpret_cast<HWND>(wParam);
    updateStatus();
    return 0;
  }
  if (message == m.touchKeyboardHides) {
    ++g_host.hides;
    updateStatus();
    return 0;
  }
  switch (message) {
    case WM_COMMAND:
      onCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      return 0;
    case WM_CLOSE:
      stopKeyboard();
      DestroyWindow(hwnd);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

// ---- The scripted tour ----------------------------------------------------------------------

// Writes a bitmap as a 24-bit BMP file.
bool saveBitmap(const std::string& path, HDC memory, HBITMAP bitmap, int width, int height) {
  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = height;  // bottom-up rows, as BMP files keep them
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
  std::vector<unsigned char> pixels(static_cast<size_t>(stride) * height);
  const int rows = GetDIBits(memory, bitmap, 0, height, pixels.data(),
                             reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
  if (rows != height) return false;

  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
  HANDLE out = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  if (out == INVALID_HANDLE_VALUE) return false;
  auto write = [out](const void* data, DWORD size) {
    DWORD written = 0;
    return WriteFile(out, data, size, &written, nullptr) && written == size;
  };
  bool ok = write(&file, sizeof file) && write(&info, sizeof info) &&
            write(pixels.data(), static_cast<DWORD>(pixels.size()));
  ok = CloseHandle(out) && ok;
  return ok;
}

// A GDI capture of a part of the screen, optionally drawn on, written as a BMP.
bool saveScreenshot(const std::string& path, const RECT& area,
                    const std::function<void(HDC)>& drawOn = nullptr) {
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  const bool copied =
      BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY | CAPTUREBLT);
  if (copied && drawOn) drawOn(memory);
  SelectObject(memory, old);
  const bool saved = copied && saveBitmap(path, memory, bitmap, width, height);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return saved;
}

RECT wholeScreen() { return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

// The layout of the pad a window class belongs to.
const pmx::PadDef& padLayout(const char* padClass) {
  const std::string name = padClass;
  if (name == kHexPadClass) return pmx::hexPadLayout();
  if (name == kBinPadClass) return pmx::binPadLayout();
  if (name == kAlphaPadClass) return pmx::alphaPadLayout();
  return pmx::numPadLayout();
}

// Writes the settings-file name of every key a pad can relabel onto its key, in the top left
// corner. The geometry comes from the pad's layout, scaled by the key size; `origin` is the
// pad's client area in the picture. The value pads' keys sit below the shown limit block.
void drawKeyNames(HDC dc, const pmx::PadDef& pad, POINT origin, float keySize) {
  HDC screen = GetDC(nullptr);
  const float pixelsPerTwip = static_cast<float>(GetDeviceCaps(screen, LOGPIXELSX)) / 1440.0f;
  ReleaseDC(nullptr, screen);
  const auto px = [&](float twips) {
    return static_cast<int>(twips * keySize * pixelsPerTwip + 0.5f);
  };
  float keysLeft = 0, keysTop = 0;
  for (std::size_t i = 0; i < pad.controlCount; ++i) {
    if (pad.controls[i].array == pmx::ControlArray::PicKeys) {
      keysLeft = static_cast<float>(pad.controls[i].left);
      keysTop = static_cast<float>(pad.controls[i].top);
    }
  }
  HFONT font = CreateFontA(-px(150), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET, 0, 0,
                           ANTIALIASED_QUALITY, VARIABLE_PITCH | FF_SWISS, "Arial");
  HGDIOBJ oldFont = SelectObject(dc, font);
  SetTextColor(dc, RGB(255, 255, 255));
  SetBkColor(dc, RGB(0, 0, 160));
  for (std::size_t i = 0; i < pad.controlCount; ++i) {
    const pmx::ControlDef& key = pad.controls[i];
    const std::string name = pmx::settingsKeyName(key);
    if (name.empty() || !key.visible) continue;
    const float left = static_cast<float>(key.left) + (key.inPicKeys ? keysLeft : 0.0f);
    const float top = static_cast<float>(key.top) + (key.inPicKeys ? keysTop : 0.0f);
    SIZE size{};
    GetTextExtentPoint32A(dc, name.c_str(), static_cast<int>(name.size()), &size);
    const int x = origin.x + px(left) + 2, y = origin.y + px(top) + 2;
    RECT box{x, y, x + size.cx + 4, y + size.cy};
    ExtTextOutA(dc, x + 2, y, ETO_OPAQUE, &box, name.c_str(), static_cast<UINT>(name.size()),
                nullptr);
  }
  SelectObject(dc, oldFont);
  DeleteObject(font);
}

void say(const std::string& text) {
  std::printf("tour: %s\n", text.c_str());
  std::fflush(stdout);
}

// Focuses a field, as a user touching it does, and waits for its pad: the pad, or nullptr.
HWND focusFieldForItsPad(int field) {
  SetFocus(g_host.window);  // so that focusing the field is a change and notifies
  SetFocus(g_host.fields[field]);
  HWND pad = nullptr;
  waitFor(
      [&] {
        pad = findVisibleWindow(g_host.keyboard.pid(), kFields[field].padClass);
        return pad != nullptr;
      },
      10000);
  return pad;
}

// One stop of the tour: focus the field, wait for its pad, let it paint, capture the screen.
bool tourStop(const std::string& folder, int number, int field, const char* suffix) {
  const DemoField& def = kFields[field];
  char name[128];
  std::snprintf(name, sizeof name, "%02d-%s%s.bmp", number, def.shortName, suffix);
  HWND pad = focusFieldForItsPad(field);
  const bool shown = pad != nullptr;
  if (shown) {
    // Paint now and wait until the pad's thread has handled it.
    RedrawWindow(pad, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(pad, WM_NULL, 0, 0, SMTO_NORMAL, 2000, &ignored);
  }
  RedrawWindow(g_host.window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  pumpMessages();
  const std::string path = folder + "\\" + name;
  const bool saved = saveScreenshot(path, wholeScreen());
  std::string report = std::string(name) + ": ";
  report += shown ? std::string(def.padClass) + " shown" : "NO " + std::string(def.padClass);
  report += saved ? ", saved" : ", SCREENSHOT FAILED";
  say(report);
  return shown && saved;
}

// Waits for the keyboard's announcement; without it, says so and stops the keyboard.
bool keyboardAnnounced() {
  if (waitFor([] { return g_host.keyboardWindow != nullptr; }, 15000)) return true;
  say("the keyboard did not announce itself within 15 s");
  stopKeyboard();
  return false;
}

int runTour(const std::string& folder) {
  const Messages& m = messages();
  CreateDirectoryA(folder.c_str(), nullptr);
  if (!keyboardAnnounced()) return 1;
  say("keyboard announced; placing pads next to the fields, limits shown");
  sendToKeyboard(m.touchPosition, 0, 1);
  CheckRadioButton(g_host.window, kIdPlacement0, kIdPlacement2, kIdPlacement1);
  sendToKeyboard(m.touchShowLimits, 0, 1);
  CheckDlgButton(g_host.window, kIdShowLimits, BST_CHECKED);
  if (g_host.languageGiven) {
    say("language " + std::to_string(g_host.language));
    sendToKeyboard(m.language, static_cast<WPARAM>(g_host.language), 0);
    SetDlgItemTextA(g_host.window, kIdLanguage, std::to_string(g_host.language).c_str());
  }

  bool ok = true;
  int number = 1;
  for (int field = 0; field < kFieldCount; ++field) ok = tourStop(folder, number++, field, "") && ok;

  say("key size 1.5, centred");
  sendToKeyboard(m.touchKeySize, 0, floatBits(1.5f));
  CheckRadioButton(g_host.window, kIdKeySize10, kIdKeySize15, kIdKeySize15);
  sendToKeyboard(m.touchPosition, 0, 2);
  CheckRadioButton(g_host.window, kIdPlacement0, kIdPlacement2, kIdPlacement2);
  for (int field = 0; field < kFieldCount; ++field) {
    ok = tourStop(folder, number++, field, "-keysize-1.5") && ok;
  }

  const DWORD code = stopKeyboard();
  say("keyboard ended with exit code " + std::to_string(code));
  ok = code == 0 && ok;
  DestroyWindow(g_host.window);
  pumpMessages();
  return ok ? 0 : 1;
}

// One picture of the documentation: the pad of a field alone, with its key names if asked.
bool docsPicture(const std::string& folder, int field, const char* suffix, float keyNamesSize) {
  const DemoField& def = kFields[field];
  HWND pad = focusFieldForItsPad(field);
  const bool shown = pad != nullptr;
  bool saved = false;
  if (shown) {
    RedrawWindow(pad, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(pad, WM_NULL, 0, 0, SMTO_NORMAL, 2000, &ignored);
    pumpMessages();
    RECT frame{};
    GetWindowRect(pad, &frame);
    POINT client{0, 0};
    ClientToScreen(pad, &client);
    const POINT origin{client.x - frame.left, client.y - frame.top};
    const std::string path = folder + "\\" + def.shortName + suffix + ".bmp";
    saved = saveScreenshot(path, frame, [&](HDC dc) {
      if (keyNamesSize > 0) drawKeyNames(dc, padLayout(def.padClass), origin, keyNamesSize);
    });
  }
  say(std::string(def.shortName) + suffix + ": " + (shown && saved ? "saved" : "FAILED"));
  return shown && saved;
}

int runDocs(const std::string& folder) {
  const Messages& m = messages();
  CreateDirectoryA(folder.c_str(), nullptr);
  if (!keyboardAnnounced()) return 1;
  sendToKeyboard(m.touchPosition, 0, 2);
  sendToKeyboard(m.touchShowLimits, 0, 1);
  bool ok = true;
  for (int field = 0; field < kFieldCount; ++field) ok = docsPicture(folder, field, "", 0) && ok;
  // At key size 1.5 the names fit beside the captions; the reload shows the extra keys too.
  constexpr float kNamesSize = 1.5f;
  sendToKeyboard(m.touchKeySize, 0, floatBits(kNamesSize));
  for (int field = 0; field < kFieldCount; ++field) {
    ok = docsPicture(folder, field, "-keys", kNamesSize) && ok;
  }
  const DWORD code = stopKeyboard();
  ok = code == 0 && ok;
  DestroyWindow(g_host.window);
  pumpMessages();
  return ok ? 0 : 1;
}

// ---- Start ----------------------------------------------------------------------------------

std::string ownFolder() {
  char path[MAX_PATH * 2] = {};
  GetModuleFileNameA(nullptr, path, sizeof path);
  std::string p = path;
  const size_t slash = p.find_last_of("\\/");
  return slash == std::string::npos ? std::string(".") : p.substr(0, slash);
}

}  // namespace

int main(int argc, char** argv) {
  SetProcessDPIAware();
  std::string tourFolder;
  std::string docsFolder;
  std::string settings;
  g_host.keyboardPath = ownFolder() + "\\PMXTouchKeyboard.exe";
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if ((arg == "/keyboard" || arg == "--keyboard") && i + 1 < argc) {
      g_host.keyboardPath = argv[++i];
    } else if ((arg == "/tour" || arg == "--tour") && i + 1 < argc) {
      tourFolder = argv[++i];
    } else if ((arg == "/docs" || arg == "--docs") && i + 1 < argc) {
      docsFolder = argv[++i];
    } else if ((arg == "/settings" || arg == "--settings") && i + 1 < argc) {
      settings = argv[++i];
    } else if ((arg == "/language" || arg == "--language") && i + 1 < argc) {
      g_host.language = std::strtol(argv[++i], nullptr, 10);
      g_host.languageGiven = true;
    } else {
      std::printf(
          "usage: PMXTouchKeyboardDemo [/keyboard <PMXTouchKeyboard.exe>] [/settings <file>]\n"
          "                            [/language <id>] [/tour <folder> | /docs <folder>]\n");
      return 2;
    }
  }
  // With settings, a copy of the keyboard in a temporary folder of its own with the file beside
  // it; whatever way the demo ends, the copies go.
  KeyboardCopy preview("PMXTouchKeyboardDemo");
  if (!settings.empty()) {
    if (!preview.copy(g_host.keyboardPath) || !preview.copySettings(settings)) {
      std::printf("cannot copy %s and %s to %s (error %lu)\n", g_host.keyboardPath.c_str(),
                  settings.c_str(), preview.folder().c_str(), preview.error);
      return 2;
    }
    std::printf("preview: %s as the settings file of a copy of the keyboard in %s\n",
                settings.c_str(), preview.folder().c_str());
    g_host.keyboardPath = preview.exe();
  }

  WNDCLASSA wc{};
  wc.lpfnWndProc = hostProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = "PMXDemoHost";
  RegisterClassA(&wc);
  RECT frame{0, 0, 496, 290};
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  AdjustWindowRect(&frame, style, FALSE);
  g_host.window = CreateWindowExA(0, wc.lpszClassName, "PMX Touch Keyboard - demo host", style,
                                  10, 10, frame.right - frame.left, frame.bottom - frame.top,
                                  nullptr, nullptr, wc.hInstance, nullptr);
  if (!g_host.window) return 1;
  createControls();
  updateStatus();
  ShowWindow(g_host.window, SW_SHOW);
  UpdateWindow(g_host.window);
  SetForegroundWindow(g_host.window);

  if (!startKeyboard()) {
    std::printf("%s\n", g_host.startError.c_str());
    if (!tourFolder.empty() || !docsFolder.empty()) return 1;
  }
  if (!docsFolder.empty()) return runDocs(docsFolder);
  if (!tourFolder.empty()) return runTour(tourFolder);

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (IsDialogMessageA(g_host.window, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  stopKeyboard();
  return 0;
}
