#pragma once
// A window's design as constant data: everything the window is, its controls in stacking order
// (the first on top), their settings beyond their place, and its tab order, with every place and
// size in twips. The form realises it; nothing else reads it.

#include <windows.h>

#include <span>

#include "win/colours.h"
#include "win/gdi.h"

namespace tavrix::controls {

enum class ControlKind {
    PushButton,  // the skinned push button (push_button.h)
    TextBox,     // multi-line EDIT with a vertical scroll bar
    Label,       // STATIC text, or a Label drawn by user32 and GDI alone where the window does
                 // without the common controls
    PictureBox,  // a container that holds labels of its own
    Picture,     // an image drawn unscaled; reports mouse presses
};

// One control: its place in twips within its container's client area, its caption (a text box's
// initial text), and whether it is shown at start.
struct ControlSpec {
    int id;
    ControlKind kind;
    int left, top, width, height;
    const wchar_t* caption;
    bool shown;
    int container = 0;  // id of the picture box holding it; 0: the window itself
};

// A control's settings beyond its place. Controls without a row take the kind's defaults.
struct SettingsSpec {
    int id;
    win::FontSpec font = {};          // no typeface: the window's default font
    win::Colour textColour = {};
    win::Colour backColour = {};
    const wchar_t* tooltip = nullptr;
    int pictureResource = 0;          // bitmap resource: a button's skin, a picture's image
    int iconPictureResource = 0;      // bitmap resource: the picture a button shows beside its caption
    DWORD style = 0;                  // styles beyond the kind's own (ES_READONLY, ...)
    int maxLength = 0;                // text boxes: the most a user can put in, in UTF-16 units
    // What a screen reader calls the control; null: its caption, where it has one that names it,
    // else its tooltip (control.h).
    const wchar_t* accessibleName = nullptr;
    bool liveRegion = false;          // text boxes: screen readers read out each change
};

struct FormDesign {
    const wchar_t* className;  // the window's own class, registered when it is first made
    int iconResource = 0;      // icon resource of the class; 0: none
    const wchar_t* caption = L"";
    DWORD style = 0;
    DWORD exStyle = 0;
    int clientWidthTwips = 0;
    int clientHeightTwips = 0;
    // The window's face: a packed bitmap resource drawn unscaled at the top-left corner, its
    // colour where the picture does not reach. 0: the colour alone.
    int pictureResource = 0;
    win::Colour background = win::SystemColour(COLOR_BTNFACE);
    win::FontSpec defaultFont;  // of every control whose settings name no font
    std::span<const ControlSpec> controls;
    std::span<const SettingsSpec> settings;
    std::span<const int> tabOrder;
    // Whether the window's controls come from the common controls (version 6, as the program's
    // manifest asks). A window of labels alone does without them: the DLL does not load for it,
    // and a first window comes up that much sooner.
    bool commonControls = true;
    // What a screen reader calls the window; null: its caption.
    const wchar_t* accessibleName = nullptr;
};

// WM_COMMAND notification of a Picture when any mouse button is pressed on it.
constexpr WORD kPictureMouseDown = 0x4001;
// The window hands WM_DRAWITEM of an owner-drawn child on to that child as this message.
constexpr UINT kReflectedDrawItem = WM_USER + 0x1C00 + WM_DRAWITEM;

}  // namespace tavrix::controls
