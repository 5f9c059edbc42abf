#pragma once
// The push button of both programs: a standard BUTTON, owner-drawn with a skin of five equal
// frames side by side, its caption (the window text) centred in the button font, no focus
// rectangle. Being a real BUTTON, it takes Tab focus, clicks on Space and BM_CLICK, and reads as a
// push button to screen readers; it tells its parent of a click with WM_COMMAND / BN_CLICKED.

#include <windows.h>

#include <memory>

#include "controls/skins.h"
#include "win/layout.h"

namespace tavrix::controls {

// The skin's frames, left to right.
enum class SkinFrame { Normal = 0, Hover = 1, Pressed = 2, Focused = 3, Disabled = 4 };
constexpr int kSkinFrames = 5;

// Which frame a button shows for its owner-draw state and whether the mouse is over it.
SkinFrame FrameFor(UINT itemState, bool hover);

// Makes the button as the bottom-most child of the parent (so earlier buttons lie above); the
// window owns it. Throws on failure. The window hands it its WM_DRAWITEM as kReflectedDrawItem.
std::unique_ptr<win::Window> MakePushButton(HWND parent, const win::ButtonParts& parts);

// The buttons of both programs' windows: this push button, in the skin of the captioned ones
// unless the design gives another (the close pictures).
constexpr win::Buttons kSkinnedButtons{&MakePushButton, IDB_BUTTON_SKIN};

}  // namespace tavrix::controls
