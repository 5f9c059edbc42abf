// The start-up as the program runs it: the splash with its status line, the welcome line after
// the first tick, the hand-over to the main window on the second, each tick once, driven by the
// real message loop and its timers.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "main-window/main_window.h"
#include "startup/splash_window.h"
#include "tests/support/gui_test.h"

namespace tavrix::test {
namespace {

const oracle::Design& kSplash = oracle::DesignOf("splash");
const std::wstring kWelcomeLine = kSplash.Text("WelcomeLine");
const int kSplashWidth = kSplash.Number("Width"), kSplashHeight = kSplash.Number("Height");

// What the hooks see of the start-up, in this thread.
struct Watch {
    HWND splash = nullptr;
    int timer1Ticks = 0;
    int timer2Ticks = 0;
    std::vector<std::wstring> labelTexts;   // texts written to the splash's label
    bool mainCreatedWhileSplashExisted = false;
    int mainWindowsCreated = 0;
};
Watch g_watch;

LRESULT CALLBACK CountTicks(int code, WPARAM wParam, LPARAM lParam) {
    const auto* message = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && message->message == WM_TIMER &&
        message->hwnd == g_watch.splash) {
        if (message->wParam == Form1::Timer1) ++g_watch.timer1Ticks;
        if (message->wParam == Form1::Timer2) ++g_watch.timer2Ticks;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK WatchWrites(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_SETTEXT && g_watch.splash &&
        GetParent(call->hwnd) == g_watch.splash)
        g_watch.labelTexts.emplace_back(reinterpret_cast<const wchar_t*>(call->lParam));
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK WatchCreation(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
        const auto* create = reinterpret_cast<const CBT_CREATEWNDW*>(lParam)->lpcs;
        if (!IS_INTRESOURCE(create->lpszClass) &&
            std::wstring(create->lpszClass) == L"TavrixMainWindow") {
            ++g_watch.mainWindowsCreated;
            if (IsWindow(g_watch.splash)) g_watch.mainCreatedWhileSplashExisted = true;
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

class StartUp : public testing::Test {
protected:
    void SetUp() override {
        g_watch = {};
        ForgetQuit();
        hooks = {SetWindowsHookExW(WH_GETMESSAGE, &CountTicks, nullptr, GetCurrentThreadId()),
                 SetWindowsHookExW(WH_CALLWNDPROC, &WatchWrites, nullptr, GetCurrentThreadId()),
                 SetWindowsHookExW(WH_CBT, &WatchCreation, nullptr, GetCurrentThreadId())};
        main = std::make_unique<界面>();
        splash = std::make_unique<Form1>(*main);
        splash->Show();
        g_watch.splash = splash->Handle();
    }
    void TearDown() override {
        for (HHOOK hook : hooks) UnhookWindowsHookEx(hook);
        splash.reset();
        main.reset();
        Pump(10ms);
        ForgetQuit();
    }

    std::vector<HHOOK> hooks;
    std::unique_ptr<界面> main;
    std::unique_ptr<Form1> splash;
};

TEST_F(StartUp, SplashShowsTheStatusLineThenTheWelcomeLineThenHandsOver) {
    const DWORD start = GetTickCount();
    const HWND label = splash->Control(Form1::Label1);
    const std::wstring status = TextOf(label);
    EXPECT_FALSE(status.empty());
    EXPECT_NE(status, kWelcomeLine);
    EXPECT_TRUE(IsWindowVisible(g_watch.splash));
    EXPECT_EQ(main->Handle(), nullptr);

    // First tick, half a second on: the welcome line, and still no main window.
    ASSERT_TRUE(PumpUntil([&] { return g_watch.timer1Ticks > 0; }, 2000ms));
    const DWORD first = GetTickCount();
    EXPECT_GE(first - start, 450u);
    Pump();
    EXPECT_EQ(TextOf(label), kWelcomeLine);
    EXPECT_EQ(main->Handle(), nullptr);
    EXPECT_TRUE(IsWindowVisible(g_watch.splash));

    // Second tick, half a second later: the splash is gone and the main window is open, shown
    // and active.
    ASSERT_TRUE(PumpUntil([&] { return g_watch.timer2Ticks > 0; }, 2000ms));
    EXPECT_GE(GetTickCount() - first, 450u);
    ASSERT_TRUE(PumpUntil([&] { return main->Handle() && IsWindowVisible(main->Handle()); }, 2000ms));
    EXPECT_FALSE(IsWindow(g_watch.splash));
    EXPECT_EQ(g_watch.mainWindowsCreated, 1);
    EXPECT_FALSE(g_watch.mainCreatedWhileSplashExisted);
    EXPECT_EQ(GetForegroundWindow(), main->Handle());
    EXPECT_EQ(TextOf(main->Control(界面::Text1)), oracle::DesignOf("main").Text("Prompt"));  // loaded

    // Each timer ticked once; the label only ever received the welcome line.
    Pump(1200ms);
    EXPECT_EQ(g_watch.timer1Ticks, 1);
    EXPECT_EQ(g_watch.timer2Ticks, 1);
    EXPECT_EQ(g_watch.labelTexts, std::vector<std::wstring>{kWelcomeLine});
    // The program did not end when the splash went: its main window was open by then.
    EXPECT_FALSE(QuitRequested());
}

// The program ends when its last window goes, even while a modal loop (here a message box's) is
// running: once it is over.
HWND g_closeFromTimer = nullptr;
void CALLBACK CloseLastWindow(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    DestroyWindow(g_closeFromTimer);
}
void CALLBACK DismissMessageBox(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    if (HWND box = FindWindowW(L"#32770", L"modal")) PostMessageW(box, WM_COMMAND, IDOK, 0);
}

TEST_F(StartUp, TheProgramEndsWhenItsLastWindowClosesDuringAModalLoop) {
    ASSERT_TRUE(PumpUntil([&] { return main->Handle() && IsWindowVisible(main->Handle()); }, 3000ms));
    g_closeFromTimer = main->Handle();
    SetTimer(nullptr, 0, 100, &CloseLastWindow);
    SetTimer(nullptr, 0, 1500, &DismissMessageBox);  // in case nothing ends the box
    MessageBoxW(nullptr, L"", L"modal", MB_OK);
    EXPECT_FALSE(IsWindow(g_closeFromTimer));
    EXPECT_EQ(main->Handle(), nullptr);  // the object lets go of a window that is gone
    EXPECT_TRUE(PumpUntil([&] { return QuitRequested(); }, 1000ms));
}

using Splash = StartUp;

// The pixels of a window as they stand, without drawing it again.
std::vector<COLORREF> PixelsAsTheyStand(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    std::vector<COLORREF> pixels;
    HDC dc = GetDC(window);
    for (int y = 0; y < client.bottom; ++y)
        for (int x = 0; x < client.right; ++x) pixels.push_back(GetPixel(dc, x, y));
    ReleaseDC(window, dc);
    return pixels;
}

// The splash draws its own label; a new line must show as it is written, as a system label's does.
TEST_F(Splash, ItsLabelShowsEachLineAsSoonAsItIsWritten) {
    const HWND label = splash->Control(Form1::Label1);
    const std::vector<COLORREF> status = PixelsAsTheyStand(label);
    ASSERT_TRUE(PumpUntil([&] { return g_watch.timer1Ticks > 0; }, 2000ms));
    const std::vector<COLORREF> welcome = PixelsAsTheyStand(label);
    EXPECT_TRUE(welcome != status) << "the status line still shows";
    RedrawWindow(label, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_TRUE(PixelsAsTheyStand(label) == welcome) << "drawn again, the label looks otherwise";
}

TEST_F(Splash, IsABorderlessToolWindowWithItsPictureUnscaledOnMagenta) {
    const HWND hwnd = splash->Handle();
    const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_EQ(style & (WS_BORDER | WS_DLGFRAME | WS_THICKFRAME | WS_SYSMENU), 0);
    EXPECT_TRUE(GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);  // no taskbar button
    EXPECT_EQ(TextOf(hwnd), L"Form1");
    RECT outer;
    GetWindowRect(hwnd, &outer);
    EXPECT_EQ(outer.right - outer.left, PixelsOf(kSplashWidth));
    EXPECT_EQ(outer.bottom - outer.top, PixelsOf(kSplashHeight));

    ExpectRealisesDesign(*splash, kSplash, {{"Label1", Form1::Label1}});
    const HWND labelWindow = splash->Control(Form1::Label1);
    const RECT label = RectInParent(labelWindow);

    // The 309 x 67 picture covers the window at 96 DPI; at a higher DPI magenta shows beyond it,
    // also through the label, which is drawn transparently over the picture.
    const COLORREF corner = PixelOfWindow(hwnd, PixelsOf(kSplashWidth) - 1, PixelsOf(kSplashHeight) - 1);
    const COLORREF inside = PixelOfWindow(hwnd, 300, 60);
    // The label's bottom right corner, where no letter reaches: beyond the picture above 96 DPI.
    const COLORREF labelCorner =
        PixelOfWindow(labelWindow, label.right - label.left - 2, label.bottom - label.top - 1);
    const COLORREF magenta = RGB(255, 0, 255);
    EXPECT_NE(inside, magenta);
    EXPECT_EQ(corner == magenta, splash->Dpi() > 96);
    EXPECT_EQ(labelCorner == magenta, label.right - 2 >= 309);
}

}  // namespace
}  // namespace tavrix::test
