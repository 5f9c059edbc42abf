#pragma once
// Where a top-level window opens on the screen.

#include <windows.h>

#include "win/placement.h"

namespace tavrix::win {

// The monitor of the window (the primary monitor for none) and its work area. Throws on failure.
Screen ScreenOf(HWND window);

// Moves the window, at its present size, to the centre of its monitor's work area, kept on the
// screen (OpeningPlace); a window already there stays untouched. Throws on failure.
void CentreInWorkArea(HWND window);

}  // namespace tavrix::win
