#include "controls/push_button.h"

#include <commctrl.h>
#include <oleacc.h>

#include <algorithm>
#include <string>

#include "win/accessible.h"
#include "win/error.h"
#include "win/gdi.h"
#include "win/subclass.h"
#include "win/window_text.h"

namespace tavrix::controls {
namespace {

// Width of the skin's border that keeps its shape while the middle stretches to the button.
constexpr int kSkinBorder = 4;

class PushButton {
public:
    explicit PushButton(const win::ButtonParts& params)
        : skin_(params.skin), icon_(params.icon), font_(params.font),
          accessibleName_(params.accessibleName ? params.accessibleName : L"") {}

    // Takes over the button's procedure; the object lives until the button goes.
    void Attach(HWND hwnd) { subclass_.Install(hwnd, &PushButton::Procedure, this); }

    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = win::Subclass::OwnerOf<PushButton>(hwnd);
        return win::Guarded<LRESULT>(0, [&] { return self->Handle(hwnd, message, wParam, lParam); });
    }

private:
    LRESULT Handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        switch (message) {
        case win::kReflectedDrawItem:
            Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_ERASEBKGND:
            return TRUE;  // the skin covers the whole button
        case WM_LBUTTONDBLCLK:
            // An owner-drawn button turns a quick second press into BN_DOUBLECLICKED; every press
            // and release over the button is a click of its own.
            return subclass_.Forward(hwnd, WM_LBUTTONDOWN, wParam, lParam);
        case WM_MOUSEMOVE:
            OnMouseMove(hwnd);
            break;
        case WM_MOUSELEAVE:
            hover_ = false;
            InvalidateRect(hwnd, nullptr, FALSE);
            break;
        case BM_CLICK:
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_CHAR:
            // A hidden button raises no click, whatever asks for one.
            if (!(GetWindowLongW(hwnd, GWL_STYLE) & WS_VISIBLE)) return 0;
            break;
        case WM_GETOBJECT: {
            const std::wstring caption = win::WindowText(hwnd);
            const std::wstring& name = caption.empty() ? accessibleName_ : caption;
            if (const LRESULT result =
                    win::AnswerAccessibleObject(hwnd, wParam, lParam, name, ROLE_SYSTEM_PUSHBUTTON))
                return result;
            break;
        }
        case WM_NCDESTROY: {
            const LRESULT result = subclass_.Forward(hwnd, message, wParam, lParam);
            delete this;
            return result;
        }
        }
        return subclass_.Forward(hwnd, message, wParam, lParam);
    }

