// The settings checker: what it reports for faulty files, that the sample file is clean, and that
// it knows the key names the keyboard looks up.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>

#include "KeyboardRig.h"
#include "pad_manager/SettingsCheck.h"

namespace pmx {
namespace {

std::string report(const std::string& file) {
  return formatSettingsCheck("t.ini", checkSettings(file));
}

TEST(SettingsCheck, ReportsEachFaultWithItsLineAndSeverity) {
  const std::string longText(300, 'x');
  const struct {
    std::string file;
    std::string report;  // without the summary line
    int exitCode;
  } cases[] = {
      // Names in any case, blanks and one pair of quotes dropped, lines ending in CR LF or CR.
      {"[replace]\r\n 2055 = '1031' \r[1031 numpad text]\nstd5=\" 5 \"\n;Std99=x", "", 0},
      {"Std5=5\r\n[1031 NumPad Text",
       "t.ini:1: error: outside any section: never read\n"
       "t.ini:2: error: outside any section: never read\n",
       1},
      {"[1031 Text]\nMax\n[1031 Text\nMaxi=a\nMin=" + longText,
       "t.ini:2: error: [1031 Text] Max: no \"=\": not a value\n"
       "t.ini:3: error: \"[1031 Text\": no closing \"]\", so no section header; the lines below "
       "still belong to [1031 Text]\n"
       "t.ini:4: error: [1031 Text] Maxi: unknown key; the keys of this section are Max and Min\n"
       "t.ini:5: error: [1031 Text] Min: 300 characters: only the first 254 arrive\n",
       1},
      {"[Replace]\n2055=1031x\n+2057=1033\nde=1031\n1040=",
       "t.ini:2: error: [Replace] 2055: \"1031x\" is no decimal number; the keyboard reads it as "
       "1031\n"
       "t.ini:3: error: [Replace] +2057: never read: write the language number as 2057\n"
       "t.ini:4: error: [Replace] de: unknown key; the keys of this section are host language "
       "numbers\n"
       "t.ini:5: warning: [Replace] 1040: empty: the host language is used as it is\n",
       1},
      // The first of two sections or keys of one name is read, the other never.
      {"[CharSet]\n1049=204\n[1049 Text]\nMax=\xCC\xE0\xEA\xF1\n[charset]\n1049=0\n"
       "[1049 AlphaPad Text]\nStd15=\xC9\nStd15=Q",
       "t.ini:5: error: [charset] again: only the first [CharSet] (line 1) is read; nothing in "
       "this one is\n"
       "t.ini:9: error: [1049 AlphaPad Text] Std15: again: only the first (line 8) is read\n",
       1},
      // Sections that no host language reaches, and names that never match.
      {"[Replace]\n1031=1033\n[1031 AlphaPad Text]\n[CharSet]\n1031=238\n[1033 NumPad Text]\n"
       "[ 01031 Text]\n[1031 AlphaPad Texts]\n[4294967296 Text]",
       "t.ini:3: error: [1031 AlphaPad Text]: never read: [Replace] maps 1031 to 1033 (line 2) "
       "and no language to 1031\n"
       "t.ini:5: error: [CharSet] 1031: never read: [Replace] maps 1031 to 1033 (line 2) and no "
       "language to 1031\n"
       "t.ini:7: error: [01031 Text]: never read: numbers in section names are written in "
       "decimal, without leading zeros, \"+\" or extra blanks\n"
       "t.ini:8: error: [1031 AlphaPad Texts]: unknown section; the keyboard reads [Replace], "
       "[CharSet], [<language> Text] and [<language> NumPad|AlphaPad Text|KeyCode]\n"
       "t.ini:9: error: [4294967296 Text]: unknown section; the keyboard reads [Replace], "
       "[CharSet], "
       "[<language> Text] and [<language> NumPad|AlphaPad Text|KeyCode]\n",
       1},
      // Reached through [Replace], the section is read.
      {"[Replace]\n1031=1033\n2055=1031\n[1031 AlphaPad Text]\nStd15=Q\n[-7 Text]\nMax=a", "", 0},
      {"[CharSet]\n1031=300\n1032=2\n1033=0x10\n1034=186\n1035=-1\n1036=2147483647",
       "t.ini:2: error: [CharSet] 1031: 300 is no character set; the keyboard uses 0 (ANSI); see "
       "the character sets in docs/settings.md\n"
       "t.ini:3: error: [CharSet] 1032: 2 is the symbol character set: the texts would show as "
       "symbols\n"
       "t.ini:4: error: [CharSet] 1033: \"0x10\" is no decimal number; the keyboard reads it as "
       "16\n"
       "t.ini:6: error: [CharSet] 1035: -1 is no character set; the keyboard uses 0 (ANSI); see "
       "the character sets in docs/settings.md\n"
       "t.ini:7: error: [CharSet] 1036: 2147483647 is no character set; the keyboard uses 0 "
       "(ANSI); see the character sets in docs/settings.md\n",
       1},
      // Key names of each section; key codes on the alphanumeric pad, keystrokes elsewhere.
      {"[7 AlphaPad KeyCode]\nStd27=65\nStd28= '256' \nShift0=1\nEnd1=+{ENTER}\nExtra0=(a\n"
       "[7 NumPad KeyCode]\nStd05={BS}\nStd14={BS 2}\nStd22=x\nEnd0=%{FOO}",
       "t.ini:3: error: [7 AlphaPad KeyCode] Std28: \"256\" is no key code: this key sends a "
       "virtual-key code, a whole number from 0 to 255\n"
       "t.ini:4: error: [7 AlphaPad KeyCode] Shift0: unknown key; the keys of this section are "
       "Std0-60, End0-1, Extra0-2\n"
       "t.ini:6: error: [7 AlphaPad KeyCode] Extra0: keystrokes \"(a\": character 1 \"(\": the "
       "group is never closed; expected \")\"\n"
       "t.ini:6: warning: [7 AlphaPad KeyCode] Extra0: no caption in [7 AlphaPad Text]: the key "
       "stays hidden\n"
       "t.ini:8: error: [7 NumPad KeyCode] Std05: unknown key; the keys of this section are "
       "Std0-21, End0-1\n"
       "t.ini:10: error: [7 NumPad KeyCode] Std22: unknown key; the keys of this section are "
       "Std0-21, End0-1\n"
       "t.ini:11: error: [7 NumPad KeyCode] End0: keystrokes \"%{FOO}\": character 2 \"{FOO}\": "
       "no such key; expected one character or a key name such as ENTER, TAB, LEFT, F1\n",
       1},
      // Characters the language's code page cannot show, and texts that look like UTF-8.
      {"[CharSet]\n8=204\n[8 AlphaPad Text]\nStd15=\x98\nStd16=\xC3\xA9\xE2\x82\xAC\nStd17=a\tb\n"
       "Std18=\xC3\xA9\xFF\n"
       "[9 NumPad Text]\nStd1=\x81\nStd2=\xE9",
       "t.ini:4: error: [8 AlphaPad Text] Std15: \"\\x98\": byte 0x98 is undefined in code page "
       "1251 (CharSet 204); the key cannot show it\n"
       "t.ini:5: warning: [8 AlphaPad Text] Std16: \"\\xC3\\xA9\\xE2\\x82\\xAC\" looks like UTF-8: "
       "write each "
       "language's texts in its code page\n"
       "t.ini:6: error: [8 AlphaPad Text] Std17: \"a\\x09b\": byte 0x09 is a control character "
       "(CharSet 204); the key cannot show it\n"
       "t.ini:9: error: [9 NumPad Text] Std1: \"\\x81\": byte 0x81 is undefined in code page 1252 "
       "(CharSet 0); the key cannot show it\n",
       1},
      // Captions measured against their keys at key size 1, each line of a two-line caption.
      {"[5 AlphaPad Text]\nStd1=!\\nEinsundzwanzig\nStd55=Bild auf\nStd50=Leertaste\nEnd0=\n"
       "[5 NumPad Text]\nStd1=Eins\nStd10=,\n[5 Text]\nMax=Obere Grenze des Bereichs",
       "t.ini:2: warning: [5 AlphaPad Text] Std1: \"!\\\\nEinsundzwanzig\" is 1517 twips wide in "
       "Arial 9.75 bold, its place 600 on FAlphaPad: it shows cut\n"
       "t.ini:3: warning: [5 AlphaPad Text] Std55: \"Bild auf\" is 660 twips wide in Arial 9 "
       "bold, its place 454 on FAlphaPad: it shows cut\n"
       "t.ini:5: warning: [5 AlphaPad Text] End0: empty: the key keeps its built-in caption\n"
       "t.ini:7: warning: [5 NumPad Text] Std1: \"Eins\" is 760 twips wide in Arial 18 bold, its "
       "place 600 on FNumPad, FHexPad: it shows cut\n"
       "t.ini:8: warning: [5 NumPad Text] Std10: one name for different keys: \".\" on FNumPad, "
       "\"A\" on FHexPad; all of them change\n"
       "t.ini:10: warning: [5 Text] Max: \"Obere Grenze des Bereichs\" is 2045 twips wide in "
       "Arial 8.25, its place 1770 on FNumPad: it shows cut\n",
       0},
      {"\xEF\xBB\xBF[1031 Text]\nMax=x",
       "t.ini:1: error: the file starts with a UTF-8 byte-order mark: the keyboard then reads it "
       "as UTF-8 and hands its texts on in the system's code page; save it as 8-bit text\n",
       1},
      {std::string("\xFF\xFE[\0", 4),
       "t.ini:1: error: the file is UTF-16 text: save it as 8-bit text, each language in its "
       "code page (not checked further)\n",
       1},
  };
  for (const auto& c : cases) {
    const SettingsCheck check = checkSettings(c.file);
    const std::string text = report(c.file);
    EXPECT_EQ(text.substr(0, text.rfind("t.ini: ")), c.report) << c.file;
    EXPECT_EQ(check.exitCode(), c.exitCode) << c.file;
  }
  // Errors and warnings are counted in the summary; empty limit captions are meant.
  const std::string summary =
      report("[1 Text]\n \t\nMax= \nMin=\x81\nMaxi=1\n[1 AlphaPad Text]\nStd15=\nStd16=");
  EXPECT_EQ(summary.substr(summary.rfind("t.ini: ")), "t.ini: 2 errors, 2 warnings\n");
  // A value of a megabyte is one fault (any bytes at all are the settings-file fuzz target's).
  EXPECT_EQ(checkSettings("[1 AlphaPad KeyCode]\r\nExtra0=" + std::string(1 << 20, '{')).errors(),
            1);
}

TEST(SettingsCheck, TheSampleFileIsClean) {
  std::ifstream in(PMX_SOURCE_DIR "/examples/QD4TouchKeyboard.ini", std::ios::binary);
  ASSERT_TRUE(in);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  const SettingsCheck check = checkSettings(bytes.str());
  EXPECT_TRUE(check.findings.empty()) << formatSettingsCheck("sample", check);
  std::string out;
  EXPECT_EQ(runSettingsCheck(PMX_SOURCE_DIR "/examples/no such file.ini", out),
            kSettingsUnreadable);
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
