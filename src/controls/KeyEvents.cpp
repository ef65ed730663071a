#include "controls/KeyEvents.h"

#include <algorithm>

namespace pmx {

KeyEvent typedKeyEvent(VirtualKeyCode vk, bool up) {
  KeyEvent e;
  e.kind = KeyEvent::Kind::Key;
  e.vk = vk;
  e.up = up;
  e.extended = isNavigationKey(vk);
  e.scanCode = true;
  return e;
}

namespace {

KeyEvent unicodeEvent(char16_t unit, bool up) {
  KeyEvent e;
  e.kind = KeyEvent::Kind::Unicode;
  e.unit = unit;
  e.up = up;
  return e;
}

bool isModifier(const KeyEvent& e) {
  return e.kind == KeyEvent::Kind::Key &&
         (e.vk == kVkShift || e.vk == kVkControl || e.vk == kVkMenu || e.vk == kVkLShift ||
          e.vk == kVkRShift || e.vk == kVkLControl || e.vk == kVkRControl || e.vk == kVkLMenu ||
          e.vk == kVkRMenu);
}

bool sameKey(const KeyEvent& a, const KeyEvent& b) {
  if (a.kind != b.kind) return false;
  return a.kind == KeyEvent::Kind::Key ? a.vk == b.vk : a.unit == b.unit;
}

// Appends one stroke: modifiers down, the key (or Unicode unit) down and up, modifiers up.
void appendStroke(std::vector<KeyEvent>& out, bool shift, bool ctrl, bool alt,
                  const KeyEvent& down) {
  if (shift) out.push_back(typedKeyEvent(kVkShift, false));
  if (ctrl) out.push_back(typedKeyEvent(kVkControl, false));
  if (alt) out.push_back(typedKeyEvent(kVkMenu, false));
  out.push_back(down);
  KeyEvent up = down;
  up.up = true;
  out.push_back(up);
  if (shift) out.push_back(typedKeyEvent(kVkShift, true));
  if (ctrl) out.push_back(typedKeyEvent(kVkControl, true));
  if (alt) out.push_back(typedKeyEvent(kVkMenu, true));
}

}  // namespace

std::vector<KeyEvent> keyEventsFor(const std::vector<KeyStroke>& strokes,
                                   const CharacterLayout& layout) {
  std::vector<KeyEvent> out;
  out.reserve(strokes.size() * 4);
  for (const KeyStroke& s : strokes) {
    if (s.kind == KeyStroke::Kind::VirtualKey) {
      if (s.vk == 0 || s.vk > 0xFE) continue;  // no such key
      appendStroke(out, s.shift, s.ctrl, s.alt, typedKeyEvent(s.vk, false));
      continue;
    }
    if (s.ch == 0 || s.ch > 0x10FFFF || (s.ch >= 0xD800 && s.ch <= 0xDFFF)) continue;  // none
    if (s.ch > 0xFFFF) {  // no layout has a key for it: its surrogate pair
      const char32_t offset = s.ch - 0x10000;
      appendStroke(out, s.shift, s.ctrl, s.alt,
                   unicodeEvent(static_cast<char16_t>(0xD800 + (offset >> 10)), false));
      appendStroke(out, s.shift, s.ctrl, s.alt,
                   unicodeEvent(static_cast<char16_t>(0xDC00 + (offset & 0x3FF)), false));
      continue;
    }
    const CharacterKey key = layout(s.ch);
    if (!key.hasKey || key.dead) {
      appendStroke(out, s.shift, s.ctrl, s.alt, unicodeEvent(static_cast<char16_t>(s.ch), false));
      continue;
    }
    bool shift = s.shift || key.shift;
    const bool ownModifiers = s.shift || s.ctrl || s.alt;
    if (key.capsLockInverts && !ownModifiers && !key.ctrl && !key.alt) shift = !shift;
    appendStroke(out, shift, s.ctrl || key.ctrl, s.alt || key.alt, typedKeyEvent(key.vk, false));
  }
  return out;
}

std::vector<KeyEvent> releasesAfter(const std::vector<KeyEvent>& events, std::size_t delivered) {
  std::vector<KeyEvent> down;  // pressed and not yet released, in the order of pressing
  const std::size_t n = std::min(delivered, events.size());
  for (std::size_t i = 0; i < n; ++i) {
    const KeyEvent& e = events[i];
    auto it =
        std::find_if(down.begin(), down.end(), [&](const KeyEvent& d) { return sameKey(d, e); });
    if (!e.up && it == down.end()) down.push_back(e);
    if (e.up && it != down.end()) down.erase(it);
  }
  std::vector<KeyEvent> releases;
  for (int pass = 0; pass < 2; ++pass) {
    for (const KeyEvent& d : down) {
      if (isModifier(d) != (pass == 1)) continue;
      KeyEvent up = d;
      up.up = true;
      releases.push_back(up);
    }
  }
  return releases;
}

void injectKeyEvents(KeyInjector& keys, const std::vector<KeyEvent>& events) {
  if (events.empty()) return;
  const std::size_t delivered = keys.inject(events);
  if (delivered >= events.size()) return;
  const std::vector<KeyEvent> releases = releasesAfter(events, delivered);
  if (!releases.empty()) keys.inject(releases);
}

}  // namespace pmx
