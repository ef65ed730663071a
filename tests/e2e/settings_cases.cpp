// The settings checker against the platform: its model of the profile functions (ProfileText)
// against GetPrivateProfileStringA and GetPrivateProfileIntA on one file full of the cases it
// relies on, and its caption widths against GDI's.
#include <windows.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "host.h"
#include "settings/CharacterSets.h"
#include "settings/ProfileText.h"

using namespace e2e;

namespace {

// Every case the checker's reading of a file depends on, a line of the file for each kind of
// case: quotes, empty values, duplicates, odd bytes, odd line ends, section names, numbers.
std::string trickyFile() {
  std::string file =
      "Std5=before any section\r\n"
      "[Sec]\r\n  Plain  =  value with blanks around  \r\n"
      "single='quoted'\r\ndouble=\"  keeps its blanks  \"\r\nmixed='half\"\r\nlone='\r\n"
      "empty=\r\nemptyquotes=\"\"\r\nnoequals\r\ndup=first\r\nDUP=second\r\n"
      "tab=\tx\t\r\nnbsp=\xA0x\xA0\r\nhigh=\xE9\x98\x81\xFF\r\n"
      "inner=a=b\r\ncr=one\rafter=two\n; comment=c\r\n"
      "[ Spaced  Name ]\r\nk=spaced\r\n[Last]]x]\r\nk=last bracket\r\n"
      "[Unclosed\r\nk=still in Last\r\n"
      "[sec]\r\nlater=never found\r\nPlain=never found either\r\n"
      "[Numbers]\r\nhex=0x1F\r\nneg=-5\r\nlead= 12abc\r\nplus=+7\r\nword=abc\r\n"
      "none=\r\nquoted='42'\r\nqblank=' 42'\r\nzeros=010\r\nwrap=4294967297\r\n";
  file += "long=" + std::string(300, 'L') + "\r\n";
  file += "qlong='" + std::string(300, 'Q') + "'\r\n";
  file += "[End]\r\nlast=no line end";
  return file;
}

}  // namespace

TEST(Settings, profile_functions_read_the_file_as_the_checker_does) {
  char folder[MAX_PATH] = {};
  GetTempPathA(sizeof folder, folder);
  const std::string path =
      std::string(folder) + "pmx_profile_" + std::to_string(GetCurrentProcessId()) + ".ini";
  const std::string bytes = trickyFile();
  ASSERT_TRUE(std::ofstream(path, std::ios::binary) << bytes);

  // Every name in the file, in another letter case and with blanks around, and names that are
  // not there.
  const pmx::ProfileText text = pmx::parseProfileText(bytes);
  std::vector<std::pair<std::string, std::string>> lookups;
  for (const pmx::ProfileSection& s : text.sections) {
    for (const pmx::ProfileEntry& e : s.entries) {
      lookups.push_back({s.name, e.name});
      std::string upper = s.name + " ";  // never empty for CharUpperBuffA
      CharUpperBuffA(&upper[0], static_cast<DWORD>(upper.size()));
      lookups.push_back({" " + upper, " " + e.name + " "});
    }
    lookups.push_back({s.name, "absent"});
  }
  lookups.insert(lookups.end(),
                 {{"Spaced  Name", "k"}, {"Last]]x", "k"}, {"Unclosed", "k"}, {"", "Std5"}});
  for (const auto& [section, key] : lookups) {
    char buffer[255] = {};
    const std::string platform(
        buffer, GetPrivateProfileStringA(section.c_str(), key.c_str(), "\x01<default>", buffer,
                                         sizeof buffer, path.c_str()));
    const bool found = platform != "\x01<default>";
    const std::optional<std::string> model = pmx::profileString(text, section, key);
    EXPECT_TRUE(found == model.has_value() && (!found || platform == *model))
        << "[" + section + "] " + key + ": the platform gives " +
               (found ? "\"" + platform + "\"" : "its default") + ", the checker " +
               (model ? "\"" + *model + "\"" : "the default");
    EXPECT_EQ(
        static_cast<int>(GetPrivateProfileIntA(section.c_str(), key.c_str(), -777, path.c_str())),
        pmx::profileInt(text, section, key).value_or(-777))
        << "[" + section + "] " + key + " as a number: the platform's, then the checker's";
  }
  // The cases themselves are in the file: the comparison is not an empty one.
  EXPECT_EQ(pmx::profileString(text, "SEC", "plain").value_or(""),
            std::string("value with blanks around"));
  EXPECT_EQ(pmx::profileInt(text, "Numbers", "hex").value_or(0), 31);
  DeleteFileA(path.c_str());
}

// The checker measures captions with a table of Liberation Sans widths; the keyboard's pads are
// painted with GDI, which under Wine draws Arial with Liberation Sans. Both agree on every caption
// of the sample file, in its character set, regular and bold (at an em of 2048 pixels, so that a
// pixel is a font unit).
TEST(Settings, caption_widths_of_the_checker_agree_with_gdi) {
  std::ifstream in(toWindowsPath(PMX_SOURCE_DIR "/examples/QD4TouchKeyboard.ini"),
                   std::ios::binary);
  ASSERT_TRUE(in);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  const pmx::ProfileText text = pmx::parseProfileText(bytes.str());
  HDC dc = GetDC(nullptr);
  int compared = 0;
  for (const pmx::ProfileSection& s : text.sections) {
    if (s.name.size() < 5 || s.name.compare(s.name.size() - 5, 5, " Text") != 0) continue;
    const std::string language = s.name.substr(0, s.name.find(' '));
    const int charset = pmx::profileInt(text, "CharSet", language).value_or(0);
    const pmx::CharacterSet* set = pmx::findCharacterSet(charset);
    ASSERT_TRUE(set != nullptr);
    for (const pmx::ProfileEntry& e : s.entries) {
      const std::string caption = pmx::unquotedProfileValue(e.value);
      const std::size_t split = caption.find("\\n");
      for (const std::string& line :
           {caption.substr(0, split),
            split == std::string::npos ? std::string() : caption.substr(split + 2)}) {
        for (bool bold : {false, true}) {
          const std::optional<float> table =
              pmx::arialTextWidth(line, set->codePage, 2048.0f / 20.0f, bold);
          if (line.empty() || !table) continue;
          HFONT font =
              CreateFontA(-2048, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                          static_cast<DWORD>(charset), 0, 0, 0, VARIABLE_PITCH | FF_SWISS, "Arial");
          HGDIOBJ old = SelectObject(dc, font);
          SIZE size{};
          GetTextExtentPoint32A(dc, line.c_str(), static_cast<int>(line.size()), &size);
          SelectObject(dc, old);
          DeleteObject(font);
          EXPECT_EQ(std::lround(*table), size.cx) << "[" + s.name + "] " + e.name + ", the table's";
          ++compared;
        }
      }
    }
  }
  ReleaseDC(nullptr, dc);
  SCOPED_TRACE(std::to_string(compared) + " caption lines compared");
  EXPECT_TRUE(compared > 200);
}
