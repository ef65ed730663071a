// A host as the tests, the soak and the demo need it: a controller window with real EDIT fields,
// a keyboard started and driven through the host client, real mouse clicks on the pads' keys,
// and what the screen shows of a window.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "HostClient.h"
#include "layouts/LayoutTypes.h"

namespace host_client {

// Process-wide set-up of a host (DPI awareness, message registration, the window class).
void prepareHostProcess();

// A Unix path (as CTest passes it under Wine) turned into a Windows path; others unchanged.
std::string toWindowsPath(const std::string& path);

// Field kinds a host sends, with the pad the keyboard shows for each and that pad's layout.
struct FieldKind {
  const char* name;
  std::int16_t fieldType;
  std::int16_t valueFormat;
  const char* padClass;
  const pmx::PadDef& layout;
};
extern const FieldKind kDecimalField;  // 306 / 0
extern const FieldKind kBinaryField;   // 306 / 1
extern const FieldKind kHexField;      // 306 / 2
extern const FieldKind kTextField;     // 265

// ---- The host window ------------------------------------------------------------------------

// The controller window of the host: a visible top-level window with EDIT fields. It records
// the messages of the protocol that the keyboard sends it.
class HostWindow {
 public:
  struct Received {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
  };

  HostWindow();
  ~HostWindow();
  HostWindow(const HostWindow&) = delete;
  HostWindow& operator=(const HostWindow&) = delete;

  HWND hwnd() const { return hwnd_; }
  HWND addField(int x, int y, int width, int height, const char* text = "");
  // Brings the window to the foreground and gives the field the focus; true when both hold.
  bool activate(HWND field);

  std::vector<Received> received(UINT message) const;
  int count(UINT message) const;

  // Runs inside the handling of "QDM32_1_KEYBOARDHANDLE", before it returns.
  std::function<void(HWND keyboardWindow)> onKeyboardHandle;

  static LRESULT CALLBACK windowProc(HWND, UINT, WPARAM, LPARAM);

 private:
  HWND hwnd_ = nullptr;
  std::vector<Received> received_;
};

// ---- A host with a started keyboard ---------------------------------------------------------

constexpr DWORD kShowTimeoutMs = 5000;

// A host window with four fields and the keyboard it started with /Controller: and /Thread:.
// What goes wrong is told in `why`.
class KeyboardHost {
 public:
  KeyboardHost();
  ~KeyboardHost();  // ends a keyboard that is still running (terminate request, else kill)

  // Starts the keyboard and waits for "QDM32_1_KEYBOARDHANDLE". With no arguments the usual
  // argument string is used.
  bool start(const std::string& exe, const std::string& arguments = std::string());
  // As start(), with a settings file: a copy of the keyboard in a folder of its own, beside it a
  // "QD4TouchKeyboard.ini" with these bytes (none when they are empty).
  bool startWithSettings(const std::string& exe, const std::string& settings);
  // Writes the settings file beside the copy of the keyboard that startWithSettings made.
  bool writeSettings(const std::string& settings);

  // The message window is still there and answers a message.
  bool answers(DWORD timeoutMs = 2000) const;
  // A round trip through the keyboard's queue and ours, so everything sent before is handled.
  void settle() const;
  // Host-side focus change, as when the user touches a field.
  bool focus(HWND field);
  // Sends the notify request for the field, as a host does when the field gets the focus.
  SendResult notify(HWND field, const FieldKind& kind, const char* limitMin = "0",
                    const char* limitMax = "100");
  SendResult request(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
  // Sends the terminate request; true when it is answered with 0 and the process ends with 0
  // within the time given.
  bool terminate(DWORD exitTimeoutMs = 2000);
  // The notices "QDM32_1_TOUCHKEYBOARDHIDES" received so far.
  int hides() const;

  // Waits for the pad of the class to be visible; padShown then sees it.
  bool waitForPad(const char* className, DWORD timeoutMs, HWND* pad = nullptr) const;
  // Focuses the field, notifies it and waits for the kind's pad: the pad, or nullptr.
  HWND showPad(HWND field, const FieldKind& kind, const char* limitMin = "0",
               const char* limitMax = "100");
  std::vector<HWND> visibleWindows() const;

  std::string why;  // what went wrong last
  HostWindow host;
  std::vector<HWND> fields;
  KeyboardProcess keyboard;
  bool catchDebugOutput = false;  // start() runs the keyboard as a debuggee of this process
  HWND keyboardWindow = nullptr;

 private:
  // The keyboard with a settings file; it is deleted after the destructor has ended the keyboard.
  KeyboardCopy copy_{"pmx-host"};
};

// Called with every pad that waitForPad finds (the panel check takes its picture); may be empty.
extern std::function<void(HWND pad)> padShown;

// ---- Windows of the keyboard ----------------------------------------------------------------

std::string windowText(HWND window);
std::wstring windowTextW(HWND window);
RECT windowRect(HWND window);
SIZE clientSize(HWND window);
// Twips of the layouts in horizontal pixels of this screen.
int twipsToPixels(double twips);

// ---- What the screen shows --------------------------------------------------------------------

// The pixels of a window's client area as the screen shows them, 0x00RRGGBB, row by row.
struct Grab {
  int width = 0, height = 0;
  std::vector<std::uint32_t> pixels;
  bool operator==(const Grab& o) const {
    return width == o.width && height == o.height && pixels == o.pixels;
  }
  bool operator!=(const Grab& o) const { return !(*this == o); }
  std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
};
Grab grabClient(HWND window);
// The client area once it has stopped changing (painting is done when the keyboard is idle).
Grab steadyGrab(HWND window);

// ---- Input ----------------------------------------------------------------------------------

// A key (or label) of a pad where the pad's layout puts it, in design twips: inside the key
// container on the value pads, on the window on the alphanumeric pad. The container spans the
// client width and ends at the client bottom (whether or not the limit block is shown), and
// everything scales with the key size, so a key's centre follows from the pad's actual client
// size.
struct PadKey {
  std::string name;  // the key's name in the settings file, else its array and index
  int left = 0, top = 0, width = 0, height = 0;
  int clientWidth = 0;  // of the pad
  int keysHeight = 0;   // of the key container, or of the client area on a pad without one
};
// The control of this array and index in the layout; one of no size when there is none.
PadKey padKey(const pmx::PadDef& layout, pmx::ControlArray array, int index);
// The centre of the key on the screen; false for a key of no size.
bool keyCentre(HWND pad, const PadKey& key, POINT& screen);
// A real mouse click (absolute move, left down, left up) at the centre of the key; false for a
// key of no size.
bool clickKey(HWND pad, const PadKey& key);
// A touch contact as Windows reports it to the window it lands on (Wine makes none of its own):
// WM_POINTERDOWN, WM_POINTERUPDATE or WM_POINTERUP, posted to the pad with the contact's id and
// flags in wParam and the centre of the key on the screen in lParam. A down comes new, in range
// and in contact, a move in range and in contact, an up with neither; `flags` adds others
// (POINTER_MESSAGE_FLAG_PRIMARY, POINTER_MESSAGE_FLAG_CANCELED).
bool postContact(HWND pad, UINT message, WORD id, const PadKey& key, WORD flags = 0);

// The first of Shift, Ctrl and Alt (either, left) that is down for this thread or for the system,
// 0 when none is: the keyboard must never leave one down in the host.
int modifierDown();

constexpr DWORD kTypeTimeoutMs = 3000;

}  // namespace host_client
