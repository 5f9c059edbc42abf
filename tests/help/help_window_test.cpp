// The help window as the user meets it: its layout at the running DPI, the tab order that differs
// from the rows, topmost from the load, and every answer reached by mouse and by keyboard.

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <string_view>

#include "help/help_window.h"
#include "help/resource.h"
#include "tests/support/fixed_designs.h"
#include "tests/support/gui_test.h"
#include "win/gdi.h"

namespace tavrix::help {
namespace {

using namespace test;

constexpr auto& kRows = kHelpControls<Form1>;
constexpr auto& kAnswers = kHelpAnswers<Form1>;

int Pixels(int twips) { return test::PixelsOf(twips); }

class HelpWindowTest : public testing::Test {
protected:
    void SetUp() override {
        window = std::make_unique<Form1>();
        window->Show();
        Activate(window->Handle());
        Pump(50ms);
    }
    void TearDown() override {
        window.reset();
        Pump(20ms);
        for (const std::wstring& error : errors.Seen()) ADD_FAILURE() << Narrow(error);
    }
    HWND Control(int id) const { return window->Control(id); }
    std::wstring Answer() const { return TextOf(Control(Form1::Text1)); }

    std::unique_ptr<Form1> window;
    ErrorReports errors;
};

using HelpWindowLayout = HelpWindowTest;

TEST_F(HelpWindowLayout, ClientAreaAndControlsFollowTheDesignAtTheSystemDpi) {
    RECT client;
    GetClientRect(window->Handle(), &client);
    EXPECT_EQ(client.right, Pixels(kHelpClientWidth));
    EXPECT_EQ(client.bottom, Pixels(kHelpClientHeight));

    for (const FixedControl& row : kRows) {
        SCOPED_TRACE(row.id);
        const RECT rect = RectInParent(Control(row.id));
        EXPECT_EQ(rect.left, Pixels(row.left));
        EXPECT_EQ(rect.top, Pixels(row.top));
        EXPECT_EQ(rect.right - rect.left, Pixels(row.width));
        EXPECT_EQ(rect.bottom - rect.top, Pixels(row.height));
        EXPECT_EQ(GetParent(Control(row.id)), window->Handle());
        EXPECT_TRUE(IsWindowVisible(Control(row.id)));
        EXPECT_EQ(TextOf(Control(row.id)), row.caption);
    }

    if (test::ScreenDpi() == 96) {
        // The designer's own pixel figures.
        EXPECT_EQ(client.right, 467);
        EXPECT_EQ(client.bottom, 268);
        const RECT button = RectInParent(Control(Form1::Command2));
        EXPECT_EQ(button.left, 8);
        EXPECT_EQ(button.right - button.left, 177);
        EXPECT_EQ(button.bottom - button.top, 25);
        const RECT box = RectInParent(Control(Form1::Text1));
        EXPECT_EQ(box.left, 200);
        EXPECT_EQ(box.top, 32);
        EXPECT_EQ(box.right - box.left, 257);
        EXPECT_EQ(box.bottom - box.top, 225);
    }
}

TEST_F(HelpWindowLayout, FixedFrameWithCaptionCentredOnTheScreen) {
    HWND hwnd = window->Handle();
    EXPECT_EQ(TextOf(hwnd), kHelpWindowName);
    const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
    EXPECT_EQ(style & WS_SYSMENU, WS_SYSMENU);
    EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME | WS_CHILD | WS_POPUP), 0);

    // Nothing on the frame offers a resize.
    RECT outer;
    GetWindowRect(hwnd, &outer);
    const POINT corner{outer.right - 1, outer.bottom - 1};
    const LRESULT hit = SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(corner.x, corner.y));
    EXPECT_NE(hit, HTBOTTOMRIGHT);
    EXPECT_NE(hit, HTRIGHT);
    EXPECT_NE(hit, HTBOTTOM);

    const int width = outer.right - outer.left;
    const int height = outer.bottom - outer.top;
    EXPECT_NEAR(outer.left, (GetSystemMetrics(SM_CXSCREEN) - width) / 2, 1);
    EXPECT_NEAR(outer.top, (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 1);
}

TEST_F(HelpWindowLayout, TextBoxWrapsScrollsAndStartsWithTheGreeting) {
    HWND text = Control(Form1::Text1);
    const LONG style = GetWindowLongW(text, GWL_STYLE);
    EXPECT_TRUE(style & ES_MULTILINE);
    EXPECT_TRUE(style & WS_VSCROLL);
    EXPECT_FALSE(style & ES_AUTOHSCROLL) << "long lines must wrap";
    EXPECT_FALSE(style & WS_HSCROLL);
    EXPECT_FALSE(style & ES_READONLY);
    EXPECT_EQ(Answer(), kHelpInitialText);
}

