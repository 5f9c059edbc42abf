#include "win/subclass.h"

#include "win/error.h"

namespace tavrix::win {

void Subclass::Install(HWND control, WNDPROC procedure, void* owner) {
    SetWindowLongPtrW(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
    SetLastError(ERROR_SUCCESS);
    original_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)));
    Check(original_ != nullptr, L"接管控件");
    control_ = control;
}

void Subclass::Remove() noexcept {
    if (control_ && original_ && IsWindow(control_)) {
        SetWindowLongPtrW(control_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
        SetWindowLongPtrW(control_, GWLP_USERDATA, 0);
    }
    control_ = nullptr;
}

LRESULT Subclass::Forward(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    const WNDPROC original = original_;
    if (message == WM_NCDESTROY) Remove();
    return CallWindowProcW(original, control, message, wParam, lParam);
}

}  // namespace tavrix::win
