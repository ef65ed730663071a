#include "pad_manager/Language.h"

#include "pads/Pad.h"
#include "settings/Settings.h"

namespace pmx {

// Layouts to try at most before giving up on a platform that never cycles back.
constexpr int kMaxLayoutSwitches = 64;

void SetKeyboardLanguage(Context& context) {
  ModuleValues& v = context.values;
  std::int32_t language = effectiveLanguage(context);
  v.charSet = languageCharSet(context, language);

  KeyboardLayouts& layouts = context.platform.layouts;
  const LayoutHandle start = layouts.current();
  LayoutHandle current = start;
  for (int i = 0; i < kMaxLayoutSwitches; ++i) {
    if (static_cast<std::int32_t>(current & 0xFFFF) == language) return;
    current = layouts.activateNext();
    if (current == start) return;
  }
}

void LoadKeyTexts(Context& context, Pad& pad, ControlArray array, const std::string& padName,
                  const std::string& arrayName) {
  const ModuleValues& v = context.values;
  const std::string language = std::to_string(effectiveLanguage(context));
  const std::string textSection = language + " " + padName + " Text";
  const std::string codeSection = language + " " + padName + " KeyCode";
  // The extra keys send keystroke strings like the end keys; without one they type nothing.
  const bool hasCodes = arrayName == "Std" || arrayName == "End" || arrayName == "Extra";
  for (Control& key : pad.controls()) {
    if (key.array != array || !key.isKey()) continue;
    const std::string name = arrayName + std::to_string(key.index);
    std::string caption = settingText(context, textSection, name, "", v.charSet);
    if (!caption.empty()) {
      key.caption = caption;
      key.utf8 = true;
      key.font.charset = v.charSet;
    }
    if (hasCodes) {
      std::string code = settingText(context, codeSection, name, "", v.charSet);
      if (!code.empty()) key.tag = code;
    }
    if (arrayName == "Extra") key.visible = !key.caption.empty();
  }
}

void LoadLimitTexts(Context& context, Pad& pad) {
  const ModuleValues& v = context.values;
  const std::string section = std::to_string(v.languageId) + " Text";
  if (Control* max = pad.find(ControlArray::LabelLimits, 0)) {
    max->caption = settingText(context, section, "Max", "Maximum", v.charSet);
    max->utf8 = true;
  }
  if (Control* min = pad.find(ControlArray::LabelLimits, 1)) {
    min->caption = settingText(context, section, "Min", "Minimum", v.charSet);
    min->utf8 = true;
  }
  Control* labels[] = {pad.find(ControlArray::LabelLimits, 0),
                       pad.find(ControlArray::LabelLimits, 1), pad.find(ControlArray::LimitMin),
                       pad.find(ControlArray::LimitMax)};
  for (Control* label : labels) {
    if (label != nullptr) label->font.charset = v.charSet;
  }
}

}  // namespace pmx
