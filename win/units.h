#pragma once
// Layouts are written in twips (1/1440 inch), as the windows were designed; they become pixels
// at the system DPI here and only here. Pure arithmetic, tested natively.

namespace tavrix::win {

constexpr int kTwipsPerInch = 1440;

// Rounds half away from zero, as MulDiv does, so that 7110 twips at 120 DPI give 593 pixels.
constexpr int TwipsToPixels(int twips, int dpi) {
    const long long scaled = static_cast<long long>(twips) * dpi;
    const long long half = kTwipsPerInch / 2;
    return static_cast<int>(scaled >= 0 ? (scaled + half) / kTwipsPerInch
                                        : -((-scaled + half) / kTwipsPerInch));
}

// A font's LOGFONT height (negative: character height) for a size in tenths of a point.
constexpr int FontHeight(int tenthsOfPoint, int dpi) {
    const long long scaled = static_cast<long long>(tenthsOfPoint) * dpi;
    return -static_cast<int>((scaled + 360) / 720);
}

}  // namespace tavrix::win
