// check_settings: reports what PMXTouchKeyboard would silently ignore or get wrong in settings
// files (the same check as `PMXTouchKeyboard.exe /CheckSettings:<file>`).
//
//   check_settings <QD4TouchKeyboard.ini>...
//
// Exit code: 0 without errors (warnings allowed), 1 when a file has errors, 2 when a file cannot
// be read (no such file, a folder, a device) or no file is named. Each report begins with the
// file's full path; it is UTF-8, the texts of the file shown as the keyboard reads them.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

#include "settings/SettingsCheck.h"

namespace {

// Reads a file as the exe does: only a regular file is a settings file.
pmx::SettingsFileRead readSettingsFile(const std::string& name) {
  namespace fs = std::filesystem;
  pmx::SettingsFileRead file;
  std::error_code failed;
  fs::path path = fs::absolute(name, failed).lexically_normal();
  if (!path.has_filename() && path.has_parent_path()) path = path.parent_path();  // "a/b/" is a/b
  file.path = failed ? name : path.string();
  const fs::file_status status = fs::status(path, failed);
  if (status.type() == fs::file_type::not_found) {
    file.missing = true;
    file.problem = "there is no such file";
  } else if (status.type() == fs::file_type::directory) {
    file.problem = "it is a folder";
  } else if (!failed && status.type() != fs::file_type::regular) {
    file.problem = "it is a device, not a file";
  } else {
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (in) file.bytes.assign(std::istreambuf_iterator<char>(in), {});
    file.read = in && !in.bad();
    if (!file.read) file.problem = errno != 0 ? std::strerror(errno) : "it cannot be read";
  }
  return file;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs("usage: check_settings <QD4TouchKeyboard.ini>...\n", stderr);
    return pmx::kSettingsUnreadable;
  }
  int code = 0;
  for (int i = 1; i < argc; ++i) {
    std::string report;
    code = std::max(code, pmx::reportSettingsCheck(readSettingsFile(argv[i]), report));
    std::fputs(report.c_str(), stdout);
  }
  return code;
}
