#include "win/system_functions.h"

#include <objbase.h>

#include <string>

namespace tavrix::win {

FARPROC SystemFunction(const wchar_t* dll, const char* name) noexcept {
    HMODULE module = GetModuleHandleW(dll);
    if (!module) {
        // From the system folder by its full path: never a DLL of that name lying elsewhere.
        wchar_t folder[MAX_PATH];
        const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
        if (length == 0 || length >= MAX_PATH) return nullptr;
        const std::wstring path = std::wstring(folder, length) + L"\\" + dll;
        module = LoadLibraryW(path.c_str());
    }
    return module ? GetProcAddress(module, name) : nullptr;
}

void StartCom() noexcept {
    static bool started = false;
    if (started) return;
    started = true;
    using CoInitializeExFunction = HRESULT WINAPI(void*, DWORD);
    if (auto* initialize = SystemFunctionOf<CoInitializeExFunction>(L"ole32.dll", "CoInitializeEx"))
        initialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
}

}  // namespace tavrix::win
