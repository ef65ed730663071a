#include "pad_manager/Placement.h"

#include <algorithm>

#include "common/Rounding.h"

namespace pmx {

namespace {

// A pad of size `size` starting at `start` fits when it ends on or before `limit`. The sum is
// taken in single precision, as the pad's sizes are kept.
bool exceeds(float size, std::int32_t start, float limit) {
  float end = size + static_cast<float>(start);
  return end > limit;
}

std::int32_t toTwips(float value) { return roundHalfEven(value); }

TwipRect padRect(float left, float top, const PlacementInput& in) {
  TwipRect r;
  r.left = roundHalfEven(left);
  r.top = roundHalfEven(top);
  r.right = roundHalfEven(static_cast<float>(r.left) + in.padWidth - in.pixelX);
  r.bottom = roundHalfEven(static_cast<float>(r.top) + in.padHeight - in.pixelY);
  return r;
}

}  // namespace

TwipRect outerRect(float left, float top, float width, float height) {
  return {roundHalfEven(left), roundHalfEven(top), roundHalfEven(left + width),
          roundHalfEven(top + height)};
}

MonitorArea primaryMonitor(Screen& screen) {
  return {0, 0, screen.widthTwips(), screen.heightTwips()};
}

bool rectsIntersect(const TwipRect& a, const TwipRect& b) {
  // An empty or inverted rectangle meets nothing: the larger left edge is at or right of its
  // right edge, so never left of the smaller right edge (and so for top and bottom).
  return std::max(a.left, b.left) < std::min(a.right, b.right) &&
         std::max(a.top, b.top) < std::min(a.bottom, b.bottom);
}

Placement placeNextToField(const PlacementInput& in) {
  const float w = in.padWidth, h = in.padHeight;
  const float screenRight = in.screenLeft + in.screenWidth;
  const float screenBottom = in.screenTop + in.screenHeight;
  const TwipRect& f = in.field;

  std::int32_t x = f.left;
  if (exceeds(w, x, screenRight)) x = toTwips(screenRight - w);
  std::int32_t y = toTwips(static_cast<float>(f.bottom) + in.pixelY);
  if (exceeds(h, y, screenBottom)) y = toTwips(static_cast<float>(f.top) - in.pixelY - h);
  if (static_cast<float>(y) < in.screenTop) {
    // No room below or above: beside the field, top-aligned with it.
    y = f.top;
    if (exceeds(h, y, screenBottom)) y = toTwips(screenBottom - h);
    x = toTwips(static_cast<float>(f.right) + in.pixelX);
    if (exceeds(w, x, screenRight)) x = toTwips(static_cast<float>(f.left) - in.pixelX - w);
  }
  if (static_cast<float>(x) < in.screenLeft) x = toTwips(in.screenLeft);
  if (static_cast<float>(y) < in.screenTop) y = toTwips(in.screenTop);
  return {true, static_cast<float>(x), static_cast<float>(y)};
}

Placement placeClearOfField(const PlacementInput& in) {
  if (in.padOnScreen && !rectsIntersect(padRect(in.padLeft, in.padTop, in), in.field)) return {};

  // The corners in turn: top-left, bottom-left, top-right; bottom-right is the last resort.
  const float left = in.screenLeft, top = in.screenTop;
  const float right = in.screenLeft + in.screenWidth - in.padWidth;
  const float bottom = in.screenTop + in.screenHeight - in.padHeight;
  const float corners[3][2] = {{left, top}, {left, bottom}, {right, top}};
  for (const auto& corner : corners) {
    if (!rectsIntersect(padRect(corner[0], corner[1], in), in.field)) {
      return {true, corner[0], corner[1]};
    }
  }
  return {true, right, bottom};
}

Placement placeCentred(const PlacementInput& in) {
  return {true, in.screenLeft + (in.screenWidth - in.padWidth) / 2,
          in.screenTop + (in.screenHeight - in.padHeight) / 2};
}

Placement placePad(std::int32_t mode, const PlacementInput& in) {
  switch (mode) {
    case kPlaceKeepClear:
      return placeClearOfField(in);
    case kPlaceNextToField:
      return placeNextToField(in);
    case kPlaceCentred:
      return placeCentred(in);
    default:
      return {};
  }
}

}  // namespace pmx
