#include "win32/Trace_win.h"

#include <windows.h>

namespace pmx::win32 {

namespace {

bool traceWanted() {
  char value[4] = {};
  const DWORD n = GetEnvironmentVariableA(kTraceVariable, value, sizeof value);
  // 0: not set or empty; a value too long for the buffer is no "0" either.
  return n != 0 && !(n == 1 && value[0] == '0');
}

}  // namespace

Win32Trace::Win32Trace() : Trace(traceWanted()) {}

void Win32Trace::line(const std::string& text) {
  OutputDebugStringA(("PMXTouchKeyboard: " + text + "\n").c_str());
}

}  // namespace pmx::win32
