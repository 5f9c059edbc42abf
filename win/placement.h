#pragma once
// Where a window opens, and where it goes when it grows: pure arithmetic on rectangles, tested
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

}  // namespace tavrix::win
