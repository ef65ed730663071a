#include <gtest/gtest.h>

#include "pad_manager/Placement.h"

namespace pmx {
namespace {

// A 1024 x 768 screen at 15 twips per pixel and a pad of 242 x 242 pixels.
PlacementInput input(TwipRect field, float padWidth = 3630, float padHeight = 3630) {
  PlacementInput in;
  in.padLeft = 3930;
  in.padTop = 3810;
  in.padWidth = padWidth;
  in.padHeight = padHeight;
  in.screenWidth = 15360;
  in.screenHeight = 11520;
  in.pixelX = 15;
  in.pixelY = 15;
  in.field = field;
  return in;
}

void expectAt(const Placement& p, float left, float top) {
  EXPECT_TRUE(p.move);
  EXPECT_EQ(p.left, left);
  EXPECT_EQ(p.top, top);
}

TEST(NextToField, BelowTheFieldLeftAligned) {
  expectAt(placeNextToField(input({1500, 1500, 4500, 1875})), 1500, 1890);
}

TEST(NextToField, PushedLeftAtTheRightScreenEdge) {
  expectAt(placeNextToField(input({14000, 1500, 15000, 1875})), 15360 - 3630, 1890);
  // A pad that ends exactly on the screen edge fits and is not pushed.
  expectAt(placeNextToField(input({11730, 1500, 12000, 1875})), 11730, 1890);
}

TEST(NextToField, AboveTheFieldAtTheBottomOfTheScreen) {
  expectAt(placeNextToField(input({1500, 10000, 4500, 10375})), 1500, 10000 - 15 - 3630);
  // Exactly fitting below: stays below.
  expectAt(placeNextToField(input({1500, 7500, 4500, 7875})), 1500, 7890);
}

TEST(NextToField, BesideTheFieldWhenNeitherBelowNorAboveHasRoom) {
  // Right of the field, top-aligned with it but kept on the screen.
  expectAt(placeNextToField(input({1500, 5000, 4500, 5375}, 3630, 11000)), 4515, 520);
  // Left of the field when the right side has no room either.
  expectAt(placeNextToField(input({12000, 5000, 14000, 5375}, 3630, 11000)), 12000 - 15 - 3630,
           520);
  // Neither side has room: x is clamped to 0.
  expectAt(placeNextToField(input({5000, 5000, 10000, 5375}, 15000, 11000)), 0, 520);
}

TEST(NextToField, FieldAboveTheScreenUsesTheSidePlacement) {
  expectAt(placeNextToField(input({1000, -3000, 3000, -2000})), 3015, 0);
}

TEST(NextToField, PadTallerThanTheScreenEndsAtTheTop) {
  expectAt(placeNextToField(input({1000, 1000, 2000, 1375}, 3630, 12000)), 2015, 0);
}

TEST(NextToField, NoTargetWindowPlacesOnePixelBelowTheScreenTop) {
  expectAt(placeNextToField(input({0, 0, 0, 0})), 0, 15);
}

TEST(NextToField, PositionsAreWholeTwipsRoundedHalfToEven) {
  PlacementInput in = input({100, 100, 200, 100});
  in.pixelY = 12.5f;  // 115.2 dpi
  expectAt(placeNextToField(in), 100, 112);  // 112.5 goes to the even 112
  in.field.bottom = 101;
  expectAt(placeNextToField(in), 100, 114);  // 113.5 goes to the even 114
}

TEST(ClearOfField, StaysWhereItIsWhenClear) {
  EXPECT_FALSE(placeClearOfField(input({0, 0, 1500, 375})).move);
  // A field that is no window never overlaps.
  EXPECT_FALSE(placeClearOfField(input({0, 0, 0, 0})).move);
}

TEST(ClearOfField, TriesTheCornersInOrder) {
  // Overlaps the design position; the top-left corner is clear.
  expectAt(placeClearOfField(input({4000, 4000, 6000, 4375})), 0, 0);
  // The top-left corner is taken: bottom-left.
  expectAt(placeClearOfField(input({0, 0, 6000, 5000})), 0, 11520 - 3630);
  // The whole left half is taken: top-right.
  expectAt(placeClearOfField(input({0, 0, 7680, 11520})), 15360 - 3630, 0);
  // Everything overlaps: bottom-right, even though it overlaps too.
  expectAt(placeClearOfField(input({0, 0, 15360, 11520})), 15360 - 3630, 11520 - 3630);
}

TEST(ClearOfField, ThePadsLastPixelMayLieOverTheFieldsFirst) {
  PlacementInput in = input({0, 0, 0, 0});
  in.padLeft = 0;
  in.padTop = 0;
  // The pad's outer edge is at 3630; its rectangle stops one pixel short, at 3615.
  in.field = {3615, 0, 6000, 375};
  EXPECT_FALSE(placeClearOfField(in).move);
  in.field = {0, 3615, 3000, 6000};
  EXPECT_FALSE(placeClearOfField(in).move);
  in.field = {3614, 0, 6000, 375};
  EXPECT_TRUE(placeClearOfField(in).move);
}

TEST(Centred, CentresEvenOverTheField) {
  expectAt(placeCentred(input({0, 0, 15360, 11520})), (15360 - 3630) / 2.0f,
           (11520 - 3630) / 2.0f);
  expectAt(placeCentred(input({0, 0, 0, 0}, 3631, 3631)), 5864.5f, 3944.5f);
}

TEST(PlacementMode, OtherModesLeaveThePadWhereItIs) {
  for (int mode : {3, -1, 1000}) {
    EXPECT_FALSE(placePad(mode, input({4000, 4000, 6000, 4375})).move) << mode;
  }
  EXPECT_TRUE(placePad(0, input({4000, 4000, 6000, 4375})).move);
  EXPECT_TRUE(placePad(1, input({4000, 4000, 6000, 4375})).move);
  EXPECT_TRUE(placePad(2, input({4000, 4000, 6000, 4375})).move);
}

TEST(RectIntersection, EdgesAndEmptyRectangles) {
  EXPECT_TRUE(rectsIntersect({0, 0, 10, 10}, {9, 9, 20, 20}));
  EXPECT_FALSE(rectsIntersect({0, 0, 10, 10}, {10, 0, 20, 10}));
  EXPECT_FALSE(rectsIntersect({0, 0, 10, 10}, {0, 10, 10, 20}));
  EXPECT_FALSE(rectsIntersect({0, 0, 10, 10}, {5, 5, 5, 8}));   // empty
  EXPECT_FALSE(rectsIntersect({0, 0, 10, 10}, {8, 8, 2, 2}));   // inverted
  EXPECT_TRUE(rectsIntersect({-10, -10, 1, 1}, {0, 0, 5, 5}));
}

}  // namespace
}  // namespace pmx
