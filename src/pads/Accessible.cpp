#include "pads/Accessible.h"

#include <algorithm>
#include <iterator>

#include "common/HostProtocol.h"
#include "common/Unicode.h"
#include "layouts/AlphaPadLayout.h"
#include "layouts/ValuePadLayouts.h"
#include "pads/Pad.h"
#include "settings/Settings.h"
#include "settings/SettingsNames.h"

namespace pmx {

namespace {

constexpr std::int16_t kSymbolCharset = 2;

// A part of the client area in twips; right and bottom lie just outside.
struct Area {
  float left, top, right, bottom;
};

Area areaOf(const Pad& pad, const Control& c) {
  const float left = pad.originLeft(c) + c.left, top = pad.originTop(c) + c.top;
  return {left, top, left + c.width, top + c.height};
}

// Where a control is seen: the part that the controls drawn over it (later in the layout) leave
// uncovered, as far as they reach across its whole width, as the limit labels lie over the
// cursor-up key of the alphanumeric pad. Empty when it is covered whole.
Area seenArea(const Pad& pad, std::size_t i) {
  const std::vector<Control>& controls = pad.controls();
  Area a = areaOf(pad, controls[i]);
  for (std::size_t j = i + 1; j < controls.size(); ++j) {
    if (!pad.drawn(controls[j])) continue;
    const Area cover = areaOf(pad, controls[j]);
    if (cover.left > a.left || cover.right < a.right || cover.bottom <= a.top ||
        cover.top >= a.bottom) {
      continue;
    }
    if (cover.top <= a.top) {
      a.top = std::min(cover.bottom, a.bottom);
    } else if (cover.bottom >= a.bottom) {
      a.bottom = cover.top;
    }
  }
  return a;
}

// Characters as one line of text: each run of blanks (no-break spaces too) one blank, none at
// either end.
std::string tidy(const std::u32string& text) {
  std::string out;
  bool blank = false;
  for (char32_t c : text) {
    if (c == U' ' || c == U'\u00A0') {
      blank = !out.empty();
      continue;
    }
    if (blank) out += ' ';
    blank = false;
    appendUtf8(out, c);
  }
  return out;
}

// The characters a caption line shows; none where a symbol font draws its bytes as pictures.
std::u32string shownCharacters(Context& context, const Control& c, const std::string& line) {
  if (c.font.charset == kSymbolCharset && !c.systemText) return std::u32string();
  if (c.utf8) return decodeUtf8(line);
  return decodeUtf8(platformText(context, line, c.systemText ? kDefaultCharset : c.font.charset));
}

// The caption as the control shows it: both lines of a two-line caption, upper line first.
std::string shownText(Context& context, const Control& c) {
  const CaptionLines lines = captionLines(c.kind, c.caption);
  std::u32string text = shownCharacters(context, c, lines.upper);
  if (lines.two) {
    text += U' ';
    text += shownCharacters(context, c, lines.lower);
  }
  return tidy(text);
}

// What the pictures of the keys stand for, by Pictogram; the pad key's is the title of its pad.
constexpr const char* kPictogramNames[] = {"",
                                           "Move to the upper left corner",
                                           "Move to the upper right corner",
                                           "Move to the lower left corner",
                                           "Move to the lower right corner",
                                           "Close",
                                           "",
                                           "Enter",
                                           "Backspace",
                                           "Left",
                                           "Right",
                                           "Up",
                                           "Down",
                                           "Page up",
                                           "Page down",
                                           "Menu"};
static_assert(std::size(kPictogramNames) == static_cast<std::size_t>(Pictogram::Menu) + 1,
              "a name for every pictogram");

// What a key does that shows neither a caption nor a picture of its own: the Shift keys draw
// arrows of a symbol font, Tab too, and the space bar shows nothing.
std::string deedOf(const Control& c, const std::string& automationId) {
  if (c.array == ControlArray::Shift && c.index == 0) return "Shift lock";
  if (c.array == ControlArray::Shift && (c.index == 1 || c.index == 6)) return "Shift";
  if (c.tag == "9") return "Tab";  // key codes: only the alphanumeric pad's keys come here
  if (c.tag == "32") return "Space";
  return automationId;
}

// The name under which assistive technology and test scripts find a control.
std::string automationIdOf(const Control& c) {
  const std::string name = settingsKeyName(c.kind, c.array, c.index);
  if (!name.empty()) return name;
  switch (c.array) {
    case ControlArray::Move:
      return "Move" + std::to_string(c.index);
    case ControlArray::Bit:
      return "Bit" + std::to_string(c.index);
    case ControlArray::PadSwitch:
      return "Pad";
    case ControlArray::Close:
      return "Close";
    case ControlArray::LabelLimits:  // as the settings file names their captions
      return c.index == 0 ? "Max" : "Min";
    case ControlArray::LimitMax:
      return "LimitMax";
    default:
      return "LimitMin";
  }
}

// A pad's title in the host's language: [<host language> Text], as the limit captions are read,
// once a language request has come; the built-in English title before, or for an empty value.
std::string titleOf(Context& context, const PadDef& pad) {
  const ModuleValues& v = context.values;
  for (const PadTitle& t : padTitles()) {
    if (t.pad != &pad) continue;
    if (!v.languageApplied) return t.title;
    const std::string section = std::to_string(v.languageId) + " Text";
    const std::string text = tidy(decodeUtf8(settingText(context, section, t.key, "", v.charSet)));
    return text.empty() ? t.title : text;
  }
  return pad.name;
}

}  // namespace

AccessibleTree Pad::accessibleTree() {
  if (title_.empty()) {
    title_ = titleOf(context_, layout_);
    switchTitle_ =
        titleOf(context_, switchPadNumber() == kPadAlpha ? alphaPadLayout() : numPadLayout());
  }
  AccessibleTree tree;
  tree.name = title_;
  tree.automationId = layout_.name;
  tree.load = loads_;
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    const Control& c = controls_[i];
    if (c.kind == ControlKind::Container || !drawn(c)) continue;
    const Area a = seenArea(*this, i);
    if (a.bottom <= a.top) continue;
    AccessibleElement e;
    e.role = c.isKey() ? AccessibleRole::Button : AccessibleRole::Text;
    e.array = c.array;
    e.index = c.index;
    e.automationId = automationIdOf(c);
    const std::string text = shownText(context_, c);
    const std::string picture = c.picture == Pictogram::PadSwitch
                                    ? switchTitle_
                                    : kPictogramNames[static_cast<std::size_t>(c.picture)];
    if (text.empty()) {
      e.name = picture.empty() ? deedOf(c, e.automationId) : picture;
    } else {
      e.name = picture.empty() ? text : text + " (" + picture + ")";
    }
    e.left = a.left;
    e.top = a.top;
    e.width = a.right - a.left;
    e.height = a.bottom - a.top;
    e.toggle = toggleState(c);
    tree.elements.push_back(std::move(e));
  }
  return tree;
}

