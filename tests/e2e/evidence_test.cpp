// What the keyboard leaves behind in the field, with its own trace and crash handler linked in:
//   pmx_evidence_test          the checks below; exit code 0 when all hold
//   pmx_evidence_test fault    traces 600 lines and then writes through a null pointer
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "win32/CrashHandler_win.h"
#include "win32/Trace_win.h"

namespace {

int failures = 0;

void check(bool ok, const std::string& what) {
  if (!ok) ++failures;
  std::printf("%s: %s\n", ok ? "ok" : "FAILED", what.c_str());
}

std::string contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

std::vector<std::string> files(const std::string& pattern) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(pattern.c_str(), &found);
  for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found)) {
    names.push_back(found.cFileName);
  }
  if (search != INVALID_HANDLE_VALUE) FindClose(search);
  return names;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::string(argv[1]) == "fault") {
    pmx::win32::installCrashHandler();
    pmx::win32::Win32Trace trace;
    for (int i = 0; i < 600; ++i) trace.line("line " + std::to_string(i));
    volatile std::uintptr_t nowhere = 0;
    *reinterpret_cast<volatile int*>(nowhere) = 1;
    return 0;
  }
  // Everything goes to a folder of this run, the keyboard's local application data included.
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string root =
      std::string(temp) + "pmx-evidence-" + std::to_string(GetCurrentProcessId());
  const std::string crashes = root + "\\PMXTouchKeyboard\\Crashes";
  CreateDirectoryA(root.c_str(), nullptr);
  CreateDirectoryA((root + "\\PMXTouchKeyboard").c_str(), nullptr);
  CreateDirectoryA(crashes.c_str(), nullptr);
  SetEnvironmentVariableA("LOCALAPPDATA", root.c_str());

  // Six older reports: the crash keeps the newest four of them beside its own.
  for (int i = 1; i <= 6; ++i) {
    const std::string stem =
        crashes + "\\PMXTouchKeyboard-2000010" + std::to_string(i) + "-000000-1";
    std::ofstream(stem + ".dmp") << "old";
    std::ofstream(stem + ".txt") << "old";
  }
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string command = "\"" + std::string(self) + "\" fault";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  DWORD code = 0;
  if (CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                     &process)) {
    WaitForSingleObject(process.hProcess, 60000);
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  char hex[16];
  std::snprintf(hex, sizeof hex, "0x%08lX", static_cast<unsigned long>(code));
  check(code == EXCEPTION_ACCESS_VIOLATION,
        std::string("the exit code is the exception's: ") + hex);
  const std::vector<std::string> dumps = files(crashes + "\\PMXTouchKeyboard-*.dmp");
  check(dumps.size() == 5 && files(crashes + "\\*.txt").size() == 5 &&
            dumps.front() == "PMXTouchKeyboard-20000103-000000-1.dmp",
        "the newest five reports are kept, " + std::to_string(dumps.size()) + " there");
  const std::string stem = crashes + "\\" + dumps.back().substr(0, dumps.back().size() - 4);
  const std::string dump = contents(stem + ".dmp");
  check(dump.compare(0, 4, "MDMP") == 0 && dump.size() > 10000,
        "a minidump of " + std::to_string(dump.size()) + " bytes");
  // The trace tail: the last 512 lines, each with its time, after the exception.
  const std::string tail = contents(stem + ".txt");
  std::size_t lines = 0;
  for (std::size_t at = tail.find(" line "); at != std::string::npos;
       at = tail.find(" line ", at + 1)) {
    ++lines;
  }
  const bool tailKept = tail.find("exception 0xC0000005") != std::string::npos &&
                        tail.find(" line 88\r\n") != std::string::npos &&
                        tail.find(" line 599\r\n") != std::string::npos &&
                        lines == pmx::win32::kTraceLinesKept;
  check(tailKept, "the trace tail: " + std::to_string(lines) + " lines" +
                      (tailKept ? "" : "\n" + tail.substr(0, 300)));

  // The trace file: past its cap it goes on in a fresh file, the older lines in ".1", none lost.
  const std::string traceFile = root + "\\trace.log";
  SetEnvironmentVariableA("PMX_TOUCHKEYBOARD_TRACE", traceFile.c_str());
  int written = 0;
  {
    pmx::win32::Win32Trace trace;
    const std::string filler(200, 'x');
    while (GetFileAttributesA((traceFile + ".1").c_str()) == INVALID_FILE_ATTRIBUTES &&
           written < 100000) {
      trace.line("file " + std::to_string(written++) + " " + filler);
    }
    trace.line("file " + std::to_string(written++) + " last");
  }
  const std::string older = contents(traceFile + ".1"), newer = contents(traceFile);
  const std::string seam = "file " + std::to_string(written - 3) + " ";
  check(older.size() <= pmx::win32::kTraceFileCap &&
            older.size() > pmx::win32::kTraceFileCap - 300 &&
            older.find(seam) != std::string::npos && newer.find(seam) == std::string::npos &&
            newer.find("file " + std::to_string(written - 2) + " ") == 24 &&
            newer.find("last\r\n") != std::string::npos,
        "the trace file moves to .1 at " + std::to_string(older.size()) + " bytes");
  for (const std::string& name : files(crashes + "\\*.*"))
    DeleteFileA((crashes + "\\" + name).c_str());
  for (const char* name : {"\\trace.log", "\\trace.log.1"}) DeleteFileA((root + name).c_str());
  RemoveDirectoryA(crashes.c_str());
  RemoveDirectoryA((root + "\\PMXTouchKeyboard").c_str());
  RemoveDirectoryA(root.c_str());
  return failures == 0 ? 0 : 1;
}
