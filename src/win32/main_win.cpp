// The program's entry point: the platform objects, start-up and the message loop.
#include <windows.h>

#include <string>

#include "app/CommandLine.h"
#include "app/Keyboard.h"
#include "settings/SettingsCheck.h"
#include "win32/CrashHandler_win.h"
#include "win32/KeyInjector_win.h"
#include "win32/PadWindow_win.h"
#include "win32/Trace_win.h"
#include "win32/Win32Platform.h"

namespace {

// The directory of the program's executable, as the platform reports it (no trailing backslash).
std::string exeDirectory() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    DWORD n = GetModuleFileNameA(nullptr, &path[0], static_cast<DWORD>(path.size()));
    if (n == 0) return std::string();
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  std::size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

// Writes to the standard output the program was given (a pipe or a file), or else to the console
// of the program that started it; a GUI program has no console of its own.
void writeToConsole(const std::string& text) {
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  bool attached = false;
  if ((out == nullptr || out == INVALID_HANDLE_VALUE) && AttachConsole(ATTACH_PARENT_PROCESS)) {
    out = CreateFileA("CONOUT$", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                      OPEN_EXISTING, 0, nullptr);
    attached = true;
  }
  if (out != nullptr && out != INVALID_HANDLE_VALUE) {
    std::string lines;
    for (char c : text) {
      if (c == '\n') lines += '\r';
      lines += c;
    }
    DWORD written = 0;
    WriteFile(out, lines.data(), static_cast<DWORD>(lines.size()), &written, nullptr);
  }
  if (attached) {
    if (out != INVALID_HANDLE_VALUE) CloseHandle(out);
    FreeConsole();
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  pmx::win32::installCrashHandler();
  const std::string arguments = commandLine != nullptr ? commandLine : "";
  const pmx::SettingsCheckRequest check =
      pmx::settingsCheckSwitch(arguments, exeDirectory() + pmx::kSettingsFileName);
  if (check.requested) {
    // Checks the file and ends, without starting the keyboard.
    if (!check.error.empty()) {
      writeToConsole("PMXTouchKeyboard /CheckSettings: " + check.error + "\n");
      return pmx::kSettingsUnreadable;
    }
    std::string report;
    const int code = pmx::runSettingsCheck(check.file, report);
    writeToConsole(report);
    return code;
  }

  using namespace pmx::win32;
  Win32Host host;
  pmx::Win32KeyInjector keys;
  Win32Screen screen;
  Win32Profile profile;
  Win32Layouts layouts;
  PadWindowFactory windows;
  Win32Trace trace;
  pmx::Platform platform{host, keys, screen, profile, layouts, windows, trace};
  pmx::Keyboard keyboard(platform);
  host.setProcedure([&keyboard](pmx::WindowHandle window, std::uint32_t message,
                                std::uintptr_t wParam, std::intptr_t lParam) {
    return keyboard.KeyboardWindowProc(window, message, wParam, lParam);
  });

  if (!keyboard.Main(arguments, exeDirectory())) return pmx::kExitNoHost;

  // The message loop also waits for the end of the host's process: a host that crashes or is
  // killed sends no terminate request, and the keyboard must not outlive it.
  bool hostWatched = host.hostProcess() != nullptr;
  for (;;) {
    HANDLE hostProcess = host.hostProcess();
    const DWORD handles = hostWatched ? 1 : 0;
    const DWORD woken = MsgWaitForMultipleObjectsEx(handles, &hostProcess, INFINITE, QS_ALLINPUT,
                                                    MWMO_INPUTAVAILABLE);
    if (hostWatched && woken == WAIT_OBJECT_0) {
      hostWatched = false;
      keyboard.HostGone();
    } else if (woken == WAIT_FAILED) {
      // No wait possible: a plain message loop still serves the host.
      hostWatched = false;
    }
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) return 0;
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
}
