#include "PanelCheck.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <set>

#include "Fingers.h"

namespace panel_check {

namespace {

constexpr char kName[] = "PMXTouchKeyboardCheck";

std::string checked;   // the keyboard to check
std::string keyboard;  // the copy of it that the cases run
std::string reportFolder;
POINT mouse{};  // where the pointer was before the check

// Puts the pointer back and lets go of its button.
void restoreMouse() {
  if (GetAsyncKeyState(VK_LBUTTON) < 0) {
    INPUT up{};
    up.type = INPUT_MOUSE;
    up.mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(1, &up, sizeof up);
  }
  SetCursorPos(mouse.x, mouse.y);
}

// Ctrl+C or the console closed: the keyboards end with their host, the pointer goes back.
BOOL WINAPI onConsoleEnd(DWORD) {
  restoreMouse();
  return FALSE;
}

std::string folderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

std::string programPath() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  return path;
}

std::string fullPath(const std::string& path) {
  const std::string windows = host_client::toWindowsPath(path);
  char full[MAX_PATH] = {};
  const DWORD n = GetFullPathNameA(windows.c_str(), MAX_PATH, full, nullptr);
  return n > 0 && n < MAX_PATH ? full : windows;
}

bool isFolder(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Makes the folder and those above it.
bool makeFolder(const std::string& path) {
  for (std::size_t at = path.find('\\', 3); at != std::string::npos; at = path.find('\\', at + 1)) {
    CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
  }
  CreateDirectoryA(path.c_str(), nullptr);
  return isFolder(path);
}

void removeTree(const std::string& path) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
  for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found)) {
    const std::string name = found.cFileName, inner = path + "\\" + name;
    if (name == "." || name == "..") continue;
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
      removeTree(inner);
    } else {
      DeleteFileA(inner.c_str());
    }
  }
  if (search != INVALID_HANDLE_VALUE) FindClose(search);
  RemoveDirectoryA(path.c_str());
}

std::string localTime(const char* format) {
  SYSTEMTIME t;
  GetLocalTime(&t);
  char text[40];
  std::snprintf(text, sizeof text, format, t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute,
                t.wSecond);
  return text;
}

// ---- The panel ------------------------------------------------------------------------------

std::string windowsVersion() {
  char product[128] = "Windows";
  DWORD size = sizeof product;
  RegGetValueA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "ProductName",
               RRF_RT_REG_SZ, nullptr, product, &size);
  std::string text = product;
  // RtlGetVersion tells the truth whatever the program's manifest says.
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  using GetVersion = LONG(WINAPI*)(OSVERSIONINFOW*);
  const auto getVersion =
      reinterpret_cast<GetVersion>(reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")));
  OSVERSIONINFOW v{};
  v.dwOSVersionInfoSize = sizeof v;
  if (getVersion != nullptr && getVersion(&v) == 0) {
    text += " " + std::to_string(v.dwMajorVersion) + "." + std::to_string(v.dwMinorVersion) + "." +
            std::to_string(v.dwBuildNumber);
  }
  using WineVersion = const char*(CDECL*)();
  const auto wine = reinterpret_cast<WineVersion>(
      reinterpret_cast<void*>(GetProcAddress(ntdll, "wine_get_version")));
  if (wine != nullptr) text += std::string(" (Wine ") + wine() + ")";
  return text;
}

std::string fileVersion(const std::string& path) {
  DWORD ignored = 0;
  std::vector<char> info(GetFileVersionInfoSizeA(path.c_str(), &ignored));
  void* value = nullptr;
  UINT size = 0;
  if (info.empty() ||
      !GetFileVersionInfoA(path.c_str(), 0, static_cast<DWORD>(info.size()), info.data()) ||
      !VerQueryValueA(info.data(), "\\StringFileInfo\\040904B0\\ProductVersion", &value, &size) ||
      size == 0) {
    return "no version";
  }
  return std::string("version ") + static_cast<const char*>(value);
}

