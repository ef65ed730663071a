// The pictogram drawings: well-formed shapes inside their box, and pictures that show what the
// keys say (arrowheads in the right corner, arrows pointing their way).
#include "layouts/Pictograms.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace pmx {
namespace {

constexpr std::uint32_t kNavy = 0x00800000;
constexpr std::uint32_t kWhite = 0x00FFFFFF;

struct Box {
  int left = 1000, top = 1000, right = -1000, bottom = -1000;
  void add(const PictoShape& s) {
    for (int i = 0; i < s.pointCount; ++i) {
      left = std::min<int>(left, s.points[i].x);
      top = std::min<int>(top, s.points[i].y);
      right = std::max<int>(right, s.points[i].x);
      bottom = std::max<int>(bottom, s.points[i].y);
    }
  }
  double cx() const { return (left + right) / 2.0; }
  double cy() const { return (top + bottom) / 2.0; }
  bool contains(const Box& b) const {
    return left <= b.left && top <= b.top && b.right <= right && b.bottom <= bottom;
  }
};

std::vector<PictoShape> shapesOf(Pictogram p) {
  const PictogramDrawing d = pictogramDrawing(p);
  return d.count ? std::vector<PictoShape>(d.shapes, d.shapes + d.count)
                 : std::vector<PictoShape>{};
}

template <typename Shapes>
Box boxOf(const Shapes& shapes) {
  Box b;
  for (const PictoShape& s : shapes) b.add(s);
  return b;
}

// A monitor picture split into its navy screen and what is drawn on the screen after it.
struct Monitor {
  Box screen;
  std::vector<PictoShape> whites, others;
};

Monitor monitorOf(Pictogram p) {
  Monitor m;
  bool seenScreen = false;
  for (const PictoShape& s : shapesOf(p)) {
    if (!seenScreen) {
      seenScreen = s.kind == ShapeKind::Polygon && s.fill == kNavy;
      if (seenScreen) m.screen.add(s);
    } else if (m.screen.contains(boxOf(std::vector<PictoShape>{s}))) {
      const bool white = (s.kind == ShapeKind::Polygon ? s.fill : s.line) == kWhite;
      (white ? m.whites : m.others).push_back(s);
    }
  }
  EXPECT_TRUE(seenScreen) << "no navy screen in pictogram " << static_cast<int>(p);
  return m;
}

TEST(Pictograms, EveryDrawingIsWellFormed) {
  EXPECT_EQ(pictogramDrawing(Pictogram::None).count, 0u);
  for (int v = 1; v <= static_cast<int>(Pictogram::Menu); ++v) {
    SCOPED_TRACE(v);
    const PictogramDrawing d = pictogramDrawing(static_cast<Pictogram>(v));
    ASSERT_GT(d.count, 0u);
    ASSERT_NE(d.shapes, nullptr);
    for (std::size_t i = 0; i < d.count; ++i) {
      const PictoShape& s = d.shapes[i];
      ASSERT_LE(s.pointCount, kMaxShapePoints);
      EXPECT_GE(s.pointCount, s.kind == ShapeKind::Polygon ? 3 : 2);
      EXPECT_GE(s.width, 1);
      for (int j = 0; j < s.pointCount; ++j) {
        EXPECT_TRUE(s.points[j].x >= 0 && s.points[j].x <= 100 && s.points[j].y >= 0 &&
                    s.points[j].y <= 100);
      }
      // A line needs a colour; a polygon a fill or an outline.
      EXPECT_FALSE(s.line == kNoColor && (s.kind == ShapeKind::Polyline || s.fill == kNoColor));
      // Black, white and greys; navy only for a monitor's screen.
      for (std::uint32_t c : {s.fill, s.line}) {
        const bool grey = c <= 0x00FFFFFF && (c & 0xFF) * 0x010101 == c;
        EXPECT_TRUE(c == kNoColor || grey || c == kNavy) << std::hex << c;
      }
    }
  }
}

// Each move key shows a small window in the corner it moves the pad to, with white arrowheads
// in that quarter of the screen whose tips point towards the corner.
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
    const Monitor m = monitorOf(c.picture);
    ASSERT_EQ(m.whites.size(), 2u);
    const double cx = m.screen.cx(), cy = m.screen.cy();
    const double cornerX = c.sx < 0 ? m.screen.left : m.screen.right;
    const double cornerY = c.sy < 0 ? m.screen.top : m.screen.bottom;
    double sumX = 0, sumY = 0, n = 0;
    for (const PictoShape& s : m.whites) {
      double tx = 0, ty = 0;
      for (int i = 0; i < s.pointCount; ++i) {
        tx += s.points[i].x / double(s.pointCount);
        ty += s.points[i].y / double(s.pointCount);
      }
      sumX += tx;
      sumY += ty;
      ++n;
      // The apex (the vertex farthest from the shape's centre) is the vertex nearest the corner.
      int apex = 0, nearest = 0;
      for (int i = 1; i < s.pointCount; ++i) {
        const PictoPoint p = s.points[i], a = s.points[apex], q = s.points[nearest];
        if (std::hypot(p.x - tx, p.y - ty) > std::hypot(a.x - tx, a.y - ty)) apex = i;
        if (std::hypot(p.x - cornerX, p.y - cornerY) < std::hypot(q.x - cornerX, q.y - cornerY))
          nearest = i;
      }
      EXPECT_EQ(apex, nearest);
    }
    EXPECT_GT((sumX / n - cx) * c.sx, 0);
    EXPECT_GT((sumY / n - cy) * c.sy, 0);
    ASSERT_FALSE(m.others.empty());
    const Box window = boxOf(m.others);
    EXPECT_TRUE(c.sx < 0 ? window.right < cx : window.left > cx);
    EXPECT_TRUE(c.sy < 0 ? window.bottom < cy : window.top > cy);
  }
}

