#include "controls/Keystrokes.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <utility>

#include "common/Unicode.h"
#include "controls/KeyEvents.h"
#include "controls/VirtualKeys.h"

namespace pmx {
namespace {

struct KeyName {
  const char* name;  // upper case
  VirtualKeyCode vk;
};

constexpr KeyName kKeyNames[] = {
    {"ENTER", kVkReturn},      {"ESC", kVkEscape},
    {"BS", kVkBack},           {"BKSP", kVkBack},
    {"BACKSPACE", kVkBack},    {"DEL", kVkDelete},
    {"DELETE", kVkDelete},     {"INS", kVkInsert},
    {"INSERT", kVkInsert},     {"HOME", kVkHome},
    {"END", kVkEnd},           {"LEFT", kVkLeft},
    {"RIGHT", kVkRight},       {"UP", kVkUp},
    {"DOWN", kVkDown},         {"PGUP", kVkPrior},
    {"PGDN", kVkNext},         {"TAB", kVkTab},
    {"BREAK", kVkCancel},      {"CAPSLOCK", kVkCapital},
    {"NUMLOCK", kVkNumLock},   {"SCROLLLOCK", kVkScroll},
    {"HELP", kVkHelp},         {"PRTSC", kVkSnapshot},
    {"ADD", kVkAdd},           {"SUBTRACT", kVkSubtract},
    {"MULTIPLY", kVkMultiply}, {"DIVIDE", kVkDivide},
    {"F1", functionKey(1)},    {"F2", functionKey(2)},
    {"F3", functionKey(3)},    {"F4", functionKey(4)},
    {"F5", functionKey(5)},    {"F6", functionKey(6)},
    {"F7", functionKey(7)},    {"F8", functionKey(8)},
    {"F9", functionKey(9)},    {"F10", functionKey(10)},
    {"F11", functionKey(11)},  {"F12", functionKey(12)},
    {"F13", functionKey(13)},  {"F14", functionKey(14)},
    {"F15", functionKey(15)},  {"F16", functionKey(16)},
    {"ESCAPE", kVkEscape},
};
static_assert(std::size(kKeyNames) == 45, "a key name was added or lost");

constexpr char32_t upperAscii(char32_t c) { return (c >= 'a' && c <= 'z') ? c - 'a' + 'A' : c; }
constexpr bool isDigit(char32_t c) { return c >= '0' && c <= '9'; }

// Every entry names a real key with an upper-case name of at least two characters (a single
// character in braces is that character, never a name).
constexpr bool namesAreWellFormed() {
  for (const KeyName& entry : kKeyNames) {
    if (entry.vk == 0 || entry.name[0] == '\0' || entry.name[1] == '\0') return false;
    for (const char* c = entry.name; *c != '\0'; ++c) {
      if (upperAscii(static_cast<char32_t>(*c)) != static_cast<char32_t>(*c)) return false;
    }
  }
  return true;
}
static_assert(namesAreWellFormed(), "key names are upper case, two characters or more");

// The virtual key of a braced name of two or more characters, or 0 when there is none.
VirtualKeyCode lookUpKeyName(const std::u32string& text, std::size_t begin, std::size_t end) {
  for (const KeyName& entry : kKeyNames) {
    std::size_t i = begin;
    const char* n = entry.name;
    while (i < end && *n != '\0' && upperAscii(text[i]) == static_cast<char32_t>(*n)) {
      ++i;
      ++n;
    }
    if (i == end && *n == '\0') return entry.vk;
  }
  return 0;
}

struct Modifiers {
  bool shift = false, ctrl = false, alt = false;
  Modifiers operator|(const Modifiers& o) const {
    return {shift || o.shift, ctrl || o.ctrl, alt || o.alt};
  }
};

// An open group, or the string itself at the bottom of the stack.
struct Group {
  Modifiers held;          // everything held for the keys inside, outer groups included
  std::size_t openOffset;  // offset of its "("
  bool hasModifiers;       // modifiers stood right before the "("
  bool hasItem;            // a key or a group stands inside
};

class Parser {
 public:
  explicit Parser(const std::u32string& text) : text_(text) {}

