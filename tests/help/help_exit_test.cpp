// TavrixHelp.exe run as the user runs it: "退出" and the close box both end the process at once
// with exit code 0 and leave no window behind.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "help/help_window.h"

namespace tavrix::help {
namespace {

constexpr wchar_t kProgram[] = L"" TAVRIX_HELP_EXE;

struct Search {
    DWORD process;
    HWND found;
};

BOOL CALLBACK FindProgramWindow(HWND hwnd, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    wchar_t className[64] = {};
    GetClassNameW(hwnd, className, 64);
    if (process == search->process && std::wstring(className) == L"TavrixHelpWindow") {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND WindowOf(DWORD process) {
    Search search{process, nullptr};
    EnumWindows(&FindProgramWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// One run of the program; a run that the test could not end is ended here.
class HelpProgram {
public:
    HelpProgram() {
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        std::wstring commandLine = L"\"" + std::wstring(kProgram) + L"\"";
        started_ = CreateProcessW(kProgram, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                  nullptr, &startup, &process_) != FALSE;
    }
    ~HelpProgram() {
        if (!started_) return;
        if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT)
            TerminateProcess(process_.hProcess, 99);
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
    HelpProgram(const HelpProgram&) = delete;
    HelpProgram& operator=(const HelpProgram&) = delete;

    bool Started() const { return started_; }

    // The program's window once it is visible, or null after ten seconds.
    HWND Window() const {
        for (int i = 0; i < 200; ++i) {
            HWND hwnd = WindowOf(process_.dwProcessId);
            if (hwnd && IsWindowVisible(hwnd)) return hwnd;
            if (WaitForSingleObject(process_.hProcess, 50) != WAIT_TIMEOUT) return nullptr;
        }
        return nullptr;
    }

    // The exit code once the process has ended within five seconds; otherwise STILL_ACTIVE.
    DWORD ExitCode() const {
        WaitForSingleObject(process_.hProcess, 5000);
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(process_.hProcess, &code);
        return code;
    }

    DWORD Id() const { return process_.dwProcessId; }

private:
    PROCESS_INFORMATION process_{};
    bool started_ = false;
};

TEST(HelpProgramExit, ExitButtonEndsTheProgramAtOnceWhateverTheBoxHolds) {
    HelpProgram program;
    ASSERT_TRUE(program.Started()) << "cannot start the help program";
    HWND window = program.Window();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);

    HWND box = GetDlgItem(window, Form1::Text1);
    ASSERT_NE(box, nullptr);
    DWORD_PTR result = 0;
    SendMessageTimeoutW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"用户自己输入的文字"),
                        SMTO_ABORTIFHUNG, 2000, &result);
    HWND exitButton = GetDlgItem(window, Form1::Command7);
    ASSERT_NE(exitButton, nullptr);
    PostMessageW(exitButton, BM_CLICK, 0, 0);

    EXPECT_EQ(program.ExitCode(), 0u);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(WindowOf(program.Id()), nullptr);
}

TEST(HelpProgramExit, ClosingTheWindowEndsTheProgram) {
    HelpProgram program;
    ASSERT_TRUE(program.Started()) << "cannot start the help program";
    HWND window = program.Window();
    ASSERT_NE(window, nullptr);

    PostMessageW(window, WM_CLOSE, 0, 0);

    EXPECT_EQ(program.ExitCode(), 0u);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(WindowOf(program.Id()), nullptr);
}

}  // namespace
}  // namespace tavrix::help