// The one tip of a single-polygon arrow: its extreme point in the direction (dx, dy).
PictoPoint tipOf(Pictogram p, int dx, int dy, Box& box) {
  const auto shapes = shapesOf(p);
  EXPECT_EQ(shapes.size(), 1u);
  const PictoShape& s = shapes.at(0);
  box = boxOf(shapes);
  int best = 0, ties = 0;
  for (int i = 0; i < s.pointCount; ++i) {
    const int v = s.points[i].x * dx + s.points[i].y * dy;
    const int b = s.points[best].x * dx + s.points[best].y * dy;
    ties = i == 0 || v > b ? 1 : ties + (v == b);
    if (v > b) best = i;
  }
  EXPECT_EQ(ties, 1) << "blunt tip in pictogram " << static_cast<int>(p);
  return s.points[best];
}

TEST(Pictograms, ArrowsPointWhereTheirKeysSay) {
  Box left, right, up, down, pageUp, pageDown;
  const PictoPoint leftTip = tipOf(Pictogram::ArrowLeft, -1, 0, left);
  const PictoPoint rightTip = tipOf(Pictogram::ArrowRight, 1, 0, right);
  const PictoPoint upTip = tipOf(Pictogram::ArrowUp, 0, -1, up);
  const PictoPoint downTip = tipOf(Pictogram::ArrowDown, 0, 1, down);
  EXPECT_EQ(leftTip.y * 2, left.top + left.bottom);  // each tip in the middle of its side
  EXPECT_EQ(rightTip.y * 2, right.top + right.bottom);
  EXPECT_EQ(upTip.x * 2, up.left + up.right);
  EXPECT_EQ(downTip.x * 2, down.left + down.right);
  // Left and right, up and down are mirror images in extent.
  EXPECT_TRUE(left.left == 100 - right.right && left.right == 100 - right.left &&
              left.top == right.top && left.bottom == right.bottom);
  EXPECT_TRUE(up.top == 100 - down.bottom && up.bottom == 100 - down.top && up.left == down.left &&
              up.right == down.right);

  // The page keys' arrows keep to the left, leaving the key's right to its caption.
  tipOf(Pictogram::PageUp, 0, -1, pageUp);
  tipOf(Pictogram::PageDown, 0, 1, pageDown);
  EXPECT_LE(pageUp.right, 40);
  EXPECT_LE(pageDown.right, 40);
}

}  // namespace
}  // namespace pmx
