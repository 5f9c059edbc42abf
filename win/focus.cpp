#include "win/focus.h"

namespace tavrix::win {
namespace {

bool CoveredFromAbove(HWND control) {
    RECT mine;
    if (!GetWindowRect(control, &mine)) return false;
    for (HWND above = GetWindow(control, GW_HWNDPREV); above; above = GetWindow(above, GW_HWNDPREV)) {
        RECT theirs, both;
        if ((GetWindowLongW(above, GWL_STYLE) & WS_VISIBLE) && GetWindowRect(above, &theirs) &&
            UnionRect(&both, &mine, &theirs) && EqualRect(&both, &theirs))
            return true;
    }
    return false;
}

}  // namespace

bool Focus::CanTake(HWND control) const {
    if (!IsWindowEnabled(control)) return false;
    for (HWND hwnd = control; hwnd && hwnd != window_; hwnd = GetParent(hwnd))
        if (!(GetWindowLongW(hwnd, GWL_STYLE) & WS_VISIBLE) || CoveredFromAbove(hwnd)) return false;
    return true;
}

void Focus::MoveOn(HWND from, bool backwards) {
    const int count = static_cast<int>(order_.size());
    if (count == 0) return;
    int current = -1;
    for (HWND hwnd = from; hwnd && hwnd != window_ && current < 0; hwnd = GetParent(hwnd))
        for (int i = 0; i < count; ++i)
            if (order_[static_cast<size_t>(i)] == hwnd) current = i;
    const int step = backwards ? count - 1 : 1;
    const int start = current >= 0 ? current : (backwards ? 0 : count - 1);
    for (int n = 1; n <= count; ++n) {
        HWND candidate = order_[static_cast<size_t>((start + n * step) % count)];
        if (candidate != from && CanTake(candidate)) {
            SetFocus(candidate);
            return;
        }
    }
    if (from && GetFocus() == from) SetFocus(window_);
}

bool Focus::OnTabKey(const MSG& message) {
    if (message.message != WM_KEYDOWN || message.wParam != VK_TAB || GetKeyState(VK_CONTROL) < 0 ||
        GetKeyState(VK_MENU) < 0)
        return false;
    MoveOn(GetFocus(), GetKeyState(VK_SHIFT) < 0);
    return true;
}

void Focus::OnHiding(HWND control) {
    HWND focus = GetFocus();
    if (focus && (focus == control || IsChild(control, focus))) MoveOn(control, false);
}

void Focus::OnShown() {
    HWND focus = GetFocus();
    if (focus && IsChild(window_, focus) && !CanTake(focus)) MoveOn(focus, false);
}

void Focus::OnActivate(bool active) {
    if (!active) {
        HWND focus = GetFocus();
        if (focus && IsChild(window_, focus)) saved_ = focus;
        return;
    }
    if (saved_ && IsWindow(saved_) && CanTake(saved_)) {
        SetFocus(saved_);
        return;
    }
    for (HWND control : order_) {
        if (CanTake(control)) {
            SetFocus(control);
            return;
        }
    }
    SetFocus(window_);
}

}  // namespace tavrix::win
