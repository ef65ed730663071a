// What a crash leaves behind. The last trace lines are kept in memory all the time; when an
// exception that nothing handles ends the process, a minidump and those lines are written to
// %LOCALAPPDATA%\PMXTouchKeyboard\Crashes as <stem>.dmp and <stem>.txt (the stem names the time
// and the process id; the newest few are kept), and the process ends with the exception's code
// as its exit code (0xC0000005 for an access violation).
#pragma once

#include <cstddef>
#include <string>

namespace pmx::win32 {

constexpr std::size_t kTraceLinesKept = 512;
constexpr int kCrashReportsKept = 5;

// Keeps a trace line; the oldest goes when kTraceLinesKept are kept. Cheap: a copy into a slot.
void keepTraceLine(const std::string& line);

// Installs the handler of exceptions that nothing else handles.
void installCrashHandler();

}  // namespace pmx::win32
