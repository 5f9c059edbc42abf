#include "win/work_area.h"

#include "win/error.h"
#include "win/placement.h"

namespace tavrix::win {

Area WorkAreaOf(HWND window) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    const HMONITOR monitorOf = window ? MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY)
                                      : MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
    Check(GetMonitorInfoW(monitorOf, &monitor) != FALSE, L"读取屏幕工作区");
    const RECT& work = monitor.rcWork;
    return {work.left, work.top, work.right, work.bottom};
}

void CentreInWorkArea(HWND window) {
    RECT outer;
    Check(GetWindowRect(window, &outer) != FALSE, L"读取窗口位置");
    const Place place = CentredIn(WorkAreaOf(window), outer.right - outer.left, outer.bottom - outer.top);
    if (place.x == outer.left && place.y == outer.top) return;
    Check(SetWindowPos(window, nullptr, place.x, place.y, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE) != FALSE,
          L"移动窗口");
}

}  // namespace tavrix::win
