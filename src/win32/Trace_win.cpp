#include "win32/Trace_win.h"

#include <cstdio>

#include "win32/CrashHandler_win.h"

namespace pmx::win32 {

namespace {

// The variable's value; empty when it asks for no trace.
std::string traceVariable() {
  char value[MAX_PATH] = {};
  const DWORD n = GetEnvironmentVariableA(kTraceVariable, value, sizeof value);
  // 0: not set or empty; a value too long for the buffer is no "0" either, nor a usable file.
  if (n == 0 || (n == 1 && value[0] == '0')) return std::string();
  return n < sizeof value ? value : "1";
}

}  // namespace

Win32Trace::Win32Trace() : Win32Trace(traceVariable()) {}

// Always on, for the lines kept in memory; the settings lookups only when the trace is asked for.
Win32Trace::Win32Trace(const std::string& asked)
    : Trace(true, !asked.empty()), debugOutput_(!asked.empty()) {
  if (asked.find_first_of("\\/:.") != std::string::npos) {
    // Relative to the directory the keyboard was started in, not to wherever it is later.
    char full[MAX_PATH] = {};
    const DWORD length = GetFullPathNameA(asked.c_str(), sizeof full, full, nullptr);
    filePath_ = length > 0 && length < sizeof full ? full : asked;
    openFile();
  }
}

Win32Trace::~Win32Trace() {
  if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
}

void Win32Trace::openFile() {
  // Appends only, and lets others read, rename or delete the file while it is open.
  file_ = CreateFileA(filePath_.c_str(), FILE_APPEND_DATA | FILE_READ_ATTRIBUTES,
                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                      FILE_ATTRIBUTE_NORMAL, nullptr);
  LARGE_INTEGER size{};
  fileSize_ = file_ != INVALID_HANDLE_VALUE && GetFileSizeEx(file_, &size)
                  ? static_cast<ULONGLONG>(size.QuadPart)
                  : 0;
  if (file_ == INVALID_HANDLE_VALUE) {
    OutputDebugStringA(("PMXTouchKeyboard: the trace file " + filePath_ +
                        " cannot be written (error " + std::to_string(GetLastError()) + ")\n")
                           .c_str());
  }
}

void Win32Trace::line(const std::string& text) {
  SYSTEMTIME t;
  GetLocalTime(&t);
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%04u-%02u-%02u %02u:%02u:%02u.%03u ", t.wYear, t.wMonth,
                t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds);
  std::string stamped = stamp + text;
  keepTraceLine(stamped);
  if (debugOutput_) OutputDebugStringA(("PMXTouchKeyboard: " + text + "\n").c_str());
  if (file_ == INVALID_HANDLE_VALUE) return;
  stamped += "\r\n";
  if (fileSize_ + stamped.size() > kTraceFileCap && fileSize_ > 0) {
    CloseHandle(file_);
    MoveFileExA(filePath_.c_str(), (filePath_ + ".1").c_str(), MOVEFILE_REPLACE_EXISTING);
    openFile();
    if (file_ == INVALID_HANDLE_VALUE) return;
  }
  DWORD written = 0;
  WriteFile(file_, stamped.data(), static_cast<DWORD>(stamped.size()), &written, nullptr);
  fileSize_ += written;
}

}  // namespace pmx::win32
