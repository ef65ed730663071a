// Keystroke strings: plain characters stand for themselves, braced names for special keys.
//
//   "75."                    the characters 7, 5 and .
//   "{END}{LEFT 3} {LEFT}"  End, Left three times, a blank, Left
//   "+^{ENTER}"              Enter with Shift and Ctrl held ("+" Shift, "^" Ctrl, "%" Alt)
//   "~"                      Enter;  "{+}" "{^}" "{%}" "{~}" "{{}" "{}}" "{(}" "{)}" literals
//   "+(ab)"                  a and b, both with Shift held
//
// A string is a text of characters, double-byte and other characters beyond ASCII included; only
// ASCII characters have a meaning of their own.
//
// Braced names (any case): ENTER, ESC/ESCAPE, BS/BKSP/BACKSPACE, DEL/DELETE, INS/INSERT, HOME, END,
// LEFT, RIGHT, UP, DOWN, PGUP, PGDN, TAB, BREAK, CAPSLOCK, NUMLOCK, SCROLLLOCK, HELP, PRTSC, F1 ...
// F16, and the number pad's ADD, SUBTRACT, MULTIPLY, DIVIDE. A single character in braces is that
// character ("{a}"). A blank and a decimal count repeat the key: "{LEFT 4}", "{a 3}"; a count of
// 0 types nothing, and counts above kMaxKeystrokeRepeat are cut to it.
//
// Modifiers stack ("+^%{ENTER}"); repeating one is the same as giving it once. A group may carry
// modifiers of its own inside ("+(a^b)": a with Shift, b with Shift and Ctrl) and may nest.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "controls/VirtualKeys.h"
#include "platform/Platform.h"

namespace pmx {

// One keystroke of a keystroke string: a virtual key or a character, with the modifiers to hold.
struct KeyStroke {
  enum class Kind : std::uint8_t { VirtualKey, Character };
  Kind kind = Kind::VirtualKey;
  VirtualKeyCode vk = 0;  // for VirtualKey
  char32_t ch = 0;        // for Character: the Unicode character
  bool shift = false, ctrl = false, alt = false;
};

// Repeat counts such as {LEFT 300} are capped here.
constexpr int kMaxKeystrokeRepeat = 255;

// No string yields more keystrokes than this; a longer one is malformed as a whole, so that a
// runaway string from the settings file neither floods the target's input queue nor half-types.
constexpr std::size_t kMaxKeystrokes = 4096;

// Groups nest at most this deep.
constexpr int kMaxKeystrokeGroupDepth = 8;

enum class KeystrokeError {
  None,
  UnclosedBrace,      // "{LEFT" runs to the end of the string
  StrayBrace,         // "}" outside braces
  UnknownName,        // "{FOO}", "{}"
  BadCount,           // "{LEFT x}", "{LEFT }", "{LEFT 4 }"
  UnclosedGroup,      // "(ab"
  StrayParenthesis,   // ")" outside a group
  GroupTooDeep,       // more than kMaxKeystrokeGroupDepth nested groups
  DanglingModifier,   // "+" with no key after it: at the end, before ")" or before "}"
  TooManyKeystrokes,  // more than kMaxKeystrokes strokes in all
};

struct KeystrokeParse {
  bool ok = false;                 // false: the string is malformed
  std::vector<KeyStroke> strokes;  // all strokes when ok; the valid prefix otherwise
  KeystrokeError error = KeystrokeError::None;
  std::size_t errorOffset = 0;  // the character at which the fault lies (when not ok)
  // The "{" of the first item whose repeat count was cut to kMaxKeystrokeRepeat; npos for none.
  std::size_t cappedOffset = std::string::npos;
};

KeystrokeParse parseKeystrokes(const std::u32string& text);
// A string in UTF-8, the form in which keys hold their keystrokes (see decodeUtf8).
KeystrokeParse parseKeystrokes(const std::string& text);

// What is wrong with a malformed string, for a person: where (the 1-based character position),
// which character, and what was expected there (characters spelled as by spelledCharacters).
// Empty when the parse succeeded.
//   character 3 "{": the brace is never closed; expected "}"
std::string keystrokeErrorMessage(const std::u32string& text, const KeystrokeParse& parse);

// Sends a keystroke string in UTF-8 to the window with the focus, as one batch. An empty string
// and a malformed string send nothing (not even the valid beginning of a malformed one).
void sendKeystrokes(KeyInjector& keys, const std::string& text);

}  // namespace pmx
