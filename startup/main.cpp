// Tavrix: the splash window first, and nothing else until its first tick.

#include <windows.h>

#include "main-window/main_window.h"
#include "startup/splash_window.h"
#include "win/message_loop.h"
#include "win/program.h"

namespace {

int Run() {
    tavrix::界面 mainWindow(GetCommandLineW());
    tavrix::Form1 splash(mainWindow);
    splash.Show();
    return tavrix::win::RunMessageLoop();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return tavrix::win::RunProgram(&Run); }
