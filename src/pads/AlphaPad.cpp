#include "pads/AlphaPad.h"

#include <cstdlib>
#include <string>

#include "common/HostProtocol.h"
#include "controls/KeyCode.h"
#include "controls/KeyEvents.h"
#include "controls/Keystrokes.h"
#include "controls/VirtualKeys.h"
#include "layouts/AlphaPadLayout.h"
#include "pad_manager/Language.h"

namespace pmx {

namespace {

constexpr std::uint32_t kEsMultiline = 0x0004;

std::int16_t toggled(std::int16_t flag) { return static_cast<std::int16_t>(~flag); }

bool isMultilineTextBox(const std::string& className, std::uint32_t style) {
  if ((style & kEsMultiline) == 0) return false;
  return className == "ThunderTextBox" || className == "ThunderRT5TextBox" ||
         className == "ThunderRT6TextBox";
}

}  // namespace

AlphaPad::AlphaPad(Context& context) : Pad(context, alphaPadLayout()) {}

void AlphaPad::CheckLimits() {
  // The limit block keeps its place above the keys: nothing moves, the window keeps its size.
  showLimitTexts();
}

void AlphaPad::ChangeLanguage() {
  LoadLimitTexts(context_, *this);
  LoadKeyTexts(context_, *this, ControlArray::Standard, "AlphaPad", "Std");
  LoadKeyTexts(context_, *this, ControlArray::End, "AlphaPad", "End");
  LoadKeyTexts(context_, *this, ControlArray::Shift, "AlphaPad", "Shift");
  LoadKeyTexts(context_, *this, ControlArray::Extra, "AlphaPad", "Extra");
}

void AlphaPad::onTouch(ControlArray array, int index) {
  switch (array) {
    case ControlArray::Standard:
      keyStandardTouch(index);
      break;
    case ControlArray::Shift:
      keyShiftTouch(index);
      break;
    case ControlArray::Extra:
      keyExtraTouch(index);
      break;
    case ControlArray::End:
      keyEndTouch(index);
      break;
    default:
      break;
  }
}

int AlphaPad::switchPadNumber() const { return kPadNum; }

void AlphaPad::keyStandardTouch(int index) {
  const Control* key = find(ControlArray::Standard, index);
  std::uint8_t code = 0;
  // A tag that is not a key code sends nothing and leaves focus and modifiers alone.
  if (key == nullptr || !parseKeyCode(key->tag, code)) return;
  context_.platform.host.setFocus(context_.values.targetWindow);
  // Plain key events: the virtual-key code, scan code 0, no extended-key flag.
  std::vector<KeyEvent> events;
  const auto event = [&events](VirtualKeyCode vk, bool up) {
    KeyEvent e;
    e.vk = vk;
    e.up = up;
    events.push_back(e);
  };
  const bool shift = modifiers_.shift(), ctrl = modifiers_.ctrl(), alt = modifiers_.alt();
  if (shift) event(kVkShift, false);
  if (ctrl) event(kVkControl, false);
  if (alt) event(kVkMenu, false);
  event(code, false);
  event(code, true);
  // Released in the order they were pressed.
  if (shift) event(kVkShift, true);
  if (ctrl) event(kVkControl, true);
  if (alt) event(kVkMenu, true);
  injectKeyEvents(context_.platform.keys, events);
  clearLatches();
  ShowModifierState();
}

void AlphaPad::keyShiftTouch(int index) {
  Modifiers& m = modifiers_;
  switch (index) {
    case 0:
      m.shiftLock = kTrue;
      m.shiftLatch = kFalse;
      break;
    case 1:
    case 6:
      if (m.shiftLock != 0) {
        m.shiftLock = kFalse;
        m.shiftLatch = kFalse;
      } else {
        m.shiftLatch = toggled(m.shiftLatch);
      }
      break;
    case 2:
    case 5:
      m.ctrlLatch = toggled(m.ctrlLatch);
      m.altGrLatch = kFalse;
      break;
    case 3:
      m.altLatch = toggled(m.altLatch);
      m.altGrLatch = kFalse;
      break;
    case 4:
      m.altGrLatch = toggled(m.altGrLatch);
      m.altLatch = kFalse;
      m.ctrlLatch = kFalse;
      break;
    default:
      break;
  }
  ShowModifierState();
  context_.platform.host.setFocus(context_.values.targetWindow);
}

void AlphaPad::keyExtraTouch(int index) {
  context_.platform.host.setFocus(context_.values.targetWindow);
  const Control* key = find(ControlArray::Extra, index);
  if (key != nullptr) sendKeystrokes(context_.platform.keys, key->tag);
}

void AlphaPad::keyEndTouch(int index) {
  const Control* key = find(ControlArray::End, index);
  std::string text;
  if (modifiers_.shift()) text += '+';
  if (modifiers_.ctrl()) text += '^';
  if (modifiers_.alt()) text += '%';
  if (key != nullptr) text += key->tag;
  HostWindows& host = context_.platform.host;
  host.setFocus(context_.values.targetWindow);
  sendKeystrokes(context_.platform.keys, text);
  clearLatches();
  ShowModifierState();

  host.processPendingMessages();
  // The host may have ended the keyboard meanwhile: then nothing comes back and nothing is sent.
  if (context_.values.ended) return;

  if (index == 1) {
    WindowHandle target = context_.values.targetWindow;
    if (isMultilineTextBox(host.className(target), host.windowStyle(target))) return;
  }
  Hide();
  notifyHostHidden();
}

void AlphaPad::clearLatches() {
  modifiers_.shiftLatch = kFalse;
  modifiers_.ctrlLatch = kFalse;
  modifiers_.altLatch = kFalse;
  modifiers_.altGrLatch = kFalse;
}

const std::int16_t* AlphaPad::shownFlag(const Control& key) const {
  if (key.array != ControlArray::Shift) return nullptr;
  switch (key.index) {
    case 0:
      return &modifiers_.shiftLock;
    case 1:
    case 6:
      return &modifiers_.shiftLatch;
    case 2:
    case 5:
      return &modifiers_.ctrlLatch;
    case 3:
      return &modifiers_.altLatch;
    case 4:
      return &modifiers_.altGrLatch;
    default:
      return nullptr;
  }
}

void AlphaPad::ShowModifierState() {
  for (Control& key : controls()) {
    if (const std::int16_t* flag = shownFlag(key)) {
      key.backColor = *flag != 0 ? kColorRed : kColorGrey;
    }
  }
}

ToggleState AlphaPad::toggleState(const Control& key) const {
  const std::int16_t* flag = shownFlag(key);
  if (flag == nullptr) return ToggleState::None;
  return *flag != 0 ? ToggleState::On : ToggleState::Off;
}

void AlphaPad::Form_Load() {
  Pad::Form_Load();
  // A reloaded window shows the modifiers as they are, not the layout's grey.
  ShowModifierState();
}

}  // namespace pmx
