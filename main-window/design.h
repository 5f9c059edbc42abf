#pragma once
// The main window's design: its controls, their settings and its tab order, as constant tables.

#include "win/layout.h"

namespace tavrix {

extern const win::FormDesign kMainWindowDesign;

// Outer widths of the two views and the client area as designed, in twips. The load handler
// narrows the window to the lookup view before it is first shown.
constexpr int kLookupViewWidthTwips = 7110;
constexpr int kPanelViewWidthTwips = 9075;
constexpr int kClientWidthTwips = 9045;
constexpr int kClientHeightTwips = 6360;

}  // namespace tavrix
