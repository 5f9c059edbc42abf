#include "controls/text_box.h"

#include "win/accessible.h"
#include "win/error.h"
#include "win/window_text.h"

namespace tavrix::controls {
namespace {

// EVENT_OBJECT_LIVEREGIONCHANGED, which the headers give from Windows 8 on; older systems pass it by.
constexpr DWORD kLiveRegionChanged = 0x8019;

// Copying the text may fail (a large text when memory runs out): the clipboard is let go anyway.
std::wstring ClipboardText(HWND owner) {
    if (!OpenClipboard(owner)) return {};
    struct Close {
        ~Close() { CloseClipboard(); }
    } close;
    const HANDLE data = GetClipboardData(CF_UNICODETEXT);
    const auto* units = data ? static_cast<const wchar_t*>(GlobalLock(data)) : nullptr;
    if (!units) return {};
    struct Unlock {
        HANDLE data;
        ~Unlock() { GlobalUnlock(data); }
    } unlock{data};
    return units;
}

}  // namespace

TextBox::TextBox(const ControlParts& parts)
    : maxLength_(parts.settings.maxLength), liveRegion_(parts.settings.liveRegion) {
    CreateControl(parts, WS_EX_CLIENTEDGE, L"EDIT",
                  WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN, false);
    if (maxLength_ > 0) SendMessageW(Handle(), EM_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
}

std::wstring TextBox::Text() const { return win::WindowText(Handle()); }

void TextBox::SetText(std::wstring_view text) {
    if (Text() == text) return;
    Control::SetText(text);
    SendMessageW(GetParent(Handle()), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(Handle()), EN_CHANGE),
                 reinterpret_cast<LPARAM>(Handle()));
    if (liveRegion_) NotifyWinEvent(kLiveRegionChanged, Handle(), OBJID_CLIENT, CHILDID_SELF);
}

void TextBox::TypeOver(std::wstring_view text) {
    const std::wstring copy(text);
    const bool beyondLimit = maxLength_ > 0 && copy.size() > static_cast<size_t>(maxLength_);
    if (beyondLimit) SendMessageW(Handle(), EM_LIMITTEXT, copy.size(), 0);
    SendMessageW(Handle(), EM_SETSEL, 0, -1);
    SendMessageW(Handle(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(copy.c_str()));
    if (beyondLimit) SendMessageW(Handle(), EM_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
    if (Text() != text) throw win::Error(L"设置文字", ERROR_NOT_ENOUGH_MEMORY);
}

LRESULT TextBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const bool limited = maxLength_ > 0;
    switch (message) {
    case WM_CHAR:
        // A pair typed into the last free unit: neither half goes in.
        if (limited && IS_HIGH_SURROGATE(static_cast<wchar_t>(wParam)) && Room() == 1) {
            droppingPair_ = true;
            return 0;
        }
        if (droppingPair_ && IS_LOW_SURROGATE(static_cast<wchar_t>(wParam))) {
            droppingPair_ = false;
            return 0;
        }
        droppingPair_ = false;
        break;
    case WM_GETOBJECT:
        if (liveRegion_ && !marked_) {
            marked_ = true;
            win::MarkPoliteLiveRegion(Handle());
        }
        break;
    case WM_PASTE: {
        if (!limited) break;
        // What fits, less a first half whose second half would not.
        const std::wstring pasted = ClipboardText(Handle());
        const int room = Room();
        if (room > 0 && static_cast<int>(pasted.size()) > room &&
            IS_HIGH_SURROGATE(pasted[static_cast<size_t>(room) - 1])) {
            const std::wstring fitting = pasted.substr(0, static_cast<size_t>(room) - 1);
            SendMessageW(Handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(fitting.c_str()));
            return 0;
        }
        break;
    }
    }
    return Control::HandleMessage(message, wParam, lParam);
}

// Units that can still go in where the selection is: the selection itself is replaced.
int TextBox::Room() const {
    DWORD start = 0, end = 0;
    SendMessageW(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return maxLength_ - (GetWindowTextLengthW(Handle()) - static_cast<int>(end - start));
}

}  // namespace tavrix::controls
