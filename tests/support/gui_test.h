#pragma once
// Helpers for tests that drive real windows in this process: the program's own message handling,
// input through the system (SendInput), geometry read back from the windows, and the error report
// recorded instead of ending the test program.

#include <windows.h>

#include <chrono>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/oracle.h"
#include "tests/support/utf8.h"
#include "controls/form.h"

namespace tavrix::test {

using namespace std::chrono_literals;

// Handles this thread's queued messages as the program's loop does, for at least `duration`.
void Pump(std::chrono::milliseconds duration = 0ms);
// Pumps until `done` holds or the timeout passes; returns whether it held.
bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = 3000ms);

// Whether the program's loop would have ended: a WM_QUIT taken from the queue since the last call
// of ForgetQuit (pumping removes it, as the loop would).
bool QuitRequested();
void ForgetQuit();

// Makes a top-level window the foreground window with the keyboard focus on `focus`.
void Activate(HWND window, HWND focus = nullptr);

// Real input through the system's queue: keys go to the focused window, clicks to the window
// under the point. Each call pumps until the input has been handled.
void PressKey(WORD virtualKey, bool shift = false, bool control = false);
void TypeText(std::wstring_view text);  // one Unicode key press per UTF-16 unit
void ClickCentre(HWND control);
// A mouse event to hand to SendInput, for a press or a move that a test times itself.
INPUT MouseInput(DWORD flags, LONG dx = 0, LONG dy = 0);
// Moves the pointer as a mouse does (an absolute move through the input queue).
void MoveMouse(POINT screen);
POINT CentreOf(HWND control);

std::wstring TextOf(HWND window);
// A window's rectangle in its parent's client coordinates.
RECT RectInParent(HWND window);
bool OwnVisible(HWND window);  // its WS_VISIBLE style, whatever its parents'
// The child of `parent` that is seen and receives the mouse at a client point of `parent`.
HWND ChildAt(HWND parent, POINT client);

// Records errors handed to the program's error report for the lifetime of the object.
class ErrorReports {
public:
    ErrorReports();
    ~ErrorReports();
    static const std::vector<std::wstring>& Seen();
};

// The screen's DPI, and a length in twips at it in pixels: MulDiv's rounding, not the programs' own.
int ScreenDpi();
int PixelsOf(int twips);
// The colour of a pixel of a window as it is on the screen, after it has been redrawn whole.
COLORREF PixelOfWindow(HWND window, int x, int y);
// The colour of a pixel of one of the test program's bitmap resources.
COLORREF PixelOfBitmap(int resource, int x, int y);

// A window's controls by the names of its design, as its class numbers them.
using ControlIds = std::map<std::string, int, std::less<>>;
// Checks that a form, open and active at the running DPI, realises its design: centred in the
// work area, every control in its container at its place, in the stacking order of the design,
// with its text and visibility at start, its tip and none where the design has none, what a
// screen reader calls it and the role it is told, and its font; then Tab and Shift+Tab through
// the controls a user can see, in the design's tab order, typing nothing into a text box.
void ExpectRealisesDesign(controls::Form& form, const oracle::Design& design, const ControlIds& ids);

// Puts text on the clipboard for a paste.
void SetClipboardText(std::wstring_view text);

}  // namespace tavrix::test
