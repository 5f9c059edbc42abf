#pragma once
// The main window's design: the window, its controls, their settings and its tab order, as
// constant tables.

#include "controls/layout.h"

namespace tavrix {

extern const controls::FormDesign kMainWindowDesign;

// Outer widths of the two views. The load handler narrows the window to the lookup view before it
// is first shown.
constexpr int kLookupViewWidthTwips = 7110;
constexpr int kPanelViewWidthTwips = 9075;

}  // namespace tavrix
