// check_settings: reports what PMXTouchKeyboard would silently ignore or get wrong in settings
// files (the same check as `PMXTouchKeyboard.exe /CheckSettings:<file>`).
//
//   check_settings <QD4TouchKeyboard.ini>...
//
// Exit code: 0 without errors (warnings allowed), 1 when a file has errors, 2 when a file cannot
// be read or no file is named.
#include <algorithm>
#include <cstdio>
#include <string>

#include "settings/SettingsCheck.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs("usage: check_settings <QD4TouchKeyboard.ini>...\n", stderr);
    return pmx::kSettingsUnreadable;
  }
  int code = 0;
  for (int i = 1; i < argc; ++i) {
    std::string report;
    code = std::max(code, pmx::runSettingsCheck(argv[i], report));
    std::fputs(report.c_str(), stdout);
  }
  return code;
}
