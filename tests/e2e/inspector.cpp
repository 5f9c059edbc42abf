// The end-to-end tests' eyes: a console program that reads another program's windows from outside,
// as an accessibility or inspection tool would, and never touches their input.
//
// It serves one command per line on stdin and answers each with one line of JSON on stdout, so
// that a test run starts it once (a program start under Wine costs a large part of a second).
// A command is its name and its arguments separated by tabs; no argument holds a tab or a line end.
//
//   windows                  top-level windows, top of the stacking order first, and the
//                            foreground window
//   tree CLASS               the first window of that class with every control under it
//   clipboard TEXT           puts TEXT on the clipboard, for a paste
//   close CLASS|HWND         asks the window of that class, or one control, to close (WM_CLOSE):
//                            the system destroys a child window that gets WM_CLOSE, so its program
//                            meets a control that has gone away
//   watch MS CLASS...        polls until a window of each class is visible; when each appeared,
//                            by class
//   memory PID               the peak working set of a process
//   hear MS PID              what a screen reader is told of the process's live regions for MS
//                            milliseconds: first a line when it listens, then each
//                            EVENT_OBJECT_LIVEREGIONCHANGED (a WinEvent heard out of context) with
//                            the value and name that its object (AccessibleObjectFromEvent)
//                            offers as the event arrives
//   start PROGRAM LINE       starts the program with that command line, as Windows starts one
//   running PID, end PID     whether a program so started still runs; ends it
//
// It ends with its input. Every answer has "ok"; a failed command answers {"ok":false,"error":...}.
// The first line, before any command, tells that it is ready and the display's DPI. Rectangles
// are in real pixels: a control's "rect" in its parent's client coordinates, a window's on the
// screen; an edit control's "client" (in the parent's coordinates) is the part inside its border
// and scroll bar, where its text lies.

#include <windows.h>
#include <oleacc.h>
#include <psapi.h>

#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <initializer_list>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tests/support/utf8.h"

namespace {

using tavrix::test::Narrow;
using tavrix::test::Widen;

// A JSON object written field by field.
class Json {
public:
    Json& Field(const char* name) {
        out_ += first_ ? "\"" : ",\"";
        first_ = false;
        out_ += name;
        out_ += "\":";
        return *this;
    }
    Json& Str(std::wstring_view text) {
        out_ += '"';
        for (const char c : Narrow(text)) {
            if (c == '"' || c == '\\') {
                out_ += '\\';
                out_ += c;
            } else if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof(escaped), "\\u%04x", c);
                out_ += escaped;
            } else {
                out_ += c;
            }
        }
        out_ += '"';
        return *this;
    }
    Json& Hwnd(HWND hwnd) {
        char text[24];
        std::snprintf(text, sizeof(text), "\"0x%llx\"",
                      static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(hwnd)));
        return Raw(text);
    }
    Json& Num(long long value) { return Raw(std::to_string(value)); }
    Json& Real(double value) {
        char text[40];
        std::snprintf(text, sizeof(text), "%.6f", value);
        return Raw(text);
    }
    Json& Bool(bool value) { return Raw(value ? "true" : "false"); }
    Json& Nums(std::initializer_list<long long> values) {
        std::string list;
        for (const long long value : values) list += (list.empty() ? "" : ",") + std::to_string(value);
        return Raw("[" + list + "]");
    }
    Json& Rect(const RECT& r) { return Nums({r.left, r.top, r.right, r.bottom}); }
    Json& List(const std::vector<std::string>& items) {
        std::string list;
        for (const std::string& item : items) list += (list.empty() ? "" : ",") + item;
        return Raw("[" + list + "]");
    }
    Json& Raw(const std::string& json) {
        out_ += json;
        return *this;
    }
    std::string Done() const { return "{" + out_ + "}"; }

private:
    std::string out_;
    bool first_ = true;
};

Json Ok() { return std::move(Json().Field("ok").Bool(true)); }

std::string Fail(const std::wstring& why) {
    return Json().Field("ok").Bool(false).Field("error").Str(why).Done();
}

