// Keystroke strings: what the parser makes of every form, how it rejects bad input, and that the
// sender hands the injector either the whole string or nothing.
#include "controls/Keystrokes.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <vector>

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
      t += s.ch;
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

std::string parsed(const std::string& text) {
  const KeystrokeParse p = parseKeystrokes(text);
  EXPECT_TRUE(p.ok) << "\"" << text << "\" was rejected at " << p.errorOffset;
  return render(p.strokes);
}

TEST(KeystrokeParse, PlainCharactersStandForThemselves) {
  EXPECT_EQ(parsed("75.-af "), "'7' '5' '.' '-' 'a' 'f' ' '");
  // Bytes of the upper half of the ANSI code page pass through unchanged.
  const KeystrokeParse p = parseKeystrokes("\xE4\xDF");
  ASSERT_TRUE(p.ok);
  ASSERT_EQ(p.strokes.size(), 2u);
  EXPECT_EQ(p.strokes[0].ch, '\xE4');
  EXPECT_EQ(p.strokes[1].ch, '\xDF');
  EXPECT_EQ(parsed(""), "");
}

TEST(KeystrokeParse, BitKeyStringsOfTheBinaryPad) {
  for (int bit = 0; bit <= 7; ++bit) {
    const std::string count = std::to_string(bit + 1);
    const std::string left = bit == 0 ? "LEFT" : "LEFTx" + count;
    EXPECT_EQ(parsed("{END}{LEFT " + count + "} {LEFT}"), "END " + left + " ' ' LEFT");
  }
  for (int bit = 8; bit <= 14; ++bit) {
    const std::string count = std::to_string(15 - bit);
    const std::string right = bit == 14 ? "RIGHT" : "RIGHTx" + count;
    EXPECT_EQ(parsed("{HOME}{RIGHT " + count + "} {LEFT}"), "HOME " + right + " ' ' LEFT");
  }
  EXPECT_EQ(parsed("{HOME} {LEFT}"), "HOME ' ' LEFT");
}

TEST(KeystrokeParse, BracedNamesAreWindowsKeysInAnyCase) {
  EXPECT_EQ(parsed("{ENTER}{ESC}{TAB}{BS}{DEL}{INS}"), "ENTER ESC TAB BS DEL INS");
  EXPECT_EQ(parsed("{HOME}{END}{LEFT}{RIGHT}{UP}{DOWN}{PGUP}{PGDN}"),
            "HOME END LEFT RIGHT UP DOWN PGUP PGDN");
  EXPECT_EQ(parsed("{enter}{Esc}{pgDn}"), "ENTER ESC PGDN");
  // Synonyms.
  EXPECT_EQ(parsed("{BACKSPACE}{BKSP}{DELETE}{INSERT}{escape}"), "BSx2 DEL INS ESC");
  // Other common names name keys of their own.
  const KeystrokeParse other = parseKeystrokes(
      "{BREAK}{CAPSLOCK}{NUMLOCK}{SCROLLLOCK}{HELP}{PRTSC}{ADD}{SUBTRACT}{MULTIPLY}{DIVIDE}");
  ASSERT_TRUE(other.ok);
  EXPECT_EQ(render(other.strokes), "vk3 vk20 vk144 vk145 vk47 vk44 vk107 vk109 vk106 vk111");
  // F1 ... F16 are consecutive codes; there is no F0 and no F17.
  for (int f = 1; f <= 16; ++f) {
    const KeystrokeParse p = parseKeystrokes("{F" + std::to_string(f) + "}");
    ASSERT_TRUE(p.ok) << f;
    EXPECT_EQ(p.strokes.at(0).vk, kF1 + f - 1);
  }
  EXPECT_FALSE(parseKeystrokes("{F0}").ok);
  EXPECT_FALSE(parseKeystrokes("{F17}").ok);
  // "~" is Enter.
  EXPECT_EQ(parsed("1~"), "'1' ENTER");
}

TEST(KeystrokeParse, RepeatCounts) {
  EXPECT_EQ(parsed("{LEFT 4}"), "LEFTx4");
  EXPECT_EQ(parsed("{a 3}{~ 2}"), "'a'x3 '~'x2");
  EXPECT_EQ(parsed("{left 1}"), "LEFT");
  EXPECT_EQ(parsed("{LEFT 007}"), "LEFTx7");
  EXPECT_EQ(parsed("x{LEFT 0}y"), "'x' 'y'");
  EXPECT_EQ(parsed("+{LEFT 3}{LEFT}"), "+LEFTx3 LEFT");
  // Counts beyond the cap, however long, are cut to it.
  EXPECT_EQ(parseKeystrokes("{LEFT 255}").strokes.size(), 255u);
  EXPECT_EQ(parseKeystrokes("{LEFT 256}").strokes.size(), std::size_t{kMaxKeystrokeRepeat});
  EXPECT_EQ(parseKeystrokes("{LEFT 99999}").strokes.size(), std::size_t{kMaxKeystrokeRepeat});
  EXPECT_EQ(parseKeystrokes("{LEFT 99999999999999999999999}").strokes.size(),
            std::size_t{kMaxKeystrokeRepeat});
}

