// The protocol trace. Every line is kept in memory for the crash report (CrashHandler_win.h);
// when asked for, it also goes to the debug output (for a viewer such as DebugView) and to a file.
#pragma once

#include <windows.h>

#include <string>

#include "platform/Platform.h"

namespace pmx::win32 {

// The environment variable that switches the trace on: "1" (anything but nothing or "0") for the
// debug output; a file name (anything with a \, /, : or . in it) for the debug output and that
// file.
constexpr const char* kTraceVariable = "PMX_TOUCHKEYBOARD_TRACE";
// A trace file that reaches this size is renamed to its name with ".1" (replacing an older one)
// and started afresh: the newest lines are always on disk, at most twice this in all.
constexpr ULONGLONG kTraceFileCap = 4ull << 20;

class Win32Trace : public Trace {
 public:
  // Reads the environment variable once, at start-up.
  Win32Trace();
  ~Win32Trace() override;
  Win32Trace(const Win32Trace&) = delete;
  Win32Trace& operator=(const Win32Trace&) = delete;
  // One line: kept with the time in front; to the debug output with the program's name in front;
  // appended to the file with the time in front.
  void line(const std::string& text) override;

 private:
  // `asked`: the environment variable's value, empty when no trace is asked for.
  explicit Win32Trace(const std::string& asked);
  void openFile();

  bool debugOutput_ = false;
  std::string filePath_;  // empty: no file
  HANDLE file_ = INVALID_HANDLE_VALUE;
  ULONGLONG fileSize_ = 0;
};

}  // namespace pmx::win32
