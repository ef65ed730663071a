// Small constexpr helpers that keep the pad tables one line per control.
//
// Only the layout sources include this; the rest of the program sees ControlDef and PadDef.
#pragma once

#include <cstdint>

#include "layouts/LayoutTypes.h"

namespace pmx {
namespace layouts {

constexpr std::int16_t kAnsiCharset = 0;
constexpr std::int16_t kSymbolCharset = 2;

// Left, Top, Width, Height in twips.
struct Rect {
  std::int32_t left, top, width, height;
};

// The appearance of a control: its font and its background.
struct Face {
  const char* fontName;
  float fontSize;
  bool bold;
  std::int16_t charset;
  std::uint32_t backColor;
};

// The limit labels look the same on every pad.
constexpr Face kLabelFace{"Arial", 8.25f, false, kAnsiCharset, kColorPadBack};

constexpr ControlDef keyDef(bool inPicKeys, ControlArray array, std::int16_t index, Rect r,
                            const char* caption, const char* tag, const Face& face,
                            Pictogram picture = Pictogram::None, bool visible = true) {
  return ControlDef{
      ControlKind::Key, array,          index,   r.left,        r.top,         r.width,
      r.height,         caption,        tag,     face.fontName, face.fontSize, face.bold,
      face.charset,     face.backColor, picture, visible,       inPicKeys};
}

// One of the four limit labels; they always sit directly on the window.
constexpr ControlDef labelDef(ControlArray array, std::int16_t index, Rect r, const char* text,
                              bool visible) {
  return ControlDef{ControlKind::Label,
                    array,
                    index,
                    r.left,
                    r.top,
                    r.width,
                    r.height,
                    text,
                    "",
                    kLabelFace.fontName,
                    kLabelFace.fontSize,
                    kLabelFace.bold,
                    kLabelFace.charset,
                    kLabelFace.backColor,
                    Pictogram::None,
                    visible,
                    false};
}

// The limit block: captions in the left column, values in the right one, the upper limit above
// the lower one. `left` is where the block starts on the window.
constexpr ControlDef limitCaptionMax(std::int32_t left, bool visible) {
  return labelDef(ControlArray::LabelLimits, 0, {left, 0, 1800, 300}, "Maximum ", visible);
}
constexpr ControlDef limitValueMax(std::int32_t left, bool visible) {
  return labelDef(ControlArray::LimitMax, 0, {left + 1800, 0, 1800, 285}, "100", visible);
}
constexpr ControlDef limitCaptionMin(std::int32_t left, bool visible) {
  return labelDef(ControlArray::LabelLimits, 1, {left, 300, 1800, 300}, "Minimum ", visible);
}
constexpr ControlDef limitValueMin(std::int32_t left, bool visible) {
  return labelDef(ControlArray::LimitMin, 0, {left + 1800, 300, 1800, 285}, "0", visible);
}

}  // namespace layouts
}  // namespace pmx
