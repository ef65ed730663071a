// Where a pad goes next to the host's field: the placement modes.
#pragma once

#include <cstdint>

#include "platform/Platform.h"

namespace pmx {

// A monitor in twips. Inside it a pixel is 1440 / its DPI twips. Its top-left corner lies where
// its pixel position puts it at 96 DPI (15 twips a pixel): a monitor is never larger in twips
// than that, its DPI never lower, so monitors of different DPIs never overlap in twips. A pad is
// placed in the twips of its monitor, and its pixels follow from them.
struct MonitorArea {
  MonitorArea() = default;
  explicit MonitorArea(const Monitor& monitor);
  float left = 0, top = 0, width = 0, height = 0;
  float pixel = 15;  // twips per pixel
  // Converts between the pixels of the desktop and these twips.
  float twipsX(std::int32_t x) const { return origin(bounds.left) + (x - bounds.left) * pixel; }
  float twipsY(std::int32_t y) const { return origin(bounds.top) + (y - bounds.top) * pixel; }
  // In whole twips, rounded half to even.
  TwipRect twips(const PixelRect& rect) const;
  // The pixels of a window at this position and size: each edge on its nearest pixel.
  PixelRect pixels(float left, float top, float width, float height) const;

 private:
  static float origin(std::int32_t pixel) { return static_cast<float>(pixel) * 15.0f; }
  PixelRect bounds;
};

bool sameMonitor(const Monitor& a, const Monitor& b);

// What a placement works with, all in twips.
struct PlacementInput {
  float padLeft = 0, padTop = 0;       // the pad's current position
  float padWidth = 0, padHeight = 0;   // W, H
  // The monitor the pad goes on, the one that holds the field: its top-left corner (0, 0 on
  // the primary monitor) and its size SW, SH.
  float screenLeft = 0, screenTop = 0;
  float screenWidth = 0, screenHeight = 0;
  float pixelX = 15, pixelY = 15;     // PX, PY: one pixel in twips
  TwipRect field;                      // F
  // The pad is on that monitor now. A pad on another monitor is moved there even when it is
  // clear of the field.
  bool padOnScreen = true;

  void setScreen(const MonitorArea& monitor);
};

struct Placement {
  bool move = false;  // false: the pad stays where it is
  float left = 0, top = 0;
};

constexpr std::int32_t kPlaceKeepClear = 0;
constexpr std::int32_t kPlaceNextToField = 1;
constexpr std::int32_t kPlaceCentred = 2;

// By placement mode: next to the field (below it, else above it, else to its right or left);
// clear of it (where the pad is unless it overlaps the field or is on another monitor, else the
// first of the field's monitor's corners where it is clear); centred on the field's monitor. Any
// other mode leaves the pad where it is. Whatever the mode, the pad ends wholly on the monitor:
// one that would reach over an edge is pulled back by the least distance (before it is checked
// against the field, in the mode that keeps it clear); one larger than the monitor keeps its left
// and top edge on it.
Placement placePad(std::int32_t mode, const PlacementInput& in);

// True when the two rectangles share at least one point (left and top edges inside, right and
// bottom edges outside); an empty rectangle intersects nothing.
bool rectsIntersect(const TwipRect& a, const TwipRect& b);

}  // namespace pmx
