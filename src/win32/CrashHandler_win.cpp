#include "win32/CrashHandler_win.h"

#include <windows.h>
// clang-format off
#include <dbghelp.h>  // after <windows.h>
// clang-format on

#include <algorithm>
#include <array>
#include <cstdio>
#include <exception>
#include <mutex>
#include <vector>

namespace pmx::win32 {

namespace {

// An uncaught C++ exception, with the code Windows programs use for it.
constexpr DWORD kUncaughtCppException = 0xE06D7363;

struct Ring {
  std::mutex mutex;
  std::array<std::string, kTraceLinesKept> lines;
  std::size_t count = 0;  // lines kept since the start
};

Ring& ring() {
  static Ring r;
  return r;
}

struct Crash {
  EXCEPTION_POINTERS* exception;
  DWORD thread;
};

// %LOCALAPPDATA%\PMXTouchKeyboard\Crashes (the temporary folder's when there is none), made when
// missing; empty when it cannot be made.
std::string crashFolder() {
  char base[MAX_PATH] = {};
  DWORD n = GetEnvironmentVariableA("LOCALAPPDATA", base, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) n = GetTempPathA(MAX_PATH, base);
  if (n == 0 || n >= MAX_PATH) return std::string();
  std::string folder(base, n);
  if (folder.back() == '\\') folder.pop_back();
  for (const char* part : {"\\PMXTouchKeyboard", "\\Crashes"}) {
    folder += part;
    CreateDirectoryA(folder.c_str(), nullptr);
  }
  const DWORD attributes = GetFileAttributesA(folder.c_str());
  const bool made =
      attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  return made ? folder : std::string();
}

void writeDump(const std::string& path, Crash& crash) {
  // dbghelp from the system's folder only, loaded now: the keyboard does without it otherwise.
  char system[MAX_PATH] = {};
  const UINT n = GetSystemDirectoryA(system, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return;
  HMODULE dbghelp = LoadLibraryA((std::string(system, n) + "\\dbghelp.dll").c_str());
  const auto write = dbghelp == nullptr
                         ? nullptr
                         : reinterpret_cast<decltype(&MiniDumpWriteDump)>(reinterpret_cast<void*>(
                               GetProcAddress(dbghelp, "MiniDumpWriteDump")));
  if (write == nullptr) return;
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  MINIDUMP_EXCEPTION_INFORMATION where{crash.thread, crash.exception, FALSE};
  write(GetCurrentProcess(), GetCurrentProcessId(), file, MiniDumpNormal, &where, nullptr, nullptr);
  CloseHandle(file);
}

void writeTrace(const std::string& path, const Crash& crash, const SYSTEMTIME& t) {
  const EXCEPTION_RECORD& record = *crash.exception->ExceptionRecord;
  char header[256];
  std::snprintf(header, sizeof header,
                "PMXTouchKeyboard crashed: exception 0x%08lX at 0x%p in thread %lu, "
                "%04u-%02u-%02u %02u:%02u:%02u\r\n",
                static_cast<unsigned long>(record.ExceptionCode), record.ExceptionAddress,
                static_cast<unsigned long>(crash.thread), t.wYear, t.wMonth, t.wDay, t.wHour,
                t.wMinute, t.wSecond);
  std::string text = header;
  Ring& r = ring();
  // The crashed thread may hold the lock (it crashed while keeping a line): then read without.
  std::unique_lock<std::mutex> lock(r.mutex, std::defer_lock);
  for (int i = 0; i < 50 && !lock.try_lock(); ++i) Sleep(10);
  const std::size_t first = r.count > kTraceLinesKept ? r.count - kTraceLinesKept : 0;
  text += "The last " + std::to_string(r.count - first) + " trace lines, oldest first:\r\n";
  for (std::size_t i = first; i < r.count; ++i) text += r.lines[i % kTraceLinesKept] + "\r\n";
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
}

// Keeps the newest reports: their names sort by time.
void removeOldReports(const std::string& folder) {
  std::vector<std::string> stems;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\PMXTouchKeyboard-*.dmp").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = found.cFileName;
    stems.push_back(folder + "\\" + name.substr(0, name.size() - 4));
  } while (FindNextFileA(search, &found));
  FindClose(search);
  std::sort(stems.begin(), stems.end());
  for (std::size_t i = 0; i + kCrashReportsKept < stems.size(); ++i) {
    DeleteFileA((stems[i] + ".dmp").c_str());
    DeleteFileA((stems[i] + ".txt").c_str());
  }
}

DWORD WINAPI writeReport(void* parameter) {
  Crash& crash = *static_cast<Crash*>(parameter);
  const std::string folder = crashFolder();
  if (folder.empty()) return 1;
  SYSTEMTIME t;
  GetLocalTime(&t);
  char stem[80];
  std::snprintf(stem, sizeof stem, "\\PMXTouchKeyboard-%04u%02u%02u-%02u%02u%02u-%lu", t.wYear,
                t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond,
                static_cast<unsigned long>(GetCurrentProcessId()));
  writeDump(folder + stem + ".dmp", crash);
  writeTrace(folder + stem + ".txt", crash, t);
  removeOldReports(folder);
  return 0;
}

volatile LONG handling = 0;
volatile DWORD writerThread = 0;

LONG WINAPI onUnhandledException(EXCEPTION_POINTERS* exception) {
  if (InterlockedExchange(&handling, 1) != 0) {
    // The report's own writing failed: its thread ends and the first crash ends the process.
    // Any other thread waits for that.
    if (GetCurrentThreadId() == writerThread) ExitThread(1);
    Sleep(INFINITE);
  }
  Crash crash{exception, GetCurrentThreadId()};
  // On a thread of its own: the crashed thread may have no stack left.
  DWORD id = 0;
  HANDLE writer = CreateThread(nullptr, 0, &writeReport, &crash, CREATE_SUSPENDED, &id);
  if (writer != nullptr) {
    writerThread = id;
    ResumeThread(writer);
    WaitForSingleObject(writer, 60000);
    CloseHandle(writer);
  }
  TerminateProcess(GetCurrentProcess(), exception->ExceptionRecord->ExceptionCode);
  return EXCEPTION_EXECUTE_HANDLER;
}

}  // namespace

void keepTraceLine(const std::string& line) {
  Ring& r = ring();
  std::lock_guard<std::mutex> lock(r.mutex);
  r.lines[r.count % kTraceLinesKept].assign(line);
  ++r.count;
}

void installCrashHandler() {
  SetUnhandledExceptionFilter(&onUnhandledException);
  std::set_terminate(
      [] { RaiseException(kUncaughtCppException, EXCEPTION_NONCONTINUABLE, 0, nullptr); });
}

}  // namespace pmx::win32