// What the report says about the panel, line by line.
std::vector<std::pair<std::string, std::string>> panel() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  const int touches = GetSystemMetrics(SM_MAXIMUMTOUCHES);
  char layout[KL_NAMELENGTH] = {};
  GetKeyboardLayoutNameA(layout);
  char language[64] = {};
  GetLocaleInfoA(MAKELCID(LOWORD(reinterpret_cast<UINT_PTR>(GetKeyboardLayout(0))), SORT_DEFAULT),
                 LOCALE_SENGLANGUAGE, language, sizeof language);
  return {
      {"Keyboard", checked + ", " + fileVersion(checked)},
      {"Windows", windowsVersion()},
      {"Screen", std::to_string(GetSystemMetrics(SM_CXSCREEN)) + " x " +
                     std::to_string(GetSystemMetrics(SM_CYSCREEN)) + " pixels, " +
                     std::to_string(dpi) + " DPI, " +
                     std::to_string(GetSystemMetrics(SM_CMONITORS)) + " monitor(s)"},
      {"Touch",
       (touches > 0 ? std::to_string(touches) + " touch points" : std::string("no touch")) +
           "; the touch cases use " + host_client::Fingers::how()},
      {"Keyboard layout", std::string(layout) + " " + language},
  };
}

// ---- The cases ------------------------------------------------------------------------------

struct Case {
  std::string name;
  std::string result;
  std::string detail;  // the first failure, or why the case was skipped
  std::string touch;   // how its fingers touched, for a case with fingers
  double seconds = 0;
  std::vector<std::string> screenshots;
  std::set<std::string> padsShown;
};

// Records each case as it runs. A case ends at its first failure: on a panel where the keyboard
// fails, every check after it would only wait for its time-out.
class Recorder : public ::testing::EmptyTestEventListener {
 public:
  std::vector<Case> cases;

  void OnTestStart(const ::testing::TestInfo& info) override {
    cases.emplace_back();
    cases.back().name = std::string(info.test_suite_name()) + "." + info.name();
  }

  void OnTestPartResult(const ::testing::TestPartResult& part) override {
    if (cases.empty() || part.type() == ::testing::TestPartResult::kSuccess) return;
    Case& c = cases.back();
    if (c.detail.empty()) {
      const std::string file = part.file_name() != nullptr ? part.file_name() : "";
      c.detail = (file.empty() ? ""
                               : file.substr(file.find_last_of("\\/") + 1) + ":" +
                                     std::to_string(part.line_number()) + ": ") +
                 part.message();
    }
    // Only a failure of the case's own code can end it; one that Google Test reports itself
    // (an exception it caught, with no place in the code) already ended it.
    if (part.failed() && part.file_name() != nullptr) throw ::testing::AssertionException(part);
  }

  void OnTestEnd(const ::testing::TestInfo& info) override {
    Case& c = cases.back();
    const ::testing::TestResult& r = *info.result();
    c.result = r.Skipped() ? "skipped" : r.Failed() ? "FAILED" : "passed";
    c.seconds = static_cast<double>(r.elapsed_time()) / 1000;
    for (int i = 0; i < r.test_property_count(); ++i) {
      if (std::string(r.GetTestProperty(i).key()) == "touch")
        c.touch = r.GetTestProperty(i).value();
    }
    restoreMouse();  // a case that failed with the button down leaves it down no longer
  }

  // A picture of every pad class a case shows, the first time it shows it.
  void padShown(HWND pad) {
    if (cases.empty()) return;
    Case& c = cases.back();
    const std::string padClass = host_client::windowClass(pad);
    const std::string shortName = padClass.substr(padClass.find_last_of('.') + 1);
    if (!c.padsShown.insert(shortName).second) return;
    const std::string file = c.name + "-" + shortName + ".png";
    if (savePng(host_client::steadyGrab(pad), reportFolder + "\\" + file)) {
      c.screenshots.push_back(file);
    }
  }
};

