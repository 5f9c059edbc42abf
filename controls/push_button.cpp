#include "controls/push_button.h"

#include <commctrl.h>
#include <oleacc.h>

#include <algorithm>
#include <string>

#include "win/error.h"
#include "win/gdi.h"
#include "win/window_text.h"

namespace tavrix::controls {
namespace {

// Width of the skin's border that keeps its shape while the middle stretches to the button.
constexpr int kSkinBorder = 4;

}  // namespace

PushButton::PushButton(const ControlParts& parts, HBITMAP skin, HBITMAP iconPicture)
    : skin_(skin), iconPicture_(iconPicture) {
    CreateControl(parts, 0, L"BUTTON", WS_TABSTOP | BS_OWNERDRAW, true, ROLE_SYSTEM_PUSHBUTTON);
}

LRESULT PushButton::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case kReflectedDrawItem:
        Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_ERASEBKGND:
        return TRUE;  // the skin covers the whole button
    case WM_LBUTTONDBLCLK:
        // An owner-drawn button turns a quick second press into BN_DOUBLECLICKED; every press
        // and release over the button is a click of its own.
        return Control::HandleMessage(WM_LBUTTONDOWN, wParam, lParam);
    case WM_MOUSEMOVE:
        OnMouseMove();
        break;
    case WM_MOUSELEAVE:
        hover_ = false;
        InvalidateRect(Handle(), nullptr, FALSE);
        break;
    case BM_CLICK:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
        // A hidden button raises no click, whatever asks for one.
        if (!(GetWindowLongW(Handle(), GWL_STYLE) & WS_VISIBLE)) return 0;
        break;
    }
    return Control::HandleMessage(message, wParam, lParam);
}

void PushButton::OnMouseMove() {
    if (hover_) return;
    hover_ = true;
    TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, Handle(), 0};
    TrackMouseEvent(&track);
    InvalidateRect(Handle(), nullptr, FALSE);
}

void PushButton::Draw(const DRAWITEMSTRUCT& item) const {
    const RECT& area = item.rcItem;
    const win::BufferedPaint buffer(item.hDC, area);
    const SkinFrame frame = FrameFor(item.itemState, hover_);
    DrawSkin(buffer.Dc(), area, frame);
    DrawIconPicture(buffer.Dc(), area);
    DrawCaption(buffer.Dc(), area, frame);
}

// A square frame (the close picture) is a drawing and scales whole; a wider one is a body
// that nine-slices: corners keep their pixels, edges stretch along one axis, the middle both.
void PushButton::DrawSkin(HDC dc, const RECT& area, SkinFrame frame) const {
    const SIZE skin = win::PictureSize(skin_);
    const int frameWidth = skin.cx / kSkinFrames, frameHeight = skin.cy;
    const int sourceLeft = static_cast<int>(frame) * frameWidth;
    if (frameWidth == frameHeight) {
        SetStretchBltMode(dc, HALFTONE);
        SetBrushOrgEx(dc, 0, 0, nullptr);
        win::DrawPicture(dc, skin_, area, {sourceLeft, 0, sourceLeft + frameWidth, frameHeight});
        return;
    }
    SetStretchBltMode(dc, COLORONCOLOR);
    const int width = area.right - area.left, height = area.bottom - area.top;
    const int bx = std::min(kSkinBorder, width / 2), by = std::min(kSkinBorder, height / 2);
    const int xs[4] = {0, bx, width - bx, width};
    const int sxs[4] = {0, kSkinBorder, frameWidth - kSkinBorder, frameWidth};
    const int ys[4] = {0, by, height - by, height};
    const int sys[4] = {0, kSkinBorder, frameHeight - kSkinBorder, frameHeight};
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            if (xs[column + 1] > xs[column] && ys[row + 1] > ys[row] && sxs[column + 1] > sxs[column] &&
                sys[row + 1] > sys[row])
                win::DrawPicture(dc, skin_,
                                 {area.left + xs[column], area.top + ys[row], area.left + xs[column + 1],
                                  area.top + ys[row + 1]},
                                 {sourceLeft + sxs[column], sys[row], sourceLeft + sxs[column + 1],
                                  sys[row + 1]});
}

// The icon picture sits inside the skin's border at the left, cut off where the button ends.
void PushButton::DrawIconPicture(HDC dc, const RECT& area) const {
    const SIZE size = win::PictureSize(iconPicture_);
    const int inset = 2;
    const int width = std::min<int>(size.cx, area.right - area.left - 2 * inset);
    const int height = std::min<int>(size.cy, area.bottom - area.top - 2 * inset);
    if (width > 0 && height > 0)
        win::DrawPicture(dc, iconPicture_,
                         {area.left + inset, area.top + inset, area.left + inset + width, area.top + inset + height});
}

void PushButton::DrawCaption(HDC dc, RECT area, SkinFrame frame) const {
    const std::wstring caption = win::WindowText(Handle());
    if (caption.empty()) return;
    if (frame == SkinFrame::Pressed) OffsetRect(&area, 1, 1);
    win::Selection selected(dc, Font());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, frame == SkinFrame::Disabled ? GetSysColor(COLOR_GRAYTEXT) : RGB(0, 0, 0));
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &area,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

SkinFrame FrameFor(UINT itemState, bool hover) {
    if (itemState & ODS_DISABLED) return SkinFrame::Disabled;
    if (itemState & ODS_SELECTED) return SkinFrame::Pressed;
    if (hover) return SkinFrame::Hover;
    if (itemState & ODS_FOCUS) return SkinFrame::Focused;
    return SkinFrame::Normal;
}

}  // namespace tavrix::controls
