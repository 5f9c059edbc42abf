#include "win/picture.h"

#include "win/colours.h"
#include "win/gdi.h"
#include "win/layout.h"

namespace tavrix::win {
namespace {
const wchar_t kClassName[] = L"TavrixPicture";
}  // namespace

Picture::Picture(HWND parent, int id, const RECT& bounds, bool shown, HBITMAP image) : image_(image) {
    RegisterWindowClass(kClassName, 0, nullptr);
    CreateHandle(0, kClassName, L"", WS_CHILD | WS_CLIPSIBLINGS | (shown ? WS_VISIBLE : 0),
                 bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top,
                 parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
}

void Picture::Paint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(Handle(), &paint);
    RECT client;
    GetClientRect(Handle(), &client);
    {
        BufferedPaint buffer(dc, client);
        FillBackground(Handle(), buffer.Dc());
        if (image_) DrawBitmap(buffer.Dc(), image_, 0, 0);
    }
    EndPaint(Handle(), &paint);
}

LRESULT Picture::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return TRUE;
    case WM_PAINT:
        Paint();
        return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
    case WM_XBUTTONDBLCLK:
        SendMessageW(GetParent(Handle()), WM_COMMAND,
                     MAKEWPARAM(GetDlgCtrlID(Handle()), kPictureMouseDown),
                     reinterpret_cast<LPARAM>(Handle()));
        return message >= WM_XBUTTONDOWN ? TRUE : 0;
    }
    return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace tavrix::win
