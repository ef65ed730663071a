// How assistive technology and test tools see a pad: its keys and labels as a tree of elements,
// computed from the pad's controls, and an invoke that touches a key as a finger does. The
// Windows shell only hands this view to UI Automation.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "controls/Control.h"
#include "platform/Platform.h"

namespace pmx {

enum class AccessibleRole : std::uint8_t { Button, Text };

// The state a key keeps between touches (Shift lock, the sticky modifiers); None for the others.
enum class ToggleState : std::uint8_t { None, Off, On };

struct AccessibleElement {
  AccessibleRole role = AccessibleRole::Button;
  ControlArray array = ControlArray::Standard;
  std::int16_t index = 0;
  std::string name;          // UTF-8: the caption as shown, or what the key does
  std::string automationId;  // the key's name in the settings file ("Std7"), else "Move0", "Pad"
  // Where the element is seen and touched, in twips of the client area.
  float left = 0, top = 0, width = 0, height = 0;
  ToggleState toggle = ToggleState::None;
};

struct AccessibleTree {
  std::string name;          // the pad's title, in the host's language
  std::string automationId;  // the pad's own name ("FNumPad")
  unsigned load = 0;         // the load of the pad's window that the elements belong to
  // The keys and labels the window draws, in the order of the layout.
  std::vector<AccessibleElement> elements;
};

// What changed from one state of a pad's tree to the next, for the clients that listen.
struct AccessibleChanges {
  bool structure = false;            // elements came or went, or the window was loaded again
  std::vector<std::size_t> names;    // elements (of the later tree) whose name changed
  std::vector<std::size_t> toggles;  // elements whose toggle state changed
};
AccessibleChanges accessibleChanges(const AccessibleTree& before, const AccessibleTree& after);

// The contact an invoke touches a key with: apart from the mouse's and from every pointer id.
constexpr ContactId kAutomationContact = kMouseContact + 1;

}  // namespace pmx
