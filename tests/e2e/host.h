// The HMI host side of the end-to-end tests: a controller window with real EDIT fields, the
// keyboard process started the way an HMI runtime starts it, the requests of the host protocol,
// and helpers to find the keyboard's pads, click them with real mouse input and wait for a
// condition without fixed sleeps.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "e2e.h"

namespace e2e {

// Process-wide set-up of the test host (DPI awareness, message registration).
void prepareHostProcess();

// A Unix path (as CTest passes it under Wine) turned into a Windows path; others unchanged.
std::string toWindowsPath(const std::string& path);

// ---- The protocol ---------------------------------------------------------------------------

struct Messages {
  UINT keyboardHandle;
  UINT terminateKeyboard;
  UINT hideKeyboard;
  UINT notifyKeyboard;
  UINT language;
  UINT touchKeyboardHides;
  UINT touchPosition;
  UINT touchShowLimits;
  UINT touchKeySize;
};
const Messages& messages();

#pragma pack(push, 1)
struct NotifyRecord {
  std::int16_t reserved;
  std::int16_t fieldType;
  std::int16_t valueFormat;
  char limitMin[255];
  char limitMax[255];
};
#pragma pack(pop)
static_assert(sizeof(NotifyRecord) == 516, "the notify record has 516 bytes");

NotifyRecord makeNotifyRecord(std::int16_t fieldType, std::int16_t valueFormat,
                              const char* limitMin = "", const char* limitMax = "");

// Field kinds a host sends, with the pad the keyboard shows for each.
struct FieldKind {
  const char* name;
  std::int16_t fieldType;
  std::int16_t valueFormat;
  const char* padClass;  // nullptr: no pad is chosen
};
inline constexpr char kNumPadClass[] = "PMXTouchKeyboard.FNumPad";
inline constexpr char kHexPadClass[] = "PMXTouchKeyboard.FHexPad";
inline constexpr char kBinPadClass[] = "PMXTouchKeyboard.FBinPad";
inline constexpr char kAlphaPadClass[] = "PMXTouchKeyboard.FAlphaPad";
inline constexpr char kMessageWindowClass[] = "PMXTouchKeyboard.Message";
extern const FieldKind kDecimalField;  // 306 / 0
extern const FieldKind kBinaryField;   // 306 / 1
extern const FieldKind kHexField;      // 306 / 2
extern const FieldKind kTextField;     // 265

struct SendResult {
  bool delivered = false;  // the keyboard answered within the timeout
  LRESULT result = 0;
};

constexpr DWORD kRequestTimeoutMs = 5000;

// A request to the keyboard's message window, sent and answered synchronously.
SendResult sendRequest(HWND keyboard, UINT message, WPARAM wParam, LPARAM lParam,
                       DWORD timeoutMs = kRequestTimeoutMs);
SendResult sendCopyData(HWND keyboard, HWND field, ULONG_PTR tag, const void* data, DWORD size,
                        DWORD timeoutMs = kRequestTimeoutMs);
SendResult sendNotify(HWND keyboard, HWND field, const NotifyRecord& record);
// The bits of a float as the key-size request carries them.
LPARAM floatBits(float value);

// ---- Waiting --------------------------------------------------------------------------------

// Handles every message that is waiting for this thread (sent ones included).
void pumpMessages();
// Polls the condition, pumping messages in between, until it holds or the time is up.
bool waitFor(const std::function<bool()>& condition, DWORD timeoutMs);
// Waits for the process to end, pumping messages meanwhile.
bool waitForProcessExit(HANDLE process, DWORD timeoutMs);

// ---- The host window ------------------------------------------------------------------------

// The controller window of the host: a visible top-level window with EDIT fields. It records
// every registered message of the protocol it receives.
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
  std::function<void()> onKeyboardHides;

  static LRESULT CALLBACK windowProc(HWND, UINT, WPARAM, LPARAM);

 private:
  HWND hwnd_ = nullptr;
  std::vector<Received> received_;
};

