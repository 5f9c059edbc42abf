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
    EXPECT_EQ(outer.right - outer.left, Px(kLookupWidth));
    EXPECT_EQ(client.bottom, Px(kClientHeight));
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
    for (const FixedControl& design : kMainWindowControls<W>) {
        SCOPED_TRACE(design.id);
        const HWND control = Control(design.id);
        EXPECT_EQ(GetParent(control), design.container ? Control(design.container) : Hwnd());
        const RECT rect = RectInParent(control);
        EXPECT_EQ(rect.left, Px(design.left));
        EXPECT_EQ(rect.top, Px(design.top));
        EXPECT_EQ(rect.right - rect.left, Px(design.width));
        EXPECT_EQ(rect.bottom - rect.top, Px(design.height));
    }
}

// In the window and in guan alike, the controls lie in the order of the design's rows.
TEST_F(MainWindowLayout, StackingFollowsTheTableFromTheTop) {
    for (int container : {0, int{W::guan}}) {
        std::vector<HWND> expected;
        for (const FixedControl& design : kMainWindowControls<W>)
            if (design.container == container) expected.push_back(Control(design.id));
        EXPECT_EQ(ChildrenTopDown(container ? Control(container) : Hwnd()), expected) << container;
    }
}

TEST_F(MainWindowLayout, WhereControlsOverlapTheUpperOneIsSeenAndClicked) {
    auto at = [&](int id) { return ChildAt(Hwnd(), Inside(id)); };
    // The output box covers the about panel, which covers the instructions panel.
    EXPECT_EQ(at(W::Text2), Control(W::Text2));
    window->SetShown(W::Text2, false);
    EXPECT_EQ(at(W::Text2), Control(W::guan));
    window->SetShown(W::guan, false);
    EXPECT_EQ(at(W::Text2), Control(W::sm));
    // "总在最上面" is seen while "普通" is hidden; "普通" covers it wholly when shown.
    EXPECT_EQ(at(W::Command13), Control(W::Command13));
    window->SetShown(W::Command14, true);
    EXPECT_EQ(at(W::Command13), Control(W::Command14));
    const FixedControl& under = Design(W::Command13);
    EXPECT_EQ(ChildAt(Hwnd(), POINT{Px(under.left + under.width) - 2, Px(under.top + under.height) - 2}),
              Control(W::Command14));
    // "→" and "←" share a place; one of them is shown.
    EXPECT_EQ(at(W::Command10), Control(W::Command6));
    // The close picture lies on the title strip.
    EXPECT_EQ(at(W::Command16), Control(W::Command16));
    EXPECT_EQ(ChildAt(Hwnd(), POINT{Px(100), Px(100)}), Control(W::Image1));
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
    window->SetOuterWidthTwips(kPanelWidth);  // the panel view's whole width
    RECT client;
    GetClientRect(Hwnd(), &client);
    const int width = client.right;
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    ASSERT_GT(width, 608 + 10);
    // The title strip (608 pixels wide) over the background (605 pixels wide).
    for (int x : {608 + 2, (608 + width) / 2, width - 2})
        for (int y : {2, 14, Px(Design(W::Image1).height) - 2})
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
