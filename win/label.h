#pragma once
// Labels: the system's STATIC control, or, for a window that does without the common controls, a
// label that draws itself with user32 and GDI alone as STATIC draws left-aligned text (words
// wrapped, no prefix), on the background its window gives it (WM_CTLCOLORSTATIC).

#include <windows.h>

#include "win/window.h"

namespace tavrix::win {

// A STATIC control with left-aligned text that tells its window of clicks; `style` adds WS_VISIBLE
// and the like. Throws on failure.
HWND CreateSystemLabel(HWND parent, int id, const RECT& bounds, const wchar_t* text, DWORD style);

class Label : public Window {
public:
    Label(HWND parent, int id, const RECT& bounds, const wchar_t* text, bool shown);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Paint(HDC dc);

    HFONT font_ = nullptr;  // owned by the window
};

}  // namespace tavrix::win
