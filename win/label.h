#pragma once
// A label that draws itself with user32 and GDI alone, as the system's STATIC control draws
// left-aligned text (words wrapped, no prefix), on the background its window gives it
// (WM_CTLCOLORSTATIC). For a window that does without the common controls.

#include <windows.h>

#include "win/window.h"

namespace tavrix::win {

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