  KeystrokeParse run() {
    groups_.push_back({Modifiers{}, 0, false, false});
    const std::size_t n = text_.size();
    std::size_t i = 0;
    while (i < n) {
      const char32_t c = text_[i];
      switch (c) {
        case '+':
        case '^':
        case '%':
          if (!pendingAny_) pendingOffset_ = i;
          pendingAny_ = true;
          if (c == '+') pending_.shift = true;
          if (c == '^') pending_.ctrl = true;
          if (c == '%') pending_.alt = true;
          ++i;
          break;
        case '(':
          if (static_cast<int>(groups_.size()) > kMaxKeystrokeGroupDepth)
            return fail(KeystrokeError::GroupTooDeep, i);
          groups_.push_back({groups_.back().held | pending_, i, pendingAny_, false});
          clearPending();
          ++i;
          break;
        case ')': {
          if (pendingAny_) return fail(KeystrokeError::DanglingModifier, pendingOffset_);
          if (groups_.size() < 2) return fail(KeystrokeError::StrayParenthesis, i);
          const Group closed = groups_.back();
          groups_.pop_back();
          if (closed.hasModifiers && !closed.hasItem)
            return fail(KeystrokeError::DanglingModifier, closed.openOffset);
          groups_.back().hasItem = true;
          ++i;
          break;
        }
        case '{':
          if (!braced(i)) return std::move(result_);
          break;
        case '}':
          return fail(KeystrokeError::StrayBrace, i);
        case '~':
          if (!emit(virtualKey(kVkReturn), 1, i)) return std::move(result_);
          ++i;
          break;
        default:
          if (!emit(character(c), 1, i)) return std::move(result_);
          ++i;
          break;
      }
    }
    if (pendingAny_) return fail(KeystrokeError::DanglingModifier, pendingOffset_);
    if (groups_.size() > 1) return fail(KeystrokeError::UnclosedGroup, groups_.back().openOffset);
    result_.ok = true;
    return std::move(result_);
  }

 private:
  static KeyStroke virtualKey(VirtualKeyCode vk) {
    KeyStroke s;
    s.kind = KeyStroke::Kind::VirtualKey;
    s.vk = vk;
    return s;
  }
  static KeyStroke character(char32_t ch) {
    KeyStroke s;
    s.kind = KeyStroke::Kind::Character;
    s.ch = ch;
    return s;
  }

  void clearPending() {
    pending_ = Modifiers{};
    pendingAny_ = false;
  }

  void setFailure(KeystrokeError error, std::size_t offset) {
    result_.ok = false;
    result_.error = error;
    result_.errorOffset = offset;
  }
  KeystrokeParse fail(KeystrokeError error, std::size_t offset) {
    setFailure(error, offset);
    return std::move(result_);
  }

  // Appends `count` copies of `stroke` with the held modifiers; false when that would exceed the
  // total limit (the result then holds the failure).
  bool emit(KeyStroke stroke, int count, std::size_t offset) {
    const Modifiers held = groups_.back().held | pending_;
    stroke.shift = held.shift;
    stroke.ctrl = held.ctrl;
    stroke.alt = held.alt;
    for (int k = 0; k < count; ++k) {
      if (result_.strokes.size() >= kMaxKeystrokes) {
        setFailure(KeystrokeError::TooManyKeystrokes, offset);
        return false;
      }
      result_.strokes.push_back(stroke);
    }
    clearPending();
    groups_.back().hasItem = true;
    return true;
  }

