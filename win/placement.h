#pragma once
// Where a window opens: pure arithmetic on rectangles, tested natively.

namespace tavrix::win {

struct Area {
    int left, top, right, bottom;
};
struct Place {
    int x, y;
};

// The top-left corner of a window of the given outer size centred within the work area (the
// screen less the taskbar). A window larger than the work area keeps its top-left corner inside
// it: its top is the title strip or title bar, the only way to move it, and must stay in reach.
constexpr Place CentredIn(const Area& work, int width, int height) {
    auto axis = [](int low, int high, int size) {
        const int centred = low + ((high - low) - size) / 2;
        return centred < low ? low : centred;
    };
    return {axis(work.left, work.right, width), axis(work.top, work.bottom, height)};
}

// The left edge of a window that has just grown to `width` at `left`: where its right edge would
// pass the work area's, it moves left just as far as keeps it inside, never past the area's left
// edge; where it fits, it stays.
constexpr int LeftAfterWidening(const Area& work, int left, int width) {
    if (left + width <= work.right) return left;
    const int inside = work.right - width;
    return inside < work.left ? work.left : inside;
}

}  // namespace tavrix::win
