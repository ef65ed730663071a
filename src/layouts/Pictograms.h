// Vector drawings of the pictograms some keys show.
//
// A drawing is a list of shapes in a square box of 0..100 units that the painter maps onto the
// picture area of the key (centred, keeping the aspect). Painted in order, later shapes on top.
#pragma once

#include <cstddef>
#include <cstdint>

#include "controls/Control.h"

namespace pmx {

struct PictoPoint {
  std::int16_t x, y;  // 0..100
};

enum class ShapeKind : std::uint8_t {
  Polygon,   // filled with `fill`, outlined with `line` unless line is kNoColor
  Polyline,  // an open line of width `width` units in colour `line`
};

constexpr std::uint32_t kNoColor = 0xFFFFFFFF;
constexpr std::size_t kMaxShapePoints = 12;

struct PictoShape {
  ShapeKind kind;
  std::uint32_t fill;  // 0x00BBGGRR or kNoColor
  std::uint32_t line;  // 0x00BBGGRR or kNoColor
  std::uint8_t width;  // line width in units (at least 1)
  std::uint8_t pointCount;
  PictoPoint points[kMaxShapePoints];
};

struct PictogramDrawing {
  const PictoShape* shapes;
  std::size_t count;
};

// The drawing of a pictogram; an empty drawing for Pictogram::None.
PictogramDrawing pictogramDrawing(Pictogram picture);

// Where a key of width w and height h (in any unit, from its top left corner) shows its pictogram
// and its caption: the painter and the settings checker both go by it. The drawing's square box
// is centred and takes four fifths of the shorter side; on the page keys a small box keeps to the
// left and the caption takes the rest of the key.
struct KeyFace {
  float pictureLeft = 0, pictureTop = 0, pictureSide = 0;  // the drawing's 0..100 box
  float textLeft = 0;  // the caption is centred between here and the right edge
};
KeyFace keyFace(Pictogram picture, float w, float h);

// The part of its 0..100 box a drawing covers; all zero for an empty drawing.
struct PictoBounds {
  int left = 0, top = 0, right = 0, bottom = 0;
};
PictoBounds drawingBounds(const PictogramDrawing& drawing);

// A drawing that stands in for a character of the Symbol or Wingdings font (names in any case)
// where the system lacks the font or its glyph: the arrows and bars of the Tab, Shift and
// Shift-lock captions, the system key's flag. Characters it does not know get an empty drawing:
// nothing is better than an empty box.
PictogramDrawing symbolGlyphDrawing(const char* fontName, unsigned char ch);

}  // namespace pmx
