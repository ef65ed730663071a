#include <algorithm>

#include "common/Unicode.h"
#include "settings/SettingsCheck.h"

// The checker's report: how it counts its findings and writes them.
namespace pmx {

int SettingsCheck::errors() const {
  return static_cast<int>(std::count_if(findings.begin(), findings.end(), [](const auto& f) {
    return f.severity == Severity::Error;
  }));
}

int SettingsCheck::warnings() const { return static_cast<int>(findings.size()) - errors(); }

// Every part goes through printableText: whatever a file name or a finding holds, no byte of the
// report makes a terminal act.
std::string formatSettingsCheck(const std::string& fileName, const SettingsCheck& check) {
  const std::string file = printableText(fileName);
  std::string out;
  for (const SettingsFinding& f : check.findings) {
    out += file + ":" + std::to_string(f.line) + ": " +
           (f.severity == Severity::Error ? "error: " : "warning: ") + printableText(f.text) + "\n";
  }
  const auto plural = [](int n, const char* word) {
    return std::to_string(n) + " " + word + (n == 1 ? "" : "s");
  };
  out += file + ": " + plural(check.errors(), "error") + ", " +
         plural(check.warnings(), "warning") + "\n";
  return out;
}

int reportSettingsCheck(const SettingsFileRead& file, std::string& report,
                        const CharacterNamer& names) {
  if (!file.read) {
    report = printableText(file.path) + ": cannot read the file: " + file.problem + "\n";
    return kSettingsUnreadable;
  }
  const SettingsCheck check = checkSettings(file.bytes, names);
  report = formatSettingsCheck(file.path, check);
  return check.exitCode();
}

}  // namespace pmx
