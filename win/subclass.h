#pragma once
// Taking over a system control's window procedure, directly: the control's GWLP_USERDATA, which
// the system's controls leave to their program, leads back to the object. Not the common
// controls' SetWindowSubclass: under Wine it looks the subclass up in the window's properties on
// every message, a round trip to the Wine server that costs more than a keystroke's own work.

#include <windows.h>

namespace tavrix::win {

class Subclass {
public:
    // Puts `procedure` in front of the control's own; throws on failure.
    void Install(HWND control, WNDPROC procedure, void* owner);
    // Gives the control its own procedure back (also done at WM_NCDESTROY by Forward).
    void Remove() noexcept;
    // The control's own procedure, for what `procedure` does not take itself.
    LRESULT Forward(HWND control, UINT message, WPARAM wParam, LPARAM lParam);

    template <class Owner>
    static Owner* OwnerOf(HWND control) noexcept {
        return reinterpret_cast<Owner*>(GetWindowLongPtrW(control, GWLP_USERDATA));
    }

private:
    HWND control_ = nullptr;
    WNDPROC original_ = nullptr;
};

}  // namespace tavrix::win
