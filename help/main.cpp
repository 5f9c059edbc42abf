// TavrixHelp: the help window and nothing else.
#include <windows.h>
#include <objbase.h>

#include "help/help_window.h"
#include "win/error.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // The common controls and the push button's accessibility answers want COM on this thread.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    try {
        tavrix::help::Form1 window;
        window.Show();
        return tavrix::win::RunMessageLoop();
    } catch (...) {
        tavrix::win::ReportCurrentException();
        return 1;
    }
}
