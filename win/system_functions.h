#pragma once
// Functions of system DLLs that the programs need only now and then (the shell for a web page,
// COM, the buttons' answers to screen readers): looked up when first called, so that those DLLs
// load only then. Without them the first window comes sooner and the program takes less memory.

#include <windows.h>

namespace tavrix::win {

// The function `name` of the DLL `dll` in the system folder, loading it if need be; null if the
// system has none. A DLL that the program's manifest asks for side by side (the common controls,
// version 6) loads by its name alone, so that the system picks that version.
FARPROC SystemFunction(const wchar_t* dll, const char* name, bool sideBySide = false) noexcept;

// The same, as a pointer of the function's own type: SystemFunctionOf<decltype(&F)>(dll, "F").
template <class FunctionPointer>
FunctionPointer SystemFunctionOf(const wchar_t* dll, const char* name, bool sideBySide = false) noexcept {
    return reinterpret_cast<FunctionPointer>(reinterpret_cast<void*>(SystemFunction(dll, name, sideBySide)));
}

// The common controls, version 6 as the program's manifest asks, loaded and their classes
// registered, once; throws if the system has none.
void StartCommonControls();

// COM for this thread, a single-threaded apartment, started once when first needed (the shell
// and the accessibility answers want it).
void StartCom() noexcept;

}  // namespace tavrix::win
