#include "win/picture_box.h"

#include "win/colours.h"

namespace tavrix::win {
namespace {
const wchar_t kClassName[] = L"TavrixPictureBox";
}  // namespace

PictureBox::PictureBox(HWND parent, int id, const RECT& bounds, bool shown) {
    RegisterWindowClass(kClassName, 0, nullptr);
    CreateHandle(0, kClassName, L"",
                 WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_TABSTOP | (shown ? WS_VISIBLE : 0),
                 bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top,
                 parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
}

LRESULT PictureBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_DRAWITEM:
        return SendMessageW(GetAncestor(Handle(), GA_ROOT), message, wParam, lParam);
    case WM_ERASEBKGND:
        FillBackground(Handle(), reinterpret_cast<HDC>(wParam));
        return TRUE;
    case WM_LBUTTONDOWN:
        SetFocus(Handle());
        return 0;
    }
    return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace tavrix::win
