#pragma once
// A picture: an image drawn unscaled from its top-left corner, the window's face showing beyond
// it. A press of any mouse button on it is told to the window (WM_COMMAND, kPictureMouseDown).

#include <windows.h>

#include "win/window.h"

namespace tavrix::win {

class Picture : public Window {
public:
    // The image is shared and owned by the window; may be null.
    Picture(HWND parent, int id, const RECT& bounds, bool shown, HBITMAP image);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Paint();

    HBITMAP image_;
};

}  // namespace tavrix::win
