// The main window as it opens: its frame and sizes, its design realised at the running DPI (places,
// stacking, texts, tips, names, fonts, tab order) and pictures kept at their pixel size. What is
// seen where controls overlap, as the views change, is commands_test's.

#include <windows.h>

#include "main-window/resource.h"
#include "tests/main-window/main_window_fixture.h"

namespace tavrix::test {
namespace {

using MainWindowLayout = MainWindowTest;

// The class is registered with the icon group that Tavrix.exe shows first (program_files_test),
// which this test program carries as Tavrix.exe does.
TEST_F(MainWindowLayout, HasAOnePixelFrameNoTitleBarTheLookupWidthAndTheProgramIcon) {
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
    const HICON programIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_TAVRIX));
    ASSERT_NE(programIcon, nullptr);
    EXPECT_EQ(reinterpret_cast<HICON>(GetClassLongPtrW(Hwnd(), GCLP_HICON)), programIcon);
}

TEST_F(MainWindowLayout, RealisesItsDesign) { ExpectRealisesDesign(*window, kMain, kMainWindowIds); }

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

}  // namespace
}  // namespace tavrix::test
