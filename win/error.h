#pragma once
// Errors of the Win32 layer. A failed control-property write or creation call throws; every
// boundary where the system calls the program (window and subclass procedures, hooks, callbacks,
// the program's entry) runs its body through Guarded, which hands the error to the one report: a
// message box, then the end of the program. Tests replace the report to watch errors arrive.

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

// Called from a catch block at a boundary; never throws.
void ReportCurrentException() noexcept;

// The last resort, for std::terminate (an exception that no boundary caught, or a termination
// without one): the report, then the end of the program with exit code 1, whatever the report did.
[[noreturn]] void ReportTermination(bool exceptionActive) noexcept;

// Runs the body of a boundary where no exception may pass: the system's frames lie between it and
// any handler further out, and an exception cannot unwind through them. An error goes to the
// report, and the boundary answers `fallback` (the default report has ended the program by then).
template <class Result, class Body>
Result Guarded(Result fallback, Body&& body) noexcept {
    try {
        return body();
    } catch (...) {
        ReportCurrentException();
        return fallback;
    }
}

}  // namespace tavrix::win
