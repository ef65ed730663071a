// The language switch: the keyboard layout and character set of the host language, and the
// language texts of the pads from the settings file.
#pragma once

#include <string>

#include "common/MPMXTouchKeyBoard.h"
#include "controls/Control.h"

namespace pmx {

class Pad;

// Maps the host language, takes its character set and switches this thread's keyboard layout to
// the first installed layout of that language (or back to the one it started from).
void SetKeyboardLanguage(Context& context);

// Captions (and for "Std", "End" and "Extra" the keystroke texts) of one key array of a pad.
void LoadKeyTexts(Context& context, Pad& pad, ControlArray array, const std::string& padName,
                  const std::string& arrayName);

// The two limit captions of a pad and the character set of its four limit labels.
void LoadLimitTexts(Context& context, Pad& pad);

}  // namespace pmx
