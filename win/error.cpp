#include "win/error.h"

#include <string_view>

namespace tavrix::win {
namespace {

std::wstring SystemMessage(DWORD code) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = length ? std::wstring(buffer, length) : std::wstring();
    LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' '))
        text.pop_back();
    return text;
}

std::wstring ProgramName() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring_view name(path);
    name = name.substr(name.find_last_of(L"\\/") + 1);
    return std::wstring(name.substr(0, name.rfind(L'.')));
}

// The message box, as it is made, goes above every window, topmost ones included: the system
// does not always honour MB_TOPMOST (Wine does not).
LRESULT CALLBACK RaiseMessageBox(int code, WPARAM wParam, LPARAM lParam) {
    return Guarded<LRESULT>(0, [&] {
        if (code == HCBT_ACTIVATE) {
            const auto box = reinterpret_cast<HWND>(wParam);
            wchar_t className[16] = {};
            GetClassNameW(box, className, 16);
            if (std::wstring_view(className) == L"#32770")
                SetWindowPos(box, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    });
}

// The report comes up above every window of the program, topmost ones included, and in the
// foreground: beneath a disabled topmost window the program would only look hung. The mouse is
// let go first, so that the box can be answered.
constexpr wchar_t kReportHeading[] = L"程序遇到了无法继续的错误，即将关闭。";
constexpr UINT kReportStyle = MB_OK | MB_ICONERROR | MB_TASKMODAL | MB_TOPMOST | MB_SETFOREGROUND;

void ShowAndExit(const std::wstring& message) {
    const std::wstring text = kReportHeading + (L"\r\n\r\n" + message);
    ReleaseCapture();
    HHOOK hook = SetWindowsHookExW(WH_CBT, &RaiseMessageBox, nullptr, GetCurrentThreadId());
    MessageBoxW(nullptr, text.c_str(), ProgramName().c_str(), kReportStyle);
    if (hook) UnhookWindowsHookEx(hook);
    ExitProcess(1);
}

ErrorReport g_report = &ShowAndExit;

}  // namespace

Error::Error(std::wstring what, DWORD code) : what_(std::move(what)), code_(code) {}

std::wstring Decimal(long long value) {
    wchar_t digits[24];
    return _i64tow(value, digits, 10);
}

std::wstring Error::Describe() const {
    std::wstring text = what_ + L"\r\n错误代码 " + Decimal(code_);
    const std::wstring system = SystemMessage(code_);
    if (!system.empty()) text += L"：" + system;
    return text;
}

void ThrowLastError(const wchar_t* what) {
    throw Error(what, GetLastError());
}

void Check(bool ok, const wchar_t* what) {
    if (!ok) ThrowLastError(what);
}

ErrorReport SetErrorReport(ErrorReport report) noexcept {
    ErrorReport previous = g_report;
    g_report = report ? report : &ShowAndExit;
    return previous;
}

void ReportCurrentException() noexcept {
    try {
        std::wstring message;
        try {
            throw;
        } catch (const Error& error) {
            message = error.Describe();
        } catch (const std::exception& error) {
            const std::string_view what = error.what();
            message.assign(what.begin(), what.end());
        } catch (...) {
            message = L"未知错误";
        }
        g_report(message);
    } catch (...) {
        // Not even room for the message's text, or a report that failed: the end without it.
        MessageBoxW(nullptr, kReportHeading, nullptr, kReportStyle);
        ExitProcess(1);
    }
}

void ReportTermination(bool exceptionActive) noexcept {
    if (exceptionActive) {
        ReportCurrentException();
    } else {
        try {
            g_report(L"程序异常终止");
        } catch (...) {
        }
    }
    ExitProcess(1);
}

}  // namespace tavrix::win
