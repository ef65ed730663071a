// The end-to-end cases as the panel check (tools/panel_check), which is this program's entry:
//   PMXTouchKeyboardCheck [/y] [/keyboard:<exe>] [/report:<folder>] [GoogleTest options]
//   PMXTouchKeyboardCheck /keyboard:<exe> --serve-killed-host   (a host for a case to kill)
#include "PanelCheck.h"
#include "host.h"

const std::string& e2e::keyboardExe() { return panel_check::keyboardExe(); }

int main(int argc, char** argv) {
  return panel_check::run(argc, argv, {{"--serve-killed-host", &e2e::serveKilledHost}});
}
