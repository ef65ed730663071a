// The exe's version resource, as Explorer reads it: the project's version and description.
#include <vector>

#include "host.h"

using namespace e2e;

TEST(Package, the_exe_carries_the_project_version) {
  const char* exe = keyboardExe().c_str();
  DWORD ignored = 0;
  std::vector<char> info(GetFileVersionInfoSizeA(exe, &ignored));
  ASSERT_FALSE(info.empty()) << "no version resource";
  ASSERT_TRUE(GetFileVersionInfoA(exe, 0, static_cast<DWORD>(info.size()), info.data()));
  const auto value = [&info](const std::string& path) {
    void* data = nullptr;
    UINT size = 0;
    return VerQueryValueA(info.data(), path.c_str(), &data, &size) && size > 0 ? data : nullptr;
  };
  const auto text = [&value](const char* name) {
    const void* data = value(std::string("\\StringFileInfo\\040904B0\\") + name);
    return std::string(data != nullptr ? static_cast<const char*>(data) : "(none)");
  };
  EXPECT_EQ(text("FileVersion"), PMX_VERSION);
  EXPECT_EQ(text("ProductVersion"), PMX_VERSION);
  EXPECT_EQ(text("FileDescription"), PMX_DESCRIPTION);
  EXPECT_EQ(text("ProductName"), "PMXTouchKeyboard");
  EXPECT_EQ(text("OriginalFilename"), "PMXTouchKeyboard.exe");
  const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value("\\"));
  ASSERT_NE(fixed, nullptr);
  EXPECT_EQ(fixed->dwFileVersionMS, DWORD{PMX_VERSION_MAJOR << 16 | PMX_VERSION_MINOR});
  EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
}
