#include "win/text_box.h"

#include <commctrl.h>

#include <string>

#include "win/error.h"

namespace tavrix::win {
namespace {

class WholeCharacterLimit {
public:
    explicit WholeCharacterLimit(int units) : units_(units) {}

    static LRESULT CALLBACK Subclass(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                     DWORD_PTR data) {
        auto* self = reinterpret_cast<WholeCharacterLimit*>(data);
        if (message == WM_NCDESTROY) {
            RemoveWindowSubclass(box, &WholeCharacterLimit::Subclass, 0);
            delete self;
            return DefSubclassProc(box, message, wParam, lParam);
        }
        return self->Handle(box, message, wParam, lParam);
    }

private:
    LRESULT Handle(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
        switch (message) {
        case WM_CHAR:
            // A pair typed into the last free unit: neither half goes in.
            if (IS_HIGH_SURROGATE(static_cast<wchar_t>(wParam)) && Room(box) == 1) {
                droppingPair_ = true;
                return 0;
            }
            if (droppingPair_ && IS_LOW_SURROGATE(static_cast<wchar_t>(wParam))) {
                droppingPair_ = false;
                return 0;
            }
            droppingPair_ = false;
            break;
        case WM_PASTE: {
            // What fits, less a first half whose second half would not.
            const std::wstring pasted = ClipboardText(box);
            const int room = Room(box);
            if (room > 0 && static_cast<int>(pasted.size()) > room &&
                IS_HIGH_SURROGATE(pasted[static_cast<size_t>(room) - 1])) {
                const std::wstring fitting = pasted.substr(0, static_cast<size_t>(room) - 1);
                SendMessageW(box, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(fitting.c_str()));
                return 0;
            }
            break;
        }
        }
        return DefSubclassProc(box, message, wParam, lParam);
    }

    // Units that can still go in where the selection is: the selection itself is replaced.
    int Room(HWND box) const {
        DWORD start = 0, end = 0;
        SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        const int length = GetWindowTextLengthW(box);
        return units_ - (length - static_cast<int>(end - start));
    }

    static std::wstring ClipboardText(HWND box) {
        std::wstring text;
        if (!OpenClipboard(box)) return text;
        if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
            if (const auto* units = static_cast<const wchar_t*>(GlobalLock(data))) {
                text = units;
                GlobalUnlock(data);
            }
        }
        CloseClipboard();
        return text;
    }

    int units_;
    bool droppingPair_ = false;
};

}  // namespace

void LimitText(HWND box, int units) {
    SendMessageW(box, EM_LIMITTEXT, static_cast<WPARAM>(units), 0);
    auto* limit = new WholeCharacterLimit(units);
    if (!SetWindowSubclass(box, &WholeCharacterLimit::Subclass, 0, reinterpret_cast<DWORD_PTR>(limit))) {
        delete limit;
        ThrowLastError(L"设置文本框长度");
    }
}

}  // namespace tavrix::win
