#include "win/program.h"

#include <windows.h>

#include "win/error.h"
#include "win/system_functions.h"

namespace tavrix::win {

int RunProgram(int (*body)()) {
    LoadDllsOnlyFromTheSystem();
    return Guarded(1, body);
}

bool LoadDllsOnlyFromTheSystem() noexcept {
    auto set = SystemFunctionOf<decltype(&SetDefaultDllDirectories)>(L"kernel32.dll", "SetDefaultDllDirectories");
    return set && set(LOAD_LIBRARY_SEARCH_SYSTEM32) != FALSE;
}

void EndProgram() { ExitProcess(0); }

}  // namespace tavrix::win
