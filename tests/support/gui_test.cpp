#include "tests/support/gui_test.h"

#include <commctrl.h>
#include <oleacc.h>

#include <gtest/gtest.h>

#include "win/error.h"
#include "win/message_loop.h"

#include <algorithm>

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
    PumpUntil([] { return false; }, duration);
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

INPUT MouseInput(DWORD flags, LONG dx, LONG dy) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = dx;
    input.mi.dy = dy;
    input.mi.dwFlags = flags;
    return input;
}

POINT CentreOf(HWND control) {
    RECT rect;
    GetWindowRect(control, &rect);
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

void ClickCentre(HWND control) {
    const POINT centre = CentreOf(control);
    SetCursorPos(centre.x, centre.y);
    Pump(10ms);
    Send({MouseInput(MOUSEEVENTF_LEFTDOWN)});
    Send({MouseInput(MOUSEEVENTF_LEFTUP)});
}

void MoveMouse(POINT screen) {
    Send({MouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE,
                     MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1),
                     MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1))});
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

namespace {
// The children of `parent` from the top of the stacking order down.
std::vector<HWND> ChildrenTopDown(HWND parent) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}
}  // namespace

ErrorReports::ErrorReports() {
    g_reports.clear();
    g_previous = win::SetErrorReport(&Record);
}
ErrorReports::~ErrorReports() { win::SetErrorReport(g_previous); }
const std::vector<std::wstring>& ErrorReports::Seen() { return g_reports; }

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
    HGDIOBJ bitmap = LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resource), IMAGE_BITMAP, 0, 0,
                                LR_CREATEDIBSECTION);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    const COLORREF colour = GetPixel(dc, x, y);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bitmap);
    return colour;
}

namespace {
// What the window's tooltips show for one of its controls; empty where it has no tip.
std::wstring TipOf(HWND tooltips, HWND control) {
    wchar_t text[80] = {};
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = GetAncestor(control, GA_ROOT);
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = text;
    SendMessageW(tooltips, TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&tool));
    return text;
}

// What a screen reader is told of a window: its client object's name and role.
struct Heard {
    std::wstring name;
    long role = 0;
};
Heard HeardOf(HWND window) {
    Heard heard;
    IAccessible* accessible = nullptr;
    if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&accessible))))
        return heard;
    VARIANT self;
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    if (SUCCEEDED(accessible->get_accName(self, &name)) && name) heard.name = name;
    SysFreeString(name);
    VARIANT role;
    VariantInit(&role);
    if (SUCCEEDED(accessible->get_accRole(self, &role)) && role.vt == VT_I4) heard.role = role.lVal;
    accessible->Release();
    return heard;
}
}  // namespace

void ExpectRealisesDesign(controls::Form& form, const oracle::Design& design, const ControlIds& ids) {
    using oracle::Kind;
    auto control = [&](const std::string& name) { return form.Control(ids.at(name)); };
    auto container = [&](const oracle::Control& row) {
        return row.container.empty() ? form.Handle() : control(row.container);
    };
    // Every window opens centred in the work area; one taller than it (the main window at 192 DPI
    // on 1024 x 768) keeps its top edge, where it is moved from, on the screen.
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(form.Handle(), MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& work = monitor.rcWork;
    RECT outer;
    GetWindowRect(form.Handle(), &outer);
    EXPECT_NEAR(outer.left, work.left + (work.right - work.left - (outer.right - outer.left)) / 2, 1);
    EXPECT_NEAR(outer.top, std::max(work.top, work.top + (work.bottom - work.top - (outer.bottom - outer.top)) / 2), 1);

    const int dpi = ScreenDpi();
    std::map<HWND, std::vector<HWND>> stacking;
    for (const oracle::Control& row : design.controls) {
        SCOPED_TRACE(row.name);
        const HWND hwnd = control(row.name);
        stacking[container(row)].push_back(hwnd);
        EXPECT_EQ(GetParent(hwnd), container(row));
        const RECT rect = RectInParent(hwnd);
        EXPECT_EQ(rect.left, PixelsOf(row.left));
        EXPECT_EQ(rect.top, PixelsOf(row.top));
        EXPECT_EQ(rect.right - rect.left, PixelsOf(row.width));
        EXPECT_EQ(rect.bottom - rect.top, PixelsOf(row.height));
        EXPECT_EQ(OwnVisible(hwnd), row.shown);
        if (row.caption) {
            EXPECT_EQ(TextOf(hwnd), *row.caption);
        }
        const std::wstring tip = oracle::Design::Of(design.tips, row.name);
        EXPECT_EQ(TipOf(form.Tooltips(), hwnd), tip);
        std::wstring heard = oracle::Design::Of(design.heard, row.name);
        if (heard.empty()) heard = row.kind == Kind::Button ? row.caption.value_or(L"") : tip;
        if (row.kind == Kind::Button || row.kind == Kind::Edit) {
            const Heard told = HeardOf(hwnd);
            EXPECT_EQ(told.name, heard);
            EXPECT_EQ(told.role, row.kind == Kind::Button ? ROLE_SYSTEM_PUSHBUTTON : ROLE_SYSTEM_TEXT);
        }
        if (row.kind != Kind::Panel && row.kind != Kind::Picture) {
            LOGFONTW font{};
            GetObjectW(reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0)), sizeof(font), &font);
            const oracle::Font& expected = design.FontOf(row.name);
            EXPECT_EQ(font.lfFaceName, expected.face);
            EXPECT_EQ(font.lfHeight, -MulDiv(expected.tenthsOfAPoint, dpi, 720));
            EXPECT_EQ(font.lfCharSet, expected.charset);
            EXPECT_EQ(font.lfWeight, FW_NORMAL);
        }
    }
    for (const auto& [parent, children] : stacking) EXPECT_EQ(ChildrenTopDown(parent), children);
    EXPECT_EQ(SendMessageW(form.Tooltips(), TTM_GETTOOLCOUNT, 0, 0), static_cast<LRESULT>(design.tips.size()));
    EXPECT_EQ(HeardOf(form.Handle()).name, design.Text("Name"));

    // The turns a user can see: shown at start, and not wholly under a shown control above it.
    std::vector<HWND> order;
    for (const std::string& name : design.tabOrder) {
        const oracle::Control& row = design.ControlNamed(name);
        const bool covered = std::any_of(design.controls.begin(), design.controls.end(), [&](const auto& above) {
            return &above < &row && above.shown && above.container == row.container && above.left <= row.left &&
                   above.top <= row.top && above.left + above.width >= row.left + row.width &&
                   above.top + above.height >= row.top + row.height;
        });
        if (row.shown && !covered) order.push_back(control(name));
    }
    if (order.empty()) return;
    Activate(form.Handle());
    EXPECT_EQ(GetFocus(), order[0]) << "the first of the tab order";
    for (size_t i = 1; i <= order.size(); ++i) {
        PressKey(VK_TAB);
        EXPECT_EQ(GetFocus(), order[i % order.size()]) << "Tab " << i;
    }
    for (size_t i = order.size(); i-- > 0;) {
        PressKey(VK_TAB, true);
        EXPECT_EQ(GetFocus(), order[i]) << "Shift+Tab to " << i;
    }
    for (const oracle::Control& row : design.controls) {
        if (row.caption) {
            EXPECT_EQ(TextOf(control(row.name)), *row.caption) << row.name << " after Tab";
        }
    }
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
