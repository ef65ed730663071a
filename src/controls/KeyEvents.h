// Turning keystrokes into the key events that go into the input stream, and injecting them.
//
// Each stroke becomes: its modifiers down (Shift, Ctrl, Alt), the key down and up, the modifiers
// up in the same order. A character is typed with the key that the active keyboard layout gives
// it, together with the modifiers the layout needs for it; a character without a key, or whose key
// is a dead key, is sent as Unicode events (one for each of its UTF-16 code units). The platform
// only asks the layout and injects.
#pragma once

#include <cstddef>
#include <functional>
#include <vector>

#include "controls/Keystrokes.h"
#include "controls/VirtualKeys.h"
#include "platform/Platform.h"

namespace pmx {

using CharacterLayout = std::function<CharacterKey(char32_t)>;

// A key-down or key-up event of a virtual key, as keystroke strings type it: with the layout's
// scan code, and the extended-key flag for the caret and editing keys.
KeyEvent typedKeyEvent(VirtualKeyCode vk, bool up);

// The events for `strokes`, in order.
std::vector<KeyEvent> keyEventsFor(const std::vector<KeyStroke>& strokes,
                                   const CharacterLayout& layout);

// After only the first `delivered` of `events` went into the input stream: the key-up events for
// every key those left pressed, the ordinary keys first, then the modifiers (Shift, Ctrl, Alt).
std::vector<KeyEvent> releasesAfter(const std::vector<KeyEvent>& events, std::size_t delivered);

// Injects the events as one batch. Whatever part of it the system refuses, no key that the
// delivered part pressed stays down: the missing releases follow as a batch of their own.
void injectKeyEvents(KeyInjector& keys, const std::vector<KeyEvent>& events);

}  // namespace pmx
