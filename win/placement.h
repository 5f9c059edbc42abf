#pragma once
// Where a window opens, and where it goes when it widens: pure arithmetic on rectangles, tested
// natively.

namespace tavrix::win {

struct Area {
    int left, top, right, bottom;
};
struct Place {
    int x, y;
};

// A monitor and its work area (the monitor less the taskbar and other docked panels).
struct Screen {
    Area work;
    Area monitor;
};

// The top-left corner of a window of the given outer size centred in `area`, wherever that puts it.
constexpr Place CentreOf(const Area& area, int width, int height) {
    return {area.left + ((area.right - area.left) - width) / 2,
            area.top + ((area.bottom - area.top) - height) / 2};
}

// The window's top-left corner as near to `wished` as keeps it on the screen, each axis on its
// own: wholly inside the work area where it fits there; where it does not, wholly inside the
// monitor, over a docked panel rather than past the edge; where it is larger than the monitor, at
// the monitor's top-left, so that its title strip, the only way to move it, stays in reach.
constexpr Place PlaceOnScreen(const Screen& screen, Place wished, int width, int height) {
    auto axis = [](int wished, int size, int work_low, int work_high, int low, int high) {
        if (size <= work_high - work_low) {
            low = work_low;
            high = work_high;
        } else if (size > high - low) {
            return low;
        }
        const int last = high - size;
        return wished < low ? low : wished > last ? last : wished;
    };
    const Area& work = screen.work;
    const Area& monitor = screen.monitor;
    return {axis(wished.x, width, work.left, work.right, monitor.left, monitor.right),
            axis(wished.y, height, work.top, work.bottom, monitor.top, monitor.bottom)};
}

// Where a window opens: centred in the work area, and kept on the screen.
constexpr Place OpeningPlace(const Screen& screen, int width, int height) {
    return PlaceOnScreen(screen, CentreOf(screen.work, width, height), width, height);
}

// Where a window goes when it widens to `width`, its right edge moving out: up and left just as
// far as puts the part it adds wholly inside the work area, on each axis where that part fits
// there, and as far as brings that part's top or left edge to the work area's where it does not.
// Never right or down: a window dragged partly off the screen stays where it was put.
constexpr Place Widened(const Area& work, const Area& window, int width) {
    auto back = [](int low, int high, int work_low, int work_high) {
        const int past = high - low <= work_high - work_low ? high - work_high : low - work_low;
        return past > 0 ? past : 0;
    };
    if (width <= window.right - window.left) return {window.left, window.top};
    return {window.left - back(window.right, window.left + width, work.left, work.right),
            window.top - back(window.top, window.bottom, work.top, work.bottom)};
}

}  // namespace tavrix::win