TEST_F(HelpWindowLayout, PictureIsDrawnUnscaledFromTheTopLeft) {
    RedrawWindow(window->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    Pump(50ms);
    // The picture as its generator drew it.
    win::Bitmap picture(static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_HELP_PICTURE),
                                                        IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    HDC screen = GetDC(window->Handle());
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ previous = SelectObject(memory, picture.get());
    // Points that no control covers at any DPI: the header strip, the gap between the two
    // columns, the left margin, and the picture's last visible column and row.
    RECT client;
    GetClientRect(window->Handle(), &client);
    const int lastColumn = std::min<int>(client.right, 470) - 1;
    const int lastRow = std::min<int>(client.bottom, 267) - 1;
    const POINT points[] = {{0, 0}, {100, 10}, {lastColumn, 5}, {Pixels(2900), 150},
                            {Pixels(2900), lastRow}, {0, lastRow}};
    for (const POINT& p : points) {
        SCOPED_TRACE(testing::Message() << p.x << "," << p.y);
        EXPECT_EQ(GetPixel(screen, p.x, p.y), GetPixel(memory, p.x, p.y));
    }
    // Below and right of the picture the window shows the button-face colour.
    if (client.bottom > 267) {
        EXPECT_EQ(GetPixel(screen, 5, 267), GetSysColor(COLOR_BTNFACE));
    }
    if (client.right > 470) {
        EXPECT_EQ(GetPixel(screen, 470, 5), GetSysColor(COLOR_BTNFACE));
    }
    SelectObject(memory, previous);
    DeleteDC(memory);
    ReleaseDC(window->Handle(), screen);
}

TEST_F(HelpWindowLayout, NoTooltipsAndTheClassIconIsTheProgramIcon) {
    EXPECT_EQ(SendMessageW(window->Tooltips(), TTM_GETTOOLCOUNT, 0, 0), 0);
    const HICON programIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_TAVRIX_HELP));
    ASSERT_NE(programIcon, nullptr);
    EXPECT_EQ(reinterpret_cast<HICON>(GetClassLongPtrW(window->Handle(), GCLP_HICON)), programIcon);
}

TEST_F(HelpWindowTest, TabRunsFromCommand1ThroughTheButtonsToTheBoxAndBack) {
    const auto& order = kHelpTabOrder<Form1>;
    EXPECT_EQ(GetFocus(), Control(order[0])) << "the first in tab order, not the top row";
    for (size_t i = 1; i <= std::size(order); ++i) {
        PressKey(VK_TAB);
        EXPECT_EQ(GetFocus(), Control(order[i % std::size(order)])) << "Tab " << i;
    }
    for (size_t i = std::size(order); i-- > 0;) {
        PressKey(VK_TAB, true);
        EXPECT_EQ(GetFocus(), Control(order[i])) << "Shift+Tab to " << i;
    }
    EXPECT_EQ(Answer(), kHelpInitialText) << "Tab through the box types nothing into it";
}

TEST(HelpWindowLoad, TopmostBeforeItIsShownAndAboveOrdinaryWindowsWhileInactive) {
    Form1 window;
    window.Create();
    EXPECT_FALSE(IsWindowVisible(window.Handle()));
    EXPECT_TRUE(GetWindowLongW(window.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);

    window.Show();
    Pump(50ms);
    // An ordinary window that takes the activation still lies below the help window.
    HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                 400, 300, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(other, nullptr);
    Activate(other);
    EXPECT_EQ(GetForegroundWindow(), other);
    bool helpFirst = false;
    for (HWND hwnd = GetTopWindow(nullptr); hwnd; hwnd = GetWindow(hwnd, GW_HWNDNEXT)) {
        if (hwnd == window.Handle()) { helpFirst = true; break; }
        if (hwnd == other) break;
    }
    EXPECT_TRUE(helpFirst);
    EXPECT_TRUE(GetWindowLongW(window.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    DestroyWindow(other);
}

TEST_F(HelpWindowTest, EachQuestionButtonClickedPutsItsAnswer) {
    for (const auto& [id, text] : kAnswers) {
        ClickCentre(Control(id));
        EXPECT_EQ(Answer(), text) << "after a click of control " << id;
        EXPECT_EQ(std::wstring_view(text).find_first_of(L"\r\n"), std::wstring::npos);
    }
}

TEST_F(HelpWindowTest, SpaceOnAFocusedButtonAnswersToo) {
    for (const auto& [id, text] : kAnswers) {
        Activate(window->Handle(), Control(id));
        PressKey(VK_SPACE);
        EXPECT_EQ(Answer(), text) << "after Space on control " << id;
    }
}

TEST_F(HelpWindowTest, AnAnswerReplacesTheUsersTypingEvenFromTheSameButton) {
    HWND box = Control(Form1::Text1);
    ClickCentre(box);
    TypeText(L"abc");
    EXPECT_NE(Answer().find(L"abc"), std::wstring::npos) << "the box is editable";

    ClickCentre(Control(Form1::Command4));
    EXPECT_EQ(Answer(), kAnswers[3].text);
    ClickCentre(Control(Form1::Command4));
    EXPECT_EQ(Answer(), kAnswers[3].text) << "the same button twice";

    // Typing over the answer, then the same question again: the answer comes back whole.
    ClickCentre(box);
    PressKey(VK_END, false, true);
    TypeText(L"xyz");
    ASSERT_NE(Answer(), kAnswers[3].text);
    ClickCentre(Control(Form1::Command4));
    EXPECT_EQ(Answer(), kAnswers[3].text);
}

// A large paste without spaces would keep the box re-wrapping for seconds: it takes a few pages.
TEST_F(HelpWindowTest, TheAnswerBoxTakesAFewPagesOfAPaste) {
    ClickCentre(Control(Form1::Text1));
    SetClipboardText(std::wstring(300'000, L'x'));
    PressKey('A', false, true);
    PressKey('V', false, true);
    EXPECT_EQ(Answer(), std::wstring(kHelpTextLimit, L'x'));
}

}  // namespace
}  // namespace tavrix::help
