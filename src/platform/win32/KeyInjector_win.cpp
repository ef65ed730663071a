#include "platform/win32/KeyInjector_win.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include "controls/KeyEvents.h"

namespace pmx {
namespace {

// How the keyboard layout `layout` types the ANSI character `ch`.
CharacterKey characterKey(char ch, HKL layout, bool capsLockOn) {
  CharacterKey key;
  wchar_t wide = 0;
  if (MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, &ch, 1, &wide, 1) != 1) return key;
  key.unit = static_cast<char16_t>(wide);
  const SHORT scan = VkKeyScanExW(wide, layout);
  if (scan == -1) return key;
  const unsigned vk = static_cast<unsigned>(scan) & 0xFFu;
  const unsigned state = (static_cast<unsigned>(scan) >> 8) & 0xFFu;
  // Only Shift (1), Ctrl (2) and Alt (4) can be pressed for it; Hankaku and the reserved states
  // cannot, and a dead key would wait for the next key instead of typing the character.
  if (vk == 0 || vk == 0xFFu || (state & ~0x07u) != 0) return key;
  if ((MapVirtualKeyExW(vk, MAPVK_VK_TO_CHAR, layout) & 0x80000000u) != 0) return key;
  key.hasKey = true;
  key.vk = static_cast<VirtualKeyCode>(vk);
  key.shift = (state & 1u) != 0;
  key.ctrl = (state & 2u) != 0;
  key.alt = (state & 4u) != 0;
  const bool asciiLetter = (wide >= L'a' && wide <= L'z') || (wide >= L'A' && wide <= L'Z');
  key.capsLockInverts = capsLockOn && asciiLetter && vk >= 'A' && vk <= 'Z';
  return key;
}

INPUT toInput(const KeyEvent& e, HKL layout) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.time = 0;
  in.ki.dwExtraInfo = 0;
  if (e.kind == KeyEvent::Kind::Unicode) {
    in.ki.wVk = 0;
    in.ki.wScan = static_cast<WORD>(e.unit);
    in.ki.dwFlags = KEYEVENTF_UNICODE | (e.up ? KEYEVENTF_KEYUP : 0);
  } else {
    in.ki.wVk = e.vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyExW(e.vk, MAPVK_VK_TO_VSC, layout) & 0xFFu);
    in.ki.dwFlags = (e.up ? KEYEVENTF_KEYUP : 0) | (e.extended ? KEYEVENTF_EXTENDEDKEY : 0);
  }
  return in;
}

std::vector<INPUT> toInputs(const std::vector<KeyEvent>& events, HKL layout) {
  std::vector<INPUT> inputs;
  inputs.reserve(events.size());
  for (const KeyEvent& e : events) inputs.push_back(toInput(e, layout));
  return inputs;
}

// The number of events that went into the input stream.
std::size_t send(std::vector<INPUT>& inputs) {
  if (inputs.empty()) return 0;
  return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

}  // namespace

void Win32KeyInjector::sendKeys(const std::vector<KeyStroke>& strokes) {
  const HKL layout = GetKeyboardLayout(0);
  const bool capsLockOn = (GetKeyState(VK_CAPITAL) & 1) != 0;
  const std::vector<KeyEvent> events =
      keyEventsFor(strokes, [&](char ch) { return characterKey(ch, layout, capsLockOn); });
  std::vector<INPUT> inputs = toInputs(events, layout);
  const std::size_t delivered = send(inputs);
  if (delivered < inputs.size()) {
    // Part of the batch was refused: release whatever the delivered part left pressed, so that
    // no Shift, Ctrl or Alt stays down in the target.
    std::vector<INPUT> releases = toInputs(releasesAfter(events, delivered), layout);
    send(releases);
  }
}

void Win32KeyInjector::keyEvent(std::uint8_t vk, bool up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.wScan = 0;
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  in.ki.time = 0;
  in.ki.dwExtraInfo = 0;
  SendInput(1, &in, sizeof(INPUT));
}

}  // namespace pmx
