// Where a window opens, from its size and the screen's work area.
#include "win/placement.h"

#include <gtest/gtest.h>

namespace tavrix::win {
namespace {

constexpr Area kScreen{0, 0, 1024, 768};
constexpr Area kAboveTaskbar{0, 0, 1024, 738};

TEST(WindowPlacement, CentredWithinTheWorkArea) {
    const Place main = CentredIn(kScreen, 474, 426);  // the lookup view at 96 DPI
    EXPECT_EQ(main.x, 275);
    EXPECT_EQ(main.y, 171);
    EXPECT_EQ(CentredIn(kAboveTaskbar, 474, 426).y, 156);
    const Place offset = CentredIn({100, 50, 1124, 818}, 474, 426);  // a second monitor's area
    EXPECT_EQ(offset.x, 375);
    EXPECT_EQ(offset.y, 221);
}

TEST(WindowPlacement, ATallerWindowKeepsItsTopInReach) {
    // At 192 DPI the main window is 852 pixels tall: its title strip must not lie above the screen.
    const Place tall = CentredIn(kScreen, 948, 852);
    EXPECT_EQ(tall.y, 0);
    EXPECT_EQ(tall.x, 38);
    EXPECT_EQ(CentredIn({0, 40, 1024, 768}, 1210, 852).y, 40);  // a taskbar along the top
    EXPECT_EQ(CentredIn({0, 40, 1024, 768}, 1210, 852).x, 0);
}

}  // namespace
}  // namespace tavrix::win
