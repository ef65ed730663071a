// The exe's version resource, as Explorer reads it: the project's version and description.
#include <vector>

#include "host.h"

using namespace e2e;

TEST(Package, the_exe_carries_the_project_version) {
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
  EXPECT_EQ(value("ProductVersion"), PMX_VERSION);
  EXPECT_EQ(value("FileDescription"), PMX_DESCRIPTION);
  EXPECT_EQ(value("OriginalFilename"), "PMXTouchKeyboard.exe");
}
