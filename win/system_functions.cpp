#include "win/system_functions.h"

#include <commctrl.h>
#include <objbase.h>

#include <cwchar>

#include "win/error.h"

namespace tavrix::win {

FARPROC SystemFunction(const wchar_t* dll, const char* name, bool sideBySide) noexcept {
    HMODULE module = sideBySide ? LoadLibraryW(dll) : GetModuleHandleW(dll);
    if (!module) {
        // From the system folder by its full path: never a DLL of that name lying elsewhere.
        wchar_t path[MAX_PATH];
        const UINT length = GetSystemDirectoryW(path, MAX_PATH);
        const size_t name = std::wcslen(dll);
        if (length == 0 || length + 1 + name >= MAX_PATH) return nullptr;
        path[length] = L'\\';
        std::wmemcpy(path + length + 1, dll, name + 1);
        module = LoadLibraryW(path);
    }
    return module ? GetProcAddress(module, name) : nullptr;
}

void StartCommonControls() {
    static bool started = false;
    if (started) return;
    auto initialize = SystemFunctionOf<decltype(&InitCommonControlsEx)>(L"comctl32.dll", "InitCommonControlsEx", true);
    const INITCOMMONCONTROLSEX common{sizeof(common), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    Check(initialize != nullptr && initialize(&common) != FALSE, L"载入通用控件");
    started = true;
}

void StartCom() noexcept {
    static bool started = false;
    if (started) return;
    started = true;
    if (auto initialize = SystemFunctionOf<decltype(&CoInitializeEx)>(L"ole32.dll", "CoInitializeEx"))
        initialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
}

}  // namespace tavrix::win