void WriteLine(HANDLE output, std::string text) {
    text += '\n';
    DWORD written = 0;
    WriteFile(output, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    FlushFileBuffers(output);
}

// ---- reading windows from outside -------------------------------------------------------------

constexpr UINT kTimeoutMs = 2000;

std::wstring ClassOf(HWND hwnd) {
    wchar_t name[256] = {};
    GetClassNameW(hwnd, name, 256);
    return name;
}

// The control's text as it holds it now. An edit control keeps its text to itself: only
// WM_GETTEXT, which crosses processes, reads it. Other windows' texts are the captions that the
// system keeps, which it gives out without a round trip to their program.
std::wstring TextOf(HWND hwnd, const std::wstring& className) {
    if (className != L"Edit") {
        wchar_t caption[4096];
        const int length = InternalGetWindowText(hwnd, caption, 4096);
        return std::wstring(caption, static_cast<size_t>(length > 0 ? length : 0));
    }
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kTimeoutMs, &length))
        return L"<no answer>";
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()),
                             SMTO_ABORTIFHUNG, kTimeoutMs, &copied))
        return L"<no answer>";
    text.resize(copied);
    return text;
}

HWND HandleOf(const std::wstring& text) {
    return reinterpret_cast<HWND>(static_cast<uintptr_t>(std::wcstoull(text.c_str(), nullptr, 16)));
}

// Seconds since 1970, on the same clock as the test driver's time.time().
double Now() {
    FILETIME time;
    GetSystemTimePreciseAsFileTime(&time);
    const unsigned long long ticks =
        (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    return static_cast<double>(ticks - 116444736000000000ULL) / 1e7;
}

// The first top-level window of the class, a visible one before a hidden one.
HWND FindTopLevel(const std::wstring& className) {
    HWND hidden = nullptr;
    for (HWND hwnd = GetTopWindow(nullptr); hwnd; hwnd = GetWindow(hwnd, GW_HWNDNEXT)) {
        if (ClassOf(hwnd) != className) continue;
        if (IsWindowVisible(hwnd)) return hwnd;
        if (!hidden) hidden = hwnd;
    }
    return hidden;
}

// What both the list of windows and a window's tree tell of a top-level window.
Json TopLevel(HWND hwnd) {
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    RECT rect{};
    GetWindowRect(hwnd, &rect);
    Json window;
    window.Field("hwnd").Hwnd(hwnd)
        .Field("class").Str(ClassOf(hwnd))
        .Field("pid").Num(pid)
        .Field("topmost").Bool((GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0)
        .Field("rect").Rect(rect);
    return window;
}

void DescribeControl(HWND hwnd, HWND parent, int z, std::vector<std::string>& out) {
    RECT rect{};
    GetWindowRect(hwnd, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    const std::wstring className = ClassOf(hwnd);
    Json control;
    control.Field("hwnd").Hwnd(hwnd)
        .Field("parent").Hwnd(parent)
        .Field("class").Str(className)
        .Field("text").Str(TextOf(hwnd, className))
        .Field("visible").Bool((GetWindowLongW(hwnd, GWL_STYLE) & WS_VISIBLE) != 0)
        .Field("rect").Rect(rect)
        .Field("z").Num(z);
    if (className == L"Edit") {
        DWORD_PTR selection = 0, firstLine = 0;
        SendMessageTimeoutW(hwnd, EM_GETSEL, 0, 0, SMTO_ABORTIFHUNG, kTimeoutMs, &selection);
        SendMessageTimeoutW(hwnd, EM_GETFIRSTVISIBLELINE, 0, 0, SMTO_ABORTIFHUNG, kTimeoutMs,
                            &firstLine);
        RECT client{};
        GetClientRect(hwnd, &client);
        MapWindowPoints(hwnd, parent, reinterpret_cast<POINT*>(&client), 2);
        control.Field("selection").Nums({LOWORD(selection), HIWORD(selection)})
            .Field("first_line").Num(static_cast<long long>(firstLine))
            .Field("client").Rect(client);
    }
    out.push_back(control.Done());
    int childZ = 0;
    for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        DescribeControl(child, hwnd, childZ++, out);
}

// ---- commands ---------------------------------------------------------------------------------

std::string Windows() {
    std::vector<std::string> windows;
    for (HWND hwnd = GetTopWindow(nullptr); hwnd; hwnd = GetWindow(hwnd, GW_HWNDNEXT))
        if (IsWindowVisible(hwnd)) windows.push_back(TopLevel(hwnd).Done());
    return Ok().Field("windows").List(windows).Field("foreground").Hwnd(GetForegroundWindow()).Done();
}

std::string Tree(const std::wstring& className) {
    HWND window = FindTopLevel(className);
    if (!window) return Ok().Field("found").Bool(false).Done();
    GUITHREADINFO gui{};
    gui.cbSize = sizeof(gui);
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &gui);
    RECT clientScreen{};
    GetClientRect(window, &clientScreen);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&clientScreen), 2);
    std::vector<std::string> controls;
    int z = 0;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        DescribeControl(child, window, z++, controls);
    return TopLevel(window)
        .Field("ok").Bool(true)
        .Field("found").Bool(true)
        .Field("visible").Bool(IsWindowVisible(window) != FALSE)
        .Field("client_screen").Rect(clientScreen)
        .Field("focus").Hwnd(gui.hwndFocus)
        .Field("foreground").Hwnd(GetForegroundWindow())
        .Field("controls").List(controls)
        .Done();
}

