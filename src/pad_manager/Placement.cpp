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

// Where a pad of size `padSize` starting at `start` lies wholly between `from` and `from + extent`:
// pushed back from the far edge if it reaches over it (to whole twips, as the placement next to
// the field counts), then from the near edge. One larger than the extent starts at the near edge.
float within(float start, float padSize, float from, float extent) {
  if (padSize + start > from + extent) start = static_cast<float>(toTwips(from + extent - padSize));
  return start < from ? from : start;
}

}  // namespace

MonitorArea::MonitorArea(const Monitor& monitor) : bounds(monitor.bounds) {
  pixel = 1440.0f / static_cast<float>(monitor.dpi);
  left = origin(bounds.left);
  top = origin(bounds.top);
  width = static_cast<float>(bounds.right - bounds.left) * pixel;
  height = static_cast<float>(bounds.bottom - bounds.top) * pixel;
}

TwipRect MonitorArea::twips(const PixelRect& r) const {
  return {roundHalfEven(twipsX(r.left)), roundHalfEven(twipsY(r.top)),
          roundHalfEven(twipsX(r.right)), roundHalfEven(twipsY(r.bottom))};
}

PixelRect MonitorArea::pixels(float l, float t, float w, float h) const {
  const auto x = [this](float twips) {
    return bounds.left + roundHalfEven((twips - origin(bounds.left)) / pixel);
  };
  const auto y = [this](float twips) {
    return bounds.top + roundHalfEven((twips - origin(bounds.top)) / pixel);
  };
  return {x(l), y(t), x(l + w), y(t + h)};
}

bool sameMonitor(const Monitor& a, const Monitor& b) {
  return a.bounds.left == b.bounds.left && a.bounds.top == b.bounds.top &&
         a.bounds.right == b.bounds.right && a.bounds.bottom == b.bounds.bottom && a.dpi == b.dpi;
}

void PlacementInput::setScreen(const MonitorArea& monitor) {
  screenLeft = monitor.left;
  screenTop = monitor.top;
  screenWidth = monitor.width;
  screenHeight = monitor.height;
  pixelX = pixelY = monitor.pixel;
}

bool rectsIntersect(const TwipRect& a, const TwipRect& b) {
  // An empty or inverted rectangle meets nothing: the larger left edge is at or right of its
  // right edge, so never left of the smaller right edge (and so for top and bottom).
  return std::max(a.left, b.left) < std::min(a.right, b.right) &&
         std::max(a.top, b.top) < std::min(a.bottom, b.bottom);
}

namespace {

Placement placeNextToField(const PlacementInput& in) {
  const float w = in.padWidth, h = in.padHeight;
  const float screenRight = in.screenLeft + in.screenWidth;
  const float screenBottom = in.screenTop + in.screenHeight;
  const TwipRect& f = in.field;

  // Left-aligned with the field: placePad pushes it left to end at the right edge if need be.
  std::int32_t x = f.left;
  std::int32_t y = toTwips(static_cast<float>(f.bottom) + in.pixelY);
  if (exceeds(h, y, screenBottom)) y = toTwips(static_cast<float>(f.top) - in.pixelY - h);
  if (static_cast<float>(y) < in.screenTop) {
    // No room below or above: beside the field, top-aligned with it (placePad pushes it up to end
    // at the bottom edge if need be).
    y = f.top;
    x = toTwips(static_cast<float>(f.right) + in.pixelX);
    if (exceeds(w, x, screenRight)) x = toTwips(static_cast<float>(f.left) - in.pixelX - w);
  }
  // Left of or above the monitor: placePad pulls it on.
  return {true, static_cast<float>(x), static_cast<float>(y)};
}

Placement placeClearOfField(const PlacementInput& in) {
  if (in.padOnScreen) {
    const float left = within(in.padLeft, in.padWidth, in.screenLeft, in.screenWidth);
    const float top = within(in.padTop, in.padHeight, in.screenTop, in.screenHeight);
    if (!rectsIntersect(padRect(left, top, in), in.field)) return {};  // placePad pulls it on
  }

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

}  // namespace

Placement placePad(std::int32_t mode, const PlacementInput& in) {
  Placement placed;
  switch (mode) {
    case kPlaceKeepClear:
      placed = placeClearOfField(in);
      break;
    case kPlaceNextToField:
      placed = placeNextToField(in);
      break;
    case kPlaceCentred:
      placed = placeCentred(in);
      break;
    default:
      break;
  }
  const float left = placed.move ? placed.left : in.padLeft;
  const float top = placed.move ? placed.top : in.padTop;
  const float onLeft = within(left, in.padWidth, in.screenLeft, in.screenWidth);
  const float onTop = within(top, in.padHeight, in.screenTop, in.screenHeight);
  if (onLeft == left && onTop == top) return placed;
  return {true, onLeft, onTop};
}

}  // namespace pmx
