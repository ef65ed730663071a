#include "pads/ValuePad.h"

#include "common/HostProtocol.h"
#include "controls/Keystrokes.h"
#include "pad_manager/Language.h"

namespace pmx {

void ValuePad::CheckLimits() {
  Control* keys = picKeys();
  const Control* labelMin = find(ControlArray::LabelLimits, 1);
  if (keys == nullptr || labelMin == nullptr || !showLimitTexts()) return;
  const ModuleValues& v = context_.values;
  const bool show = v.showLimits != kFalse;
  if (show && (!v.limitMinText.empty() || !v.limitMaxText.empty())) {
    keys->top = labelMin->top + labelMin->height;
  } else {
    keys->top = 0;
  }
  SetHeight(Height() - ScaleHeight() + keys->top + keys->height);
}

void ValuePad::ChangeLanguage() {
  LoadLimitTexts(context_, *this);
  LoadKeyTexts(context_, *this, ControlArray::Standard, "NumPad", "Std");
  LoadKeyTexts(context_, *this, ControlArray::End, "NumPad", "End");
}

void ValuePad::sendTag(ControlArray array, int index) {
  context_.platform.host.setFocus(context_.values.targetWindow);
  // The tag as it is now: the settings file may have replaced the layout's string.
  const Control* key = find(array, index);
  if (key != nullptr) sendKeystrokes(context_.platform.keys, key->tag);
}

int ValuePad::switchPadNumber() const { return kPadAlpha; }

void ValuePad::onTouch(ControlArray array, int index) {
  switch (array) {
    case ControlArray::Standard:
    case ControlArray::Bit:
      sendTag(array, index);
      break;
    case ControlArray::End:
      sendTag(array, index);
      Hide();
      notifyHostHidden();
      break;
    default:
      break;
  }
}

}  // namespace pmx