TEST(KeystrokeParse, ModifiersHoldForTheOneKeyThatFollows) {
  EXPECT_EQ(parsed("+{ENTER}"), "+ENTER");
  EXPECT_EQ(parsed("^%{ESC}"), "^%ESC");
  EXPECT_EQ(parsed("+^%{ENTER}"), "+^%ENTER");
  EXPECT_EQ(parsed("%^+{ENTER}"), "+^%ENTER");
  EXPECT_EQ(parsed("+ab"), "+'a' 'b'");
  EXPECT_EQ(parsed("^{LEFT}{LEFT}"), "^LEFT LEFT");
  EXPECT_EQ(parsed("%~"), "%ENTER");
  EXPECT_EQ(parsed("++a"), "+'a'");
}

TEST(KeystrokeParse, GroupsCarryTheirModifiersToEveryKeyInside) {
  EXPECT_EQ(parsed("+(ab)c"), "+'a' +'b' 'c'");
  EXPECT_EQ(parsed("(ab)"), "'a' 'b'");
  EXPECT_EQ(parsed("+(a^b{LEFT 2})"), "+'a' +^'b' +LEFTx2");
  EXPECT_EQ(parsed("^(a%(b)c)d"), "^'a' ^%'b' ^'c' 'd'");
  EXPECT_EQ(parsed("x()y"), "'x' 'y'");
}

TEST(KeystrokeParse, BracedLiterals) {
  EXPECT_EQ(parsed("{+}{^}{%}{~}{{}{}}{(}{)}"), "'+' '^' '%' '~' '{' '}' '(' ')'");
  EXPECT_EQ(parsed("+{+}"), "+'+'");
  EXPECT_EQ(parsed("{} 2}{{ 2}"), "'}'x2 '{'x2");
  EXPECT_EQ(parsed("{ }"), "' '");
}

struct Malformed {
  std::string text;
  KeystrokeError error;
  std::size_t offset;
  std::string prefix;  // rendered
};

TEST(KeystrokeParse, MalformedStringsKeepOnlyTheValidPrefix) {
  const std::vector<Malformed> cases = {
      {"{LEFT", KeystrokeError::UnclosedBrace, 0, ""},
      {"ab{", KeystrokeError::UnclosedBrace, 2, "'a' 'b'"},
      {"{LEFT 4", KeystrokeError::UnclosedBrace, 0, ""},
      {"{}}}", KeystrokeError::StrayBrace, 3, "'}'"},
      {"}", KeystrokeError::StrayBrace, 0, ""},
      {"a}b", KeystrokeError::StrayBrace, 1, "'a'"},
      {"{FOO}", KeystrokeError::UnknownName, 0, ""},
      {"{ENTER}{LEFT 2}{F17}", KeystrokeError::UnknownName, 15, "ENTER LEFTx2"},
      {"{}", KeystrokeError::UnknownName, 0, ""},
      {"{}x}", KeystrokeError::UnknownName, 0, ""},
      {"{LEFT x}", KeystrokeError::BadCount, 6, ""},
      {"{LEFT }", KeystrokeError::BadCount, 6, ""},
      {"{LEFT 4 }", KeystrokeError::BadCount, 6, ""},
      {"{LEFT -1}", KeystrokeError::BadCount, 6, ""},
      {"{LEFT  4}", KeystrokeError::BadCount, 6, ""},
      {"+", KeystrokeError::DanglingModifier, 0, ""},
      {"a+^", KeystrokeError::DanglingModifier, 1, "'a'"},
      {"(a+)", KeystrokeError::DanglingModifier, 2, "'a'"},
      {"x+()", KeystrokeError::DanglingModifier, 2, "'x'"},
      {"+}", KeystrokeError::StrayBrace, 1, ""},
      {"(", KeystrokeError::UnclosedGroup, 0, ""},
      {"a(b(c)", KeystrokeError::UnclosedGroup, 1, "'a' 'b' 'c'"},
      {"ab)", KeystrokeError::StrayParenthesis, 2, "'a' 'b'"},
  };
  for (const Malformed& m : cases) {
    const KeystrokeParse p = parseKeystrokes(m.text);
    EXPECT_FALSE(p.ok) << m.text;
    EXPECT_EQ(p.error, m.error) << m.text;
    EXPECT_EQ(p.errorOffset, m.offset) << m.text;
    EXPECT_EQ(render(p.strokes), m.prefix) << m.text;
  }
}

