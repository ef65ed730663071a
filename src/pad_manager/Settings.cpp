#include "pad_manager/Settings.h"

#include "pads/Pad.h"

namespace pmx {

namespace {

// Character sets are byte values; anything else in the file is not one.
std::int16_t toCharset(int value) {
  return value >= 0 && value <= 255 ? static_cast<std::int16_t>(value) : std::int16_t{0};
}

// Layouts to try at most before giving up on a platform that never cycles back.
constexpr int kMaxLayoutSwitches = 64;

}  // namespace

std::int32_t effectiveLanguage(Context& context) {
  const ModuleValues& v = context.values;
  return context.platform.profile.readInt(v.iniFile, "Replace", std::to_string(v.languageId),
                                          v.languageId);
}

void SetKeyboardLanguage(Context& context) {
  ModuleValues& v = context.values;
  ProfileReader& profile = context.platform.profile;
  std::int32_t language = effectiveLanguage(context);
  v.charSet = toCharset(profile.readInt(v.iniFile, "CharSet", std::to_string(language), 0));

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
  ProfileReader& profile = context.platform.profile;
  const std::string language = std::to_string(effectiveLanguage(context));
  const std::string textSection = language + " " + padName + " Text";
  const std::string codeSection = language + " " + padName + " KeyCode";
  // The extra keys send keystroke strings like the end keys; without one they type nothing.
  const bool hasCodes = arrayName == "Std" || arrayName == "End" || arrayName == "Extra";
  for (Control& key : pad.controls()) {
    if (key.array != array || !key.isKey()) continue;
    const std::string name = arrayName + std::to_string(key.index);
    std::string caption = profile.readString(v.iniFile, textSection, name, "");
    if (!caption.empty()) {
      key.caption = caption;
      key.font.charset = v.charSet;
    }
    if (hasCodes) {
      std::string code = profile.readString(v.iniFile, codeSection, name, "");
      if (!code.empty()) key.tag = code;
    }
    if (arrayName == "Extra") key.visible = !key.caption.empty();
  }
}

void LoadLimitTexts(Context& context, Pad& pad) {
  const ModuleValues& v = context.values;
  ProfileReader& profile = context.platform.profile;
  const std::string section = std::to_string(v.languageId) + " Text";
  if (Control* max = pad.find(ControlArray::LabelLimits, 0)) {
    max->caption = profile.readString(v.iniFile, section, "Max", "Maximum");
  }
  if (Control* min = pad.find(ControlArray::LabelLimits, 1)) {
    min->caption = profile.readString(v.iniFile, section, "Min", "Minimum");
  }
  Control* labels[] = {pad.find(ControlArray::LabelLimits, 0), pad.find(ControlArray::LabelLimits, 1),
                       pad.find(ControlArray::LimitMin), pad.find(ControlArray::LimitMax)};
  for (Control* label : labels) {
    if (label != nullptr) label->font.charset = v.charSet;
  }
}

}  // namespace pmx
