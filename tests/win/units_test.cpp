// Twips to pixels and point sizes to font heights, at the DPI settings users have.
#include "win/units.h"

#include <gtest/gtest.h>

namespace tavrix::win {
namespace {

TEST(Twips, FifteenToThePixelAt96DpiRoundingHalvesAway) {
    EXPECT_EQ(TwipsToPixels(7110, 96), 474);
    EXPECT_EQ(TwipsToPixels(135, 96), 9);
    EXPECT_EQ(TwipsToPixels(7110, 120), 593);  // 592.5 rounds up
    EXPECT_EQ(TwipsToPixels(9045, 120), 754);  // 753.75
    EXPECT_EQ(TwipsToPixels(6390, 144), 639);
    EXPECT_EQ(TwipsToPixels(6390, 192), 852);
    EXPECT_EQ(TwipsToPixels(7, 96), 0);
    EXPECT_EQ(TwipsToPixels(8, 96), 1);
    EXPECT_EQ(TwipsToPixels(-8, 96), -1);
    EXPECT_EQ(TwipsToPixels(0, 120), 0);
}

TEST(FontHeight, PointsAtTheDpiAsANegativeCharacterHeight) {
    EXPECT_EQ(FontHeight(90, 96), -12);
    EXPECT_EQ(FontHeight(105, 96), -14);
    EXPECT_EQ(FontHeight(90, 120), -15);
    EXPECT_EQ(FontHeight(105, 120), -18);  // 17.5 rounds up
    EXPECT_EQ(FontHeight(105, 144), -21);
}

}  // namespace
}  // namespace tavrix::win
