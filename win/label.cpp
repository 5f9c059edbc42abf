#include "win/label.h"

#include <string>

#include "win/colours.h"
#include "win/error.h"
#include "win/window_text.h"

namespace tavrix::win {
namespace {
const wchar_t kClassName[] = L"TavrixLabel";
}  // namespace

HWND CreateSystemLabel(HWND parent, int id, const RECT& bounds, const wchar_t* text, DWORD style) {
    HWND hwnd = CreateWindowExW(0, L"STATIC", text,
                                WS_CHILD | WS_CLIPSIBLINGS | SS_LEFT | SS_NOTIFY | SS_NOPREFIX | style,
                                bounds.left, bounds.top, bounds.right - bounds.left,
                                bounds.bottom - bounds.top, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                GetModuleHandleW(nullptr), nullptr);
    Check(hwnd != nullptr, L"创建标签");
    return hwnd;
}

Label::Label(HWND parent, int id, const RECT& bounds, const wchar_t* text, bool shown) {
    RegisterWindowClass(kClassName, 0, nullptr);
    CreateHandle(0, kClassName, text, WS_CHILD | WS_CLIPSIBLINGS | (shown ? WS_VISIBLE : 0), bounds.left,
                 bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
}

void Label::Paint(HDC dc) {
    RECT client;
    GetClientRect(Handle(), &client);
    FillBackground(Handle(), dc);
    const HGDIOBJ previous = font_ ? SelectObject(dc, font_) : nullptr;
    const std::wstring text = WindowText(Handle());
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &client,
              DT_LEFT | DT_EXPANDTABS | DT_WORDBREAK | DT_NOPREFIX);
    if (previous) SelectObject(dc, previous);
}

LRESULT Label::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return TRUE;  // the paint fills the background
    case WM_PAINT: {
        PAINTSTRUCT paint;
        Paint(BeginPaint(Handle(), &paint));
        EndPaint(Handle(), &paint);
        return 0;
    }
    case WM_SETTEXT: {
        // The new text shows at once, as the system's label shows it.
        const LRESULT result = Window::HandleMessage(message, wParam, lParam);
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
    return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace tavrix::win
