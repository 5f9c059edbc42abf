#include "win/program.h"

#include <windows.h>

#include "win/error.h"

namespace tavrix::win {

int RunProgram(int (*body)()) {
    LoadDllsOnlyFromTheSystem();
    return Guarded(1, body);
}

bool LoadDllsOnlyFromTheSystem() noexcept {
    using SetDirectories = BOOL WINAPI(DWORD);
    const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    auto* set = reinterpret_cast<SetDirectories*>(
        reinterpret_cast<void*>(kernel ? GetProcAddress(kernel, "SetDefaultDllDirectories") : nullptr));
    return set && set(LOAD_LIBRARY_SEARCH_SYSTEM32) != FALSE;
}

void EndProgram() { ExitProcess(0); }

}  // namespace tavrix::win
