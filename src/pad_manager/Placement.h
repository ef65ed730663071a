// Where a pad goes next to the host's field: the placement modes.
#pragma once

#include <cstdint>

namespace pmx {

// A rectangle in twips; right and bottom lie just outside.
struct TwipRect {
  std::int32_t left = 0, top = 0, right = 0, bottom = 0;
};

// What a placement works with, all in twips.
struct PlacementInput {
  float padLeft = 0, padTop = 0;       // the pad's current position
  float padWidth = 0, padHeight = 0;   // W, H
  float screenWidth = 0, screenHeight = 0;  // SW, SH
  float pixelX = 15, pixelY = 15;     // PX, PY: one pixel in twips
  TwipRect field;                      // F
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
// Keep the pad where it is unless it overlaps the field; otherwise try the four screen corners.
Placement placeClearOfField(const PlacementInput& in);
// Centred on the screen.
Placement placeCentred(const PlacementInput& in);
// By placement mode; any mode other than 0, 1 and 2 leaves the pad where it is.
Placement placePad(std::int32_t mode, const PlacementInput& in);

// True when the two rectangles share at least one point (left and top edges inside, right and
// bottom edges outside); an empty rectangle intersects nothing.
bool rectsIntersect(const TwipRect& a, const TwipRect& b);

}  // namespace pmx