std::string Clipboard(const std::wstring& text) {
    // Another program may hold the clipboard for a moment (a paste in progress).
    bool open = false;
    for (int attempt = 0; attempt < 100 && !(open = OpenClipboard(nullptr) != FALSE); ++attempt) Sleep(10);
    if (!open) return Fail(L"clipboard busy");
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    bool placed = false;
    if (auto* target = static_cast<wchar_t*>(memory ? GlobalLock(memory) : nullptr)) {
        text.copy(target, text.size());
        target[text.size()] = L'\0';
        GlobalUnlock(memory);
        placed = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    }
    CloseClipboard();
    return placed ? Ok().Done() : Fail(L"SetClipboardData failed");
}

// A top-level window by its class, a control by its handle.
std::string Close(const std::wstring& which) {
    const bool control = which.rfind(L"0x", 0) == 0;
    HWND window = control ? HandleOf(which) : FindTopLevel(which);
    if (!IsWindow(window) || (control && !(GetWindowLongW(window, GWL_STYLE) & WS_CHILD)))
        return Fail(L"no such window: " + which);
    PostMessageW(window, WM_CLOSE, 0, 0);
    return Ok().Done();
}

// Polls every millisecond: the start-up figures want to know when a window came on screen.
std::string Watch(int timeoutMs, const std::vector<std::wstring>& classes) {
    std::vector<double> seen(classes.size(), 0.0);
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
    size_t remaining = classes.size();
    while (remaining > 0 && GetTickCount64() < deadline) {
        for (size_t i = 0; i < classes.size(); ++i) {
            if (seen[i] > 0) continue;
            HWND hwnd = FindWindowW(classes[i].c_str(), nullptr);
            if (hwnd && IsWindowVisible(hwnd)) {
                seen[i] = Now();
                --remaining;
            }
        }
        if (remaining > 0) Sleep(1);
    }
    Json times;
    for (size_t i = 0; i < classes.size(); ++i) {
        times.Field(Narrow(classes[i]).c_str());
        if (seen[i] > 0) times.Real(seen[i]); else times.Raw("null");
    }
    return Ok().Field("seen").Raw(times.Done()).Done();
}

// A text that an accessible object offers, or null; the text is freed.
void Offered(Json& json, const char* field, HRESULT got, BSTR text) {
    json.Field(field);
    if (SUCCEEDED(got) && text) json.Str(text); else json.Raw("null");
    SysFreeString(text);
}

// ---- live regions, as a screen reader hears them -------------------------------------------------

constexpr DWORD kLiveRegionChanged = 0x8019;  // EVENT_OBJECT_LIVEREGIONCHANGED, Windows 8 on

// The events heard by the one hook of a "hear" command: the callback has no other way to them.
std::vector<std::string> heardEvents;

void CALLBACK OnLiveRegionChanged(HWINEVENTHOOK, DWORD, HWND hwnd, LONG object, LONG child, DWORD,
                                  DWORD) {
    Json event;
    event.Field("hwnd").Hwnd(hwnd);
    IAccessible* accessible = nullptr;
    VARIANT self{};
    if (SUCCEEDED(AccessibleObjectFromEvent(hwnd, static_cast<DWORD>(object), static_cast<DWORD>(child),
                                            &accessible, &self)) && accessible) {
        BSTR value = nullptr, name = nullptr;
        const HRESULT valued = accessible->get_accValue(self, &value);
        const HRESULT named = accessible->get_accName(self, &name);
        Offered(event, "value", valued, value);
        Offered(event, "name", named, name);
        accessible->Release();
    }
    VariantClear(&self);
    heardEvents.push_back(event.Done());
}

