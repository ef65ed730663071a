// The program's entry point: the platform objects, start-up and the message loop.
#include <windows.h>

#include <string>

#include "app/CommandLine.h"
#include "app/Keyboard.h"
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

// Reads a settings file for the check as the keyboard would find it: only a regular file, never
// a folder or a device (CON would wait for input). Its full path in UTF-8.
pmx::SettingsFileRead readSettingsFile(const std::string& name) {
  pmx::SettingsFileRead file;
  std::string full(MAX_PATH, '\0');
  DWORD n = GetFullPathNameA(name.c_str(), static_cast<DWORD>(full.size()), &full[0], nullptr);
  if (n >= full.size()) {
    full.resize(n);
    n = GetFullPathNameA(name.c_str(), static_cast<DWORD>(full.size()), &full[0], nullptr);
  }
  full.resize(n != 0 && n < full.size() ? n : 0);
  if (full.empty()) full = name;
  const std::wstring wide = pmx::win32::wideText(full, CP_ACP);
  file.path = pmx::win32::utf8FromWide(wide.data(), wide.size());
  const DWORD attributes = GetFileAttributesA(full.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    file.problem = "it is a folder";
    return file;
  }
  if (full.compare(0, 4, "\\\\.\\") == 0) {  // NUL, CON, COM1: never opened
    file.problem = "it is a device, not a file";
    return file;
  }
  const HANDLE handle = CreateFileA(full.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    file.missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    file.problem = file.missing || error == ERROR_INVALID_NAME
                       ? "there is no such file"
                       : "it cannot be opened (error " + std::to_string(error) + ")";
    return file;
  }
  if (GetFileType(handle) != FILE_TYPE_DISK) {
    file.problem = "it is a device, not a file";
  } else {
    char buffer[65536];
    DWORD got = 0;
    BOOL ok = TRUE;
    while ((ok = ReadFile(handle, buffer, sizeof buffer, &got, nullptr)) != FALSE && got > 0) {
      file.bytes.append(buffer, got);
    }
    file.read = ok != FALSE;
    if (!file.read)
      file.problem = "it cannot be read (error " + std::to_string(GetLastError()) + ")";
  }
  CloseHandle(handle);
  return file;
}

// Writes UTF-8 text to the standard output the program was given (a pipe or a file: as UTF-8),
// or else to the console of the program that started it (as Unicode); a GUI program has no
// console of its own.
void writeToConsole(const std::string& text) {
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  bool attached = false;
  if ((out == nullptr || out == INVALID_HANDLE_VALUE) && AttachConsole(ATTACH_PARENT_PROCESS)) {
    out = CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                      nullptr, OPEN_EXISTING, 0, nullptr);
    attached = true;
  }
  if (out != nullptr && out != INVALID_HANDLE_VALUE) {
    std::string lines;
    for (char c : text) {
      if (c == '\n') lines += '\r';
      lines += c;
    }
    DWORD mode = 0;
    DWORD written = 0;
    if (GetConsoleMode(out, &mode)) {
      const std::wstring wide = pmx::win32::wideText(lines, CP_UTF8);
      WriteConsoleW(out, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    } else {
      WriteFile(out, lines.data(), static_cast<DWORD>(lines.size()), &written, nullptr);
    }
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
  const pmx::CommandLine line = pmx::readCommandLine(arguments);
  // The usage, or the check of a settings file, instead of the keyboard. The platform names the
  // characters of double-byte code pages in the report, as the keyboard shows them.
  pmx::win32::Win32Profile codePages;
  const pmx::CommandOutcome outcome =
      pmx::runCommandLine(line, exeDirectory() + pmx::kSettingsFileName, readSettingsFile,
                          [&codePages](std::int16_t charset, unsigned char byte, int trail) {
                            return codePages.character(charset, byte, trail);
                          });
  if (outcome.done) {
    writeToConsole(line.help ? "PMXTouchKeyboard " PMX_BUILD_VERSION "\n\n" + outcome.output
                             : outcome.output);
    return outcome.exitCode;
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

  if (!keyboard.Main(arguments, exeDirectory())) {
    // Someone typed the command: say what it takes.
    if (line.controller == 0 || !line.error.empty()) {
      writeToConsole(
          "PMXTouchKeyboard: " +
          (line.error.empty() ? std::string("no /Controller: window to serve") : line.error) +
          "\n\n" + pmx::commandLineUsage());
    }
    return pmx::kExitNoHost;
  }

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
