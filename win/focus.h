#pragma once
// Keyboard focus in a window: its own tab order (dialog navigation would follow the stacking
// order instead), only ever on a control the user can see, and back where it was when the window
// is activated again.

#include <windows.h>

#include <vector>

namespace tavrix::win {

class Focus {
public:
    // The controls in tab order; the window's children or theirs.
    Focus(HWND window, std::vector<HWND> tabOrder) : window_(window), order_(std::move(tabOrder)) {}

    // Whether the control can take the focus: enabled, shown within shown containers, and not
    // wholly covered by a shown control above it. Controls beyond the window's edge keep their turn.
    bool CanTake(HWND control) const;

    // Tab and Shift+Tab, from a message of the queue; true if it was one.
    bool OnTabKey(const MSG& message);
    // Before the control is hidden: keys must not stay with a control that nobody sees.
    void OnHiding(HWND control);
    // After a control is shown: one shown over the focused control hides it from sight.
    void OnShown();
    // WM_ACTIVATE and WM_SETFOCUS of the window.
    void OnActivate(bool active);

private:
    void MoveOn(HWND from, bool backwards);

    HWND window_;
    std::vector<HWND> order_;
    HWND saved_ = nullptr;
};

}  // namespace tavrix::win
