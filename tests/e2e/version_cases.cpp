// The exe's resources, as Explorer reads them: the project's version and description, the icon.
#include <vector>

#include "host.h"
// clang-format off
#include <shellapi.h>  // after <windows.h>, which host.h brings
// clang-format on

using namespace e2e;

// (That the message window shows the icon cannot be seen from here under Wine, which answers
// WM_GETICON and the class icon only inside the window's own process.)
TEST(Package, the_exe_carries_the_project_version_and_the_icon) {
  DWORD ignored = 0;
  std::vector<char> info(GetFileVersionInfoSizeA(keyboardExe().c_str(), &ignored));
  ASSERT_FALSE(info.empty()) << "no version resource";
  ASSERT_TRUE(
      GetFileVersionInfoA(keyboardExe().c_str(), 0, static_cast<DWORD>(info.size()), info.data()));
  const auto value = [&info](const std::string& name) {
    void* data = nullptr;
    UINT size = 0;
    const bool found = VerQueryValueA(info.data(), ("\\StringFileInfo\\040904B0\\" + name).c_str(),
                                      &data, &size) &&
                       size > 0;
    return std::string(found ? static_cast<const char*>(data) : "(none)");
  };
  EXPECT_EQ(value("FileVersion"), PMX_VERSION);
  EXPECT_EQ(value("ProductVersion"), PMX_BUILD_VERSION);  // the commit of the build with it
  EXPECT_EQ(value("FileDescription"), PMX_DESCRIPTION);
  EXPECT_EQ(value("OriginalFilename"), "PMXTouchKeyboard.exe");

  EXPECT_TRUE(ExtractIconExA(keyboardExe().c_str(), -1, nullptr, nullptr, 0) >= 1);
  HICON large = nullptr;
  EXPECT_TRUE(ExtractIconExA(keyboardExe().c_str(), 0, &large, nullptr, 1) == 1 &&
              large != nullptr);
  if (large != nullptr) DestroyIcon(large);
}
