#include "controls/static_controls.h"

#include <string>

#include "win/colours.h"
#include "win/gdi.h"
#include "win/window_text.h"

namespace tavrix::controls {

using win::FillBackground;

SystemLabel::SystemLabel(const ControlParts& parts) {
    CreateControl(parts, 0, L"STATIC", SS_LEFT | SS_NOTIFY | SS_NOPREFIX);
}

Label::Label(const ControlParts& parts) {
    RegisterWindowClass(L"Label");
    CreateControl(parts, 0, L"Label", 0);
}

LRESULT Label::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return TRUE;  // the paint fills the background
    case WM_PAINT: {
        const win::PaintScope paint(Handle());
        RECT client;
        GetClientRect(Handle(), &client);
        FillBackground(Handle(), paint.get());
        const win::Selection font(paint.get(), font_);
        const std::wstring text = win::WindowText(Handle());
        DrawTextW(paint.get(), text.c_str(), static_cast<int>(text.size()), &client,
                  DT_LEFT | DT_EXPANDTABS | DT_WORDBREAK | DT_NOPREFIX);
        return 0;
    }
    case WM_SETTEXT: {
        // The new text shows at once, as the system's label shows it.
        const LRESULT result = Control::HandleMessage(message, wParam, lParam);
        RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        return result;
    }
    case WM_SETFONT:
        font_ = reinterpret_cast<HFONT>(wParam);
        if (LOWORD(lParam)) InvalidateRect(Handle(), nullptr, FALSE);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(font_);
    }
    return Control::HandleMessage(message, wParam, lParam);
}

PictureBox::PictureBox(const ControlParts& parts) {
    RegisterWindowClass(L"PictureBox");
    CreateControl(parts, 0, L"PictureBox", WS_CLIPCHILDREN | WS_TABSTOP);
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
    return Control::HandleMessage(message, wParam, lParam);
}

Picture::Picture(const ControlParts& parts, HBITMAP image) : image_(image) {
    RegisterWindowClass(L"Picture");
    CreateControl(parts, 0, L"Picture", 0);
}

LRESULT Picture::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return TRUE;
    case WM_PAINT: {
        const win::PaintScope paint(Handle());
        RECT client;
        GetClientRect(Handle(), &client);
        const win::BufferedPaint buffer(paint.get(), client);
        FillBackground(Handle(), buffer.Dc());
        win::DrawPicture(buffer.Dc(), image_);
        return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
    case WM_XBUTTONDBLCLK:
        SendMessageW(GetParent(Handle()), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(Handle()), kPictureMouseDown),
                     reinterpret_cast<LPARAM>(Handle()));
        return message >= WM_XBUTTONDOWN ? TRUE : 0;
    }
    return Control::HandleMessage(message, wParam, lParam);
}

}  // namespace tavrix::controls
