// TavrixHelp: the help window and nothing else.

#include <windows.h>

#include "help/help_window.h"
#include "win/message_loop.h"
#include "win/program.h"

namespace {

int Run() {
    tavrix::help::Form1 window;
    window.Show();
    return tavrix::win::RunMessageLoop();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return tavrix::win::RunProgram(&Run); }
