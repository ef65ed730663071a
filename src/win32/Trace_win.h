// The protocol trace through OutputDebugString, for a debug-output viewer such as DebugView.
#pragma once

#include <string>

#include "platform/Platform.h"

namespace pmx::win32 {

// The environment variable that switches the trace on: set to anything but nothing or "0".
constexpr const char* kTraceVariable = "PMX_TOUCHKEYBOARD_TRACE";

class Win32Trace : public Trace {
 public:
  // Reads the environment variable once, at start-up.
  Win32Trace();
  // One line of debug output, with the program's name in front.
  void line(const std::string& text) override;
};

}  // namespace pmx::win32
