#include "win/work_area.h"

#include "win/error.h"
#include "win/placement.h"

namespace tavrix::win {

Area WorkAreaOf(HWND window) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    Check(GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor) != FALSE,
          L"读取屏幕工作区");
    const RECT& work = monitor.rcWork;
    return {work.left, work.top, work.right, work.bottom};
}

void CentreInWorkArea(HWND window) {
    RECT outer;
    Check(GetWindowRect(window, &outer) != FALSE, L"读取窗口位置");
    const Place place = CentredIn(WorkAreaOf(window), outer.right - outer.left, outer.bottom - outer.top);
    Check(SetWindowPos(window, nullptr, place.x, place.y, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE) != FALSE,
          L"移动窗口");
}

}  // namespace tavrix::win
