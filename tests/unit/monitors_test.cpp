// Several monitors: a pad goes on the monitor that holds its field, in every placement mode, and
// its move keys push it into the corners of the monitor it is on.
#include <gtest/gtest.h>

#include "KeyboardRig.h"

namespace pmx {
namespace {

using test::kField;

// Beside the primary 1024 x 768 monitor (15360 x 11520 twips), at 15 twips per pixel: 1280 x
// 1024 pixels right of it, the same left of it reaching 256 pixels higher, 1024 x 768 above it.
constexpr MonitorArea kRight{15360, 0, 19200, 15360};
constexpr MonitorArea kLeft{-19200, -3840, 19200, 15360};
constexpr MonitorArea kAbove{0, -11520, 15360, 11520};

struct MonitorsRig : test::KeyboardRig {
  MonitorsRig() {
    fake.screen.others = {kRight, kLeft, kAbove};
    start();
  }
  // Shows the decimal pad (3660 x 3060 twips) for a field at these pixels, or for no window.
  Pad& show(std::int32_t mode, PixelRect field, bool isWindow = true) {
    request("QDM32_1_TOUCHPOSITION", 0, mode);
    fake.host.windows[kField].rect = field;
    notify(isWindow ? kField : 0x3000, 306, 0);
    return *keyboard.pads().pad(kPadNum);
  }
};

TEST(Monitors, ThePadGoesOnTheMonitorOfTheField) {
  const struct {
    const char* what;
    std::int32_t mode;
    PixelRect field;
    bool isWindow;
    float left, top;
  } rows[] = {
      {"right of it, pushed to its right edge", 1, {2200, 100, 2300, 125}, true, 30900, 1890},
      {"left of it, kept in its left edge", 1, {-1300, -256, -1100, -231}, true, -19200, -3450},
      {"above it, out of its top-left corner", 0, {100, -700, 300, -675}, true, 0, -3060},
      {"above it, up to its top edge", 1, {100, -563, 300, -10}, true, 1500, -11520},
      {"all of it, its last corner", 0, {1024, 0, 2304, 1024}, true, 30900, 12300},
      {"across two, the larger share", 2, {900, 100, 1300, 125}, true, 23130, 6150},
      {"no field window, the primary", 2, {2200, 100, 2300, 125}, false, 5850, 4230},
  };
  for (const auto& row : rows) {
    MonitorsRig rig;
    const Pad& pad = rig.show(row.mode, row.field, row.isWindow);
    EXPECT_EQ(std::make_pair(pad.Left(), pad.Top()), std::make_pair(row.left, row.top)) << row.what;
  }
  // A move key pushes the pad into a corner of the monitor that holds it, here the right one.
  MonitorsRig rig;
  Pad& pad = rig.show(1, {1024, 100, 1100, 125});  // at that monitor's left edge
  rig.touch(pad, ControlArray::Move, 3);
  EXPECT_EQ(std::make_pair(pad.Left(), pad.Top()), std::make_pair(30900.0f, 12300.0f));
}

}  // namespace
}  // namespace pmx
