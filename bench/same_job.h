#pragma once
// The least programs that do each program's job, written plainly for the benchmark with nothing of
// the project but the lookup: the yardsticks the programs' figures are measured against.

#include <windows.h>

namespace same_job {

// The main window's job: a window of the lookup view's size with the input and output boxes of
// Text1 and Text2 (their styles, places, fonts, the input's limit of 6), a label in the buttons'
// and labels' face, so that every face the main window shows is in use, and the common controls
// loaded as Tavrix loads them (with its first window that has controls). On each change of the
// input, the lookup, and the output box written only when its text changes. Shown and updated.
HWND OpenMainWindow();
HWND MainInput(HWND window);
HWND MainOutput(HWND window);

// The help window's job and its first paint: a topmost captioned window of the help window's
// size with seven system buttons and the answer box, of the same places and fonts, the common
// controls loaded. Shown and updated.
HWND OpenHelpWindow();

// The message loop, until the window closes.
int Run();

}  // namespace same_job
