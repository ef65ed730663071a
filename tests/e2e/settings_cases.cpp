// The settings checker against the platform: its model of the profile functions (ProfileText)
// against GetPrivateProfileStringA and GetPrivateProfileIntA on one file full of the cases it
// relies on (and against their wide forms on the same file as UTF-16), and its caption widths
// against GDI's. A double-byte and a Unicode settings file on the panel.
#include <windows.h>

#include <cmath>
#include <fstream>
#include <string>
#include <vector>

#include "common/Unicode.h"
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
      "tab=\tx\t\r\nvt=\v\fx\f\v\x1A\r\nnbsp=\xA0x\xA0\r\nhigh=\xE9\x98\x81\xFF\r\n"
      "inner=a=b\r\ncr=one\rafter=two\n; comment=c\r\n"
      "[ Spaced  Name ]\r\nk=spaced\r\n[Last]]x]\r\nk=last bracket\r\n"
      "[Unclosed\r\nk=still in Last\r\n"
      "[sec]\r\nlater=never found\r\nPlain=never found either\r\n"
      "[Numbers]\r\nhex=0x1F\r\nneg=-5\r\nlead= 12abc\r\nplus=+7\r\nword=abc\r\n"
      "none=\r\nquoted='42'\r\nqblank=' 42'\r\nzeros=010\r\nwrap=4294967297\r\n"
      "bin=0b101\r\noct=0o17\r\nlowhex=0xaf;c\r\nneghex=-0x10\r\nletter=1O9\r\n";
  file += "long=" + std::string(300, 'L') + "\r\n";
  file += "qlong='" + std::string(300, 'Q') + "'\r\n";
  file += "[End]\r\nlast=no line end";
  return file;
}

// An 8-bit text of a code page as a Unicode settings file: UTF-16 with its byte-order mark.
std::string unicodeFile(const std::string& bytes, UINT codePage) {
  std::wstring wide(bytes.size(), L'\0');
  wide.resize(static_cast<std::size_t>(MultiByteToWideChar(codePage, 0, bytes.data(),
                                                           static_cast<int>(bytes.size()), &wide[0],
                                                           static_cast<int>(wide.size()))));
  return "\xFF\xFE" + std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * 2);
}

std::wstring wide(const std::string& text) {
  std::wstring out(text.size() + 1, L'\0');
  out.resize(static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, text.data(),
                                                          static_cast<int>(text.size()), &out[0],
                                                          static_cast<int>(out.size()))));
  return out;
}

bool dark(const Grab& g, int x, int y) {
  const std::uint32_t p = g.at(x, y);
  return ((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF) < 3 * 80;
}

// The dark pixels of columns of an area as rows of '#' and '.', from its first dark row and
// column on.
std::vector<std::string> ink(const Grab& g, const RECT& a, int left, int right) {
  std::vector<std::string> rows;
  int first = right;
  for (int y = a.top; y < a.bottom; ++y) {
    rows.emplace_back();
    for (int x = left; x < right; ++x) rows.back() += dark(g, x, y) ? '#' : '.';
    const std::size_t at = rows.back().find('#');
    if (at != std::string::npos) first = std::min(first, left + static_cast<int>(at));
    if (rows.size() == 1 && at == std::string::npos) rows.clear();
  }
  for (std::string& row : rows) row.erase(0, static_cast<std::size_t>(first - left));
  return rows;
}

// Exactly two characters drawn side by side in an area, not twice the box of a missing glyph:
// two runs of columns with dark pixels, whose inks (each from its own first dark pixel) differ.
::testing::AssertionResult twoGlyphs(const Grab& g, const RECT& a) {
  std::vector<std::pair<int, int>> runs;  // first and last column
  for (int x = a.left; x < a.right; ++x) {
    bool inked = false;
    for (int y = a.top; y < a.bottom && !inked; ++y) inked = dark(g, x, y);
    if (inked && (runs.empty() || runs.back().second != x - 1)) runs.push_back({x, x});
    if (inked) runs.back().second = x;
  }
  if (runs.size() != 2) return ::testing::AssertionFailure() << runs.size() << " runs of ink";
  const auto one = ink(g, a, runs[0].first, runs[0].second + 1);
  const auto two = ink(g, a, runs[1].first, runs[1].second + 1);
  int inked = 0, differ = 0;
  for (std::size_t y = 0; y < std::max(one.size(), two.size()); ++y) {
    for (std::size_t x = 0; x < static_cast<std::size_t>(a.right - a.left); ++x) {
      const auto at = [&](const std::vector<std::string>& rows) {
        return y < rows.size() && x < rows[y].size() && rows[y][x] == '#';
      };
      inked += at(one) + at(two);
      differ += at(one) != at(two);
    }
  }
  if (inked > 40 && differ * 4 > inked) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << differ << " of " << inked << " dark pixels differ";
}

}  // namespace

