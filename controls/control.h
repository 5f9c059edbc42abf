#pragma once
// What every control of a form is, whatever its kind: a child window of its container made from
// its row of the design, below the siblings made before it, shown or hidden as designed, in the
// font its form gives, and heard by screen readers by one rule (SettingsSpec::accessibleName).

#include <windows.h>

#include <string>

#include "controls/layout.h"
#include "win/window.h"

namespace tavrix::controls {

// What the form gives each control it makes.
struct ControlParts {
    HWND parent;
    const ControlSpec& placed;  // its row in the design
    const SettingsSpec& settings;
    RECT bounds;  // pixels, in the parent's client area
    HFONT font;   // shared, owned by the form
};

class Control : public win::Window {
protected:
    // Makes the window of a class of ours or the system's with the kind's own styles; throws on
    // failure. A kind whose caption is its content (a text box) is never heard by it. The role
    // is what a screen reader is told the control is; 0: what the system's object says.
    void CreateControl(const ControlParts& parts, DWORD exStyle, const wchar_t* className, DWORD style,
                       bool captionIsName = true, LONG role = 0);
    HFONT Font() const noexcept { return font_; }

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    HFONT font_ = nullptr;
    std::wstring heardName_;  // empty: its caption, where it has a role of its own; else the default
    LONG role_ = 0;
};

}  // namespace tavrix::controls