    void OnMouseMove(HWND hwnd) {
        if (hover_) return;
        hover_ = true;
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, hwnd, 0};
        TrackMouseEvent(&track);
        InvalidateRect(hwnd, nullptr, FALSE);
    }

    void Draw(const DRAWITEMSTRUCT& item) const {
        const RECT& area = item.rcItem;
        win::BufferedPaint buffer(item.hDC, area);
        HDC dc = buffer.Dc();
        const SkinFrame frame = FrameFor(item.itemState, hover_);
        DrawSkin(dc, area, frame);
        DrawIcon(dc, area);
        DrawCaption(item.hwndItem, dc, area, frame);
    }

    // A square frame (the close picture) is a drawing and scales whole; a wider one is a body
    // that nine-slices: corners keep their pixels, edges stretch along one axis, the middle both.
    void DrawSkin(HDC dc, const RECT& area, SkinFrame frame) const {
        BITMAP skinSize{};
        if (!GetObjectW(skin_, sizeof(skinSize), &skinSize)) return;  // painting never throws
        const int frameWidth = skinSize.bmWidth / kSkinFrames;
        const int frameHeight = skinSize.bmHeight;
        const int sourceLeft = static_cast<int>(frame) * frameWidth;
        const int width = area.right - area.left;
        const int height = area.bottom - area.top;
        const int bx = std::min(kSkinBorder, width / 2);
        const int by = std::min(kSkinBorder, height / 2);

        HDC source = CreateCompatibleDC(dc);
        if (!source) return;
        if (frameWidth == frameHeight) {
            {
                win::Selection selected(source, skin_);
                SetStretchBltMode(dc, HALFTONE);
                SetBrushOrgEx(dc, 0, 0, nullptr);
                StretchBlt(dc, area.left, area.top, width, height, source, sourceLeft, 0, frameWidth,
                           frameHeight, SRCCOPY);
            }
            DeleteDC(source);
            return;
        }
        {
            win::Selection selected(source, skin_);
            SetStretchBltMode(dc, COLORONCOLOR);
            const int xs[4] = {0, bx, width - bx, width};
            const int sxs[4] = {0, kSkinBorder, frameWidth - kSkinBorder, frameWidth};
            const int ys[4] = {0, by, height - by, height};
            const int sys[4] = {0, kSkinBorder, frameHeight - kSkinBorder, frameHeight};
            for (int row = 0; row < 3; ++row) {
                for (int column = 0; column < 3; ++column) {
                    const int w = xs[column + 1] - xs[column];
                    const int h = ys[row + 1] - ys[row];
                    const int sw = sxs[column + 1] - sxs[column];
                    const int sh = sys[row + 1] - sys[row];
                    if (w <= 0 || h <= 0 || sw <= 0 || sh <= 0) continue;
                    StretchBlt(dc, area.left + xs[column], area.top + ys[row], w, h, source,
                               sourceLeft + sxs[column], sys[row], sw, sh, SRCCOPY);
                }
            }
        }
        DeleteDC(source);
    }

    // The icon picture sits inside the skin's border at the left, cut off where the button ends.
    void DrawIcon(HDC dc, const RECT& area) const {
        BITMAP size{};
        if (!icon_ || !GetObjectW(icon_, sizeof(size), &size)) return;
        const int inset = 2;
        const int width = std::min<int>(size.bmWidth, area.right - area.left - 2 * inset);
        const int height = std::min<int>(size.bmHeight, area.bottom - area.top - 2 * inset);
        if (width <= 0 || height <= 0) return;
        HDC source = CreateCompatibleDC(dc);
        if (!source) return;
        {
            win::Selection selected(source, icon_);
            BitBlt(dc, area.left + inset, area.top + inset, width, height, source, 0, 0, SRCCOPY);
        }
        DeleteDC(source);
    }

    void DrawCaption(HWND hwnd, HDC dc, RECT area, SkinFrame frame) const {
        const std::wstring caption = win::WindowText(hwnd);
        if (caption.empty()) return;
        if (frame == SkinFrame::Pressed) OffsetRect(&area, 1, 1);
        win::Selection selected(dc, font_);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, frame == SkinFrame::Disabled ? GetSysColor(COLOR_GRAYTEXT) : RGB(0, 0, 0));
        DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &area,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }

    HBITMAP skin_;
    HBITMAP icon_;
    HFONT font_;
    std::wstring accessibleName_;
    bool hover_ = false;
    win::Subclass subclass_;
};

}  // namespace

SkinFrame FrameFor(UINT itemState, bool hover) {
    if (itemState & ODS_DISABLED) return SkinFrame::Disabled;
    if (itemState & ODS_SELECTED) return SkinFrame::Pressed;
    if (hover) return SkinFrame::Hover;
    if (itemState & ODS_FOCUS) return SkinFrame::Focused;
    return SkinFrame::Normal;
}

HWND CreatePushButton(HWND parent, const win::ButtonParts& params) {
    const DWORD style = WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP | BS_OWNERDRAW |
                        (params.visible ? WS_VISIBLE : 0);
    HWND hwnd = CreateWindowExW(0, L"BUTTON", params.caption ? params.caption : L"", style,
                                params.bounds.left, params.bounds.top,
                                params.bounds.right - params.bounds.left,
                                params.bounds.bottom - params.bounds.top, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(params.id)),
                                GetModuleHandleW(nullptr), nullptr);
    win::Check(hwnd != nullptr, L"创建按钮");
    auto* button = new PushButton(params);
    try {
        button->Attach(hwnd);
    } catch (...) {
        delete button;
        DestroyWindow(hwnd);
        throw;
    }
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(params.font), FALSE);
    return hwnd;
}

}  // namespace tavrix::controls
