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
#include "pad_manager/CharacterSets.h"
#include "pad_manager/ProfileText.h"

using namespace e2e;

namespace {

// Every case the checker's reading of a file depends on, one or more per line.
std::string trickyFile() {
  std::string file =
      "Std5=before any section\r\n"
      "[Sec]\r\n"
      "  Plain  =  value with blanks around  \r\n"
      "single='quoted'\r\n"
      "double=\"  keeps its blanks  \"\r\n"
      "mixed='half\"\r\n"
      "lone='\r\n"
      "empty=\r\n"
      "emptyquotes=\"\"\r\n"
      "noequals\r\n"
      "dup=first\r\n"
      "DUP=second\r\n"
      "tab=\tx\t\r\n"
      "nbsp=\xA0x\xA0\r\n"
      "high=\xE9\x98\x81\xFF\r\n"
      "inner=a=b\r\n"
      "cr=one\rafter=two\n"
      "; comment=c\r\n"
      "[ Spaced  Name ]\r\n"
      "k=spaced\r\n"
      "[Last]]x]\r\n"
      "k=last bracket\r\n"
      "[Unclosed\r\n"
      "k=still in Last\r\n"
      "[sec]\r\n"
      "later=never found\r\n"
      "Plain=never found either\r\n"
      "[Numbers]\r\n"
      "hex=0x1F\r\n"
      "neg=-5\r\n"
      "lead= 12abc\r\n"
      "plus=+7\r\n"
      "word=abc\r\n"
      "none=\r\n"
      "quoted='42'\r\n"
      "zeros=010\r\n"
      "wrap=4294967297\r\n";
  file += "long=" + std::string(300, 'L') + "\r\n";
  file += "qlong='" + std::string(300, 'Q') + "'\r\n";
  file += "[End]\r\nlast=no line end";
  return file;
}

std::string platformString(const std::string& path, const std::string& section,
                           const std::string& key, bool& found) {
  char buffer[255] = {};
  const DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), "\x01<default>", buffer,
                                           sizeof buffer, path.c_str());
  const std::string value(buffer, n);
  found = value != "\x01<default>";
  return found ? value : std::string();
}

}  // namespace

TEST(Settings, profile_functions_read_the_file_as_the_checker_does) {
  char folder[MAX_PATH] = {};
  GetTempPathA(sizeof folder, folder);
  const std::string path =
      std::string(folder) + "pmx_profile_" + std::to_string(GetCurrentProcessId()) + ".ini";
  const std::string bytes = trickyFile();
  HANDLE out = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_TRUE(out != INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(out);

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
  lookups.push_back({"Spaced  Name", "k"});
  lookups.push_back({"Last]]x", "k"});
  lookups.push_back({"Unclosed", "k"});
  lookups.push_back({"", "Std5"});

  int compared = 0;
  for (const auto& [section, key] : lookups) {
    bool found = false;
    const std::string platform = platformString(path, section, key, found);
    const std::optional<std::string> model = pmx::profileString(text, section, key);
    EXPECT_TRUE(found == model.has_value() && platform == model.value_or(""))
        << "[" + section + "] " + key + ": the platform gives " +
               (found ? "\"" + platform + "\"" : "its default") + ", the checker " +
               (model ? "\"" + *model + "\"" : "the default");
    const int platformInt =
        static_cast<int>(GetPrivateProfileIntA(section.c_str(), key.c_str(), -777, path.c_str()));
    const std::optional<std::int32_t> modelInt = pmx::profileInt(text, section, key);
    EXPECT_TRUE(platformInt == modelInt.value_or(-777))
        << "[" + section + "] " + key + " as a number: the platform gives " +
               std::to_string(platformInt) + ", the checker " +
               std::to_string(modelInt.value_or(-777));
    ++compared;
  }
  SCOPED_TRACE(std::to_string(compared) + " lookups compared");
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
      for (const std::string& line :
           {caption.substr(0, caption.find("\\n")),
            caption.find("\\n") == std::string::npos ? std::string()
                                                     : caption.substr(caption.find("\\n") + 2)}) {
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
          EXPECT_TRUE(std::lround(*table) == size.cx)
              << "[" + s.name + "] " + e.name + ": the table gives " +
                     std::to_string(std::lround(*table)) + ", GDI " + std::to_string(size.cx);
          ++compared;
        }
      }
    }
  }
  ReleaseDC(nullptr, dc);
  SCOPED_TRACE(std::to_string(compared) + " caption lines compared");
  EXPECT_TRUE(compared > 200);
}
