#pragma once
// A picture box: a container of labels of its own, drawn in its background colour, a tab stop
// that a click focuses as Tab does. Its children's notifications belong to the window it stands on.

#include <windows.h>

#include "win/window.h"

namespace tavrix::win {

class PictureBox : public Window {
public:
    PictureBox(HWND parent, int id, const RECT& bounds, bool shown);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

}  // namespace tavrix::win
