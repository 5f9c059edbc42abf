#pragma once
// Errors of the Win32 layer. A failed control-property write or creation call throws; every window
// procedure catches at its boundary and hands the error to the one report, which shows a message
// box and ends the program. Tests replace the report to watch errors arrive.

#include <windows.h>

#include <exception>
#include <string>

namespace tavrix::win {

class Error : public std::exception {
public:
    Error(std::wstring what, DWORD code);
    const char* what() const noexcept override { return "Win32 call failed"; }
    // The failed operation with the system's own explanation of the code, for the report.
    std::wstring Describe() const;

private:
    std::wstring what_;
    DWORD code_;
};

// A number as decimal digits, for the texts of errors.
std::wstring Decimal(long long value);

// Throws Error for `what` with GetLastError() unless ok.
void Check(bool ok, const wchar_t* what);
[[noreturn]] void ThrowLastError(const wchar_t* what);

// The report of an error that reached a window procedure. The default one shows a message box and
// ends the process with exit code 1.
using ErrorReport = void (*)(const std::wstring& message);
ErrorReport SetErrorReport(ErrorReport report) noexcept;

// Called from a catch block at a window procedure's boundary; never throws.
void ReportCurrentException() noexcept;

}  // namespace tavrix::win
