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

TEST(WindowPlacement, AWindowThatGrowsStaysOnTheScreen) {
    // At 144 DPI the lookup view (711 pixels) opens centred at 156; the panel view is 908 wide.
    EXPECT_EQ(LeftAfterWidening(kScreen, 156, 908), 116);
    EXPECT_EQ(LeftAfterWidening(kScreen, 275, 605), 275);  // 96 DPI: it fits, nothing moves
    EXPECT_EQ(LeftAfterWidening(kScreen, 419, 605), 419);  // exactly to the edge
    EXPECT_EQ(LeftAfterWidening({100, 0, 1124, 768}, 600, 908), 216);  // a second monitor
    EXPECT_EQ(LeftAfterWidening(kScreen, 300, 1210), 0);  // wider than the screen: the left edge
}

}  // namespace
}  // namespace tavrix::win
