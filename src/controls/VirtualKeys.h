// Windows virtual-key codes that the keyboard's core works with.
//
// The values are those of the Windows headers (VK_BACK, VK_RETURN, ...), spelled here so that the
// portable core never needs <windows.h>.
#pragma once

#include <cstdint>

namespace pmx {

using VirtualKeyCode = std::uint16_t;

constexpr VirtualKeyCode kVkCancel = 0x03;  // Ctrl+Break
constexpr VirtualKeyCode kVkBack = 0x08;
constexpr VirtualKeyCode kVkTab = 0x09;
constexpr VirtualKeyCode kVkClear = 0x0C;
constexpr VirtualKeyCode kVkReturn = 0x0D;
constexpr VirtualKeyCode kVkShift = 0x10;
constexpr VirtualKeyCode kVkControl = 0x11;
constexpr VirtualKeyCode kVkMenu = 0x12;  // Alt
constexpr VirtualKeyCode kVkPause = 0x13;
constexpr VirtualKeyCode kVkCapital = 0x14;  // Caps Lock
constexpr VirtualKeyCode kVkEscape = 0x1B;
constexpr VirtualKeyCode kVkSpace = 0x20;
constexpr VirtualKeyCode kVkPrior = 0x21;  // Page Up
constexpr VirtualKeyCode kVkNext = 0x22;   // Page Down
constexpr VirtualKeyCode kVkEnd = 0x23;
constexpr VirtualKeyCode kVkHome = 0x24;
constexpr VirtualKeyCode kVkLeft = 0x25;
constexpr VirtualKeyCode kVkUp = 0x26;
constexpr VirtualKeyCode kVkRight = 0x27;
constexpr VirtualKeyCode kVkDown = 0x28;
constexpr VirtualKeyCode kVkSnapshot = 0x2C;  // Print Screen
constexpr VirtualKeyCode kVkInsert = 0x2D;
constexpr VirtualKeyCode kVkDelete = 0x2E;
constexpr VirtualKeyCode kVkHelp = 0x2F;
constexpr VirtualKeyCode kVk0 = 0x30;  // '0' ... '9' are 0x30 ... 0x39
constexpr VirtualKeyCode kVkA = 0x41;  // 'A' ... 'Z' are 0x41 ... 0x5A
constexpr VirtualKeyCode kVkNumpad0 = 0x60;
constexpr VirtualKeyCode kVkMultiply = 0x6A;
constexpr VirtualKeyCode kVkAdd = 0x6B;
constexpr VirtualKeyCode kVkSeparator = 0x6C;
constexpr VirtualKeyCode kVkSubtract = 0x6D;
constexpr VirtualKeyCode kVkDecimal = 0x6E;
constexpr VirtualKeyCode kVkDivide = 0x6F;
constexpr VirtualKeyCode kVkF1 = 0x70;  // F1 ... F24 are 0x70 ... 0x87
constexpr VirtualKeyCode kVkF16 = 0x7F;
constexpr VirtualKeyCode kVkF24 = 0x87;
constexpr VirtualKeyCode kVkNumLock = 0x90;
constexpr VirtualKeyCode kVkScroll = 0x91;  // Scroll Lock
constexpr VirtualKeyCode kVkLShift = 0xA0;
constexpr VirtualKeyCode kVkRShift = 0xA1;
constexpr VirtualKeyCode kVkLControl = 0xA2;
constexpr VirtualKeyCode kVkRControl = 0xA3;
constexpr VirtualKeyCode kVkLMenu = 0xA4;
constexpr VirtualKeyCode kVkRMenu = 0xA5;

// The code of function key Fn, n in 1 ... 24.
constexpr VirtualKeyCode functionKey(int n) { return static_cast<VirtualKeyCode>(kVkF1 + (n - 1)); }
static_assert(functionKey(16) == kVkF16 && functionKey(24) == kVkF24, "F keys are contiguous");

// The caret and editing keys that sit in the separate block of a full keyboard (arrows, Home, End,
// Page Up/Down, Insert, Delete). Injected as typed keys they carry the extended-key flag, so that
// an application that reads the flag cannot take them for the number pad's keys.
constexpr bool isNavigationKey(VirtualKeyCode vk) {
  return (vk >= kVkPrior && vk <= kVkDown) || vk == kVkInsert || vk == kVkDelete;
}

}  // namespace pmx
