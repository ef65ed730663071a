// The settings file: language mapping, character sets and the language texts of the pads.
//
// Every lookup reads the file again; nothing is cached. A missing file, section or key gives the
// lookup's default.
#pragma once

#include <string>

#include "app/MPMXTouchKeyBoard.h"
#include "controls/Control.h"

namespace pmx {

class Pad;

// The language whose texts and keyboard layout serve the host language: [Replace] maps it.
std::int32_t effectiveLanguage(Context& context);

// Maps the host language, takes its character set and switches this thread's keyboard layout to
// the first installed layout of that language (or back to the one it started from).
void SetKeyboardLanguage(Context& context);

// Captions (and for "Std", "End" and "Extra" the keystroke texts) of one key array of a pad.
void LoadKeyTexts(Context& context, Pad& pad, ControlArray array, const std::string& padName,
                  const std::string& arrayName);

// The two limit captions of a pad and the character set of its four limit labels.
void LoadLimitTexts(Context& context, Pad& pad);

}  // namespace pmx