bool Pad::invokeAccessible(ControlArray array, int index) {
  if (!Visible()) return false;
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    const Control& c = controls_[i];
    if (c.array != array || c.index != index) continue;
    const Area a = seenArea(*this, i);
    if (!c.isKey() || !drawn(c) || a.bottom <= a.top) return false;
    const float x = (a.left + a.right) / 2, y = (a.top + a.bottom) / 2;
    contactDown(kAutomationContact, x, y);
    // The touch may hide or unload this pad: nothing of it is used after.
    contactUp(kAutomationContact, x, y);
    return true;
  }
  return false;
}

ToggleState Pad::toggleState(const Control&) const { return ToggleState::None; }

AccessibleChanges accessibleChanges(const AccessibleTree& before, const AccessibleTree& after) {
  AccessibleChanges changes;
  const auto same = [](const AccessibleElement& a, const AccessibleElement& b) {
    return a.automationId == b.automationId;
  };
  changes.structure =
      before.load != after.load || !std::equal(before.elements.begin(), before.elements.end(),
                                               after.elements.begin(), after.elements.end(), same);
  if (changes.structure) return changes;
  for (std::size_t i = 0; i < after.elements.size(); ++i) {
    if (before.elements[i].name != after.elements[i].name) changes.names.push_back(i);
    if (before.elements[i].toggle != after.elements[i].toggle) changes.toggles.push_back(i);
  }
  return changes;
}

}  // namespace pmx