  // A braced item at `i` ("{" name [" " count] "}"); advances `i` past it. False on a fault (the
  // result then holds it).
  bool braced(std::size_t& i) {
    const std::size_t n = text_.size();
    const std::size_t open = i;
    const std::size_t nameBegin = open + 1;
    if (nameBegin >= n) {
      setFailure(KeystrokeError::UnclosedBrace, open);
      return false;
    }
    // The first character belongs to the name whatever it is, so that "{}}" and "{{}" name the
    // brace characters; a lone "{}" names nothing.
    if (text_[nameBegin] == '}' &&
        (nameBegin + 1 >= n || (text_[nameBegin + 1] != '}' && text_[nameBegin + 1] != ' '))) {
      setFailure(KeystrokeError::UnknownName, open);
      return false;
    }
    std::size_t j = nameBegin + 1;
    while (j < n && text_[j] != '}' && text_[j] != ' ') ++j;
    const std::size_t nameEnd = j;
    if (j >= n) {
      setFailure(KeystrokeError::UnclosedBrace, open);
      return false;
    }
    int count = 1;
    if (text_[j] == ' ') {
      const std::size_t digitsBegin = ++j;
      int value = 0;
      while (j < n && isDigit(text_[j])) {
        value = value * 10 + static_cast<int>(text_[j] - '0');
        if (value > kMaxKeystrokeRepeat) {
          value = kMaxKeystrokeRepeat;
          result_.cappedOffset = std::min(result_.cappedOffset, open);
        }
        ++j;
      }
      if (j >= n) {
        setFailure(KeystrokeError::UnclosedBrace, open);
        return false;
      }
      if (j == digitsBegin || text_[j] != '}') {
        setFailure(KeystrokeError::BadCount, digitsBegin);
        return false;
      }
      count = value;
    }
    KeyStroke stroke;
    if (nameEnd - nameBegin == 1) {
      stroke = character(text_[nameBegin]);
    } else {
      const VirtualKeyCode vk = lookUpKeyName(text_, nameBegin, nameEnd);
      if (vk == 0) {
        setFailure(KeystrokeError::UnknownName, open);
        return false;
      }
      stroke = virtualKey(vk);
    }
    if (!emit(stroke, count, open)) return false;
    i = j + 1;
    return true;
  }

  const std::u32string& text_;
  KeystrokeParse result_;
  std::vector<Group> groups_;
  Modifiers pending_;
  bool pendingAny_ = false;
  std::size_t pendingOffset_ = 0;
};

}  // namespace

KeystrokeParse parseKeystrokes(const std::u32string& text) { return Parser(text).run(); }

KeystrokeParse parseKeystrokes(const std::string& text) {
  return parseKeystrokes(decodeUtf8(text));
}

std::string keystrokeErrorMessage(const std::u32string& text, const KeystrokeParse& parse) {
  if (parse.ok) return std::string();
  const std::size_t at = parse.errorOffset;
  std::string where = "character " + std::to_string(at + 1);
  if (at < text.size()) where += " \"" + spelledCharacters(text.substr(at, 1)) + "\"";
  switch (parse.error) {
    case KeystrokeError::UnclosedBrace:
      return where + ": the brace is never closed; expected \"}\"";
    case KeystrokeError::StrayBrace:
      return where + ": no brace is open; write {}} for the character";
    case KeystrokeError::UnknownName: {
      const std::size_t close = text.find('}', at + 1);
      const std::u32string name =
          text.substr(at, close == std::u32string::npos ? 1 : close - at + 1);
      return "character " + std::to_string(at + 1) + " \"" + spelledCharacters(name) +
             "\": no such key; expected one character or a key name such as ENTER, TAB, LEFT, F1";
    }
    case KeystrokeError::BadCount:
      return where + ": expected a repeat count (decimal digits) and \"}\"";
    case KeystrokeError::UnclosedGroup:
      return where + ": the group is never closed; expected \")\"";
    case KeystrokeError::StrayParenthesis:
      return where + ": no group is open; write {)} for the character";
    case KeystrokeError::GroupTooDeep:
      return where + ": groups nest at most " + std::to_string(kMaxKeystrokeGroupDepth) + " deep";
    case KeystrokeError::DanglingModifier:
      return where + ": no key follows the modifier; write {+} {^} {%} for the characters";
    case KeystrokeError::TooManyKeystrokes:
      return where + ": more than " + std::to_string(kMaxKeystrokes) + " keystrokes in all";
    case KeystrokeError::None:
      break;
  }
  return where + ": malformed";
}

void sendKeystrokes(KeyInjector& keys, const std::string& text) {
  const KeystrokeParse parsed = parseKeystrokes(text);
  if (!parsed.ok || parsed.strokes.empty()) return;
  injectKeyEvents(keys,
                  keyEventsFor(parsed.strokes, [&](char32_t ch) { return keys.characterKey(ch); }));
}

}  // namespace pmx
