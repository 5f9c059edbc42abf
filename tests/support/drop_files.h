#pragma once
// A drop as the system hands it to a window: one DROPFILES block with the wide names, each ended
// by a NUL (`names` may hold several), the list by one more.

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <string_view>

namespace tavrix::test {

inline HDROP DropOf(std::wstring_view names) {
    const size_t bytes = sizeof(DROPFILES) + (names.size() + 2) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    auto* files = static_cast<DROPFILES*>(GlobalLock(memory));
    files->pFiles = sizeof(DROPFILES);
    files->fWide = TRUE;
    std::copy(names.begin(), names.end(), reinterpret_cast<wchar_t*>(files + 1));
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

}  // namespace tavrix::test
