// The program's entry point: the platform objects, start-up and the message loop.
#include <windows.h>

#include <string>

#include "app/Keyboard.h"
#include "platform/win32/KeyInjector_win.h"
#include "platform/win32/PadWindow_win.h"
#include "platform/win32/Win32Platform.h"

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

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  using namespace pmx::win32;
  Win32Host host;
  pmx::Win32KeyInjector keys;
  Win32Screen screen;
  Win32Profile profile;
  Win32Layouts layouts;
  PadWindowFactory windows;
  pmx::Platform platform{host, keys, screen, profile, layouts, windows};
  pmx::Keyboard keyboard(platform);
  host.setProcedure([&keyboard](pmx::WindowHandle window, std::uint32_t message,
                                std::uintptr_t wParam, std::intptr_t lParam) {
    return keyboard.KeyboardWindowProc(window, message, wParam, lParam);
  });

  keyboard.Main(commandLine != nullptr ? commandLine : "", exeDirectory());

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
