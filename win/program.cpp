#include "win/program.h"

#include <windows.h>
#include <objbase.h>

#include "win/error.h"

namespace tavrix::win {

int RunProgram(int (*body)()) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    try {
        return body();
    } catch (...) {
        ReportCurrentException();
        return 1;
    }
}

void EndProgram() { ExitProcess(0); }

}  // namespace tavrix::win
