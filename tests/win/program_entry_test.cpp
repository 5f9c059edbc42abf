// The programs' entry and last resort as they ship, linked with their runtime (win/runtime.cpp):
// - an exception that escapes every boundary, and a call of std::terminate without one, each end
//   the program with its report and exit code 1;
// - once the program runs, a DLL lying beside it is no longer loaded by its name, while the
//   system's own still are.
// Not a GoogleTest program: GoogleTest needs more of the library's throwers than the runtime has.
//
//   program_entry_tests           runs each case in a process of its own; exit code 0 if all held
//   program_entry_tests CASE FILE one case; the text of a report it showed goes to FILE

#include <windows.h>

#include <cstdio>
#include <string>

#include "tests/support/utf8.h"
#include "win/error.h"
#include "win/program.h"

namespace {

constexpr wchar_t kPlanted[] = L"planted_probe.dll";  // built beside this program
std::wstring g_reportFile;

// The longest text among a message box's controls: its message.
BOOL CALLBACK LongestText(HWND control, LPARAM longest) {
    wchar_t text[1024] = {};
    GetWindowTextW(control, text, 1024);
    auto& kept = *reinterpret_cast<std::wstring*>(longest);
    if (wcslen(text) > kept.size()) kept = text;
    return TRUE;
}

// Answers the report's message box as a user would (OK), after writing down what it said: once it
// has its text, which it gets after it is activated.
void CALLBACK ReadAndAnswer(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    HWND box = FindWindowW(L"#32770", nullptr);
    std::wstring text;
    EnumChildWindows(box, &LongestText, reinterpret_cast<LPARAM>(&text));
    HANDLE file = CreateFileW(g_reportFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, text.c_str(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &written, nullptr);
    CloseHandle(file);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
}

LRESULT CALLBACK AnswerTheReport(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) SetTimer(nullptr, 0, 100, &ReadAndAnswer);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

[[noreturn]] void Fail() { throw tavrix::win::Error(L"无处可去的错误", ERROR_INVALID_DATA); }
void MayNotThrow() noexcept { Fail(); }

int LoadsThePlantedDll() {
    const HMODULE planted = LoadLibraryW(kPlanted);
    if (planted) FreeLibrary(planted);
    return (planted ? 2 : 0) | (LoadLibraryW(L"comctl32.dll") ? 0 : 4);
}

int RunCase(const std::wstring& name) {
    SetWindowsHookExW(WH_CBT, &AnswerTheReport, nullptr, GetCurrentThreadId());
    if (name == L"escape") MayNotThrow();
    if (name == L"terminate") std::terminate();
    if (name == L"dll-search-unprotected") return LoadsThePlantedDll();
    if (name == L"dll-search") {
        return tavrix::win::RunProgram([] {
            return LoadsThePlantedDll() | (tavrix::win::LoadDllsOnlyFromTheSystem() ? 0 : 8);
        });
    }
    return 99;
}

struct Case {
    const wchar_t* name;
    DWORD exitCode;
    const wchar_t* reported;  // a part of the report's text; null: no report
};

bool Check(const Case& c) {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    const std::wstring file = std::wstring(folder) + L"tavrix-report-" + c.name + L".txt";
    DeleteFileW(file.c_str());
    std::wstring command = L"\"" + std::wstring(self) + L"\" " + c.name + L" \"" + file + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        std::printf("FAIL  %s: could not start\n", tavrix::test::Narrow(c.name).c_str());
        return false;
    }
    const bool ended = WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0;
    DWORD code = 259;
    GetExitCodeProcess(process.hProcess, &code);
    if (!ended) TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);

    std::wstring report;
    HANDLE in = CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (in != INVALID_HANDLE_VALUE) {
        wchar_t text[1024] = {};
        DWORD read = 0;
        ReadFile(in, text, sizeof(text) - sizeof(wchar_t), &read, nullptr);
        CloseHandle(in);
        report = text;
        DeleteFileW(file.c_str());
    }
    const bool reportRight = c.reported ? report.find(c.reported) != std::wstring::npos : report.empty();
    const bool ok = ended && code == c.exitCode && reportRight;
    std::printf("%s  %s: exit code %lu (expected %lu), report \"%s\"\n", ok ? "ok  " : "FAIL",
                tavrix::test::Narrow(c.name).c_str(), static_cast<unsigned long>(code),
                static_cast<unsigned long>(c.exitCode), tavrix::test::Narrow(report).c_str());
    return ok;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 3) {
        g_reportFile = argv[2];
        return RunCase(argv[1]);
    }
    const Case cases[] = {
        {L"escape", 1, L"无处可去的错误"},
        {L"terminate", 1, L"程序异常终止"},
        // Without the program's entry the DLL beside it loads (2): the case below means something.
        {L"dll-search-unprotected", 2, nullptr},
        {L"dll-search", 0, nullptr},
    };
    bool all = true;
    for (const Case& c : cases) all = Check(c) && all;
    return all ? 0 : 1;
}
