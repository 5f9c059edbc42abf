#include "tests/support/gui_test.h"

#include "win/error.h"
#include "win/message_loop.h"

namespace tavrix::test {
namespace {
std::vector<std::wstring> g_reports;
win::ErrorReport g_previous = nullptr;
void Record(const std::wstring& message) { g_reports.push_back(message); }

bool g_quit = false;

void HandleAllQueued() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            g_quit = true;
            continue;
        }
        win::HandleQueuedMessage(message);
    }
}

void Send(std::vector<INPUT> inputs) {
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    Pump(30ms);
}

INPUT Key(WORD vk, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}
}  // namespace

bool QuitRequested() { return g_quit; }
void ForgetQuit() { g_quit = false; }

void Pump(std::chrono::milliseconds duration) {
    const auto end = std::chrono::steady_clock::now() + duration;
    do {
        HandleAllQueued();
        if (std::chrono::steady_clock::now() >= end) break;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    } while (true);
    HandleAllQueued();
}

bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= end) return false;
        HandleAllQueued();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    return true;
}

void Activate(HWND window, HWND focus) {
    SetForegroundWindow(window);
    SetActiveWindow(window);
    PumpUntil([&] { return GetForegroundWindow() == window; }, 2000ms);
    if (focus) SetFocus(focus);
    Pump(20ms);
}

void PressKey(WORD virtualKey, bool shift, bool control) {
    std::vector<INPUT> inputs;
    if (control) inputs.push_back(Key(VK_CONTROL, false));
    if (shift) inputs.push_back(Key(VK_SHIFT, false));
    inputs.push_back(Key(virtualKey, false));
    inputs.push_back(Key(virtualKey, true));
    if (shift) inputs.push_back(Key(VK_SHIFT, true));
    if (control) inputs.push_back(Key(VK_CONTROL, true));
    Send(inputs);
}

void TypeText(std::wstring_view text) {
    for (wchar_t unit : text) {
        INPUT down{};
        down.type = INPUT_KEYBOARD;
        down.ki.wScan = unit;
        down.ki.dwFlags = KEYEVENTF_UNICODE;
        INPUT up = down;
        up.ki.dwFlags |= KEYEVENTF_KEYUP;
        Send({down, up});
    }
}

void ClickAt(POINT screen, DWORD downFlag, DWORD upFlag) {
    SetCursorPos(screen.x, screen.y);
    Pump(10ms);
    INPUT down{};
    down.type = INPUT_MOUSE;
    down.mi.dwFlags = downFlag;
    INPUT up{};
    up.type = INPUT_MOUSE;
    up.mi.dwFlags = upFlag;
    Send({down});
    Send({up});
}

POINT CentreOf(HWND control) {
    RECT rect;
    GetWindowRect(control, &rect);
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

void ClickCentre(HWND control) { ClickAt(CentreOf(control)); }

void MoveMouse(POINT screen) {
    INPUT move{};
    move.type = INPUT_MOUSE;
    move.mi.dx = MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    move.mi.dy = MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    Send({move});
}

std::wstring TextOf(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), length + 1)));
    return text;
}

RECT RectInParent(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

bool OwnVisible(HWND window) { return (GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) != 0; }

HWND ChildAt(HWND parent, POINT client) {
    HWND child = ChildWindowFromPointEx(parent, client, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
    return child == parent ? nullptr : child;
}

std::vector<HWND> ChildrenTopDown(HWND parent) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

ErrorReports::ErrorReports() {
    g_reports.clear();
    g_previous = win::SetErrorReport(&Record);
}
ErrorReports::~ErrorReports() { win::SetErrorReport(g_previous); }
const std::vector<std::wstring>& ErrorReports::Seen() { return g_reports; }
void ErrorReports::Clear() { g_reports.clear(); }

int ScreenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

int PixelsOf(int twips) { return MulDiv(twips, ScreenDpi(), 1440); }

COLORREF PixelOfWindow(HWND window, int x, int y) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Pump(20ms);
    HDC dc = GetDC(window);
    const COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return colour;
}

COLORREF PixelOfBitmap(int resource, int x, int y) {
    HBITMAP bitmap = static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resource),
                                                     IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    const COLORREF colour = GetPixel(dc, x, y);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bitmap);
    return colour;
}

void SetClipboardText(std::wstring_view text) {
    if (!OpenClipboard(nullptr)) return;
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    if (auto* target = static_cast<wchar_t*>(GlobalLock(memory))) {
        text.copy(target, text.size());
        target[text.size()] = L'\0';
        GlobalUnlock(memory);
        SetClipboardData(CF_UNICODETEXT, memory);
    }
    CloseClipboard();
}

}  // namespace tavrix::test
