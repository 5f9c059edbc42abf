#pragma once
// The push button of both programs: a standard BUTTON, owner-drawn with a skin of five equal
// frames side by side, its caption (the window text) centred in the button font, no focus
// rectangle. Being a real BUTTON, it takes Tab focus, clicks on Space and BM_CLICK, and reads as a
// push button to screen readers; it tells its parent of a click with WM_COMMAND / BN_CLICKED.

#include <windows.h>

#include "controls/control.h"

namespace tavrix::controls {

// The skin's frames, left to right.
enum class SkinFrame { Normal = 0, Hover = 1, Pressed = 2, Focused = 3, Disabled = 4 };
constexpr int kSkinFrames = 5;

// Which frame a button shows for its owner-draw state and whether the mouse is over it.
SkinFrame FrameFor(UINT itemState, bool hover);

// Its window hands it its WM_DRAWITEM as kReflectedDrawItem.
class PushButton : public Control {
public:
    // The skin and the icon picture (may be null) are shared and owned by the window. Throws on
    // failure.
    PushButton(const ControlParts& parts, HBITMAP skin, HBITMAP iconPicture);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnMouseMove();
    void Draw(const DRAWITEMSTRUCT& item) const;
    void DrawSkin(HDC dc, const RECT& area, SkinFrame frame) const;
    void DrawIconPicture(HDC dc, const RECT& area) const;
    void DrawCaption(HDC dc, RECT area, SkinFrame frame) const;

    HBITMAP skin_;
    HBITMAP iconPicture_;
    bool hover_ = false;
};

}  // namespace tavrix::controls
