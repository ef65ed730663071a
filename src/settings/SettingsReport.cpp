#include <algorithm>
#include <fstream>
#include <sstream>

#include "settings/SettingsCheck.h"

// The checker's report: how it counts its findings and writes them.
namespace pmx {

std::string quoted(const std::string& text) {
  static const char hex[] = "0123456789ABCDEF";
  std::string out = "\"";
  for (char c : text) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x20 || b >= 0x7F || c == '\\') {
      if (c == '\\') {
        out += "\\\\";
      } else {
        out += "\\x";
        out += hex[b >> 4];
        out += hex[b & 15];
      }
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string hexByte(unsigned char b) {
  static const char hex[] = "0123456789ABCDEF";
  return std::string("0x") + hex[b >> 4] + hex[b & 15];
}

int SettingsCheck::errors() const {
  return static_cast<int>(std::count_if(findings.begin(), findings.end(), [](const auto& f) {
    return f.severity == Severity::Error;
  }));
}

int SettingsCheck::warnings() const { return static_cast<int>(findings.size()) - errors(); }

std::string formatSettingsCheck(const std::string& fileName, const SettingsCheck& check) {
  std::string out;
  for (const SettingsFinding& f : check.findings) {
    out += fileName + ":" + std::to_string(f.line) + ": " +
           (f.severity == Severity::Error ? "error: " : "warning: ") + f.text + "\n";
  }
  const auto plural = [](int n, const char* word) {
    return std::to_string(n) + " " + word + (n == 1 ? "" : "s");
  };
  out += fileName + ": " + plural(check.errors(), "error") + ", " +
         plural(check.warnings(), "warning") + "\n";
  return out;
}

int runSettingsCheck(const std::string& path, std::string& report) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  if (in) bytes << in.rdbuf();
  if (!in || in.bad()) {
    report = path + ": cannot read the file\n";
    return kSettingsUnreadable;
  }
  const SettingsCheck check = checkSettings(bytes.str());
  report = formatSettingsCheck(path, check);
  return check.exitCode();
}

}  // namespace pmx
