#include "win/work_area.h"

#include "win/error.h"
#include "win/placement.h"

namespace tavrix::win {

namespace {

Area AreaOf(const RECT& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

}  // namespace

Screen ScreenOf(HWND window) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    const HMONITOR monitorOf = window ? MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY)
                                      : MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
    Check(GetMonitorInfoW(monitorOf, &monitor) != FALSE, L"读取屏幕工作区");
    return {AreaOf(monitor.rcWork), AreaOf(monitor.rcMonitor)};
}


void CentreInWorkArea(HWND window) {
    RECT outer;
    Check(GetWindowRect(window, &outer) != FALSE, L"读取窗口位置");
    const int width = outer.right - outer.left, height = outer.bottom - outer.top;
    const Place place = OpeningPlace(ScreenOf(window), width, height);
    if (place.x == outer.left && place.y == outer.top) return;
    Check(SetWindowPos(window, nullptr, place.x, place.y, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE) != FALSE,
          L"移动窗口");
}

}  // namespace tavrix::win
