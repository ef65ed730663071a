// The sections and keys the keyboard reads in its settings file, by name: which key arrays of
// which pads a key section relabels, what a section name means, and numbers as the keyboard writes
// them into names. The checker holds a file against these.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "controls/Control.h"
#include "layouts/LayoutTypes.h"

namespace pmx {

// The key arrays that a pad's ChangeLanguage relabels, with the names they have in the file.
struct KeyArrayName {
  ControlArray array;
  const char* name;
  bool keystrokes;  // also read from the KeyCode section
};

// The pads whose keys one pad name of the file ("NumPad", "AlphaPad") relabels.
struct PadTexts {
  const char* padName;
  std::vector<const PadDef*> pads;
  const KeyArrayName* arrays;
  std::size_t arrayCount;
};

const std::vector<PadTexts>& padTexts();
// The pad texts of a pad name in any letter case, or null.
const PadTexts* findPadTexts(const std::string& padName);

// One key a key name relabels: its pad and its definition.
struct KeyPlace {
  const PadDef* pad;
  const ControlDef* key;
  const KeyArrayName* array;
};

// Every key that a key name ("Std5", any letter case) relabels on the pads of a pad name.
std::vector<KeyPlace> keyPlaces(const PadTexts& texts, const std::string& keyName);

// The key names the keyboard looks up in the key sections of a pad name ("NumPad" or
// "AlphaPad"): the captions ([<language> <pad> Text]) or the keystrokes ([... KeyCode]).
std::vector<std::string> settingsKeyNames(const std::string& padName, bool keystrokes);

// The name under which the settings file relabels a key of a pad layout ("Std5"); empty for keys
// that are never relabelled (move, pad, close and bit keys) and for labels.
std::string settingsKeyName(const ControlDef& control);
std::string settingsKeyName(ControlKind kind, ControlArray array, int index);

// The title of a pad, as assistive technology announces the pad, and the key of
// [<host language> Text] that translates it.
struct PadTitle {
  const PadDef* pad;
  const char* key;    // "DecimalPad"
  const char* title;  // "Decimal pad"
};
const std::vector<PadTitle>& padTitles();

// "Std0-60, End0-1": the key names of a section, for a message.
std::string describeKeyNames(const std::vector<std::string>& names);

enum class SectionKind { Replace, CharSet, LimitTexts, KeyTexts, KeyCodes, Unknown };

struct SectionName {
  SectionKind kind = SectionKind::Unknown;
  std::int32_t language = 0;
  const PadTexts* pad = nullptr;  // of key sections
};

// What a section name stands for: [Replace], [CharSet], [<language> Text] or a key section.
SectionName classify(const std::string& name);

// ASCII letters in lower case: names match in any letter case.
std::string lower(std::string s);
bool allDigits(const std::string& s);

// A number as the keyboard writes it into a name: decimal, no leading zeros, no blanks, "-" for
// negative values, within 32 bits.
std::optional<std::int32_t> canonicalNumber(const std::string& s);

// A value that GetPrivateProfileIntA reads as written: an optional "-" and decimal digits.
bool plainDecimal(const std::string& s, std::int32_t& value);

// Blanks run together and leading zeros of numbers dropped: what a name probably meant.
std::string loosened(const std::string& name);

}  // namespace pmx
