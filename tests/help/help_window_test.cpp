// The help window as the user meets it: its design realised at the running DPI (the tab order
// differs from the rows), topmost from the load, and every answer reached by mouse and by keyboard.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <string_view>

#include "help/help_window.h"
#include "help/resource.h"
#include "tests/support/gui_test.h"

namespace tavrix::help {
namespace {

using namespace test;

const ControlIds kIds = {{"Command2", Form1::Command2}, {"Command1", Form1::Command1}, {"Command3", Form1::Command3},
                         {"Command4", Form1::Command4}, {"Command5", Form1::Command5}, {"Command6", Form1::Command6},
                         {"Command7", Form1::Command7}, {"Text1", Form1::Text1}};
const oracle::Design& kHelp = oracle::DesignOf("help");
const std::vector<oracle::Named>& kAnswers = kHelp.answers;

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

TEST_F(HelpWindowLayout, RealisesItsDesignAtTheSystemDpi) {
    RECT client;
    GetClientRect(window->Handle(), &client);
    EXPECT_EQ(client.right, PixelsOf(kHelp.Number("ClientWidth")));
    EXPECT_EQ(client.bottom, PixelsOf(kHelp.Number("ClientHeight")));
    ExpectRealisesDesign(*window, kHelp, kIds);
}

// A fixed frame with its caption, and the class registered with TavrixHelp.exe's icon.
TEST_F(HelpWindowLayout, FixedFrameWithCaptionAndTheProgramIcon) {
    HWND hwnd = window->Handle();
    EXPECT_EQ(TextOf(hwnd), kHelp.Text("Name"));
    const HICON programIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_TAVRIX_HELP));
    ASSERT_NE(programIcon, nullptr);
    EXPECT_EQ(reinterpret_cast<HICON>(GetClassLongPtrW(hwnd, GCLP_HICON)), programIcon);
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
}

TEST_F(HelpWindowLayout, TextBoxWrapsAndScrolls) {
    HWND text = Control(Form1::Text1);
    const LONG style = GetWindowLongW(text, GWL_STYLE);
    EXPECT_TRUE(style & ES_MULTILINE);
    EXPECT_TRUE(style & WS_VSCROLL);
    EXPECT_FALSE(style & ES_AUTOHSCROLL) << "long lines must wrap";
    EXPECT_FALSE(style & WS_HSCROLL);
    EXPECT_FALSE(style & ES_READONLY);
}

TEST_F(HelpWindowLayout, PictureIsDrawnUnscaledFromTheTopLeft) {
    // Points that no control covers at any DPI: the header strip, the gap between the two
    // columns, the left margin, and the picture's last visible column and row.
    const HWND hwnd = window->Handle();
    RECT client;
    GetClientRect(hwnd, &client);
    const int lastColumn = std::min<int>(client.right, 470) - 1;
    const int lastRow = std::min<int>(client.bottom, 267) - 1;
    for (const POINT& p : {POINT{0, 0}, POINT{100, 10}, POINT{lastColumn, 5}, POINT{PixelsOf(2900), 150},
                           POINT{PixelsOf(2900), lastRow}, POINT{0, lastRow}})
        EXPECT_EQ(PixelOfWindow(hwnd, p.x, p.y), PixelOfBitmap(IDB_HELP_PICTURE, p.x, p.y)) << p.x << "," << p.y;
    // Below and right of the picture the window shows the button-face colour.
    if (client.bottom > 267) {
        EXPECT_EQ(PixelOfWindow(hwnd, 5, 267), GetSysColor(COLOR_BTNFACE));
    }
    if (client.right > 470) {
        EXPECT_EQ(PixelOfWindow(hwnd, 470, 5), GetSysColor(COLOR_BTNFACE));
    }
}

// Kept above an active window of another program: seen from outside (tests/e2e, its help scenario).
TEST(HelpWindowLoad, TopmostBeforeItIsShown) {
    Form1 window;
    window.Create();
    EXPECT_FALSE(IsWindowVisible(window.Handle()));
    EXPECT_TRUE(GetWindowLongW(window.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(HelpWindowTest, EachQuestionButtonClickedOrSpacedPutsItsAnswer) {
    for (const auto& [name, text] : kAnswers) {
        ClickCentre(Control(kIds.at(name)));
        EXPECT_EQ(Answer(), text) << "after a click of " << name;
        EXPECT_EQ(std::wstring_view(text).find_first_of(L"\r\n"), std::wstring::npos);
    }
    for (const auto& [name, text] : kAnswers) {
        Activate(window->Handle(), Control(kIds.at(name)));
        PressKey(VK_SPACE);
        EXPECT_EQ(Answer(), text) << "after Space on " << name;
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

// "退出" ends the program at once, whatever the user typed into the box: nothing asks first. (Its
// other ways to end, and the exit codes, are seen from outside: tests/e2e.)
TEST_F(HelpWindowTest, ExitEndsTheProgramWhateverTheBoxHolds) {
    ClickCentre(Control(Form1::Text1));
    TypeText(L"abc");
    EXPECT_EXIT(ClickCentre(Control(Form1::Command7)), testing::ExitedWithCode(0), "");
}

// A large paste without spaces would keep the box re-wrapping for seconds: it takes a few pages.
TEST_F(HelpWindowTest, TheAnswerBoxTakesAFewPagesOfAPaste) {
    ClickCentre(Control(Form1::Text1));
    SetClipboardText(std::wstring(300'000, L'x'));
    PressKey('A', false, true);
    PressKey('V', false, true);
    EXPECT_EQ(Answer(), std::wstring(static_cast<size_t>(kHelp.Number("TextLimit")), L'x'));
}

}  // namespace
}  // namespace tavrix::help
