// From keystrokes to input events: modifier order, the keyboard layout's part, Unicode fallback,
// and that no key is ever left pressed, also when the platform delivers only part of a batch.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "controls/KeyEvents.h"
#include "controls/Keystrokes.h"

namespace pmx {
namespace {

// A small layout in the manner of a German one: letters and digits on their keys, upper case with
// Shift, "@" with Alt Gr (Ctrl+Alt) on Q, "^" a dead key with Shift (as on US-International),
// "\u00E9" (e acute) on no key.
struct FakeLayout {
  bool capsLock = false;
  CharacterKey operator()(char32_t c) const {
    CharacterKey key;
    if (c >= 'a' && c <= 'z') {
      key.hasKey = true;
      key.vk = static_cast<VirtualKeyCode>(c - 'a' + 'A');
    } else if (c >= 'A' && c <= 'Z') {
      key.hasKey = true;
      key.vk = static_cast<VirtualKeyCode>(c);
      key.shift = true;
    } else if ((c >= '0' && c <= '9') || c == ' ') {
      key.hasKey = true;
      key.vk = static_cast<VirtualKeyCode>(c);
    } else if (c == '@') {
      key.hasKey = true;
      key.vk = 'Q';
      key.ctrl = key.alt = true;
    } else if (c == '^') {
      key.hasKey = key.dead = key.shift = true;
      key.vk = '6';
    }
    key.capsLockInverts = capsLock && key.hasKey && key.vk >= 'A' && key.vk <= 'Z';
    return key;
  }
};

std::vector<KeyEvent> eventsFor(const std::string& text, FakeLayout layout = {}) {
  const KeystrokeParse p = parseKeystrokes(text);
  EXPECT_TRUE(p.ok) << text;
  return keyEventsFor(p.strokes, layout);
}

// "S" Shift, "C" Ctrl, "A" Alt, other keys as "vk<n>", Unicode as "u<n>"; "v" down, "^" up,
// "*" extended. Example: "Sv vk13v vk13^ S^".
std::string render(const std::vector<KeyEvent>& events) {
  std::string out;
  for (const KeyEvent& e : events) {
    if (!out.empty()) out += ' ';
    if (e.kind == KeyEvent::Kind::Unicode) {
      out += "u" + std::to_string(static_cast<unsigned>(e.unit));
    } else if (e.vk == 16) {
      out += 'S';
    } else if (e.vk == 17) {
      out += 'C';
    } else if (e.vk == 18) {
      out += 'A';
    } else {
      out += "vk" + std::to_string(e.vk);
    }
    out += e.up ? '^' : 'v';
    if (e.extended) out += '*';
  }
  return out;
}

// Plays events against a key state; returns false on a release of a key that is not down.
struct KeyState {
  std::set<std::pair<int, unsigned>> down;  // (kind, code)
  bool apply(const KeyEvent& e) {
    const std::pair<int, unsigned> key{static_cast<int>(e.kind),
                                       e.kind == KeyEvent::Kind::Key ? e.vk : e.unit};
    if (!e.up) {
      down.insert(key);
      return true;
    }
    return down.erase(key) == 1;
  }
};

TEST(KeyEvents, OnlyCaretAndEditingKeysAreExtended) {
  EXPECT_EQ(render(eventsFor("{HOME}{END}{LEFT}{RIGHT}{UP}{DOWN}{PGUP}{PGDN}{INS}{DEL}")),
            "vk36v* vk36^* vk35v* vk35^* vk37v* vk37^* vk39v* vk39^* vk38v* vk38^* vk40v* vk40^* "
            "vk33v* vk33^* vk34v* vk34^* vk45v* vk45^* vk46v* vk46^*");
  EXPECT_EQ(render(eventsFor("^{BS}{ENTER}1")), "Cv vk8v vk8^ C^ vk13v vk13^ vk49v vk49^");
}

TEST(KeyEvents, CharactersGoThroughTheLayout) {
  EXPECT_EQ(render(eventsFor("a1 ")), "vk65v vk65^ vk49v vk49^ vk32v vk32^");
  // The layout's modifiers are added to the stroke's own.
  EXPECT_EQ(render(eventsFor("A")), "Sv vk65v vk65^ S^");
  EXPECT_EQ(render(eventsFor("+^%a")), "Sv Cv Av vk65v vk65^ S^ C^ A^");
  EXPECT_EQ(render(eventsFor("+@")), "Sv Cv Av vk81v vk81^ S^ C^ A^");
  // Without a key: a Unicode event, still inside the stroke's modifiers; beyond the first plane
  // one for each half of the surrogate pair.
  EXPECT_EQ(render(eventsFor("^{^}\xC3\xA9\xF0\x9F\x98\x80\xEF\xBF\xBF\xF4\x8F\xBF\xBF")),
            "Cv u94v u94^ C^ u233v u233^ u55357v u55357^ u56832v u56832^ u65535v u65535^ "
            "u56319v u56319^ u57343v u57343^");
  // NUL, lone surrogates and the virtual-key codes 0 and 0xFF are no keys.
  using K = KeyStroke::Kind;
  const std::vector<KeyStroke> none = {{K::Character, 0, 0},      {K::Character, 0, 0xD800},
                                       {K::Character, 0, 0xDFFF}, {K::VirtualKey, 0},
                                       {K::VirtualKey, 0xFF},     {K::VirtualKey, 0xFE}};
  EXPECT_EQ(render(keyEventsFor(none, FakeLayout{})), "vk254v vk254^");
}

// Caps Lock turns Shift around for a plain letter, so that it arrives as written; not for a stroke
// with modifiers of its own (it means the key), nor for a character the layout types with Alt Gr.
TEST(KeyEvents, CapsLockIsCompensatedForPlainLetters) {
  const FakeLayout caps{true};
  EXPECT_EQ(render(eventsFor("a", caps)), "Sv vk65v vk65^ S^");
  EXPECT_EQ(render(eventsFor("A", caps)), "vk65v vk65^");
  EXPECT_EQ(render(eventsFor("1", caps)), "vk49v vk49^");
  EXPECT_EQ(render(eventsFor("+a", caps)), "Sv vk65v vk65^ S^");
  EXPECT_EQ(render(eventsFor("^a", caps)), "Cv vk65v vk65^ C^");
  EXPECT_EQ(render(eventsFor("@", caps)), "Cv Av vk81v vk81^ C^ A^");
}

// Whatever part of a batch the platform delivered, the releases leave no key down: ordinary keys
// first, then the modifiers, and never a release of a key that is up.
TEST(KeyEvents, EveryKeyPressedIsReleasedAlsoAfterAPartialBatch) {
  for (const char* text :
       {"{END}{LEFT 8} {LEFT}", "+(aB@)^{^}%\xC3\xA9{LEFT 3}~", "+^%{ENTER}A^{^}{LEFT}"}) {
    const std::vector<KeyEvent> events = eventsFor(text);
    for (std::size_t delivered = 0; delivered <= events.size(); ++delivered) {
      SCOPED_TRACE(std::string(text) + " cut after " + std::to_string(delivered));
      KeyState state;
      for (std::size_t i = 0; i < delivered; ++i) ASSERT_TRUE(state.apply(events[i]));
      bool modifierSeen = false;
      for (const KeyEvent& r : releasesAfter(events, delivered)) {
        EXPECT_TRUE(r.up);
        const bool modifier = r.kind == KeyEvent::Kind::Key && r.vk >= 16 && r.vk <= 18;
        EXPECT_FALSE(modifierSeen && !modifier) << "an ordinary key after a modifier";
        modifierSeen = modifierSeen || modifier;
        EXPECT_TRUE(state.apply(r)) << "the release of a key that is up";
      }
      EXPECT_TRUE(state.down.empty());
    }
  }
  // Cut right after Shift, Ctrl, Alt and Enter went down: Enter first, then Shift, Ctrl, Alt,
  // Enter keeping its flags.
  const std::vector<KeyEvent> events = eventsFor("+^%{ENTER}");
  EXPECT_EQ(render(releasesAfter(events, 4)), "vk13^ S^ C^ A^");
  EXPECT_EQ(render(releasesAfter(eventsFor("{LEFT}"), 1)), "vk37^*");
  // A key pressed twice is released once; the left and right keys of Shift, Ctrl and Alt, which a
  // key code can name, are modifiers too.
  EXPECT_EQ(render(releasesAfter({typedKeyEvent(0xA1, false), typedKeyEvent(0xA3, false),
                                  typedKeyEvent(65, false), typedKeyEvent(65, false)},
                                 4)),
            "vk65^ vk161^ vk163^");
  EXPECT_TRUE(releasesAfter(events, events.size() + 5).empty());
}

}  // namespace
}  // namespace pmx
