// A minimal host of PMXTouchKeyboard, written against the public headers alone: a window with a
// decimal, a hexadecimal, a binary and a text field. It starts the keyboard, tells it about each
// field that gets the focus, hides the pads when the focus leaves the fields, and takes the
// focus off a field when the user closes the pad, so that touching the field again brings the
// pad back.
//
//   ExampleHost.exe [/keyboard:<path of PMXTouchKeyboard.exe>] [/language:<id>] [/keysize:<f>]
//                   [/limits] [/placement:<0|1|2>]
//
// Without /keyboard: it starts the PMXTouchKeyboard.exe in its own folder.
#include <windows.h>
#include <shellapi.h>

#include <cwchar>
#include <cwctype>
#include <string>

#include "PMXTouchKeyboardHost.h"

namespace {

struct Field {
  const wchar_t* label;
  int16_t fieldType;
  int16_t valueFormat;
  const char* limitMin;  // the limits as the field shows its values, in its own base
  const char* limitMax;
};

const Field kFields[] = {
    {L"Decimal", PMXTK_FIELD_NUMERIC_306, PMXTK_FORMAT_DECIMAL, "-100", "100"},
    {L"Hexadecimal", PMXTK_FIELD_NUMERIC_306, PMXTK_FORMAT_HEXADECIMAL, "0", "FFFF"},
    {L"Binary", PMXTK_FIELD_NUMERIC_306, PMXTK_FORMAT_BINARY, "0", "11111111"},
    {L"Text", PMXTK_FIELD_TEXT, 0, "", ""},
};
constexpr int kFieldCount = sizeof kFields / sizeof kFields[0];
constexpr int kFirstFieldId = 100;
constexpr int kStatusId = 200;
constexpr UINT kCheckFocus = WM_APP + 1;

struct Options {
  std::wstring keyboard;
  int language = 0;  // 0: none sent
  float keySize = 1.0f;
  bool limits = false;
  int placement = PMXTK_PLACE_KEEP_CLEAR;
};

PMXTK_MESSAGES ids;
Options options;
HWND mainWindow = nullptr;
HWND fields[kFieldCount] = {};
HWND status = nullptr;
HWND keyboardWindow = nullptr;  // the keyboard's message window, once it has announced it
PROCESS_INFORMATION keyboardProcess = {};

void showStatus(const wchar_t* text) { SetWindowTextW(status, text); }

int fieldIndex(HWND window) {
  for (int i = 0; i < kFieldCount; ++i) {
    if (fields[i] == window) return i;
  }
  return -1;
}

void notifyField(int i) {
  if (keyboardWindow == nullptr) return;  // not announced yet: the announcement notifies
  const Field& f = kFields[i];
  if (!pmxtk_notify(keyboardWindow, &ids, fields[i], f.fieldType, f.valueFormat, f.limitMin,
                    f.limitMax)) {
    showStatus(L"The keyboard did not answer the notify request.");
  }
}

// The first requests after the keyboard announced itself: the settings of this host, then the
// field that has the focus already, if any.
void keyboardAnnounced(HWND keyboard) {
  keyboardWindow = keyboard;
  if (options.language != 0) pmxtk_set_language(keyboardWindow, &ids, options.language);
  if (options.keySize != 1.0f) pmxtk_set_key_size(keyboardWindow, &ids, options.keySize);
  pmxtk_show_limits(keyboardWindow, &ids, options.limits ? TRUE : FALSE);
  pmxtk_set_placement(keyboardWindow, &ids, options.placement);
  showStatus(L"Keyboard running: touch a field.");
  const int focused = fieldIndex(GetFocus());
  if (focused >= 0) notifyField(focused);
}

bool startKeyboard() {
  if (options.keyboard.empty()) {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return false;
    options.keyboard = path;
    options.keyboard.erase(options.keyboard.find_last_of(L"\\/") + 1);
    options.keyboard += L"" PMXTK_EXE_NAME;
  }
  return pmxtk_start_keyboard(options.keyboard.c_str(), L"ExampleHost", mainWindow,
                              GetCurrentThreadId(), &keyboardProcess) != FALSE;
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == ids.keyboardHandle && message != 0) {
    keyboardAnnounced(reinterpret_cast<HWND>(wParam));
    return 0;
  }
  if (message == ids.touchKeyboardHides && message != 0) {
    // The user closed the pad (Enter, Esc or its close key): the input is done. Taking the focus
    // off the field lets a touch on it give it the focus, and the pad, again.
    SetFocus(window);
    showStatus(L"The user closed the pad.");
    return 0;
  }
  switch (message) {
    case WM_COMMAND: {
      const int i = LOWORD(wParam) - kFirstFieldId;
      if (i < 0 || i >= kFieldCount) break;
      if (HIWORD(wParam) == EN_SETFOCUS) notifyField(i);
      // Where the focus went is known only after this notification: look again then.
      if (HIWORD(wParam) == EN_KILLFOCUS) PostMessageW(window, kCheckFocus, 0, 0);
      return 0;
    }
    case kCheckFocus:
      // The focus left the fields for something that takes no input: no pad is needed.
      if (fieldIndex(GetFocus()) < 0 && keyboardWindow != nullptr) pmxtk_hide(keyboardWindow, &ids);
      return 0;
    case WM_DESTROY:
      if (keyboardWindow != nullptr) pmxtk_terminate(keyboardWindow, &ids);
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void createControls(HWND window) {
  const HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  for (int i = 0; i < kFieldCount; ++i) {
    const int y = 16 + i * 40;
    HWND label = CreateWindowExW(0, L"STATIC", kFields[i].label, WS_CHILD | WS_VISIBLE, 16, y + 4,
                                 110, 20, window, nullptr, nullptr, nullptr);
    fields[i] = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                                WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, 130, y, 240,
                                26, window,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstFieldId + i)),
                                nullptr, nullptr);
    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    SendMessageW(fields[i], WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  }
  status = CreateWindowExW(0, L"STATIC", L"Starting the keyboard...", WS_CHILD | WS_VISIBLE, 16,
                           16 + kFieldCount * 40, 360, 20, window,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(kStatusId)), nullptr,
                           nullptr);
  SendMessageW(status, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

// The value of a switch such as /keyboard:, or nullptr when the argument is another one.
const wchar_t* switchValue(const wchar_t* argument, const wchar_t* name) {
  const size_t length = wcslen(name);
  return _wcsnicmp(argument, name, length) == 0 ? argument + length : nullptr;
}

bool readOptions(int argc, wchar_t** argv) {
  for (int i = 1; i < argc; ++i) {
    const wchar_t* value = nullptr;
    if ((value = switchValue(argv[i], L"/keyboard:")) != nullptr) {
      options.keyboard = value;
    } else if ((value = switchValue(argv[i], L"/language:")) != nullptr) {
      options.language = static_cast<int>(wcstol(value, nullptr, 10));
    } else if ((value = switchValue(argv[i], L"/keysize:")) != nullptr) {
      options.keySize = wcstof(value, nullptr);
    } else if ((value = switchValue(argv[i], L"/placement:")) != nullptr) {
      options.placement = static_cast<int>(wcstol(value, nullptr, 10));
    } else if (_wcsicmp(argv[i], L"/limits") == 0) {
      options.limits = true;
    } else {
      return false;
    }
  }
  return true;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  const bool understood = argv != nullptr && readOptions(argc, argv);
  LocalFree(argv);
  if (!understood) {
    MessageBoxW(nullptr,
                L"ExampleHost.exe [/keyboard:<path of PMXTouchKeyboard.exe>] [/language:<id>] "
                L"[/keysize:<factor>] [/limits] [/placement:<0|1|2>]",
                L"ExampleHost", MB_OK);
    return 2;
  }
  if (!pmxtk_register_messages(&ids)) return 1;

  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = windowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = L"PMXTouchKeyboard.ExampleHost";
  if (!RegisterClassExW(&wc)) return 1;
  mainWindow = CreateWindowExW(0, wc.lpszClassName, L"PMXTouchKeyboard example host",
                               WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                               CW_USEDEFAULT, CW_USEDEFAULT, 400, 260, nullptr, nullptr, instance,
                               nullptr);
  if (mainWindow == nullptr) return 1;
  createControls(mainWindow);
  ShowWindow(mainWindow, show);
  UpdateWindow(mainWindow);

  if (!startKeyboard()) {
    showStatus(L"Could not start PMXTouchKeyboard.exe (give its path with /keyboard:).");
  }

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (!IsDialogMessageW(mainWindow, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  if (keyboardProcess.hProcess != nullptr) {
    WaitForSingleObject(keyboardProcess.hProcess, 2000);
    CloseHandle(keyboardProcess.hProcess);
    CloseHandle(keyboardProcess.hThread);
  }
  return static_cast<int>(msg.wParam);
}
