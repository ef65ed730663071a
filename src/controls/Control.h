// Keys, labels and the key container of a pad: plain objects owned by their pad window.
//
// A pad paints its controls and hit-tests them itself; they are not native child windows. That
// keeps scaling, relabelling and the limit display plain object updates.
#pragma once

#include <cstdint>
#include <string>

namespace pmx {

// Which control array (or single control) of a pad a control belongs to.
enum class ControlArray : std::uint8_t {
  PicKeys,      // the key container of the value pads
  Standard,     // keyStandard
  End,          // keyEnd
  Move,         // keyMove
  Bit,          // keyBit
  Shift,        // keyShift
  Extra,        // keyExtra
  Close,        // keyClose (single)
  PadSwitch,    // keyPad (single)
  LabelLimits,  // idxLabelLimits
  LimitMin,     // idxLimitMin (single)
  LimitMax,     // idxLimitMax (single)
};

enum class ControlKind : std::uint8_t { Key, Label, Container };

// The stored drawings some keys show. Their shapes live in layouts/Pictograms.
enum class Pictogram : std::uint8_t {
  None,
  MoveUpperLeft,
  MoveUpperRight,
  MoveLowerLeft,
  MoveLowerRight,
  Close,
  PadSwitch,
  Enter,
  Backspace,
  ArrowLeft,
  ArrowRight,
  ArrowUp,
  ArrowDown,
  PageUp,
  PageDown,
  Menu,
};

struct Font {
  std::string name;
  float size = 0;  // points
  bool bold = false;
  std::int16_t charset = 0;  // a Windows font character-set number
};

// Colours are 0x00BBGGRR.
constexpr std::uint32_t kColorWhite = 0x00FFFFFF;
constexpr std::uint32_t kColorGrey = 0x00C0C0C0;
constexpr std::uint32_t kColorRed = 0x000000FF;
constexpr std::uint32_t kColorPadBack = 0x00E0E0E0;
constexpr std::uint32_t kColorButtonFace = 0x80000000 | 15;  // the system's button face
constexpr std::uint32_t kColorBlack = 0x00000000;

// One key (PMXKey), label (PMXIndex) or the key container (picKeys).
struct Control {
  ControlKind kind = ControlKind::Key;
  ControlArray array = ControlArray::Standard;
  std::int16_t index = 0;  // position in its control array; 0 for single controls
  bool inPicKeys = false;  // geometry relative to picKeys rather than to the window

  // Geometry in twips, relative to the container.
  float left = 0, top = 0, width = 0, height = 0;

  // Key caption, or a label's TextOff: 8-bit text in the code page of the font's charset (the
  // layouts' texts), or in the system's ANSI code page (the host's texts), or UTF-8 (the texts of
  // the settings file).
  std::string caption;
  bool systemText = false;  // the caption is in the system's ANSI code page
  bool utf8 = false;        // the caption is UTF-8
  std::string tag;  // keystroke string (UTF-8) or virtual-key code, never interpreted by the key
  Font font;
  std::uint32_t backColor = kColorGrey;
  std::uint32_t foreColor = kColorBlack;
  Pictogram picture = Pictogram::None;
  bool visible = true;

  bool pressed = false;  // shown while a touch holds the key

  void moveResize(float l, float t, float w, float h) {
    left = l;
    top = t;
    width = w;
    height = h;
  }
  bool isKey() const { return kind == ControlKind::Key; }
};

// The lines of a caption as its control shows them: on a key the first backslash and "n" split it
// into an upper and a lower line (a later one stays in the lower line as the two characters); a
// label shows its caption in one line. The split comes before the caption is decoded: in a symbol
// font the two bytes are no line break.
struct CaptionLines {
  std::string upper, lower;
  bool two = false;
};
inline CaptionLines captionLines(ControlKind kind, const std::string& caption) {
  const std::size_t split = kind == ControlKind::Key ? caption.find("\\n") : std::string::npos;
  if (split == std::string::npos) return {caption, std::string(), false};
  return {caption.substr(0, split), caption.substr(split + 2), true};
}

inline bool operator==(const Font& a, const Font& b) {
  return a.name == b.name && a.size == b.size && a.bold == b.bold && a.charset == b.charset;
}

// Whether two states of a control look the same on screen: same place, same drawing. The Tag is
// not drawn.
inline bool sameLook(const Control& a, const Control& b) {
  return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height &&
         a.visible == b.visible && a.pressed == b.pressed && a.backColor == b.backColor &&
         a.foreColor == b.foreColor && a.picture == b.picture && a.systemText == b.systemText &&
         a.utf8 == b.utf8 && a.caption == b.caption && a.font == b.font;
}

}  // namespace pmx
