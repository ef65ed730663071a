// The panel check: the end-to-end cases as one program that an integrator runs on the panel
// itself, with a report to send back.
//
//   PMXTouchKeyboardCheck.exe [/y] [/keyboard:<exe>] [/report:<folder>] [GoogleTest options]
//
// It checks the PMXTouchKeyboard.exe beside it (or the one named), in a temporary folder of its
// own, and writes report.txt, junit.xml and a picture of every pad the cases showed into the
// report folder (by default a new folder beside the program).
#pragma once

#include <string>
#include <vector>

#include "Host.h"

namespace panel_check {

constexpr int kAllPassed = 0;
constexpr int kCaseFailed = 1;
constexpr int kCannotRun = 2;  // a wrong command line, no keyboard, no report folder
constexpr int kDeclined = 3;   // the user did not let it start

// The keyboard under check (a Windows path).
const std::string& keyboardExe();

// Another part this program plays for a case, chosen by an argument of its own (a host for a
// case to kill, say); it runs instead of the check and its result is the exit code.
struct Role {
  const char* argument;
  int (*run)();
};

// The whole check, the prompt, the cases and the report; returns the exit code.
int run(int argc, char** argv, const std::vector<Role>& roles = {});

// A grab as a PNG file (through the platform's imaging component).
bool savePng(const host_client::Grab& grab, const std::string& path);

}  // namespace panel_check
