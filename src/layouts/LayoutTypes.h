// The shape of the constant pad definitions in layouts/.
#pragma once

#include <cstddef>
#include <cstdint>

#include "controls/Control.h"

namespace pmx {

// One control as the layout defines it. Geometry in twips, relative to its container.
struct ControlDef {
  ControlKind kind;
  ControlArray array;
  std::int16_t index;
  std::int32_t left, top, width, height;
  const char* caption;  // 8-bit text (Windows-1252, or the symbol font's own code points)
  const char* tag;      // keystroke string or decimal virtual-key code; "" for none
  const char* fontName;
  float fontSize;  // points
  bool bold;
  std::int16_t charset;  // 0 ANSI, 2 symbol
  std::uint32_t backColor;
  Pictogram picture;
  bool visible;
  bool inPicKeys;
};

struct PadDef {
  const char* name;  // "FNumPad", ...
  std::int32_t clientWidth, clientHeight;  // twips
  std::int32_t designLeft, designTop;      // top-left corner of the client area on the screen
  std::uint32_t backColor;
  const ControlDef* controls;
  std::size_t controlCount;
};

}  // namespace pmx
