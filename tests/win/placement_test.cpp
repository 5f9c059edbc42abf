// Where a window opens and where it goes when it grows, from its size and the screen it is on.
#include "win/placement.h"

#include <gtest/gtest.h>

#include <cstddef>

namespace tavrix::win {
namespace {

constexpr Area kScreen{0, 0, 1024, 768};
constexpr Area kSecond{1024, -128, 2304, 896};  // 1280 x 1024, right of the first, higher up
constexpr Area kLeftOfIt{-1280, 0, 0, 1024};

// Window sizes (outer, pixels): the lookup view 474 x 426 at 96 DPI, 711 x 638 at 144 DPI and
// 948 x 850 at 192 DPI; the panel view 605 wide at 96 DPI, 908 at 144 DPI and 1210 at 192 DPI.
struct Opening {
    Area work;
    Area monitor;
    int width, height;
    Place expected;
};

constexpr Opening kOpenings[] = {
    // Centred in the work area.
    {kScreen, kScreen, 474, 426, {275, 171}},
    {{0, 0, 1024, 738}, kScreen, 474, 426, {275, 156}},  // a taskbar at the bottom
    {{1024, -128, 2304, 866}, kSecond, 474, 426, {1427, 156}},
    {{-1280, 0, 0, 994}, kLeftOfIt, 711, 638, {-996, 178}},
    // Larger than the work area, not than the monitor: over the docked panel, inside the monitor.
    {{150, 0, 1024, 768}, kScreen, 908, 638, {116, 65}},  // a panel on the left
    {{0, 150, 1024, 768}, kScreen, 711, 638, {156, 130}},  // a panel at the top
    {{0, 0, 1024, 700}, kScreen, 711, 720, {156, 0}},  // a tall taskbar
    // Larger than the monitor: its top-left, so that the title strip stays in reach.
    {kScreen, kScreen, 948, 850, {38, 0}},
    {{0, 40, 1024, 768}, kScreen, 1210, 850, {0, 0}},
    {{-1280, 0, 0, 994}, kLeftOfIt, 1300, 1100, {-1280, 0}},
};

TEST(WindowPlacement, OpensCentredOnTheScreenItFits) {
    for (std::size_t row = 0; row < std::size(kOpenings); ++row) {
        const Opening& c = kOpenings[row];
        const Place place = OpeningPlace({c.work, c.monitor}, c.width, c.height);
        EXPECT_EQ(place.x, c.expected.x) << "row " << row;
        EXPECT_EQ(place.y, c.expected.y) << "row " << row;
    }
}

struct Widening {
    Area work;
    Area window;  // before it widens
    int width;
    Place expected;
};

constexpr Widening kWidenings[] = {
    // What it adds already lies on the work area: it stays.
    {kScreen, {275, 171, 749, 597}, 605, {275, 171}},
    {kScreen, {419, 171, 893, 597}, 605, {419, 171}},  // exactly to the edge
    {kScreen, {-40, 171, 434, 597}, 605, {-40, 171}},  // half off on the left: not pulled back
    {kScreen, {300, -60, 774, 366}, 605, {300, -60}},  // dragged above the top: not pulled down
    {{150, 0, 1024, 768}, {100, 65, 811, 703}, 908, {100, 65}},  // already over the panel
    {{1024, -128, 2304, 866}, {1100, 100, 1811, 738}, 908, {1100, 100}},
    // Beyond the right or the bottom edge: back just as far as brings it in.
    {kScreen, {156, 65, 867, 703}, 908, {116, 65}},
    {{150, 0, 1024, 768}, {231, 65, 942, 703}, 908, {116, 65}},  // its left part over the panel
    {{1024, -128, 2304, 866}, {1800, 100, 2511, 738}, 908, {1396, 100}},
    {kScreen, {275, 500, 749, 926}, 605, {275, 342}},  // hanging below the bottom
    {{0, 0, 1024, 738}, {600, 400, 1311, 1038}, 908, {116, 100}},  // beyond both, a taskbar
    {kScreen, {-300, 400, 411, 1038}, 908, {-300, 130}},  // off on the left, below the bottom
    // Taller than the work area: its top at the work area's, where that is up.
    {kScreen, {38, 40, 986, 890}, 1210, {-186, 0}},
    {{0, 40, 1024, 768}, {38, 0, 986, 850}, 1210, {-186, 0}},  // above the work area already
    // What it adds wider than the work area: its left edge at the work area's.
    {{0, 0, 100, 768}, {50, 100, 524, 526}, 605, {-474, 100}},
    // Narrower or as wide: it stays, wherever it is.
    {kScreen, {600, 500, 1508, 1138}, 711, {600, 500}},
};

TEST(WindowPlacement, WidenedWhatItAddsLiesOnTheWorkAreaNeverMovingRightOrDown) {
    for (std::size_t row = 0; row < std::size(kWidenings); ++row) {
        const Widening& c = kWidenings[row];
        const Place place = Widened(c.work, c.window, c.width);
        EXPECT_EQ(place.x, c.expected.x) << "row " << row;
        EXPECT_EQ(place.y, c.expected.y) << "row " << row;
    }
}

}  // namespace
}  // namespace tavrix::win
