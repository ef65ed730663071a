// Keystroke strings: plain characters stand for themselves, braced names for special keys.
//
//   "75."                    the characters 7, 5 and .
//   "{END}{LEFT 3} {LEFT}"  End, Left three times, a blank, Left
//   "+^{ENTER}"              Enter with Shift and Ctrl held ("+" Shift, "^" Ctrl, "%" Alt)
//   "~"                      Enter;  "{+}" "{^}" "{%}" "{~}" "{{}" "{}}" "{(}" "{)}" literals
//   "+(ab)"                  a and b, both with Shift held
#pragma once

#include <string>
#include <vector>

#include "platform/Platform.h"

namespace pmx {

// Repeat counts such as {LEFT 300} are capped here.
constexpr int kMaxKeystrokeRepeat = 255;

struct KeystrokeParse {
  bool ok = false;                  // false: the string is malformed
  std::vector<KeyStroke> strokes;   // all strokes when ok; the valid prefix otherwise
};

KeystrokeParse parseKeystrokes(const std::string& text);

// Sends a keystroke string to the window with the focus. A malformed string sends nothing.
void sendKeystrokes(KeyInjector& keys, const std::string& text);

}  // namespace pmx
