// The pictogram drawings: well-formed shapes inside their box, and pictures that show what the
// keys say (arrowheads in the right corner, arrows pointing their way).
#include "layouts/Pictograms.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace pmx {
namespace {

struct Box {
  int left = 1000, top = 1000, right = -1000, bottom = -1000;
  Box& add(const PictoShape& s) {
    for (int i = 0; i < s.pointCount; ++i) {
      left = std::min<int>(left, s.points[i].x);
      top = std::min<int>(top, s.points[i].y);
      right = std::max<int>(right, s.points[i].x);
      bottom = std::max<int>(bottom, s.points[i].y);
    }
    return *this;
  }
  bool contains(const Box& b) const {
    return left <= b.left && top <= b.top && b.right <= right && b.bottom <= bottom;
  }
};

std::vector<PictoShape> shapesOf(Pictogram p) {
  const PictogramDrawing d = pictogramDrawing(p);
  return std::vector<PictoShape>(d.shapes, d.shapes + d.count);
}

TEST(Pictograms, EveryDrawingIsWellFormed) {
  EXPECT_EQ(pictogramDrawing(Pictogram::None).count, 0u);
  for (int v = 1; v <= static_cast<int>(Pictogram::Menu); ++v) {
    SCOPED_TRACE(v);
    const auto shapes = shapesOf(static_cast<Pictogram>(v));
    ASSERT_FALSE(shapes.empty());
    for (const PictoShape& s : shapes) {
      ASSERT_LE(s.pointCount, kMaxShapePoints);
      EXPECT_GE(s.pointCount, s.kind == ShapeKind::Polygon ? 3 : 2);
      EXPECT_GE(s.width, 1);
      // A line needs a colour; a polygon a fill or an outline.
      EXPECT_FALSE(s.line == kNoColor && (s.kind == ShapeKind::Polyline || s.fill == kNoColor));
      for (int j = 0; j < s.pointCount; ++j) {
        EXPECT_TRUE(s.points[j].x >= 0 && s.points[j].x <= 100 && s.points[j].y >= 0 &&
                    s.points[j].y <= 100);
      }
    }
  }
}

// Each move key shows a small window in the corner of the screen it moves the pad to, and its
// white arrowheads sit in that quarter of the screen.
TEST(Pictograms, MoveArrowheadsPointIntoTheirCorner) {
  const struct {
    Pictogram picture;
    int sx, sy;  // -1 left/up, +1 right/down
  } cases[] = {{Pictogram::MoveUpperLeft, -1, -1},
               {Pictogram::MoveUpperRight, 1, -1},
               {Pictogram::MoveLowerLeft, -1, 1},
               {Pictogram::MoveLowerRight, 1, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.picture));
    Box screen, window;
    double sumX = 0, sumY = 0;
    int whites = 0;
    for (const PictoShape& s : shapesOf(c.picture)) {
      if (s.fill == 0x00800000) {  // the navy screen, drawn before what shows on it
        screen = Box().add(s);
        continue;
      }
      if (!screen.contains(Box().add(s))) continue;
      if (s.fill != 0x00FFFFFF) {
        window.add(s);
        continue;
      }
      ++whites;
      for (int i = 0; i < s.pointCount; ++i) {
        sumX += s.points[i].x / double(s.pointCount);
        sumY += s.points[i].y / double(s.pointCount);
      }
    }
    ASSERT_EQ(whites, 2);
    const double cx = (screen.left + screen.right) / 2.0, cy = (screen.top + screen.bottom) / 2.0;
    EXPECT_GT((sumX / whites - cx) * c.sx, 0);
    EXPECT_GT((sumY / whites - cy) * c.sy, 0);
    EXPECT_TRUE(c.sx < 0 ? window.right < cx : window.left > cx);
    EXPECT_TRUE(c.sy < 0 ? window.bottom < cy : window.top > cy);
  }
}

// The box of a single-polygon arrow pointing in the direction (dx, dy): it has one extreme point
// that way, its tip, and the tip lies in the middle of the side it points from.
Box arrow(Pictogram p, int dx, int dy) {
  SCOPED_TRACE(static_cast<int>(p));
  const auto shapes = shapesOf(p);
  EXPECT_EQ(shapes.size(), 1u);
  const PictoShape& s = shapes.at(0);
  const Box box = Box().add(s);
  int best = 0, ties = 0;
  for (int i = 0; i < s.pointCount; ++i) {
    const int v = s.points[i].x * dx + s.points[i].y * dy;
    const int b = s.points[best].x * dx + s.points[best].y * dy;
    ties = i == 0 || v > b ? 1 : ties + (v == b);
    if (v > b) best = i;
  }
  EXPECT_EQ(ties, 1) << "a blunt tip";
  const PictoPoint tip = s.points[best];
  EXPECT_EQ(dx != 0 ? tip.y * 2 : tip.x * 2, dx != 0 ? box.top + box.bottom : box.left + box.right);
  return box;
}

TEST(Pictograms, ArrowsPointWhereTheirKeysSay) {
  const Box left = arrow(Pictogram::ArrowLeft, -1, 0), right = arrow(Pictogram::ArrowRight, 1, 0);
  const Box up = arrow(Pictogram::ArrowUp, 0, -1), down = arrow(Pictogram::ArrowDown, 0, 1);
  // Left and right, up and down are mirror images in extent.
  EXPECT_TRUE(left.left == 100 - right.right && left.right == 100 - right.left &&
              left.top == right.top && left.bottom == right.bottom);
  EXPECT_TRUE(up.top == 100 - down.bottom && up.bottom == 100 - down.top && up.left == down.left &&
              up.right == down.right);
  arrow(Pictogram::Backspace, -1, 0);
  // The page keys' arrows keep to the left, leaving the key's right to its caption "Bild".
  EXPECT_LE(arrow(Pictogram::PageUp, 0, -1).right, 40);
  EXPECT_LE(arrow(Pictogram::PageDown, 0, 1).right, 40);
}

}  // namespace
}  // namespace pmx
