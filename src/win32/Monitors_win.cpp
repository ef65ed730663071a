// The monitors of the desktop and their DPIs: the one a pad goes on.
#include <vector>

#include "win32/Win32Platform.h"

namespace pmx::win32 {

namespace {

// The effective DPI of a monitor (shcore, Windows 8.1 and later; MDT_EFFECTIVE_DPI is 0).
using GetDpiForMonitorFunction = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);

// What the system reports as the DPI of a monitor: its own where the system has DPIs per monitor,
// else the system's.
UINT reportedDpi(HMONITOR monitor) {
  static const auto getDpiForMonitor = [] {
    HMODULE shcore = LoadLibraryA("shcore.dll");
    return shcore != nullptr ? reinterpret_cast<GetDpiForMonitorFunction>(reinterpret_cast<void*>(
                                   GetProcAddress(shcore, "GetDpiForMonitor")))
                             : nullptr;
  }();
  UINT x = 0, y = 0;
  if (getDpiForMonitor != nullptr && SUCCEEDED(getDpiForMonitor(monitor, 0, &x, &y)) && x > 0) {
    return x;
  }
  return systemDpi();
}

// A DPI that the system announced to a window on a monitor (WM_DPICHANGED), with what it
// reported for that monitor at the time. The newer of the two counts: the announcement until the
// system reports something else for the monitor.
struct Announcement {
  HMONITOR monitor;
  UINT dpi;
  UINT reported;
};

std::vector<Announcement>& announcements() {
  static std::vector<Announcement> list;
  return list;
}

UINT dpiOf(HMONITOR monitor) {
  const UINT reported = reportedDpi(monitor);
  for (const Announcement& a : announcements()) {
    if (a.monitor == monitor && a.reported == reported) return a.dpi;
  }
  return reported;
}

Monitor monitorInfo(HMONITOR handle) {
  MONITORINFO info = {};
  info.cbSize = sizeof info;
  Monitor monitor;
  if (handle == nullptr || !GetMonitorInfoA(handle, &info)) {
    // No monitor to ask: the screen's size at the system's DPI.
    monitor.bounds = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    monitor.dpi = static_cast<std::int32_t>(reportedDpi(nullptr));
    return monitor;
  }
  // The whole monitor, task bars included; GetMonitorInfo follows a change of the display at
  // once, where the system's work-area setting may lag behind.
  const RECT& r = info.rcMonitor;
  monitor.bounds = {r.left, r.top, r.right, r.bottom};
  monitor.dpi = static_cast<std::int32_t>(dpiOf(handle));
  return monitor;
}

}  // namespace

void announceDpi(HWND window, UINT dpi) {
  HMONITOR monitor = MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST);
  if (monitor == nullptr || dpi == 0) return;
  std::vector<Announcement>& list = announcements();
  const UINT reported = reportedDpi(monitor);
  for (Announcement& a : list) {
    if (a.monitor == monitor) {
      a = {monitor, dpi, reported};
      return;
    }
  }
  list.push_back({monitor, dpi, reported});
}

Monitor Win32Screen::primary() {
  const POINT origin = {0, 0};
  return monitorInfo(MonitorFromPoint(origin, MONITOR_DEFAULTTOPRIMARY));
}

Monitor Win32Screen::monitorOf(const PixelRect& rect) {
  const RECT r = {rect.left, rect.top, rect.right, rect.bottom};
  return monitorInfo(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST));
}

}  // namespace pmx::win32
