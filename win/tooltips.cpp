#include "win/tooltips.h"

#include <commctrl.h>

#include "win/error.h"

namespace tavrix::win {

// Owned by no window: Wine never makes a window topmost while it owns a popup, and "keep on top"
// must work. So its object destroys it, with its own window.
// A tip takes no click: it may stand over a neighbour of its control, and a click there must reach
// that neighbour. A layered window with WS_EX_TRANSPARENT passes the mouse to whatever lies beneath
// it, on Windows and under Wine alike (where a transparent tip's hit test alone leaves a click on
// it with no window). Fully opaque, and never faded, which would change its layered attributes.
Tooltips::Tooltips() {
    CreateHandle(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_LAYERED | WS_EX_TRANSPARENT, TOOLTIPS_CLASSW, nullptr,
                 WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX | TTS_NOANIMATE | TTS_NOFADE, {});
    Check(SetLayeredWindowAttributes(Handle(), 0, 255, LWA_ALPHA) != FALSE, L"创建提示窗口");
}

void Tooltips::Add(HWND control, const wchar_t* text) {
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    // A tip stands centred below its control, never over it: a click on a tip that covered its
    // control would go to the tip, since the system lets clicks through a transparent tip only
    // where it honours that (Wine does not for a tip that no window owns).
    tool.uFlags = TTF_IDISHWND | TTF_TRANSPARENT | TTF_CENTERTIP;
    tool.hwnd = GetAncestor(control, GA_ROOT);
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = const_cast<wchar_t*>(text);
    Check(SendMessageW(Handle(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool)) != FALSE, L"添加提示");
}

void Tooltips::Relay(const MSG& message) const noexcept {
    if (message.message >= WM_MOUSEFIRST && message.message <= WM_MOUSELAST)
        SendMessageW(Handle(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&message));
}

}  // namespace tavrix::win
