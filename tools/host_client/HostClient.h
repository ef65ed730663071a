// The host side of the keyboard protocol, as every program that plays the HMI runtime needs it:
// the registered messages, the notify record, requests with a timeout, starting the keyboard
// process, waiting without fixed sleeps and finding the keyboard's pads.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "DebugOutput.h"
#include "PMXTouchKeyboard.h"

namespace host_client {

// ---- The protocol ---------------------------------------------------------------------------

// The ids of the registered message names, registered on first use.
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

using NotifyRecord = PMXTK_NOTIFY_RECORD;

// Limit texts longer than 254 bytes are cut; nullptr is an empty text.
NotifyRecord makeNotifyRecord(std::int16_t fieldType, std::int16_t valueFormat,
                              const char* limitMin = "", const char* limitMax = "");

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

// ---- The pads -------------------------------------------------------------------------------

inline constexpr char kNumPadClass[] = "PMXTouchKeyboard.FNumPad";
inline constexpr char kHexPadClass[] = "PMXTouchKeyboard.FHexPad";
inline constexpr char kBinPadClass[] = "PMXTouchKeyboard.FBinPad";
inline constexpr char kAlphaPadClass[] = "PMXTouchKeyboard.FAlphaPad";

std::string windowClass(HWND window);
DWORD windowProcessId(HWND window);
// The top-level windows of a process, shown or not, and the visible ones.
std::vector<HWND> topLevelWindows(DWORD pid);
std::vector<HWND> visibleTopLevelWindows(DWORD pid);
// The top-level window of the process with this class that is visible, or nullptr.
HWND findVisibleWindow(DWORD pid, const char* className);
// The top-level window of the process with this class, visible or not, or nullptr.
HWND findWindow(DWORD pid, const char* className);

// ---- Input ----------------------------------------------------------------------------------

// A real mouse click at a point of the screen, in pixels: an absolute move, left down, left up,
// injected in one piece.
bool clickAt(POINT screen);

// ---- Waiting --------------------------------------------------------------------------------

// Handles every message that is waiting for this thread (sent ones included).
void pumpMessages();
// Polls the condition, pumping messages in between, until it holds or the time is up.
bool waitFor(const std::function<bool()>& condition, DWORD timeoutMs);
// Waits for the process to end, pumping messages meanwhile.
bool waitForProcessExit(HANDLE process, DWORD timeoutMs);

// ---- The keyboard process -------------------------------------------------------------------

// The argument string an HMI runtime passes.
std::string keyboardArguments(const char* project, HWND controller, DWORD thread);

class KeyboardProcess {
 public:
  KeyboardProcess() = default;
  ~KeyboardProcess();  // kills the process if it is still running
  KeyboardProcess(const KeyboardProcess&) = delete;
  KeyboardProcess& operator=(const KeyboardProcess&) = delete;

  // CreateProcess of exe with the argument string; retried once on ERROR_INTERNAL_ERROR. On
  // failure *error (if given) holds the last error code. With catchDebugOutput the process runs
  // as a debuggee of this one, and debugOutput() has what it writes with OutputDebugString.
  bool start(const std::string& exe, const std::string& arguments, DWORD* error = nullptr,
             bool catchDebugOutput = false);
  std::vector<std::string> debugOutput() const;
  HANDLE handle() const { return info_.hProcess; }
  DWORD pid() const { return info_.dwProcessId; }
  bool running() const;
  // The exit code, or STILL_ACTIVE.
  DWORD exitCode() const;
  // Ends a process that still runs with this exit code and waits for it to go.
  void kill(UINT exitCode = 99);
  // Lets go of the process handles (after it ended); handle() is nullptr afterwards.
  void close();

 private:
  bool create(const std::string& exe, const std::string& arguments, DWORD* error, DWORD flags);

  PROCESS_INFORMATION info_{};
  std::unique_ptr<DebugOutput> debugOutput_;
};

// A copy of the keyboard in a temporary folder of its own, "<prefix>-<process id>", with the
// settings file "QD4TouchKeyboard.ini" beside it: a host tries settings there and leaves the
// keyboard it was given alone. The copy, the settings file and the folder go with the object,
// so the keyboard started from it must have ended by then.
class KeyboardCopy {
 public:
  explicit KeyboardCopy(std::string prefix) : prefix_(std::move(prefix)) {}
  ~KeyboardCopy();
  KeyboardCopy(const KeyboardCopy&) = delete;
  KeyboardCopy& operator=(const KeyboardCopy&) = delete;

  // Makes the folder and copies the keyboard into it.
  bool copy(const std::string& exe);
  // The settings file beside the copy: these bytes, or a copy of that file.
  bool writeSettings(const std::string& bytes);
  bool copySettings(const std::string& file);

  const std::string& folder() const { return folder_; }  // empty before copy()
  const std::string& exe() const { return exe_; }        // the copy of the keyboard

  std::string why;  // what went wrong last
  DWORD error = 0;  // and the system's error code for it

 private:
  bool fail(DWORD code, std::string text);
  std::string settingsFile() const { return folder_ + "\\QD4TouchKeyboard.ini"; }

  std::string prefix_;
  std::string folder_;
  std::string exe_;
};

}  // namespace host_client
