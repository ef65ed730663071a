// Several monitors and their DPIs: a pad goes on the monitor that holds its field, in every
// placement mode, laid out for that monitor's DPI; its move keys push it into the corners of the
// monitor it is on; and when the screen changes under a pad on screen, it is placed again.
#include <gtest/gtest.h>

#include "KeyboardRig.h"

namespace pmx {
namespace {

using test::kField;

// Beside the primary 1024 x 768 monitor: 1280 x 1024 pixels right of it, the same left of it
// reaching 256 pixels higher, 1024 x 768 above it.
constexpr Monitor kPrimary{{0, 0, 1024, 768}, 96};
constexpr Monitor kRight{{1024, 0, 2304, 1024}, 96};
constexpr Monitor kLeft{{-1280, -256, 0, 768}, 96};
constexpr Monitor kAbove{{0, -768, 1024, 0}, 96};

struct MonitorsRig : test::KeyboardRig {
  explicit MonitorsRig(std::vector<Monitor> monitors = {kPrimary, kRight, kLeft, kAbove}) {
    fake.screen.monitors = std::move(monitors);
    start();
  }
  // Shows the decimal pad (3660 x 3060 twips) for a field at these pixels, or for no window.
  Pad& show(std::int32_t mode, PixelRect field, bool isWindow = true) {
    request("QDM32_1_TOUCHPOSITION", 0, mode);
    fake.host.windows[kField].rect = field;
    notify(isWindow ? kField : 0x3000, 306, 0);
    return *keyboard.pads().pad(kPadNum);
  }
  const test::FakeWindow& window() { return *fake.windows.windowOf.at(keyboard.pads().pad(0)); }
  std::vector<std::int32_t> bounds() {
    const PixelRect& b = window().bounds;
    return {b.left, b.top, b.right - b.left, b.bottom - b.top};
  }
  void screenChanged(std::uint32_t message = kWmDisplayChange, std::uintptr_t wParam = 0) {
    keyboard.KeyboardWindowProc(fake.host.messageWindow, message, wParam, 0);
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
}

// A pad is laid out for the DPI of its monitor: at 144 DPI its client area has one and a half
// times its pixels at 96 (and a frame of 5 pixels across instead of 4), and it sits exactly one
// pixel below its field there; a move key pushes it into a corner of that monitor. A pad that stays
// where it is stays on its monitor. When the DPI of its monitor changes while it is shown, it is
// laid out and placed again by its rule.
TEST(Monitors, EachPadIsLaidOutForTheDpiOfItsMonitor) {
  MonitorsRig rig({kPrimary, Monitor{{1024, -100, 2048, 668}, 144}});
  Pad& num = rig.show(1, {100, 100, 300, 125});
  rig.show(7, {1100, 100, 1300, 125});
  EXPECT_EQ(rig.bounds(), std::vector<std::int32_t>({100, 126, 244, 204}));
  rig.fake.screen.monitors[0].dpi = 144;
  num.dpiChanged();
  EXPECT_EQ(rig.bounds(), std::vector<std::int32_t>({100, 126, 365, 305}));
  rig.fake.screen.monitors[0].dpi = 96;
  rig.show(1, {1100, 100, 1300, 125});
  EXPECT_EQ(rig.bounds(), std::vector<std::int32_t>({1100, 126, 365, 305}));
  EXPECT_EQ(rig.window().dpi, 144);
  rig.touch(num, ControlArray::Move, 3);
  EXPECT_EQ(rig.bounds(), std::vector<std::int32_t>({1683, 363, 365, 305}));
}

// The screen changes under a pad on screen (the display's mode, the work area, a monitor gone): it
// is placed again by the rule that placed it, on the screen as it is now (on the nearest monitor
// when the field's is gone), and never left partly off it. The field keeps the focus and the host
// hears nothing. A pad that a move key put into a corner stays in that corner; a hidden pad stays
// where it is until it is shown.
TEST(Monitors, AChangedScreenPlacesThePadAgainByItsRule) {
  const Monitor small{{0, 0, 800, 600}, 96}, portrait{{0, 0, 768, 1024}, 96};
  const PixelRect bottomRight{900, 680, 1000, 705}, middle{600, 420, 700, 445};
  const struct {
    const char* what;
    std::int32_t mode, corner;
    PixelRect field;
    Monitor now;
    std::int32_t left, top;
  } rows[] = {
      {"next to the field, pulled on", 1, -1, bottomRight, small, 556, 396},
      {"next to the field, portrait", 1, -1, bottomRight, portrait, 524, 706},
      {"centred", 2, -1, bottomRight, small, 278, 198},
      {"clear of the field, pulled on", 0, -1, bottomRight, small, 556, 396},
      {"clear of the field, pulled onto it", 0, -1, middle, small, 0, 0},
      {"where it is, pulled on", 7, -1, bottomRight, portrait, 524, 475},
      {"in the corner a move key chose", 1, 2, bottomRight, portrait, 0, 820},
      {"in the upper left corner", 1, 0, bottomRight, portrait, 0, 0},
      {"in the lower right corner", 1, 3, bottomRight, portrait, 524, 820},
      {"its monitor gone, on the nearest", 1, -1, {2200, 900, 2290, 925}, kPrimary, 780, 564},
  };
  std::uint32_t message = kWmDisplayChange;
  for (const auto& row : rows) {
    MonitorsRig rig({kPrimary, kRight});
    Pad& pad = rig.show(1, row.field);  // below or above the field
    rig.show(row.mode, row.field);
    rig.touch(pad, ControlArray::Move, row.corner);
    pad.Touch(ControlArray::Move, 4);  // moves nothing, and keeps no corner
    const std::size_t sent = rig.fake.host.sent.size();
    rig.fake.screen.monitors = {row.now};
    message = message == kWmDisplayChange ? kWmSettingChange : kWmDisplayChange;
    rig.screenChanged(message, kSpiSetWorkArea);
    const PixelRect& b = rig.window().bounds;
    EXPECT_EQ(std::make_pair(b.left, b.top), std::make_pair(row.left, row.top)) << row.what;
    EXPECT_EQ(rig.fake.host.focus, kField);
    EXPECT_EQ(rig.fake.host.sent.size(), sent);
    // Another setting changed, or a hidden pad: nothing moves.
    rig.fake.screen.monitors = {kPrimary};
    rig.screenChanged(kWmSettingChange);
    pad.Hide();
    rig.screenChanged();
    EXPECT_EQ(std::make_pair(b.left, b.top), std::make_pair(row.left, row.top)) << row.what;
  }
}

}  // namespace
}  // namespace pmx