void writeReport(const std::vector<std::pair<std::string, std::string>>& about,
                 const std::vector<Case>& cases, const std::string& started, DWORD ms) {
  std::string text = std::string(kName) + " " + PMX_VERSION + ", " + started + "\r\n";
  for (const auto& [what, value] : about) {
    text += what + ":" + std::string(17 - what.size(), ' ') + value + "\r\n";
  }
  text += "\r\nResult   Time      Case\r\n";
  int failed = 0, skipped = 0;
  for (const Case& c : cases) {
    char line[64];
    std::snprintf(line, sizeof line, "%-8s %6.1f s  ", c.result.c_str(), c.seconds);
    text += line + c.name + "\r\n";
    std::string notes = c.detail;
    if (!c.touch.empty()) notes += (notes.empty() ? "" : "\n") + ("touch: " + c.touch);
    for (const std::string& shot : c.screenshots) notes += (notes.empty() ? "" : "\n") + shot;
    for (std::size_t at = 0; !notes.empty() && at != std::string::npos;) {
      const std::size_t end = notes.find('\n', at);
      text += std::string(19, ' ') + notes.substr(at, end - at) + "\r\n";
      at = end == std::string::npos ? end : end + 1;
    }
    failed += c.result == "FAILED";
    skipped += c.result == "skipped";
  }
  text += "\r\n" + std::to_string(cases.size()) + (cases.size() == 1 ? " case: " : " cases: ") +
          std::to_string(cases.size() - failed - skipped) + " passed, " + std::to_string(failed) +
          " failed, " + std::to_string(skipped) + " skipped, in " + std::to_string(ms / 1000) +
          " s. JUnit XML: junit.xml\r\n";
  HANDLE file = CreateFileA((reportFolder + "\\report.txt").c_str(), GENERIC_WRITE, 0, nullptr,
                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  if (file != INVALID_HANDLE_VALUE) {
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
  }
}

// Crash reports of keyboards that crashed during the check go with the report.
void keepCrashReports(const std::string& localAppData) {
  const std::string crashes = localAppData + "\\PMXTouchKeyboard\\Crashes";
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((crashes + "\\*.*").c_str(), &found);
  for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found)) {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) continue;
    makeFolder(reportFolder + "\\crashes");
    MoveFileA((crashes + "\\" + found.cFileName).c_str(),
              (reportFolder + "\\crashes\\" + found.cFileName).c_str());
  }
  if (search != INVALID_HANDLE_VALUE) FindClose(search);
}

// Says what is wrong (also in a message box, unless told not to ask) and how to call the check.
int usage(const std::string& why, bool yes) {
  if (!why.empty() && !yes) MessageBoxA(nullptr, why.c_str(), kName, MB_ICONERROR | MB_TOPMOST);
  std::fprintf(stderr,
               "%s%s\nUsage: %s [/y] [/keyboard:<exe>] [/report:<folder>] [GoogleTest options]\n"
               "  /y                skip the question before the check starts\n"
               "  /keyboard:<exe>   the keyboard to check (default: PMXTouchKeyboard.exe beside "
               "this program)\n"
               "  /report:<folder>  where the report goes (default: a new folder beside this "
               "program)\n",
               why.c_str(), why.empty() ? "" : "\n", kName);
  return why.empty() ? kAllPassed : kCannotRun;
}

bool startsWith(const std::string& text, const char* prefix) {
  return _strnicmp(text.c_str(), prefix, std::strlen(prefix)) == 0;
}

}  // namespace

const std::string& keyboardExe() { return keyboard; }

