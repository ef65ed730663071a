#include "win32/KeyInjector_win.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace pmx {
namespace {

enum class Typed { Exactly, DeadKey, Other };

// What the key, pressed in the shift state (1 Shift, 2 Ctrl, 4 Alt), types on the layout: exactly
// `wanted`, a dead key that would wait for the next key, or something else. The query must not
// leave a dead key waiting in this thread's keyboard state: flag 4 keeps the state as it is; where
// the system ignores the flag, the same key once more clears it.
Typed whatTheKeyTypes(UINT vk, unsigned state, HKL layout, wchar_t wanted) {
  BYTE keys[256] = {};
  if ((state & 1u) != 0) keys[VK_SHIFT] = 0x80;
  if ((state & 2u) != 0) keys[VK_CONTROL] = 0x80;
  if ((state & 4u) != 0) keys[VK_MENU] = 0x80;
  const UINT scan = MapVirtualKeyExW(vk, MAPVK_VK_TO_VSC, layout);
  wchar_t out[8];
  const int n = ToUnicodeEx(vk, scan, keys, out, 8, 4, layout);
  if (n < 0) {
    ToUnicodeEx(vk, scan, keys, out, 8, 4, layout);
    return Typed::DeadKey;
  }
  return n == 1 && out[0] == wanted ? Typed::Exactly : Typed::Other;
}

}  // namespace

CharacterKey Win32KeyInjector::characterKey(char32_t character) {
  CharacterKey key;
  if (character > 0xFFFF) return key;
  const auto wide = static_cast<wchar_t>(character);
  const HKL layout = GetKeyboardLayout(0);
  const SHORT scan = VkKeyScanExW(wide, layout);
  if (scan == -1) return key;
  const unsigned vk = static_cast<unsigned>(scan) & 0xFFu;
  const unsigned state = (static_cast<unsigned>(scan) >> 8) & 0xFFu;
  // Only Shift (1), Ctrl (2) and Alt (4) can be pressed for it; Hankaku and the reserved states
  // cannot. And the key must type this very character: a layout may offer a near one instead.
  if (vk == 0 || vk == 0xFFu || (state & ~0x07u) != 0) return key;
  const Typed typed = whatTheKeyTypes(vk, state, layout, wide);
  if (typed == Typed::Other) return key;
  key.hasKey = true;
  key.vk = static_cast<std::uint16_t>(vk);
  key.shift = (state & 1u) != 0;
  key.ctrl = (state & 2u) != 0;
  key.alt = (state & 4u) != 0;
  key.dead = typed == Typed::DeadKey;
  const bool capsLockOn = (GetKeyState(VK_CAPITAL) & 1) != 0;
  const bool asciiLetter = (wide >= L'a' && wide <= L'z') || (wide >= L'A' && wide <= L'Z');
  key.capsLockInverts = capsLockOn && asciiLetter && vk >= 'A' && vk <= 'Z';
  return key;
}

std::size_t Win32KeyInjector::inject(const std::vector<KeyEvent>& events) {
  if (events.empty()) return 0;
  const HKL layout = GetKeyboardLayout(0);
  std::vector<INPUT> inputs;
  inputs.reserve(events.size());
  for (const KeyEvent& e : events) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    if (e.kind == KeyEvent::Kind::Unicode) {
      in.ki.wScan = static_cast<WORD>(e.unit);
      in.ki.dwFlags = KEYEVENTF_UNICODE;
    } else {
      in.ki.wVk = e.vk;
      if (e.scanCode) {
        in.ki.wScan = static_cast<WORD>(MapVirtualKeyExW(e.vk, MAPVK_VK_TO_VSC, layout) & 0xFFu);
      }
      if (e.extended) in.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
    }
    if (e.up) in.ki.dwFlags |= KEYEVENTF_KEYUP;
    inputs.push_back(in);
  }
  return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

}  // namespace pmx
