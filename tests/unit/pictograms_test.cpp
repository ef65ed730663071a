// The pictogram drawings: well-formed shapes inside their box, and pictures that show what the
// keys say (arrowheads in the right corner, mirrored arrows, a crossed-out window).
#include "layouts/Pictograms.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace pmx {
namespace {

constexpr std::uint32_t kNavy = 0x00800000;
constexpr std::uint32_t kWhite = 0x00FFFFFF;
constexpr int kLastPictogram = static_cast<int>(Pictogram::Menu);

struct Box {
  int left = 1000, top = 1000, right = -1000, bottom = -1000;
  void add(PictoPoint p) {
    left = std::min<int>(left, p.x);
    top = std::min<int>(top, p.y);
    right = std::max<int>(right, p.x);
    bottom = std::max<int>(bottom, p.y);
  }
  void add(const PictoShape& s) {
    for (int i = 0; i < s.pointCount; ++i) add(s.points[i]);
  }
  double cx() const { return (left + right) / 2.0; }
  double cy() const { return (top + bottom) / 2.0; }
  int area() const { return (right - left) * (bottom - top); }
  bool contains(const Box& b) const {
    return left <= b.left && top <= b.top && b.right <= right && b.bottom <= bottom;
  }
};

std::vector<PictoShape> shapesOf(Pictogram p) {
  const PictogramDrawing d = pictogramDrawing(p);
  return d.count ? std::vector<PictoShape>(d.shapes, d.shapes + d.count)
                 : std::vector<PictoShape>{};
}

Box boxOf(const std::vector<PictoShape>& shapes) {
  Box b;
  for (const PictoShape& s : shapes) b.add(s);
  return b;
}

bool isWhite(const PictoShape& s) {
  return s.kind == ShapeKind::Polygon ? s.fill == kWhite : s.line == kWhite;
}

// A monitor picture split into its screen and what is drawn on the screen after it.
struct Monitor {
  Box screen;
  std::vector<PictoShape> whites;  // on the screen, white
  std::vector<PictoShape> others;  // on the screen, any other colour
};

Monitor monitorOf(Pictogram p) {
  Monitor m;
  bool seenScreen = false;
  for (const PictoShape& s : shapesOf(p)) {
    if (!seenScreen) {
      if (s.kind == ShapeKind::Polygon && s.fill == kNavy) {
        m.screen.add(s);
        seenScreen = true;
      }
      continue;
    }
    Box b;
    b.add(s);
    if (!m.screen.contains(b)) continue;  // the stand and the like
    (isWhite(s) ? m.whites : m.others).push_back(s);
  }
  EXPECT_TRUE(seenScreen) << "no navy screen in pictogram " << static_cast<int>(p);
  return m;
}

// The one point with the smallest `key`, or false when several share it.
template <typename Key>
bool uniqueExtreme(const PictoShape& s, Key key, PictoPoint& out) {
  int best = 0, ties = 0;
  for (int i = 0; i < s.pointCount; ++i) {
    const int k = key(s.points[i]);
    if (i == 0 || k < best) {
      best = k;
      ties = 1;
      out = s.points[i];
    } else if (k == best) {
      ++ties;
    }
  }
  return ties == 1;
}

bool isGrey(std::uint32_t c) {
  return (c & 0xFF) == ((c >> 8) & 0xFF) && (c & 0xFF) == ((c >> 16) & 0xFF) && c <= 0x00FFFFFF;
}

TEST(Pictograms, EveryDrawingIsWellFormed) {
  EXPECT_EQ(pictogramDrawing(Pictogram::None).count, 0u);
  for (int v = 1; v <= kLastPictogram; ++v) {
    SCOPED_TRACE(v);
    const PictogramDrawing d = pictogramDrawing(static_cast<Pictogram>(v));
    ASSERT_GT(d.count, 0u);
    ASSERT_NE(d.shapes, nullptr);
    for (std::size_t i = 0; i < d.count; ++i) {
      const PictoShape& s = d.shapes[i];
      SCOPED_TRACE(i);
      EXPECT_LE(s.pointCount, kMaxShapePoints);
      EXPECT_GE(s.pointCount, s.kind == ShapeKind::Polygon ? 3 : 2);
      EXPECT_GE(s.width, 1);
      for (int j = 0; j < s.pointCount && j < static_cast<int>(kMaxShapePoints); ++j) {
        EXPECT_TRUE(s.points[j].x >= 0 && s.points[j].x <= 100) << s.points[j].x;
        EXPECT_TRUE(s.points[j].y >= 0 && s.points[j].y <= 100) << s.points[j].y;
      }
      // A line needs a colour; a polygon a fill or an outline.
      EXPECT_FALSE(s.line == kNoColor && (s.kind == ShapeKind::Polyline || s.fill == kNoColor));
      // Black, white and greys; navy only for a monitor's screen.
      for (std::uint32_t c : {s.fill, s.line})
        EXPECT_TRUE(c == kNoColor || isGrey(c) || c == kNavy) << std::hex << c;
    }
  }
}

TEST(Pictograms, NoTwoPictogramsShareADrawing) {
  auto same = [](Pictogram a, Pictogram b) {
    const auto x = shapesOf(a), y = shapesOf(b);
    if (x.size() != y.size()) return false;
    for (std::size_t i = 0; i < x.size(); ++i) {
      if (x[i].pointCount != y[i].pointCount || x[i].fill != y[i].fill) return false;
      for (int j = 0; j < x[i].pointCount; ++j)
        if (x[i].points[j].x != y[i].points[j].x || x[i].points[j].y != y[i].points[j].y)
          return false;
    }
    return true;
  };
  for (int a = 1; a <= kLastPictogram; ++a)
    for (int b = a + 1; b <= kLastPictogram; ++b)
      EXPECT_FALSE(same(static_cast<Pictogram>(a), static_cast<Pictogram>(b))) << a << " " << b;
}

// Each move key shows a small window in the corner it moves the pad to, with white arrowheads
// in that quarter of the screen whose tips point towards the corner.
TEST(Pictograms, MoveArrowheadsPointIntoTheirCorner) {
  struct Case {
    Pictogram picture;
    int sx, sy;  // -1 left/up, +1 right/down
  };
  for (const Case& c :
       {Case{Pictogram::MoveUpperLeft, -1, -1}, Case{Pictogram::MoveUpperRight, 1, -1},
        Case{Pictogram::MoveLowerLeft, -1, 1}, Case{Pictogram::MoveLowerRight, 1, 1}}) {
    SCOPED_TRACE(static_cast<int>(c.picture));
    const Monitor m = monitorOf(c.picture);
    ASSERT_EQ(m.whites.size(), 2u);
    const double cx = m.screen.cx(), cy = m.screen.cy();
    const double cornerX = c.sx < 0 ? m.screen.left : m.screen.right;
    const double cornerY = c.sy < 0 ? m.screen.top : m.screen.bottom;

    double sumX = 0, sumY = 0;
    int n = 0;
    for (const PictoShape& s : m.whites) {
      ASSERT_EQ(s.kind, ShapeKind::Polygon);
      double tx = 0, ty = 0;
      for (int i = 0; i < s.pointCount; ++i) {
        tx += s.points[i].x;
        ty += s.points[i].y;
      }
      sumX += tx;
      sumY += ty;
      n += s.pointCount;
      tx /= s.pointCount;
      ty /= s.pointCount;
      // The apex (the vertex farthest from the shape's centre) is the vertex nearest the corner.
      auto far = [&](PictoPoint p) { return -std::hypot(p.x - tx, p.y - ty); };
      auto near = [&](PictoPoint p) { return std::hypot(p.x - cornerX, p.y - cornerY); };
      int apex = 0, nearest = 0;
      for (int i = 1; i < s.pointCount; ++i) {
        if (far(s.points[i]) < far(s.points[apex])) apex = i;
        if (near(s.points[i]) < near(s.points[nearest])) nearest = i;
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

TEST(Pictograms, CloseCrossesOutASmallWindowInTheMiddle) {
  const Monitor m = monitorOf(Pictogram::Close);
  ASSERT_FALSE(m.others.empty());
  const Box window = boxOf(m.others);
  EXPECT_NEAR(window.cx(), m.screen.cx(), 2.0);
  EXPECT_NEAR(window.cy(), m.screen.cy(), 2.0);
  EXPECT_LT(window.area() * 4, m.screen.area());

  // Two white strokes, one falling and one rising, both across the window's centre.
  ASSERT_EQ(m.whites.size(), 2u);
  int falling = 0, rising = 0;
  for (const PictoShape& s : m.whites) {
    ASSERT_EQ(s.kind, ShapeKind::Polyline);
    const PictoPoint a = s.points[0], b = s.points[s.pointCount - 1];
    ((a.x - b.x) * (a.y - b.y) > 0 ? falling : rising)++;
    Box stroke;
    stroke.add(s);
    EXPECT_TRUE(stroke.left <= window.left && stroke.right >= window.right);
  }
  EXPECT_EQ(falling, 1);
  EXPECT_EQ(rising, 1);
}

TEST(Pictograms, PadSwitchShowsAWindowFillingMostOfTheScreen) {
  const Monitor m = monitorOf(Pictogram::PadSwitch);
  ASSERT_FALSE(m.others.empty());
  EXPECT_TRUE(m.whites.empty());
  EXPECT_GT(boxOf(m.others).area() * 2, m.screen.area());
}

// Single black arrows.
PictoShape arrowOf(Pictogram p) {
  const auto shapes = shapesOf(p);
  EXPECT_EQ(shapes.size(), 1u);
  EXPECT_EQ(shapes.at(0).kind, ShapeKind::Polygon);
  EXPECT_EQ(shapes.at(0).fill, 0u);
  return shapes.at(0);
}

TEST(Pictograms, CursorArrowsAreMirrorImages) {
  Box left, right, up, down;
  left.add(arrowOf(Pictogram::ArrowLeft));
  right.add(arrowOf(Pictogram::ArrowRight));
  up.add(arrowOf(Pictogram::ArrowUp));
  down.add(arrowOf(Pictogram::ArrowDown));
  EXPECT_EQ(left.left, 100 - right.right);
  EXPECT_EQ(left.right, 100 - right.left);
  EXPECT_EQ(left.top, right.top);
  EXPECT_EQ(left.bottom, right.bottom);
  EXPECT_EQ(up.top, 100 - down.bottom);
  EXPECT_EQ(up.bottom, 100 - down.top);
  EXPECT_EQ(up.left, down.left);
  EXPECT_EQ(up.right, down.right);

  // Each has one tip, in the middle of the side it points to.
  PictoPoint tip{};
  ASSERT_TRUE(uniqueExtreme(
      arrowOf(Pictogram::ArrowLeft), [](PictoPoint p) { return p.x; }, tip));
  EXPECT_EQ(tip.y, (left.top + left.bottom) / 2);
  ASSERT_TRUE(uniqueExtreme(
      arrowOf(Pictogram::ArrowRight), [](PictoPoint p) { return -p.x; }, tip));
  EXPECT_EQ(tip.y, (right.top + right.bottom) / 2);
  ASSERT_TRUE(uniqueExtreme(
      arrowOf(Pictogram::ArrowUp), [](PictoPoint p) { return p.y; }, tip));
  EXPECT_EQ(tip.x, (up.left + up.right) / 2);
  ASSERT_TRUE(uniqueExtreme(
      arrowOf(Pictogram::ArrowDown), [](PictoPoint p) { return -p.y; }, tip));
  EXPECT_EQ(tip.x, (down.left + down.right) / 2);
}

TEST(Pictograms, BackspaceIsALongArrowPointingLeft) {
  const PictoShape arrow = arrowOf(Pictogram::Backspace);
  Box b;
  b.add(arrow);
  PictoPoint tip{};
  ASSERT_TRUE(uniqueExtreme(
      arrow, [](PictoPoint p) { return p.x; }, tip));
  EXPECT_EQ(tip.y, (b.top + b.bottom) / 2);
  EXPECT_GT(b.right - b.left, 2 * (b.bottom - b.top));
}

TEST(Pictograms, EnterComesDownTheRightAndTurnsLeft) {
  const PictoShape arrow = arrowOf(Pictogram::Enter);
  Box b;
  b.add(arrow);
  PictoPoint tip{};
  ASSERT_TRUE(uniqueExtreme(
      arrow, [](PictoPoint p) { return p.x; }, tip));
  EXPECT_GT(tip.y, b.cy());  // the head is in the lower part
  for (int i = 0; i < arrow.pointCount; ++i)
    if (arrow.points[i].y == b.top) {
      EXPECT_GT(arrow.points[i].x, 50);  // the bar is on the right
    }
}

// Page Up and Down leave the right of the key to the caption "Bild".
TEST(Pictograms, PageArrowsKeepToTheLeft) {
  const PictoShape upArrow = arrowOf(Pictogram::PageUp);
  const PictoShape downArrow = arrowOf(Pictogram::PageDown);
  Box up, down;
  up.add(upArrow);
  down.add(downArrow);
  EXPECT_LE(up.right, 40);
  EXPECT_LE(down.right, 40);
  PictoPoint tip{};
  ASSERT_TRUE(uniqueExtreme(
      upArrow, [](PictoPoint p) { return p.y; }, tip));
  EXPECT_EQ(tip.x, (up.left + up.right) / 2);
  ASSERT_TRUE(uniqueExtreme(
      downArrow, [](PictoPoint p) { return -p.y; }, tip));
  EXPECT_EQ(tip.x, (down.left + down.right) / 2);
}

TEST(Pictograms, MenuShowsEntriesAndAPointer) {
  int entries = 0, pointers = 0;
  for (const PictoShape& s : shapesOf(Pictogram::Menu)) {
    if (s.kind == ShapeKind::Polyline && s.pointCount == 2 && s.points[0].y == s.points[1].y)
      ++entries;
    if (s.kind == ShapeKind::Polygon && s.fill == kWhite && s.pointCount > 4) ++pointers;
  }
  EXPECT_GE(entries, 3);
  EXPECT_EQ(pointers, 1);
}

}  // namespace
}  // namespace pmx
