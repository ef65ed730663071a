// The monitors of the desktop: the one a pad goes on.
#include <cmath>

#include "win32/Win32Platform.h"

namespace pmx::win32 {

MonitorArea Win32Screen::monitorOf(const TwipRect& rect) {
  const float tx = twipsPerPixelX(), ty = twipsPerPixelY();
  const RECT pixels = {static_cast<LONG>(std::lround(rect.left / tx)),
                       static_cast<LONG>(std::lround(rect.top / ty)),
                       static_cast<LONG>(std::lround(rect.right / tx)),
                       static_cast<LONG>(std::lround(rect.bottom / ty))};
  MONITORINFO info = {};
  info.cbSize = sizeof info;
  HMONITOR monitor = MonitorFromRect(&pixels, MONITOR_DEFAULTTONEAREST);
  if (monitor == nullptr || !GetMonitorInfoA(monitor, &info))
    return {0, 0, widthTwips(), heightTwips()};
  // The whole monitor, task bars included. The process is system-DPI aware: one twips per
  // pixel holds for every monitor, whose coordinates the system scales to that DPI.
  const RECT& r = info.rcMonitor;
  return {static_cast<float>(r.left) * tx, static_cast<float>(r.top) * ty,
          static_cast<float>(r.right - r.left) * tx, static_cast<float>(r.bottom - r.top) * ty};
}

}  // namespace pmx::win32
