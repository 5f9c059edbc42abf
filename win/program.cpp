#include "win/program.h"

#include <windows.h>

#include "win/error.h"

namespace tavrix::win {

int RunProgram(int (*body)()) {
    try {
        return body();
    } catch (...) {
        ReportCurrentException();
        return 1;
    }
}

void EndProgram() { ExitProcess(0); }

}  // namespace tavrix::win