TEST(Settings, profile_functions_read_the_file_as_the_checker_does) {
  char folder[MAX_PATH] = {};
  GetTempPathA(sizeof folder, folder);
  const std::string path =
      std::string(folder) + "pmx_profile_" + std::to_string(GetCurrentProcessId()) + ".ini";
  // The file as 8-bit text, read with the A functions; then as UTF-16, read with the W functions
  // and modelled on its text in UTF-8.
  for (bool unicode : {false, true}) {
    const std::string bytes = unicode ? unicodeFile(trickyFile(), 1252) : trickyFile();
    ASSERT_TRUE(std::ofstream(path, std::ios::binary) << bytes);
    SCOPED_TRACE(unicode ? "UTF-16" : "8-bit");

    // Every name in the file, in another letter case and with blanks around, and names that are
    // not there.
    const std::wstring widePath = wide(path);
    const pmx::ProfileText text = pmx::parseProfileText(
        unicode ? pmx::utf8FromUtf16(reinterpret_cast<const char16_t*>(bytes.data() + 2),
                                     bytes.size() / 2 - 1)
                : bytes);
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
      wchar_t units[255] = {};
      const std::string platform =
          unicode ? pmx::utf8FromUtf16(
                        reinterpret_cast<const char16_t*>(units),
                        GetPrivateProfileStringW(wide(section).c_str(), wide(key).c_str(),
                                                 L"\x01<default>", units, 255, widePath.c_str()))
                  : std::string(buffer, GetPrivateProfileStringA(section.c_str(), key.c_str(),
                                                                 "\x01<default>", buffer,
                                                                 sizeof buffer, path.c_str()));
      const bool found = platform != "\x01<default>";
      const std::optional<std::string> model = pmx::profileString(text, section, key);
      EXPECT_TRUE(found == model.has_value() && (!found || platform == *model))
          << "[" + section + "] " + key + ": the platform gives " +
                 (found ? "\"" + platform + "\"" : "its default") + ", the checker " +
                 (model ? "\"" + *model + "\"" : "the default");
      EXPECT_EQ(
          static_cast<int>(
              unicode ? GetPrivateProfileIntW(wide(section).c_str(), wide(key).c_str(), -777,
                                              widePath.c_str())
                      : GetPrivateProfileIntA(section.c_str(), key.c_str(), -777, path.c_str())),
          pmx::profileInt(text, section, key).value_or(-777))
          << "[" + section + "] " + key + " as a number: the platform's, then the checker's";
    }
    // The cases themselves are in the file: the comparison is not an empty one.
    EXPECT_EQ(pmx::profileString(text, "SEC", "plain").value_or(""),
              std::string("value with blanks around"));
    EXPECT_EQ(pmx::profileInt(text, "Numbers", "hex").value_or(0), 31);
  }
  DeleteFileA(path.c_str());
}

// The checker measures captions with a table of Liberation Sans widths; the keyboard's pads are
// painted with GDI, which under Wine draws Arial with Liberation Sans. Both agree on every caption
// of the sample file, in its character set, regular and bold (at an em of 2048 pixels, so that a
// pixel is a font unit).
TEST(Settings, caption_widths_of_the_checker_agree_with_gdi) {
  const std::string sample = sampleSettings(false);
  ASSERT_FALSE(sample.empty());
  const pmx::ProfileText text = pmx::parseProfileText(sample);
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

// A Japanese panel: the decimal key shows and types "\u3042\u65E5", written in Shift-JIS (and the
// wider zero key shows it whole). The captions are drawn with the glyphs of a font of that
// character set, and a touch types both characters into the field. The same file saved as UTF-16
// shows and types the same. A Russian key of the sample types its character from the 8-bit file and
// from its Unicode form alike.
TEST(Settings, double_byte_and_unicode_files_type_what_their_keys_show) {
  Session s;
  const std::string shiftJis =
      "[CharSet]\r\n1041=128\r\n[1041 NumPad "
      "Text]\r\nStd10=\x82\xA0\x93\xFA\r\nStd0=\x82\xA0\x93\xFA\r\n"
      "[1041 NumPad KeyCode]\r\nStd10=\x82\xA0\x93\xFA\r\n";
  ASSERT_TRUE(s.startWithSettings(shiftJis));
  const HWND field = s.fields[0];
  Grab drawn;
  std::wstring typed;
  for (const std::string& file : {shiftJis, unicodeFile(shiftJis, 932)}) {
    ASSERT_TRUE(s.writeSettings(file));
    EXPECT_TRUE(s.request(messages().language, 1041).delivered);
    const HWND pad = s.showPad(field, kDecimalField);
    ASSERT_TRUE(pad);
    const Grab g = steadyGrab(pad);
    if (typed.empty()) {
      EXPECT_TRUE(twoGlyphs(g, keyArea(g, num(0))));  // the decimal key shows the first only
    } else {
      EXPECT_TRUE(g == drawn) << "the caption differs from the Shift-JIS file's";
    }
    drawn = g;
    EXPECT_TRUE(clickKey(pad, num(kPoint)));
    typed += L"\u3042\u65E5";
    EXPECT_TRUE(waitFor([&] { return windowTextW(field) == typed; }, kTypeTimeoutMs));
  }
  for (bool unicode : {false, true}) {
    ASSERT_TRUE(s.writeSettings(sampleSettings(unicode)));
    EXPECT_TRUE(s.request(messages().language, 1049).delivered);
    const HWND pad = s.showPad(field, kTextField);
    EXPECT_TRUE(clickKey(pad, alpha(2, A::Extra)));
    typed += L"\u2116";
    EXPECT_TRUE(waitFor([&] { return windowTextW(field) == typed; }, kTypeTimeoutMs))
        << (unicode ? "the UTF-16 sample" : "the 8-bit sample");
  }
  s.terminate();
}
