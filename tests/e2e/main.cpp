// The test host: pmx_e2e --exe <PMXTouchKeyboard.exe> [--example-host <ExampleHost.exe>]
//                [GoogleTest options]
//                pmx_e2e --expect-tests <n>   (checks that the build runs every test there is)
//                pmx_e2e --exe <exe> --serve-killed-host   (a host for a test to kill)
#include <cstdio>
#include <cstdlib>
#include <string>

#include "host.h"

static std::string exePath;
static std::string exampleHostPath;

const std::string& e2e::keyboardExe() { return exePath; }
const std::string& e2e::exampleHostExe() { return exampleHostPath; }

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  for (int i = 1; i + 1 < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--exe") exePath = e2e::toWindowsPath(argv[i + 1]);
    if (arg == "--example-host") exampleHostPath = e2e::toWindowsPath(argv[i + 1]);
    if (arg == "--expect-tests") {
      const int expected = std::atoi(argv[i + 1]);
      const int actual = ::testing::UnitTest::GetInstance()->total_test_count();
      std::printf("%d tests compiled in, %d run by CTest\n", actual, expected);
      return actual == expected ? 0 : 1;
    }
  }
  e2e::prepareHostProcess();
  if (std::string(argv[argc - 1]) == "--serve-killed-host") return e2e::serveKilledHost();
  return RUN_ALL_TESTS();
}
