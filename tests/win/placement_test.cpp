// Where a window opens and where it goes when it grows, from its size and the screen it is on.
#include "win/placement.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <optional>

namespace tavrix::win {
namespace {

constexpr Area kScreen{0, 0, 1024, 768};
constexpr Area kSecond{1024, -128, 2304, 896};  // 1280 x 1024, right of the first, higher up
constexpr Area kLeftOfIt{-1280, 0, 0, 1024};

struct Case {
    Area work;
    Area monitor;
    std::optional<Place> wished;  // nullopt: at its show, centred in the work area
    int width, height;
    Place expected;
};

// Window sizes (outer, pixels): the lookup view 474 x 426 at 96 DPI, 711 x 638 at 144 DPI and
// 948 x 850 at 192 DPI; the panel view 605 wide at 96 DPI, 908 at 144 DPI and 1210 at 192 DPI.
constexpr Case kCases[] = {
    // At its show: centred in the work area.
    {kScreen, kScreen, std::nullopt, 474, 426, {275, 171}},
    {{0, 0, 1024, 738}, kScreen, std::nullopt, 474, 426, {275, 156}},  // a taskbar at the bottom
    {{1024, -128, 2304, 866}, kSecond, std::nullopt, 474, 426, {1427, 156}},
    {{-1280, 0, 0, 994}, kLeftOfIt, std::nullopt, 711, 638, {-996, 178}},
    // Larger than the work area, not than the monitor: over the docked panel, inside the monitor.
    {{150, 0, 1024, 768}, kScreen, std::nullopt, 908, 638, {116, 65}},  // a panel on the left
    {{0, 150, 1024, 768}, kScreen, std::nullopt, 711, 638, {156, 130}},  // a panel at the top
    {{0, 0, 1024, 700}, kScreen, std::nullopt, 711, 720, {156, 0}},  // a tall taskbar
    // Larger than the monitor: its top-left, so that the title strip stays in reach.
    {kScreen, kScreen, std::nullopt, 948, 850, {38, 0}},
    {{0, 40, 1024, 768}, kScreen, std::nullopt, 1210, 850, {0, 0}},
    {{-1280, 0, 0, 994}, kLeftOfIt, std::nullopt, 1300, 1100, {-1280, 0}},

    // Grown at its present place: it stays where it fits, or moves just as far as keeps it in.
    {kScreen, kScreen, Place{156, 65}, 908, 638, {116, 65}},
    {kScreen, kScreen, Place{275, 171}, 605, 426, {275, 171}},
    {kScreen, kScreen, Place{419, 171}, 605, 426, {419, 171}},  // exactly to the edge
    {kScreen, kScreen, Place{-40, 171}, 605, 426, {0, 171}},  // dragged half off: back on
    {{150, 0, 1024, 768}, kScreen, Place{231, 65}, 908, 638, {116, 65}},  // not 34 past the edge
    {{150, 0, 1024, 768}, kScreen, Place{100, 65}, 908, 638, {100, 65}},  // already over the panel
    {{1024, -128, 2304, 866}, kSecond, Place{1800, 100}, 908, 638, {1396, 100}},
    {{1024, -128, 2304, 866}, kSecond, Place{1100, 100}, 908, 638, {1100, 100}},
    {kScreen, kScreen, Place{300, 0}, 1210, 850, {0, 0}},  // wider and taller than the screen
};

TEST(WindowPlacement, OnTheScreenItFits) {
    for (std::size_t row = 0; row < std::size(kCases); ++row) {
        const Case& c = kCases[row];
        const Screen screen{c.work, c.monitor};
        const Place place = c.wished ? PlaceOnScreen(screen, *c.wished, c.width, c.height)
                                     : OpeningPlace(screen, c.width, c.height);
        EXPECT_EQ(place.x, c.expected.x) << "row " << row;
        EXPECT_EQ(place.y, c.expected.y) << "row " << row;
    }
}

}  // namespace
}  // namespace tavrix::win