// ---- The keyboard process -------------------------------------------------------------------

class KeyboardProcess {
 public:
  KeyboardProcess() = default;
  ~KeyboardProcess();  // kills the process if it is still running
  KeyboardProcess(const KeyboardProcess&) = delete;
  KeyboardProcess& operator=(const KeyboardProcess&) = delete;

  // CreateProcess of exe with the argument string; retried once on ERROR_INTERNAL_ERROR.
  bool start(const std::string& exe, const std::string& arguments, std::string* error);
  HANDLE handle() const { return info_.hProcess; }
  DWORD pid() const { return info_.dwProcessId; }
  bool running() const;
  // The exit code, or STILL_ACTIVE.
  DWORD exitCode() const;
  void kill();

 private:
  PROCESS_INFORMATION info_{};
};

// The argument string an HMI runtime passes.
std::string keyboardArguments(HWND controller, DWORD thread);

// ---- A host with a started keyboard ---------------------------------------------------------

// The usual set-up of a case: a host window with four fields, the keyboard started with
// /Controller: and /Thread: and its announcement received.
class Session {
 public:
  explicit Session(Case& t);
  ~Session();  // ends a keyboard that is still running (terminate request, else kill)

  // Starts the keyboard and waits for "QDM32_1_KEYBOARDHANDLE". With no arguments the usual
  // argument string is used. Records failures in the case and returns false on any.
  bool start(const std::string& arguments = std::string());

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
  // Sends the terminate request and checks the process ends with 0 within the time given.
  bool terminate(DWORD exitTimeoutMs = 2000);

  HWND visiblePad(const char* className) const;
  bool waitForPad(const char* className, DWORD timeoutMs, HWND* pad = nullptr) const;
  std::vector<HWND> visibleWindows() const;

  Case& t;
  HostWindow host;
  std::vector<HWND> fields;
  KeyboardProcess keyboard;
  HWND keyboardWindow = nullptr;
};

// ---- Windows of the keyboard ----------------------------------------------------------------

std::string windowText(HWND window);
std::string windowClass(HWND window);
DWORD windowProcessId(HWND window);
// The visible top-level windows of a process.
std::vector<HWND> visibleTopLevelWindows(DWORD pid);
// The top-level window of the process with this class that is visible, or nullptr.
HWND findVisibleWindow(DWORD pid, const char* className);
// The top-level window of the process with this class, visible or not, or nullptr.
HWND findWindow(DWORD pid, const char* className);

RECT windowRect(HWND window);
SIZE clientSize(HWND window);

// ---- Input ----------------------------------------------------------------------------------

// A real mouse click (absolute move, left down, left up) at a point of the window's client area.
bool clickClientPoint(HWND window, POINT client);
// Twips of the layouts in pixels of this screen.
int twipsToPixelsX(double twips);
int twipsToPixelsY(double twips);

// A key of a value pad's layout: its rectangle in design twips inside the key container.
struct PadKey {
  const char* name;
  int left;
  int top;
  int width;
  int height;
};
// The design size of a pad's client area width and of its key container, in twips.
struct PadDesign {
  const char* className;
  int clientWidth;
  int keysWidth;
  int keysHeight;
};
// The centre of a key in the pad's client area. Found from the pad's actual client size: the
// key container spans the client width and ends at the client bottom (whether or not the limit
// block is shown), and everything scales with the key size.
POINT keyCentre(HWND pad, const PadDesign& design, const PadKey& key);
bool clickKey(HWND pad, const PadDesign& design, const PadKey& key);

constexpr DWORD kTypeTimeoutMs = 3000;
// Where the caret of an EDIT is (the end of its selection).
int caretPosition(HWND field);
// Clicks a key and waits until the field holds the expected text with the caret where expected;
// records a failure in the case if it does not. Every step of a typing case changes one of the
// two, so the wait also paces the clicks like a person typing.
bool typeKey(Case& t, HWND pad, const PadDesign& design, const PadKey& key, HWND field,
             const std::string& expected, int caret);

}  // namespace e2e
