// Where a pad goes next to the host's field: the placement modes.
#pragma once

#include <cstdint>

#include "platform/Platform.h"

namespace pmx {

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
};

struct Placement {
  bool move = false;  // false: the pad stays where it is
  float left = 0, top = 0;
};

constexpr std::int32_t kPlaceKeepClear = 0;
constexpr std::int32_t kPlaceNextToField = 1;
constexpr std::int32_t kPlaceCentred = 2;

// Next to the field: below it, else above it, else to its right or left.
Placement placeNextToField(const PlacementInput& in);
// Keep the pad where it is unless it overlaps the field or is on another monitor; otherwise try
// the four corners of the field's monitor.
Placement placeClearOfField(const PlacementInput& in);
// Centred on the field's monitor.
Placement placeCentred(const PlacementInput& in);
// By placement mode; any mode other than 0, 1 and 2 leaves the pad where it is.
Placement placePad(std::int32_t mode, const PlacementInput& in);

// The rectangle of a window at this position and size, in whole twips rounded half to even.
TwipRect outerRect(float left, float top, float width, float height);

// The primary monitor: at 0, 0, as large as the screen reports.
MonitorArea primaryMonitor(Screen& screen);

// True when the two rectangles share at least one point (left and top edges inside, right and
// bottom edges outside); an empty rectangle intersects nothing.
bool rectsIntersect(const TwipRect& a, const TwipRect& b);

}  // namespace pmx
