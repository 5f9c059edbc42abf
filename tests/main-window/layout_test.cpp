// The main window as it opens: its frame and sizes, every control at its place in twips at the
// running DPI, the stacking that decides what is seen and clicked, pictures kept at their pixel
// size, fonts, colours, tooltips, the start state and the tab order.

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "main-window/resource.h"
#include "tests/main-window/main_window_fixture.h"

namespace tavrix::test {
namespace {

struct Place {
    int id;
    int left, top, width, height;  // twips
    int container;                 // 0: the window
};

// The window's controls, top of the stacking order first, then the labels of the about panel.
const Place kPlaces[] = {
    {界面::Text2, 240, 1680, 6735, 3375, 0},     {界面::Command11, 8640, 120, 300, 300, 0},
    {界面::Command15, 4920, 600, 1575, 300, 0},  {界面::Command14, 2760, 600, 1575, 300, 0},
    {界面::Command13, 2760, 600, 1575, 300, 0},  {界面::Command1, 600, 600, 1575, 300, 0},
    {界面::Text1, 240, 5280, 6735, 405, 0},      {界面::Command6, 6960, 3240, 135, 780, 0},
    {界面::Command2, 2160, 5880, 2055, 375, 0},  {界面::Command10, 6960, 3240, 135, 705, 0},
    {界面::Command7, 7320, 5280, 1575, 375, 0},  {界面::Command8, 7320, 2640, 1575, 375, 0},
    {界面::Command5, 7320, 2160, 1575, 375, 0},  {界面::Command4, 7320, 1680, 1575, 375, 0},
    {界面::Command16, 6720, 120, 300, 300, 0},   {界面::guan, 240, 1680, 6735, 3375, 0},
    {界面::Label4, 4320, 1200, 2175, 255, 0},    {界面::Label3, 600, 1200, 1575, 255, 0},
    {界面::sm, 240, 1680, 6735, 3375, 0},        {界面::Image1, 0, 0, 9120, 450, 0},
    {界面::Label1, 0, 2040, 4575, 255, 界面::guan}, {界面::Label6, 0, 120, 4695, 375, 界面::guan},
    {界面::Label7, 0, 600, 6255, 375, 界面::guan},  {界面::Label8, 0, 1320, 3615, 255, 界面::guan},
    {界面::Label9, 0, 1680, 3135, 255, 界面::guan},
};

LOGFONTW FontOf(HWND control) {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof(font), &font);
    return font;
}

using MainWindowLayout = MainWindowTest;

TEST_F(MainWindowLayout, HasAOnePixelFrameNoTitleBarAndTheLookupWidthCentred) {
    const LONG style = GetWindowLongW(Hwnd(), GWL_STYLE);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_TRUE(style & WS_BORDER);
    EXPECT_EQ(style & (WS_DLGFRAME | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
    EXPECT_EQ(TextOf(Hwnd()), L"");

    RECT outer, client;
    GetWindowRect(Hwnd(), &outer);
    GetClientRect(Hwnd(), &client);
    EXPECT_EQ(outer.right - outer.left, Px(7110));
    EXPECT_EQ(client.bottom, Px(6360));
    EXPECT_EQ(outer.bottom - outer.top, client.bottom + 2);
    EXPECT_EQ(outer.right - outer.left, client.right + 2);
    EXPECT_FALSE(GetWindowLongW(Hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
}

// Centred within the work area; a window taller than it (at 192 DPI on 1024 x 768) keeps its
// title strip, the only way to move it, on the screen.
TEST_F(MainWindowLayout, OpensCentredWithItsTitleStripInReach) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    ASSERT_TRUE(GetMonitorInfoW(MonitorFromWindow(Hwnd(), MONITOR_DEFAULTTOPRIMARY), &monitor));
    const RECT& work = monitor.rcWork;
    RECT outer;
    GetWindowRect(Hwnd(), &outer);
    const long width = outer.right - outer.left, height = outer.bottom - outer.top;
    EXPECT_GE(outer.top, work.top);
    EXPECT_GE(outer.left, work.left);
    if (height <= work.bottom - work.top)
        EXPECT_NEAR(outer.top, work.top + (work.bottom - work.top - height) / 2, 1);
    else
        EXPECT_EQ(outer.top, work.top);
    EXPECT_NEAR(outer.left, work.left + (work.right - work.left - width) / 2, 1);
}

TEST_F(MainWindowLayout, EveryControlStandsAtItsPlace) {
    for (const Place& place : kPlaces) {
        SCOPED_TRACE(place.id);
        const HWND control = Control(place.id);
        EXPECT_EQ(GetParent(control), place.container ? Control(place.container) : Hwnd());
        const RECT rect = RectInParent(control);
        EXPECT_EQ(rect.left, Px(place.left));
        EXPECT_EQ(rect.top, Px(place.top));
        EXPECT_EQ(rect.right - rect.left, Px(place.width));
        EXPECT_EQ(rect.bottom - rect.top, Px(place.height));
    }
}

TEST_F(MainWindowLayout, StackingFollowsTheTableFromTheTop) {
    std::vector<HWND> expected;
    for (const Place& place : kPlaces)
        if (!place.container) expected.push_back(Control(place.id));
    EXPECT_EQ(ChildrenTopDown(Hwnd()), expected);
    EXPECT_EQ(ChildrenTopDown(Control(W::guan)).size(), 5u);
}

TEST_F(MainWindowLayout, WhereControlsOverlapTheUpperOneIsSeenAndClicked) {
    auto at = [&](int left, int top) { return ChildAt(Hwnd(), POINT{Px(left) + 4, Px(top) + 4}); };
    // The output box covers the about panel, which covers the instructions panel.
    EXPECT_EQ(at(240, 1680), Control(W::Text2));
    window->SetVisible(W::Text2, false);
    EXPECT_EQ(at(240, 1680), Control(W::guan));
    window->SetVisible(W::guan, false);
    EXPECT_EQ(at(240, 1680), Control(W::sm));
    // "总在最上面" is seen while "普通" is hidden; "普通" covers it wholly when shown.
    EXPECT_EQ(at(2760, 600), Control(W::Command13));
    window->SetVisible(W::Command14, true);
    EXPECT_EQ(at(2760, 600), Control(W::Command14));
    EXPECT_EQ(ChildAt(Hwnd(), POINT{Px(2760 + 1575) - 2, Px(600 + 300) - 2}), Control(W::Command14));
    // "→" and "←" share a place; one of them is shown.
    EXPECT_EQ(at(6960, 3240), Control(W::Command6));
    // The close picture lies on the title strip.
    EXPECT_EQ(at(6720, 120), Control(W::Command16));
    EXPECT_EQ(at(100, 100), Control(W::Image1));
}

TEST_F(MainWindowLayout, PicturesKeepTheirPixelSize) {
    // Between the controls the background shows unscaled from the top-left corner, at any DPI.
    for (POINT point : {POINT{5, 40}, POINT{3, 200}, POINT{300, 36}}) {
        EXPECT_EQ(PixelOfWindow(Hwnd(), point.x, point.y), PixelOfBitmap(IDB_BACKGROUND, point.x, point.y))
            << point.x << "," << point.y;
    }
    EXPECT_EQ(PixelOfWindow(Control(W::Image1), 60, 15), PixelOfBitmap(IDB_TITLE_STRIP, 60, 15));
    EXPECT_EQ(PixelOfWindow(Control(W::Image1), 200, 5), PixelOfBitmap(IDB_TITLE_STRIP, 200, 5));
}

// Above 96 DPI the window outgrows its pictures: beyond their edges the window's own colour
// shows, never a second copy of a picture.
TEST_F(MainWindowLayout, BeyondItsPicturesTheWindowShowsItsColour) {
    if (window->Dpi() == 96) GTEST_SKIP() << "at 96 DPI the pictures cover the window";
    window->SetOuterWidth(9075);  // the panel view's whole width
    RECT client;
    GetClientRect(Hwnd(), &client);
    const int width = client.right;
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    ASSERT_GT(width, 608 + 10);
    // The title strip (608 pixels wide) over the background (605 pixels wide).
    for (int x : {608 + 2, (608 + width) / 2, width - 2})
        for (int y : {2, 14, Px(450) - 2})
            EXPECT_EQ(PixelOfWindow(Control(W::Image1), x, y), face) << x << "," << y;
    EXPECT_EQ(PixelOfWindow(Control(W::Image1), 300, 14), PixelOfBitmap(IDB_TITLE_STRIP, 300, 14));
}

TEST_F(MainWindowLayout, FontsAreSongTiAndComicSansAtTheirSizes) {
    const int dpi = window->Dpi();
    const LOGFONTW output = FontOf(Control(W::Text2));
    EXPECT_STREQ(output.lfFaceName, L"宋体");
    EXPECT_EQ(output.lfHeight, -MulDiv(105, dpi, 720));
    EXPECT_EQ(output.lfCharSet, GB2312_CHARSET);
    EXPECT_EQ(output.lfWeight, FW_NORMAL);

    const LOGFONTW input = FontOf(Control(W::Text1));
    EXPECT_STREQ(input.lfFaceName, L"Comic Sans MS");
    EXPECT_EQ(input.lfHeight, -MulDiv(105, dpi, 720));
    EXPECT_EQ(input.lfCharSet, ANSI_CHARSET);

    for (int id : {W::Command1, W::Command2, W::Command6, W::Command16, W::Label3, W::Label9, W::sm}) {
        const LOGFONTW font = FontOf(Control(id));
        EXPECT_STREQ(font.lfFaceName, L"宋体") << id;
        EXPECT_EQ(font.lfHeight, -MulDiv(9, dpi, 72)) << id;
        EXPECT_EQ(font.lfCharSet, GB2312_CHARSET) << id;
    }
}

}  // namespace
}  // namespace tavrix::test
