#pragma once
// The push button of both programs: a standard BUTTON, owner-drawn with a skin of five equal
// frames side by side, its caption (the window text) centred in the button font, no focus
// rectangle. Being a real BUTTON, it takes Tab focus, clicks on Space and BM_CLICK, and reads as a
// push button to screen readers; it tells its parent of a click with WM_COMMAND / BN_CLICKED.

#include <windows.h>

#include <string>

namespace tavrix::controls {

// The skin's frames, left to right.
enum class SkinFrame { Normal = 0, Hover = 1, Pressed = 2, Focused = 3, Disabled = 4 };
constexpr int kSkinFrames = 5;

// Which frame a button shows for its owner-draw state and whether the mouse is over it.
SkinFrame FrameFor(UINT itemState, bool hover);

struct PushButtonSpec {
    int id;
    const wchar_t* caption;  // may be empty: the skin alone is shown
    RECT bounds;             // pixels, in the parent's client area
    HBITMAP skin;            // shared, owned by the window
    HBITMAP icon;            // drawn inside the border, under the caption; may be null
    HFONT font;              // shared, owned by the window
    bool visible;
    // What a screen reader calls the button when it has no caption (its tooltip, e.g. "关闭").
    const wchar_t* accessibleName;
};

// Creates the button as the bottom-most child of the parent (so earlier buttons lie above).
// Throws on failure.
HWND CreatePushButton(HWND parent, const PushButtonSpec& params);

// The parent hands WM_DRAWITEM of an owner-drawn child on to that child as this message.
constexpr UINT kReflectedDrawItem = WM_USER + 0x1C00 + WM_DRAWITEM;

}  // namespace tavrix::controls
