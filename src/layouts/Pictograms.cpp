// The pictogram drawings. Every drawing is built at compile time from a few outlines.
//
// The monitor pictures share one monitor: a bevelled grey frame around a navy screen on a stand.
// What the key does is drawn on the screen: a small window in a corner for the move keys, a
// crossed-out window for the close key, a large window for the pad switch.
#include "layouts/Pictograms.h"

#include <algorithm>
#include <array>
#include <initializer_list>

namespace pmx {
namespace {

constexpr std::uint32_t kBlack = 0x00000000;
constexpr std::uint32_t kWhite = 0x00FFFFFF;
constexpr std::uint32_t kDarkGrey = 0x00404040;
constexpr std::uint32_t kShadow = 0x00808080;
constexpr std::uint32_t kFace = 0x00C0C0C0;
constexpr std::uint32_t kHighlight = 0x00E0E0E0;
constexpr std::uint32_t kNavy = 0x00800000;

constexpr PictoShape shape(ShapeKind kind, std::uint32_t fill, std::uint32_t line,
                           std::uint8_t width, std::initializer_list<PictoPoint> points) {
  PictoShape s{kind, fill, line, width, 0, {}};
  for (const PictoPoint& p : points) s.points[s.pointCount++] = p;
  return s;
}

constexpr PictoShape polygon(std::uint32_t fill, std::uint32_t line,
                             std::initializer_list<PictoPoint> points) {
  return shape(ShapeKind::Polygon, fill, line, 1, points);
}

constexpr PictoShape line(std::uint32_t colour, std::uint8_t width,
                          std::initializer_list<PictoPoint> points) {
  return shape(ShapeKind::Polyline, kNoColor, colour, width, points);
}

constexpr PictoShape rect(std::int16_t left, std::int16_t top, std::int16_t right,
                          std::int16_t bottom, std::uint32_t fill, std::uint32_t outline) {
  return polygon(fill, outline, {{left, top}, {right, top}, {right, bottom}, {left, bottom}});
}

// Maps every point of a shape through f.
template <typename F>
constexpr PictoShape mapped(PictoShape s, F f) {
  for (std::uint8_t i = 0; i < s.pointCount; ++i) s.points[i] = f(s.points[i]);
  return s;
}

constexpr PictoShape mirroredX(const PictoShape& s) {
  return mapped(s, [](PictoPoint p) {
    return PictoPoint{static_cast<std::int16_t>(100 - p.x), p.y};
  });
}

constexpr PictoShape transposed(const PictoShape& s) {
  return mapped(s, [](PictoPoint p) { return PictoPoint{p.y, p.x}; });
}

template <std::size_t N, std::size_t M>
constexpr std::array<PictoShape, N + M> join(const std::array<PictoShape, N>& a,
                                             const std::array<PictoShape, M>& b) {
  std::array<PictoShape, N + M> out{};
  for (std::size_t i = 0; i < N; ++i) out[i] = a[i];
  for (std::size_t i = 0; i < M; ++i) out[N + i] = b[i];
  return out;
}

// --- The monitor -------------------------------------------------------------------------------

// The screen spans 13..87 across and 13..65 down; its centre is (50, 39).
constexpr std::int16_t kScreenLeft = 13, kScreenTop = 13, kScreenRight = 87, kScreenBottom = 65;

constexpr std::array<PictoShape, 6> kMonitor{{
    rect(5, 6, 95, 74, kShadow, kBlack),  // the frame; its lower right edge stays in shadow
    polygon(kHighlight, kNoColor, {{6, 7}, {94, 7}, {91, 10}, {9, 10}, {9, 70}, {6, 73}}),
    rect(9, 10, 91, 70, kFace, kNoColor),
    rect(kScreenLeft, kScreenTop, kScreenRight, kScreenBottom, kNavy, kDarkGrey),
    rect(43, 74, 57, 82, kFace, kBlack),  // neck
    rect(28, 82, 72, 90, kFace, kBlack),  // foot
}};

// A window on the screen: a grey body under a dark title bar.
constexpr std::array<PictoShape, 2> window(std::int16_t left, std::int16_t top, std::int16_t right,
                                           std::int16_t bottom) {
  return {{rect(left, top, right, bottom, kFace, kBlack),
           rect(left, top, right, static_cast<std::int16_t>(top + (bottom - top) / 4), kShadow,
                kBlack)}};
}

// A small window in a corner of the screen with two white arrowheads pointing into that corner.
// Drawn for the upper left corner and mirrored about the screen's centre for the others.
constexpr PictoShape kCornerArrow1 =
    polygon(kWhite, kNoColor, {{37, 30}, {47, 33}, {42, 35}, {40, 40}});
constexpr PictoShape kCornerArrow2 =
    polygon(kWhite, kNoColor, {{43, 36}, {53, 39}, {48, 41}, {46, 46}});

constexpr std::array<PictoShape, 4> cornerWindow(bool right, bool lower) {
  auto place = [right, lower](PictoPoint p) {
    return PictoPoint{static_cast<std::int16_t>(right ? kScreenLeft + kScreenRight - p.x : p.x),
                      static_cast<std::int16_t>(lower ? kScreenTop + kScreenBottom - p.y : p.y)};
  };
  const PictoPoint a = place({16, 16});
  const PictoPoint b = place({36, 29});
  const auto win = window(a.x < b.x ? a.x : b.x, a.y < b.y ? a.y : b.y, a.x < b.x ? b.x : a.x,
                          a.y < b.y ? b.y : a.y);
  return {{win[0], win[1], mapped(kCornerArrow1, place), mapped(kCornerArrow2, place)}};
}

constexpr auto kMoveUpperLeft = join(kMonitor, cornerWindow(false, false));
constexpr auto kMoveUpperRight = join(kMonitor, cornerWindow(true, false));
constexpr auto kMoveLowerLeft = join(kMonitor, cornerWindow(false, true));
constexpr auto kMoveLowerRight = join(kMonitor, cornerWindow(true, true));

constexpr auto kClose = join(join(kMonitor, window(39, 31, 61, 47)),
                             std::array<PictoShape, 2>{{line(kWhite, 3, {{35, 27}, {65, 51}}),
                                                        line(kWhite, 3, {{65, 27}, {35, 51}})}});

constexpr auto kPadSwitch = join(kMonitor, window(18, 18, 82, 60));

// --- Arrows ------------------------------------------------------------------------------------

// Return: a bar down the right side that turns left into an arrowhead.
constexpr PictoShape kEnter[] = {polygon(
    kBlack, kNoColor,
    {{62, 15}, {78, 15}, {78, 73}, {38, 73}, {38, 84}, {15, 65}, {38, 46}, {38, 57}, {62, 57}})};

constexpr PictoShape kBackspace[] = {polygon(
    kBlack, kNoColor, {{8, 50}, {30, 32}, {30, 44}, {92, 44}, {92, 56}, {30, 56}, {30, 68}})};

constexpr PictoShape kLeft = polygon(
    kBlack, kNoColor, {{15, 50}, {45, 20}, {45, 38}, {85, 38}, {85, 62}, {45, 62}, {45, 80}});
constexpr PictoShape kArrowLeft[] = {kLeft};
constexpr PictoShape kArrowRight[] = {mirroredX(kLeft)};
constexpr PictoShape kArrowUp[] = {transposed(kLeft)};
constexpr PictoShape kArrowDown[] = {transposed(mirroredX(kLeft))};

// The page keys show their caption on the right; the arrow keeps to the left of the key.
constexpr PictoShape kSmallUp = polygon(
    kBlack, kNoColor, {{19, 34}, {31, 48}, {23, 48}, {23, 66}, {15, 66}, {15, 48}, {7, 48}});
constexpr PictoShape kPageUp[] = {kSmallUp};
constexpr PictoShape kPageDown[] = {mapped(kSmallUp, [](PictoPoint p) {
  return PictoPoint{p.x, static_cast<std::int16_t>(100 - p.y)};
})};

// --- Menu --------------------------------------------------------------------------------------

// A menu bar over a dropped list of entries, and the mouse pointer that opened it.
constexpr PictoShape kMenu[] = {
    rect(8, 10, 72, 22, kShadow, kBlack),
    rect(8, 22, 72, 82, kWhite, kBlack),
    line(kBlack, 3, {{14, 34}, {60, 34}}),
    line(kBlack, 3, {{14, 46}, {60, 46}}),
    line(kBlack, 3, {{14, 58}, {46, 58}}),
    line(kBlack, 3, {{14, 70}, {46, 70}}),
    polygon(kWhite, kBlack, {{55, 50}, {55, 89}, {64, 80}, {71, 95}, {76, 93}, {69, 78}, {83, 78}}),
};

// --- Stand-ins for symbol-font characters -----------------------------------------------------

// Symbol's thin arrows (the Tab caption's): a shaft across the middle ending in a head at the left.
constexpr PictoShape kThinLeft[] = {polygon(
    kBlack, kNoColor, {{6, 50}, {36, 28}, {36, 44}, {94, 44}, {94, 56}, {36, 56}, {36, 72}})};
constexpr PictoShape kThinRight[] = {mirroredX(kThinLeft[0])};
constexpr PictoShape kThinUp[] = {transposed(kThinLeft[0])};
constexpr PictoShape kThinDown[] = {transposed(mirroredX(kThinLeft[0]))};
constexpr PictoShape kBar[] = {rect(44, 4, 56, 96, kBlack, kNoColor)};

// Wingdings' white arrows (the Shift keys' and the Shift lock's): outlined, pointing up or down.
constexpr PictoShape kWhiteUp =
    shape(ShapeKind::Polygon, kWhite, kBlack, 6,
          {{50, 6}, {92, 50}, {68, 50}, {68, 94}, {32, 94}, {32, 50}, {8, 50}});
constexpr PictoShape kWhiteArrowUp[] = {kWhiteUp};
constexpr PictoShape kWhiteArrowDown[] = {mapped(kWhiteUp, [](PictoPoint p) {
  return PictoPoint{p.x, static_cast<std::int16_t>(100 - p.y)};
})};
constexpr PictoShape kWhiteArrowLeft[] = {transposed(kWhiteUp)};
constexpr PictoShape kWhiteArrowRight[] = {transposed(kWhiteArrowDown[0])};

// The system key's flag: four panes.
constexpr PictoShape kFlag[] = {
    rect(10, 10, 46, 46, kBlack, kNoColor), rect(54, 10, 90, 46, kBlack, kNoColor),
    rect(10, 54, 46, 90, kBlack, kNoColor), rect(54, 54, 90, 90, kBlack, kNoColor)};

bool sameName(const char* a, const char* b) {
  for (; *a != 0 && *b != 0; ++a, ++b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (lower(*a) != lower(*b)) return false;
  }
  return *a == *b;
}

template <std::size_t N>
constexpr PictogramDrawing drawing(const PictoShape (&shapes)[N]) {
  return {shapes, N};
}
template <std::size_t N>
PictogramDrawing drawing(const std::array<PictoShape, N>& shapes) {
  return {shapes.data(), N};
}

}  // namespace

PictogramDrawing pictogramDrawing(Pictogram picture) {
  switch (picture) {
    case Pictogram::None:
      break;
    case Pictogram::MoveUpperLeft:
      return drawing(kMoveUpperLeft);
    case Pictogram::MoveUpperRight:
      return drawing(kMoveUpperRight);
    case Pictogram::MoveLowerLeft:
      return drawing(kMoveLowerLeft);
    case Pictogram::MoveLowerRight:
      return drawing(kMoveLowerRight);
    case Pictogram::Close:
      return drawing(kClose);
    case Pictogram::PadSwitch:
      return drawing(kPadSwitch);
    case Pictogram::Enter:
      return drawing(kEnter);
    case Pictogram::Backspace:
      return drawing(kBackspace);
    case Pictogram::ArrowLeft:
      return drawing(kArrowLeft);
    case Pictogram::ArrowRight:
      return drawing(kArrowRight);
    case Pictogram::ArrowUp:
      return drawing(kArrowUp);
    case Pictogram::ArrowDown:
      return drawing(kArrowDown);
    case Pictogram::PageUp:
      return drawing(kPageUp);
    case Pictogram::PageDown:
      return drawing(kPageDown);
    case Pictogram::Menu:
      return drawing(kMenu);
  }
  return {nullptr, 0};
}

PictogramDrawing symbolGlyphDrawing(const char* fontName, unsigned char ch) {
  if (sameName(fontName, "Symbol")) {
    switch (ch) {
      case 0x7C:
        return drawing(kBar);
      case 0xAC:
        return drawing(kThinLeft);
      case 0xAD:
        return drawing(kThinUp);
      case 0xAE:
        return drawing(kThinRight);
      case 0xAF:
        return drawing(kThinDown);
      default:
        break;
    }
  } else if (sameName(fontName, "Wingdings")) {
    switch (ch) {
      case 0xEF:
        return drawing(kWhiteArrowLeft);
      case 0xF0:
        return drawing(kWhiteArrowRight);
      case 0xF1:
        return drawing(kWhiteArrowUp);
      case 0xF2:
        return drawing(kWhiteArrowDown);
      case 0xFF:
        return drawing(kFlag);
      default:
        break;
    }
  }
  return {nullptr, 0};
}

KeyFace keyFace(Pictogram picture, float w, float h) {
  KeyFace face;
  if (picture == Pictogram::PageUp || picture == Pictogram::PageDown) {
    face.pictureSide = std::min(w * 2 / 5, h / 2);
    face.pictureLeft = w / 12;
    // The arrow keeps to the left part of its box.
    face.textLeft = face.pictureLeft + face.pictureSide * 2 / 5;
  } else if (picture != Pictogram::None) {
    face.pictureSide = std::min(w, h) * 4 / 5;
    face.pictureLeft = (w - face.pictureSide) / 2;
  }
  face.pictureTop = (h - face.pictureSide) / 2;
  return face;
}

PictoBounds drawingBounds(const PictogramDrawing& drawing) {
  PictoBounds b;
  bool first = true;
  for (std::size_t i = 0; i < drawing.count; ++i) {
    const PictoShape& shape = drawing.shapes[i];
    // A line's width reaches half of it beyond its points.
    const int reach = shape.kind == ShapeKind::Polyline ? (shape.width + 1) / 2 : 0;
    for (std::size_t k = 0; k < shape.pointCount; ++k) {
      const PictoPoint p = shape.points[k];
      if (first || p.x - reach < b.left) b.left = p.x - reach;
      if (first || p.y - reach < b.top) b.top = p.y - reach;
      if (first || p.x + reach > b.right) b.right = p.x + reach;
      if (first || p.y + reach > b.bottom) b.bottom = p.y + reach;
      first = false;
    }
  }
  return b;
}

}  // namespace pmx
