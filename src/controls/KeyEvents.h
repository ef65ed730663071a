// Turning parsed keystrokes into the key events that go into the input stream.
//
// Each stroke becomes: its modifiers down (Shift, Ctrl, Alt), the key down and up, the modifiers
// up in the same order. A character is typed with the key that the active keyboard layout gives
// it, together with the modifiers the layout needs for it; a character without a key is sent as a
// Unicode event. The platform only asks the layout and injects the events.
#pragma once

#include <cstddef>
#include <functional>
#include <vector>

#include "controls/VirtualKeys.h"
#include "platform/Platform.h"

namespace pmx {

// One event of the input stream.
struct KeyEvent {
  enum class Kind : std::uint8_t { Key, Unicode };
  Kind kind = Kind::Key;
  VirtualKeyCode vk = 0;  // Key
  char16_t unit = 0;      // Unicode: one UTF-16 code unit
  bool up = false;
  bool extended = false;  // Key: set for the caret and editing keys (isNavigationKey)
};

// How the active keyboard layout types one 8-bit character.
struct CharacterKey {
  char16_t unit = 0;      // the character in UTF-16; 0: it has none and is not typed at all
  bool hasKey = false;    // false: no plain key types it; it goes as a Unicode event of `unit`
  VirtualKeyCode vk = 0;  // the key that types it, with these modifiers:
  bool shift = false, ctrl = false, alt = false;
  // Caps Lock is on and turns this key's letter to the other case: unless the stroke holds
  // modifiers of its own, Shift is inverted so that the character arrives as written.
  bool capsLockInverts = false;
};

using CharacterLayout = std::function<CharacterKey(char)>;

// The events for `strokes`, in order.
std::vector<KeyEvent> keyEventsFor(const std::vector<KeyStroke>& strokes,
                                   const CharacterLayout& layout);

// After only the first `delivered` of `events` went into the input stream: the key-up events for
// every key those left pressed, the ordinary keys first, then the modifiers (Shift, Ctrl, Alt).
std::vector<KeyEvent> releasesAfter(const std::vector<KeyEvent>& events, std::size_t delivered);

}  // namespace pmx
