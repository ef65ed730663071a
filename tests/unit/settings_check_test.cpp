// The settings checker: what it reports for faulty files, that the sample file is clean, and that
// it knows the key names the keyboard looks up.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>

#include "KeyboardRig.h"
#include "settings/SettingsCheck.h"
#include "settings/SettingsNames.h"

namespace pmx {
namespace {

std::string fileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// The platform's names of the double-byte characters in the cases (what the exe names them),
// ASCII as itself, and a stray name for every other byte sequence: the checker asks only for
// those it shows.
char32_t platformName(std::int16_t charset, unsigned char byte, int trail) {
  if (trail < 0 && byte < 0x80) return byte;
  const std::map<long, char32_t> known = {{128L << 16 | 0x835C, U'\u30BD'},
                                          {128L << 16 | 0x837B, U'\u30DC'},
                                          {128L << 16 | 0x93FA, U'\u65E5'},
                                          {128L << 16 | 0xB1 << 8 | 0xFF, U'\uFF71'},
                                          {134L << 16 | 0xD6D0, U'\u4E2D'}};
  const auto it = known.find(long{charset} << 16 | byte << 8 | (trail < 0 ? 0xFF : trail));
  return it != known.end() ? it->second : U'\u3013';
}

// The faulty files of the checker's cases, each with the report recorded beside it (the same
// files are run through the native tool and the exe); the exit code says whether it found errors.
// Where the exe names double-byte characters, its report is recorded too.
TEST(SettingsCheck, ReportsEachFaultWithItsLineAndSeverity) {
  int files = 0;
  for (const auto& entry :
       std::filesystem::directory_iterator(PMX_SOURCE_DIR "/tools/check_settings/cases")) {
    if (entry.path().extension() != ".ini") continue;
    ++files;
    const std::string name = entry.path().filename().string();
    const SettingsCheck check = checkSettings(fileBytes(entry.path()));
    const auto recorded = [&entry](const char* kind) {
      return fileBytes(entry.path().parent_path() / (entry.path().stem().string() + kind));
    };
    const std::string expected = recorded(".txt");
    EXPECT_EQ(formatSettingsCheck(name, check), expected) << name;
    EXPECT_EQ(check.exitCode(), expected.find(": error: ") != std::string::npos ? 1 : 0) << name;
    const std::string exe = recorded(".exe.txt");
    EXPECT_EQ(formatSettingsCheck(name, checkSettings(fileBytes(entry.path()), platformName)),
              exe.empty() ? expected : exe)
        << name;
  }
  EXPECT_GE(files, 15);
  // A value of a megabyte is one fault (any bytes at all are the settings-file fuzz target's).
  EXPECT_EQ(checkSettings("[1 AlphaPad KeyCode]\r\nExtra0=" + std::string(1 << 20, '{')).errors(),
            1);
}

TEST(SettingsCheck, TheSampleFileIsClean) {
  const std::string bytes = fileBytes(PMX_SOURCE_DIR "/examples/QD4TouchKeyboard.ini");
  ASSERT_FALSE(bytes.empty());
  const SettingsCheck check = checkSettings(bytes);
  EXPECT_TRUE(check.findings.empty()) << formatSettingsCheck("sample", check);
  EXPECT_EQ(checkSettings(fileBytes(PMX_SOURCE_DIR "/examples/unicode/QD4TouchKeyboard.ini")).errors(), 0);
}

// A profile that remembers every key the keyboard looks up, per section.
class RecordingProfile : public test::FakeProfile {
 public:
  std::map<std::string, std::set<std::string>> looked;
  std::string readString(const std::string& file, const std::string& section,
                         const std::string& key, const std::string& defaultValue) override {
    looked[section].insert(key);
    return FakeProfile::readString(file, section, key, defaultValue);
  }
};

TEST(SettingsCheck, KnowsTheKeyNamesTheKeyboardLooksUp) {
  test::FakePlatform fake;
  RecordingProfile profile;
  Platform platform{fake.host, fake.keys, fake.screen, profile, fake.layouts, fake.windows};
  Keyboard keyboard(platform);
  fake.host.windows[test::kController] = {};
  keyboard.Main("/Controller:4660 /Thread:567", "C:\\Panel");
  keyboard.KeyboardWindowProc(fake.host.messageWindow, fake.host.idOf("QDM1_LANGUAGE"), 7, 0);
  for (const char* pad : {"NumPad", "AlphaPad"}) {
    for (bool keystrokes : {false, true}) {
      const std::string section = std::string("7 ") + pad + (keystrokes ? " KeyCode" : " Text");
      const std::vector<std::string> names = settingsKeyNames(pad, keystrokes);
      EXPECT_EQ(std::set<std::string>(names.begin(), names.end()), profile.looked[section])
          << section;
    }
  }
}

}  // namespace
}  // namespace pmx
