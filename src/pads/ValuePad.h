// The decimal, hexadecimal and binary pads (FNumPad, FHexPad, FBinPad): one class, three layouts.
#pragma once

#include "pads/Pad.h"

namespace pmx {

class ValuePad : public Pad {
 public:
  ValuePad(Context& context, const PadDef& layout) : Pad(context, layout) {}

  // Fills the limit block, shows the rows that have a text, moves the keys below the shown block
  // and fits the window's height to the keys.
  void CheckLimits() override;
  // The limit captions and the captions and keystroke strings of the standard and end keys.
  void ChangeLanguage() override;

 protected:
  void onTouch(ControlArray array, int index) override;
  int switchPadNumber() const override;

 private:
  void sendTag(ControlArray array, int index);
};

}  // namespace pmx
