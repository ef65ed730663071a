// The runner: pmx_e2e --exe <keyboard exe> <case>...  |  --list  |  --expect-cases <case>...
#include "e2e.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <exception>
#include <map>
#include <set>
#include <vector>

#include "host.h"

namespace e2e {
namespace {

std::map<std::string, CaseFunction>& registry() {
  static std::map<std::string, CaseFunction> cases;
  return cases;
}

std::string& exePath() {
  static std::string path;
  return path;
}

void line(const std::string& text) {
  std::printf("%s\n", text.c_str());
  std::fflush(stdout);
}

int usage() {
  line("usage: pmx_e2e --exe <PMXTouchKeyboard.exe> <case>...");
  line("       pmx_e2e --list");
  line("       pmx_e2e --expect-cases <case>...   (checks that exactly these cases exist)");
  return 2;
}

// Compares the registered cases with the list the build found in the sources.
int expectCases(const std::vector<std::string>& expected) {
  std::set<std::string> want(expected.begin(), expected.end());
  int missing = 0;
  for (const auto& entry : registry()) {
    if (want.count(entry.first) == 0) {
      line("registered but not run by CTest: " + entry.first);
      ++missing;
    }
  }
  for (const auto& name : want) {
    if (registry().count(name) == 0) {
      line("run by CTest but not registered: " + name);
      ++missing;
    }
  }
  line(missing == 0 ? "1 passed, 0 failed" : "0 passed, 1 failed");
  return missing == 0 ? 0 : 1;
}

}  // namespace

bool Case::check(bool ok, const char* expression, const char* file, int lineNumber,
                 const std::string& detail) {
  if (ok) return true;
  ++failures_;
  const char* base = std::strrchr(file, '/');
  const char* base2 = std::strrchr(file, '\\');
  if (base2 > base) base = base2;
  std::string text = "  FAILED " + std::string(base ? base + 1 : file) + ":" +
                     std::to_string(lineNumber) + ": " + expression;
  if (!detail.empty()) text += " (" + detail + ")";
  line(text);
  return false;
}

void Case::note(const std::string& text) { line("  " + text); }

Registrar::Registrar(const char* name, CaseFunction function) { registry()[name] = function; }

const std::string& keyboardExe() { return exePath(); }

}  // namespace e2e

int main(int argc, char** argv) {
  using namespace e2e;
  std::vector<std::string> names;
  bool list = false;
  bool expect = false;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--exe" && i + 1 < argc) {
      exePath() = toWindowsPath(argv[++i]);
    } else if (arg == "--list") {
      list = true;
    } else if (arg == "--expect-cases") {
      expect = true;
    } else if (arg.rfind("--", 0) == 0) {
      return usage();
    } else {
      names.push_back(arg);
    }
  }
  if (list) {
    for (const auto& entry : registry()) line(entry.first);
    return 0;
  }
  if (expect) return expectCases(names);
  if (names.empty() || exePath().empty()) return usage();

  prepareHostProcess();
  int passed = 0;
  int failed = 0;
  for (const auto& name : names) {
    line("[ RUN      ] " + name);
    auto found = registry().find(name);
    Case c(name);
    auto start = std::chrono::steady_clock::now();
    if (found == registry().end()) {
      c.check(false, "the case exists", __FILE__, __LINE__, "no case named " + name);
    } else {
      try {
        found->second(c);
      } catch (const std::exception& e) {
        c.check(false, "no exception", __FILE__, __LINE__, e.what());
      }
    }
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                  std::chrono::steady_clock::now() - start)
                  .count();
    line((c.failed() ? "[     FAIL ] " : "[       OK ] ") + name + " (" + std::to_string(ms) +
         " ms)");
    (c.failed() ? failed : passed) += 1;
  }
  line(std::to_string(passed) + " passed, " + std::to_string(failed) + " failed");
  return failed == 0 ? 0 : 1;
}
