// Placing a pad for a field: next to it, clear of it, centred; whole twips rounded half to even.
#include "pad_manager/Placement.h"

#include <gtest/gtest.h>

namespace pmx {
namespace {

// A 1024 x 768 screen at 15 twips per pixel; a pad of 242 x 242 pixels at its design position.
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

struct Case {
  const char* what;
  PlacementInput in;
  bool move;
  float left, top;
};

void expectPlacements(int mode, std::initializer_list<Case> cases) {
  for (const Case& c : cases) {
    const Placement p = placePad(mode, c.in);
    EXPECT_EQ(p.move, c.move) << c.what;
    if (c.move) {
      EXPECT_EQ(p.left, c.left) << c.what;
      EXPECT_EQ(p.top, c.top) << c.what;
    }
  }
}

TEST(Placement, NextToTheField) {
  expectPlacements(
      1, {{"below, left-aligned", input({1500, 1500, 4500, 1875}), true, 1500, 1890},
          {"pushed left at the right edge", input({14000, 1500, 15000, 1875}, 3630.5), true, 11730,
           1890},
          {"ending on the edge fits", input({11730, 1500, 12000, 1875}), true, 11730, 1890},
          {"above at the bottom", input({1500, 10000, 4500, 10375}), true, 1500, 6355},
          {"exactly fitting below", input({1500, 7500, 4500, 7875}), true, 1500, 7890},
          {"beside, right", input({1500, 5000, 4500, 5375}, 3630, 11000.5), true, 4515, 520},
          {"beside, left", input({12000, 5000, 14000, 5375}, 3630, 11000), true, 8355, 520},
          {"no room either side", input({5000, 5000, 10000, 5375}, 15000, 11000), true, 0, 520},
          {"field above the screen", input({1000, -3000, 3000, -2000}), true, 3015, 0},
          {"taller than the screen", input({1000, 1000, 2000, 1375}, 3630, 12000), true, 2015, 0},
          {"no target window", input({0, 0, 0, 0}), true, 0, 15}});
  PlacementInput in = input({100, 100, 200, 100});
  in.pixelY = 12.5f;  // 115.2 dpi: 112.5 goes to the even 112, 113.5 to 114
  expectPlacements(1, {{"half to even, down", in, true, 100, 112}});
  in.field.bottom = 101;
  expectPlacements(1, {{"half to even, up", in, true, 100, 114}});
}

TEST(Placement, ClearOfTheField) {
  PlacementInput corner = input({3615, 0, 6000, 375});
  corner.padLeft = corner.padTop = 0;  // its rectangle stops one pixel short of 3630
  PlacementInput below = corner;
  below.field = {0, 3615, 3000, 6000};
  PlacementInput overlapping = corner;
  overlapping.field = {3614, 0, 6000, 375};
  expectPlacements(
      0, {{"clear: stays", input({0, 0, 1500, 375}), false, 0, 0},
          {"no window never overlaps", input({0, 0, 0, 0}), false, 0, 0},
          {"top-left", input({4000, 4000, 6000, 4375}), true, 0, 0},
          {"bottom-left", input({0, 0, 6000, 5000}), true, 0, 7890},
          {"top-right", input({0, 0, 7680, 11520}, 3630.5), true, 11729.5f, 0},
          {"bottom-right even if it overlaps", input({0, 0, 15360, 11520}), true, 11730, 7890},
          {"last pixel column over the field", corner, false, 0, 0},
          {"last pixel row over the field", below, false, 0, 0},
          {"one pixel more overlaps", overlapping, true, 0, 7890}});
}

}  // namespace
}  // namespace pmx
