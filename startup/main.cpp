// Tavrix: the splash window first, and nothing else until its first tick.

#include <windows.h>
#include <objbase.h>

#include "main-window/main_window.h"
#include "startup/splash_window.h"
#include "win/error.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // The splash picture is decoded by OLE, and the shell opens web pages: both want COM.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    try {
        tavrix::界面 mainWindow;
        tavrix::Form1 splash(mainWindow);
        splash.Show();
        return tavrix::win::RunMessageLoop();
    } catch (...) {
        tavrix::win::ReportCurrentException();
        return 1;
    }
}
