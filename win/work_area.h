#pragma once
// Where a top-level window opens on the screen.

#include <windows.h>

#include "win/placement.h"

namespace tavrix::win {

// The work area of the window's monitor (of the primary monitor for none). Throws on failure.
Area WorkAreaOf(HWND window);

// Moves the window, at its present size, to the centre of its monitor's work area (the screen
// less the taskbar), its top kept in reach (placement.h); a window already there stays untouched.
// Throws on failure.
void CentreInWorkArea(HWND window);

}  // namespace tavrix::win