std::string Hear(int timeoutMs, DWORD pid) {
    heardEvents.clear();
    HWINEVENTHOOK hook = SetWinEventHook(kLiveRegionChanged, kLiveRegionChanged, nullptr,
                                         OnLiveRegionChanged, pid, 0, WINEVENT_OUTOFCONTEXT);
    if (!hook) return Fail(L"SetWinEventHook failed");
    WriteLine(GetStdHandle(STD_OUTPUT_HANDLE), Ok().Done());
    // Out-of-context events come as this thread takes its messages.
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
    for (ULONGLONG now = GetTickCount64(); now < deadline; now = GetTickCount64()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadline - now), QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    }
    UnhookWinEvent(hook);
    return Ok().Field("events").List(heardEvents).Done();
}

std::string Memory(DWORD pid) {
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    const bool ok = process && GetProcessMemoryInfo(process, &counters, sizeof(counters));
    if (process) CloseHandle(process);
    return Ok().Field("peak_working_set")
        .Num(ok ? static_cast<long long>(counters.PeakWorkingSetSize) : -1).Done();
}

// ---- programs started as Windows starts them ----------------------------------------------------

std::map<DWORD, HANDLE> started;

// The program named apart from its command line, which reaches it as it stands (given none, Wine
// would quote the program's path in the line).
std::string Start(const std::wstring& program, std::wstring line) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return Fail(L"CreateProcess failed");
    CloseHandle(process.hThread);
    started[process.dwProcessId] = process.hProcess;
    return Ok().Field("pid").Num(process.dwProcessId).Done();
}

std::string Running(DWORD pid) {
    DWORD code = 0;
    const bool running =
        started.count(pid) && GetExitCodeProcess(started[pid], &code) && code == STILL_ACTIVE;
    return Ok().Field("running").Bool(running).Done();
}

std::string End(DWORD pid) {
    if (started.count(pid)) {
        TerminateProcess(started[pid], 1);
        WaitForSingleObject(started[pid], 5000);
        CloseHandle(started[pid]);
        started.erase(pid);
    }
    return Ok().Done();
}

// ---- the command loop -------------------------------------------------------------------------

std::vector<std::wstring> Split(const std::string& line) {
    std::vector<std::wstring> words;
    size_t begin = 0;
    for (size_t tab; (tab = line.find('\t', begin)) != std::string::npos; begin = tab + 1)
        words.push_back(Widen(line.substr(begin, tab - begin)));
    words.push_back(Widen(line.substr(begin)));
    return words;
}

std::string Answer(const std::vector<std::wstring>& words) {
    const std::wstring& command = words[0];
    const size_t arguments = words.size() - 1;
    const auto number = [&](size_t i) {
        return static_cast<DWORD>(std::wcstoul(words[i].c_str(), nullptr, 10));
    };
    if (command == L"windows") return Windows();
    if (command == L"tree" && arguments == 1) return Tree(words[1]);
    if (command == L"clipboard" && arguments == 1) return Clipboard(words[1]);
    if (command == L"close" && arguments == 1) return Close(words[1]);
    if (command == L"memory" && arguments == 1) return Memory(number(1));
    if (command == L"hear" && arguments == 2) return Hear(static_cast<int>(number(1)), number(2));
    if (command == L"start" && arguments == 2) return Start(words[1], words[2]);
    if (command == L"running" && arguments == 1) return Running(number(1));
    if (command == L"end" && arguments == 1) return End(number(1));
    if (command == L"watch" && arguments >= 2)
        return Watch(static_cast<int>(number(1)), std::vector<std::wstring>(words.begin() + 2, words.end()));
    return Fail(L"unknown command: " + command);
}

bool ReadLine(HANDLE input, std::string& line) {
    line.clear();
    char c;
    DWORD read = 0;
    while (ReadFile(input, &c, 1, &read, nullptr) && read == 1) {
        if (c == '\n') return true;
        if (c != '\r') line += c;
    }
    return !line.empty();
}

}  // namespace

int wmain() {
    // Rectangles in real pixels, whatever the display's DPI.
    SetProcessDPIAware();
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    WriteLine(output, Ok().Field("ready").Bool(true).Field("dpi").Num(dpi).Done());
    std::string line;
    while (ReadLine(input, line)) {
        if (line.empty()) continue;
        WriteLine(output, Answer(Split(line)));
    }
    return 0;
}
