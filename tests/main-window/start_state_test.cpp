// The main window after its load handler: the text boxes' behaviour, colours, where tips stand,
// and focus only where it can be seen.

#include <windows.h>
#include <commctrl.h>

#include "tests/main-window/main_window_fixture.h"

namespace tavrix::test {
namespace {

using MainWindowStart = MainWindowTest;

// The maker's own words, whatever they are; the rest of the texts are the design's (layout_test).
TEST_F(MainWindowStart, TheAboutPanelSaysSomething) { EXPECT_GT(Text(W::Label7).size(), 10u); }

// The input's limit is lookup_test's.
TEST_F(MainWindowStart, TextBoxesAreMultiLineAndTheOutputReadOnly) {
    const LONG input = GetWindowLongW(Control(W::Text1), GWL_STYLE);
    EXPECT_TRUE(input & ES_MULTILINE);
    EXPECT_TRUE(input & WS_VSCROLL);
    EXPECT_FALSE(input & ES_READONLY);

    const LONG output = GetWindowLongW(Control(W::Text2), GWL_STYLE);
    EXPECT_TRUE(output & ES_MULTILINE);
    EXPECT_TRUE(output & WS_VSCROLL);
    EXPECT_TRUE(output & ES_READONLY);
    EXPECT_FALSE(output & ES_AUTOHSCROLL);  // long descriptions wrap
}

TEST_F(MainWindowStart, ColoursOfTextBoxesAndLabels) {
    HDC dc = CreateCompatibleDC(nullptr);
    auto colours = [&](UINT message, int id) {
        SetTextColor(dc, RGB(1, 2, 3));
        SetBkColor(dc, RGB(1, 2, 3));
        SetBkMode(dc, OPAQUE);
        auto brush = reinterpret_cast<HBRUSH>(
            SendMessageW(GetParent(Control(id)), message, reinterpret_cast<WPARAM>(dc),
                         reinterpret_cast<LPARAM>(Control(id))));
        LOGBRUSH fill{};
        GetObjectW(brush, sizeof(fill), &fill);
        return std::tuple{GetTextColor(dc), GetBkMode(dc) == TRANSPARENT ? CLR_NONE : GetBkColor(dc),
                          fill.lbStyle == BS_SOLID ? fill.lbColor : CLR_NONE};
    };
    const COLORREF black = RGB(0, 0, 0), white = RGB(255, 255, 255), red = RGB(255, 0, 0);
    EXPECT_EQ(colours(WM_CTLCOLOREDIT, W::Text1), std::tuple(black, white, white));
    EXPECT_EQ(colours(WM_CTLCOLORSTATIC, W::Text2), std::tuple(black, white, white));  // read-only
    EXPECT_EQ(std::get<2>(colours(WM_CTLCOLORSTATIC, W::Label6)), white);
    EXPECT_EQ(std::get<0>(colours(WM_CTLCOLORSTATIC, W::Label6)), red);
    for (int id : {W::Label1, W::Label7, W::Label8, W::Label9})
        EXPECT_EQ(std::get<2>(colours(WM_CTLCOLORSTATIC, id)), white) << id;
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    EXPECT_EQ(colours(WM_CTLCOLORSTATIC, W::sm), std::tuple(black, window, window));
    // Drawn over the background picture.
    EXPECT_EQ(std::get<1>(colours(WM_CTLCOLORSTATIC, W::Label3)), CLR_NONE);
    EXPECT_EQ(std::get<1>(colours(WM_CTLCOLORSTATIC, W::Label4)), CLR_NONE);
    DeleteDC(dc);
}

// A tip stands clear of its control: where it covered the control, a click there would go to the
// tip instead (the system lets clicks through a tip only where it honours that).
TEST_F(MainWindowStart, ATipNeverCoversItsOwnControl) {
    const HWND tips = window->Tooltips();
    for (int id : {W::Command6, W::Text2, W::Command2}) {
        RECT control;
        GetWindowRect(Control(id), &control);
        MoveMouse(CentreOf(Control(W::Label3)));  // away, so that the next rest is a new one
        PumpUntil([&] { return !IsWindowVisible(tips); }, 2000ms);
        // Rest on the upper part of the control, where a tip below the pointer would still lie
        // within the control.
        MoveMouse(POINT{(control.left + control.right) / 2, control.top + 4});
        ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(tips) != FALSE; }, 3000ms)) << id;
        RECT tip, both;
        GetWindowRect(tips, &tip);
        EXPECT_FALSE(IntersectRect(&both, &tip, &control)) << id;
    }
}

// Focus goes only where it can be seen: never to a control that a shown one covers wholly.
TEST_F(MainWindowStart, FocusNeverRestsOnACoveredControl) {
    // "总在最上面" pressed with Space: "普通" now covers it and takes the focus.
    Activate(Hwnd(), Control(W::Command13));
    PressKey(VK_SPACE);
    ASSERT_TRUE(OwnVisible(Control(W::Command14)));
    EXPECT_EQ(GetFocus(), Control(W::Command14));
    // Tab and Shift+Tab pass over the covered button.
    PressKey(VK_TAB, true);
    EXPECT_EQ(GetFocus(), Control(W::Command4));
    PressKey(VK_TAB);
    EXPECT_EQ(GetFocus(), Control(W::Command14));
    PressKey(VK_SPACE);  // "普通": itself hidden, the focus goes on
    EXPECT_EQ(GetFocus(), Control(W::Command15));

    // guan is seen only in the panel view, where it takes its turn after "在线更新".
    PressKey(VK_TAB);  // Command16
    PressKey(VK_TAB);  // Command6, "→"
    ASSERT_EQ(GetFocus(), Control(W::Command6));
    PressKey(VK_SPACE);
    Activate(Hwnd(), Control(W::Command1));
    PressKey(VK_TAB);
    EXPECT_EQ(GetFocus(), Control(W::guan));
    // Back in the lookup view the output box covers it again.
    ClickCentre(Control(W::Command10));
    Activate(Hwnd(), Control(W::Command1));
    PressKey(VK_TAB);
    EXPECT_EQ(GetFocus(), Control(W::Command11));
}

}  // namespace
}  // namespace tavrix::test
