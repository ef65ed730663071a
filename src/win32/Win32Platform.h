// The Win32 side of the platform seam.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <tuple>

#include "platform/Platform.h"

namespace pmx::win32 {

inline HWND toHwnd(WindowHandle handle) { return reinterpret_cast<HWND>(handle); }
inline WindowHandle fromHwnd(HWND hwnd) { return reinterpret_cast<WindowHandle>(hwnd); }

// The host's windows and the keyboard's message window.
class Win32Host : public HostWindows {
 public:
  using Procedure = std::function<std::intptr_t(WindowHandle, std::uint32_t, std::uintptr_t,
                                                std::intptr_t)>;
  // The core's window procedure, which every message of the message window reaches first.
  void setProcedure(Procedure procedure) { procedure_ = std::move(procedure); }

  std::uint32_t registerMessage(const char* name) override;
  WindowHandle openMessageWindow() override;
  void closeMessageWindow(WindowHandle window) override;
  std::intptr_t callPrevious(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                             std::intptr_t lParam) override;
  bool readCopyData(std::intptr_t lParam, CopyData& data) override;
  bool attachInput(ThreadId hostThread, bool attach) override;
  bool windowExists(WindowHandle window) override;
  HostWatch watchOwnerProcess(WindowHandle window) override;
  std::intptr_t sendMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                            std::intptr_t lParam) override;
  void setFocus(WindowHandle window) override;
  bool windowRect(WindowHandle window, PixelRect& rect) override;
  std::string className(WindowHandle window) override;
  std::uint32_t windowStyle(WindowHandle window) override;
  void processPendingMessages() override;
  void endMessageLoop() override;

  // The watched process of the host, signalled when it ends; null when none is watched.
  HANDLE hostProcess() const { return hostProcess_; }
  ~Win32Host() override;

 private:
  static LRESULT CALLBACK KeyboardWindowProc(HWND hwnd, UINT message, WPARAM wParam,
                                             LPARAM lParam);
  Procedure procedure_;
  WNDPROC previousWindowProc_ = nullptr;
  HANDLE hostProcess_ = nullptr;
};

// Monitors_win.cpp
class Win32Screen : public Screen {
 public:
  Monitor primary() override;
  Monitor monitorOf(const PixelRect& rect) override;
};

// The system told the window (WM_DPICHANGED) that its monitor has this DPI now.
void announceDpi(HWND window, UINT dpi);

// The profile API reads the file at every lookup. Where there is no file, a lookup can only
// give what the API makes of the default: that answer is kept for as long as the file is
// missing, which is checked anew for every host request (a look at the directory, far cheaper
// than the API's attempt to open the file at each of the request's lookups). Whether the file is
// a Unicode one is looked at as often: its first two bytes.
class Win32Profile : public ProfileReader {
 public:
  int readInt(const std::string& file, const std::string& section, const std::string& key,
              int defaultValue) override;
  std::string readString(const std::string& file, const std::string& section,
                         const std::string& key, const std::string& defaultValue) override;
  bool unicodeFile(const std::string& file) override;
  bool fileExists(const std::string& file) override;
  bool leadByte(std::int16_t charset, unsigned char byte) override;
  char32_t character(std::int16_t charset, unsigned char byte, int trail) override;

 private:
  // True when the file is missing; forgets the answers kept for another file or while the file
  // was there.
  bool fileMissing(const std::string& file);

  using Lookup = std::tuple<std::string, std::string, std::string>;  // section, key, default
  // The file last looked for, whether it was missing or a Unicode file, and in which host
  // request; the answers below were given while it was missing.
  std::string checkedFile_;
  bool checkedMissing_ = false;
  bool checkedUnicode_ = false;
  unsigned checkedInRequest_ = 0;
  std::map<Lookup, std::string> strings_;
  std::map<Lookup, int> ints_;
};

class Win32Layouts : public KeyboardLayouts {
 public:
  LayoutHandle current() override;
  LayoutHandle activateNext() override;
};

// The system's DPI (96 when the screen cannot be asked): that of monitors without one of their own.
UINT systemDpi();

// The code page in which 8-bit texts of a font character set are written: the one the character
// set names, or the system's ANSI code page where it names none (the default and symbol sets).
UINT codePageOfCharset(int charset);

// Text of a code page (CP_UTF8 for UTF-8) as UTF-16, and UTF-16 as UTF-8.
std::wstring wideText(const std::string& text, UINT codePage);
std::string utf8FromWide(const wchar_t* text, std::size_t length);

}  // namespace pmx::win32