int run(int argc, char** argv, const std::vector<Role>& roles) {
  bool yes = false, help = false;
  std::string wrong;
  const Role* role = nullptr;
  std::vector<char*> testArguments{argv[0]};
  checked = folderOf(programPath()) + "\\PMXTouchKeyboard.exe";
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    for (const Role& r : roles) {
      if (a == r.argument) role = &r;
    }
    if (a == "/?" || _stricmp(a.c_str(), "/help") == 0) {
      help = true;
    } else if (_stricmp(a.c_str(), "/y") == 0) {
      yes = true;
    } else if (startsWith(a, "/keyboard:")) {
      checked = fullPath(a.substr(10));
    } else if (startsWith(a, "/report:")) {
      reportFolder = fullPath(a.substr(8));
    } else if (!a.empty() && a[0] == '-') {
      testArguments.push_back(argv[i]);
    } else {
      wrong = "unknown argument: " + a;
    }
  }
  if (help || !wrong.empty()) return usage(wrong, yes);
  host_client::prepareHostProcess();
  if (role != nullptr) {
    keyboard = checked;
    return role->run();
  }
  if (GetFileAttributesA(checked.c_str()) == INVALID_FILE_ATTRIBUTES) {
    return usage("no keyboard at " + checked + "; name one with /keyboard:<exe>", yes);
  }
  if (reportFolder.empty()) {
    reportFolder = folderOf(programPath()) + "\\" + kName + localTime("-%04u%02u%02u-%02u%02u%02u");
  }
  if (!makeFolder(reportFolder)) return usage("cannot make the folder " + reportFolder, yes);

  const std::string notice = std::string(kName) + " checks " + checked +
                             " on this panel. For about a minute it will move the pointer, touch "
                             "and type: leave the mouse, the keyboard and the screen alone until "
                             "it ends.";
  std::printf("%s\n\n", notice.c_str());
  if (!yes &&
      MessageBoxA(nullptr, (notice + "\n\nStart now?").c_str(), kName,
                  MB_OKCANCEL | MB_ICONINFORMATION | MB_SETFOREGROUND | MB_TOPMOST) != IDOK) {
    return kDeclined;
  }

  // Everything the cases and their keyboards write goes to a temporary folder of the check's own,
  // and the cases run a copy of the keyboard there: the panel's settings file beside the keyboard
  // neither changes nor counts.
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string folder =
      std::string(temp) + kName + "-" + std::to_string(GetCurrentProcessId());
  const std::string localAppData = folder + "\\LocalAppData";
  keyboard = folder + "\\PMXTouchKeyboard.exe";
  if (!makeFolder(localAppData) || !CopyFileA(checked.c_str(), keyboard.c_str(), FALSE)) {
    return usage("cannot copy the keyboard to " + folder, yes);
  }
  // The package's example host (beside this program) goes with it, for its case: it starts the
  // keyboard in its own folder.
  CopyFileA((folderOf(programPath()) + "\\ExampleHost.exe").c_str(),
            (folder + "\\ExampleHost.exe").c_str(), FALSE);
  SetEnvironmentVariableA("TMP", folder.c_str());
  SetEnvironmentVariableA("TEMP", folder.c_str());
  SetEnvironmentVariableA("LOCALAPPDATA", localAppData.c_str());

  const std::string started = localTime("%04u-%02u-%02u %02u:%02u:%02u");
  const auto about = panel();
  for (const auto& [what, value] : about) std::printf("%s: %s\n", what.c_str(), value.c_str());
  std::printf("\n");
  GetCursorPos(&mouse);
  SetConsoleCtrlHandler(&onConsoleEnd, TRUE);
  int count = static_cast<int>(testArguments.size());
  GTEST_FLAG_SET(output, "xml:" + reportFolder + "\\junit.xml");
  ::testing::InitGoogleTest(&count, testArguments.data());
  auto* recorder = new Recorder;  // the listeners own it
  ::testing::UnitTest::GetInstance()->listeners().Append(recorder);
  host_client::padShown = [recorder](HWND pad) { recorder->padShown(pad); };
  const DWORD start = GetTickCount();
  const int result = RUN_ALL_TESTS();
  const DWORD ms = GetTickCount() - start;
  host_client::padShown = nullptr;
  restoreMouse();

  writeReport(about, recorder->cases, started, ms);
  keepCrashReports(localAppData);
  removeTree(folder);
  const bool passed = result == 0 && !recorder->cases.empty();
  const std::string end = std::string(passed ? "Every case passed." : "The check FAILED.") +
                          " The report is in " + reportFolder;
  std::printf("\n%s\n", end.c_str());
  if (!yes) {
    MessageBoxA(nullptr, end.c_str(), kName,
                (passed ? MB_ICONINFORMATION : MB_ICONERROR) | MB_SETFOREGROUND | MB_TOPMOST);
  }
  return passed ? kAllPassed : kCaseFailed;
}

}  // namespace panel_check