TEST(KeystrokeParse, GroupsNestOnlySoDeep) {
  const auto nested = [](int depth) {
    return std::string(depth, '(') + "a" + std::string(depth, ')');
  };
  EXPECT_TRUE(parseKeystrokes(nested(kMaxKeystrokeGroupDepth)).ok);
  const KeystrokeParse deep = parseKeystrokes(nested(kMaxKeystrokeGroupDepth + 1));
  EXPECT_FALSE(deep.ok);
  EXPECT_EQ(deep.error, KeystrokeError::GroupTooDeep);
  EXPECT_EQ(deep.errorOffset, std::size_t{kMaxKeystrokeGroupDepth});
}

TEST(KeystrokeParse, OutputIsLimitedAndHugeInputIsRejectedSafely) {
  EXPECT_TRUE(parseKeystrokes(std::string(kMaxKeystrokes, '1')).ok);

  const KeystrokeParse huge = parseKeystrokes(std::string(100 * 1024, '1'));
  EXPECT_FALSE(huge.ok);
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

  // Long malformed strings fail without reading past the end.
  EXPECT_EQ(parseKeystrokes("{" + std::string(100 * 1024, 'a')).error,
            KeystrokeError::UnclosedBrace);
  EXPECT_EQ(parseKeystrokes("{LEFT " + std::string(100 * 1024, '9')).error,
            KeystrokeError::UnclosedBrace);
  EXPECT_EQ(parseKeystrokes(std::string(100 * 1024, '+')).error, KeystrokeError::DanglingModifier);
  EXPECT_EQ(parseKeystrokes(std::string(100 * 1024, '(')).error, KeystrokeError::GroupTooDeep);
}

// Random strings over the syntax' own characters: whatever comes, the result is consistent.
TEST(KeystrokeParse, RandomInputGivesConsistentResults) {
  const std::string alphabet = "+^%~{}() aLEFT1209x";
  std::mt19937 random(20240601);
  std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
  std::uniform_int_distribution<int> length(0, 24);
  int accepted = 0;
  for (int round = 0; round < 20000; ++round) {
    std::string text;
    for (int n = length(random); n > 0; --n) text += alphabet[pick(random)];
    const KeystrokeParse p = parseKeystrokes(text);
    ASSERT_LE(p.strokes.size(), kMaxKeystrokes) << text;
    if (p.ok) {
      ++accepted;
      ASSERT_EQ(p.error, KeystrokeError::None) << text;
    } else {
      ASSERT_NE(p.error, KeystrokeError::None) << text;
      ASSERT_LT(p.errorOffset, text.size() + 1) << text;
      // The prefix is what the text before the fault gives on its own, when that is whole (an
      // unclosed group is reported at its "(", after the keys inside it).
      const KeystrokeParse head = parseKeystrokes(text.substr(0, p.errorOffset));
      if (head.ok && p.error != KeystrokeError::UnclosedGroup) {
        ASSERT_EQ(render(head.strokes), render(p.strokes)) << text;
      }
    }
    for (const KeyStroke& s : p.strokes) {
      if (s.kind == KeyStroke::Kind::VirtualKey) {
        ASSERT_NE(s.vk, 0) << text;
      }
    }
  }
  EXPECT_GT(accepted, 100);  // the generator does produce valid strings
}

// Records what reaches the injector.
class RecordingInjector : public KeyInjector {
 public:
  std::vector<std::vector<KeyStroke>> batches;
  int rawEvents = 0;
  void sendKeys(const std::vector<KeyStroke>& strokes) override { batches.push_back(strokes); }
  void keyEvent(std::uint8_t, bool) override { ++rawEvents; }
};

TEST(SendKeystrokes, SendsAWholeStringInOneBatch) {
  RecordingInjector keys;
  sendKeystrokes(keys, "{HOME}{RIGHT 7} {LEFT}");
  ASSERT_EQ(keys.batches.size(), 1u);
  EXPECT_EQ(render(keys.batches[0]), "HOME RIGHTx7 ' ' LEFT");
  sendKeystrokes(keys, "+^%{ENTER}");
  ASSERT_EQ(keys.batches.size(), 2u);
  EXPECT_EQ(render(keys.batches[1]), "+^%ENTER");
  EXPECT_EQ(keys.rawEvents, 0);
}

TEST(SendKeystrokes, EmptyOrMalformedSendsNothing) {
  RecordingInjector keys;
  for (const char* text : {"", "{LEFT 0}", "()", "75{FOO}", "{ENTER}+", "ab)", "{LEFT x}"})
    sendKeystrokes(keys, text);
  sendKeystrokes(keys, std::string(100 * 1024, '1'));
  EXPECT_TRUE(keys.batches.empty());
  EXPECT_EQ(keys.rawEvents, 0);
}

}  // namespace
}  // namespace pmx
