// Keystroke strings: what the parser makes of every form and where its limits lie, and that the
// sender hands the injector either the whole string or nothing. (How it rejects bad input is
// recorded in the settings checker's cases, whose reports name each fault and where it is.)
#include "controls/Keystrokes.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "FakePlatform.h"
#include "common/Unicode.h"

namespace pmx {
namespace {

// Windows virtual-key codes, written out here so that a wrong constant in the product shows.
constexpr int kBack = 8, kTab = 9, kReturn = 13, kEscape = 27, kPrior = 33, kNext = 34, kEnd = 35,
              kHome = 36, kLeft = 37, kUp = 38, kRight = 39, kDown = 40, kInsert = 45, kDelete = 46,
              kF1 = 112;

// Renders strokes compactly: modifiers as "+^%", virtual keys by name (or "vk<n>"), characters in
// quotes; a run of equal strokes as "<token>x<count>". Example: "HOME RIGHTx7 ' ' LEFT".
std::string render(const std::vector<KeyStroke>& strokes) {
  static const std::map<int, std::string> names = {
      {kBack, "BS"},     {kTab, "TAB"},   {kReturn, "ENTER"}, {kEscape, "ESC"}, {kPrior, "PGUP"},
      {kNext, "PGDN"},   {kEnd, "END"},   {kHome, "HOME"},    {kLeft, "LEFT"},  {kUp, "UP"},
      {kRight, "RIGHT"}, {kDown, "DOWN"}, {kInsert, "INS"},   {kDelete, "DEL"}};
  std::vector<std::string> tokens;
  for (const KeyStroke& s : strokes) {
    std::string t;
    if (s.shift) t += '+';
    if (s.ctrl) t += '^';
    if (s.alt) t += '%';
    if (s.kind == KeyStroke::Kind::Character) {
      t += '\'';
      appendUtf8(t, s.ch);
      t += '\'';
    } else {
      auto it = names.find(s.vk);
      t += it != names.end() ? it->second : "vk" + std::to_string(s.vk);
    }
    tokens.push_back(t);
  }
  std::string out;
  for (std::size_t i = 0; i < tokens.size();) {
    std::size_t run = 1;
    while (i + run < tokens.size() && tokens[i + run] == tokens[i]) ++run;
    if (!out.empty()) out += ' ';
    out += tokens[i];
    if (run > 1) out += "x" + std::to_string(run);
    i += run;
  }
  return out;
}

// Every accepted form, with what it gives.
TEST(KeystrokeParse, WellFormedStrings) {
  const std::pair<std::string, std::string> cases[] = {
      // Plain characters stand for themselves; "~" is Enter.
      {"", ""},
      {"75.-af ", "'7' '5' '.' '-' 'a' 'f' ' '"},
      {"1~", "'1' ENTER"},
      // Braced names are Windows keys, in any case and with their synonyms.
      {"{ENTER}{ESC}{TAB}{BS}{DEL}{INS}", "ENTER ESC TAB BS DEL INS"},
      {"{HOME}{END}{LEFT}{RIGHT}{UP}{DOWN}{PGUP}{PGDN}", "HOME END LEFT RIGHT UP DOWN PGUP PGDN"},
      {"{enter}{Esc}{pgDn}", "ENTER ESC PGDN"},
      {"{BACKSPACE}{BKSP}{DELETE}{INSERT}{escape}", "BSx2 DEL INS ESC"},
      {"{BREAK}{CAPSLOCK}{NUMLOCK}{SCROLLLOCK}{HELP}{PRTSC}{ADD}{SUBTRACT}{MULTIPLY}{DIVIDE}",
       "vk3 vk20 vk144 vk145 vk47 vk44 vk107 vk109 vk106 vk111"},
      // Repeat counts, also on characters; 0 types nothing, leading zeros are fine.
      {"{left 1}x{LEFT 4}", "LEFT 'x' LEFTx4"},
      {"{a 3}{~ 2}", "'a'x3 '~'x2"},
      {"{LEFT 012}", "LEFTx12"},
      {"x{LEFT 0}y", "'x' 'y'"},
      // Modifiers stack in any order and hold for the one key that follows (all its repeats).
      {"%^+{ENTER}", "+^%ENTER"},
      {"+ab", "+'a' 'b'"},
      {"%~", "%ENTER"},
      {"++a", "+'a'"},
      {"+{LEFT 3}{LEFT}", "+LEFTx3 LEFT"},
      // Groups carry their modifiers to every key inside, and nest.
      {"+(ab)c", "+'a' +'b' 'c'"},
      {"+(a^b{LEFT 2})", "+'a' +^'b' +LEFTx2"},
      {"^(a%(b)c)d+((e))", "^'a' ^%'b' ^'c' 'd' +'e'"},
      {"x()y", "'x' 'y'"},
      // Braced literals.
      {"{+}{^}{%}{~}{{}{(}{)}{}}", "'+' '^' '%' '~' '{' '(' ')' '}'"},
      {"{} 2}{{ 2}", "'}'x2 '{'x2"},
      {"{ }", "' '"},
      // UTF-8: whole characters, also in braces; bytes that are no UTF-8 type nothing.
      {"\xC3\xA4{\xE6\x97\xA5 2}\xF0\x9F\x98\x80\xE4\xDF",
       "'\xC3\xA4' '\xE6\x97\xA5'x2 '\xF0\x9F\x98\x80'"},
  };
  for (const auto& [text, expected] : cases) {
    const KeystrokeParse p = parseKeystrokes(text);
    EXPECT_TRUE(p.ok) << "\"" << text << "\" was rejected at " << p.errorOffset;
    EXPECT_EQ(render(p.strokes), expected) << text;
  }
  // F1 ... F16 are consecutive codes; there is no F0 and no F17.
  for (int f = 1; f <= 16; ++f) {
    const KeystrokeParse p = parseKeystrokes("{F" + std::to_string(f) + "}");
    ASSERT_TRUE(p.ok) << f;
    EXPECT_EQ(p.strokes.at(0).vk, kF1 + f - 1);
  }
  EXPECT_FALSE(parseKeystrokes("{F0}").ok);
}

// Repeat counts are capped, and no string yields more than kMaxKeystrokes strokes.
TEST(KeystrokeParse, LimitsOfCountsAndLength) {
  EXPECT_EQ(parseKeystrokes("{LEFT 255}").strokes.size(), 255u);
  EXPECT_EQ(parseKeystrokes("{LEFT 256}").strokes.size(), std::size_t{kMaxKeystrokeRepeat});
  EXPECT_EQ(parseKeystrokes("{LEFT 99999999999999999999999}").strokes.size(),
            std::size_t{kMaxKeystrokeRepeat});

  EXPECT_TRUE(parseKeystrokes(std::string(kMaxKeystrokes, '1')).ok);
  const KeystrokeParse huge = parseKeystrokes(std::string(100 * 1024, '1'));
  EXPECT_EQ(huge.error, KeystrokeError::TooManyKeystrokes);
  EXPECT_EQ(huge.errorOffset, kMaxKeystrokes);
  EXPECT_EQ(huge.strokes.size(), kMaxKeystrokes);
  // Repeat counts count towards the limit: 16 x 255 strokes fit, 17 x 255 do not.
  std::string counted;
  for (int i = 0; i < 16; ++i) counted += "{LEFT 255}";
  EXPECT_TRUE(parseKeystrokes(counted).ok);
  const KeystrokeParse over = parseKeystrokes(counted + "{LEFT 255}");
  EXPECT_EQ(over.error, KeystrokeError::TooManyKeystrokes);
  EXPECT_EQ(over.errorOffset, counted.size());
  EXPECT_EQ(over.strokes.size(), kMaxKeystrokes);
}

// A whole string goes in one batch; an empty or malformed one sends nothing, not even its valid
// beginning. Whatever part of a batch the system refuses, no key stays down.
TEST(SendKeystrokes, AllOrNothing) {
  test::FakeHost host;
  test::FakeKeys keys(host);
  sendKeystrokes(keys, "{HOME}{RIGHT 7} {LEFT}");
  ASSERT_EQ(keys.batches.size(), 1u);
  EXPECT_EQ(keys.batches[0].size(), 20u);  // ten keys, each down and up
  for (const char* text : {"", "{LEFT 0}", "()", "75{FOO}", "{ENTER}+", "ab)"})
    sendKeystrokes(keys, text);
  sendKeystrokes(keys, std::string(100 * 1024, '1'));
  EXPECT_EQ(keys.batches.size(), 1u);
  keys.refuseAfter = 2;  // the system takes Shift and Enter down, then refuses the rest
  sendKeystrokes(keys, "+~");
  EXPECT_FALSE(keys.anyKeyDown());
}

}  // namespace
}  // namespace pmx
