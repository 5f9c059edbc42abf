#include "win/window_text.h"

#include "win/error.h"

namespace tavrix::win {

std::wstring WindowText(HWND window) {
    SetLastError(ERROR_SUCCESS);
    const int length = GetWindowTextLengthW(window);
    if (length == 0 && GetLastError() != ERROR_SUCCESS) ThrowLastError(L"读取文字");
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    SetLastError(ERROR_SUCCESS);
    const int copied = GetWindowTextW(window, text.data(), length + 1);
    if (copied == 0 && GetLastError() != ERROR_SUCCESS) ThrowLastError(L"读取文字");
    text.resize(static_cast<size_t>(copied));
    return text;
}

}  // namespace tavrix::win
