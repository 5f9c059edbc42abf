// The main window's commands, used as a user uses them: the views and panels walked through in
// full, the stacking, the "没有显示" hint, the web pages handed to the shell, the drag by the title
// strip, and what a drop puts in. How the program ends, and what the command line puts in, are
// seen from outside (tests/e2e).

#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "catalogue/catalogue.h"
#include "tests/main-window/main_window_fixture.h"
#include "tests/support/drop_files.h"
#include "product/maker.h"

namespace tavrix::test {
namespace {

class MainWindowCommands : public MainWindowTest {
protected:
    enum class View { Lookup, About, Instructions };

    // A click as the user makes it: with the mouse where the button can be seen, else with the
    // keyboard (focus and Space), as for the right-hand column beyond the lookup view's edge.
    void Press(int id) {
        RECT client;
        GetClientRect(Hwnd(), &client);
        if (RectInParent(Control(id)).right <= client.right) {
            ClickCentre(Control(id));
        } else {
            Activate(Hwnd(), Control(id));
            PressKey(VK_SPACE);
        }
    }

    // What is seen in the box where the output, the about panel and the instructions share a place.
    HWND SeenInThePanel() const { return ChildAt(Hwnd(), Inside(W::Text2)); }

    void ExpectView(View view) {
        const bool lookup = view == View::Lookup;
        RECT outer;
        GetWindowRect(Hwnd(), &outer);
        EXPECT_EQ(outer.right - outer.left, Px(lookup ? kLookupWidth : kPanelWidth));
        for (int id : {W::Text1, W::Text2, W::Command6, W::Command16, W::Command2})
            EXPECT_EQ(OwnVisible(Control(id)), lookup) << id;
        EXPECT_EQ(OwnVisible(Control(W::Command10)), !lookup);
        const HWND seen = SeenInThePanel();
        const HWND expected = view == View::Lookup ? Control(W::Text2)
                              : view == View::About ? Control(W::guan)
                                                    : Control(W::sm);
        EXPECT_EQ(seen, expected);
    }

    static std::wstring OpenedAddresses() {
        char prefix[MAX_PATH] = {};
        GetEnvironmentVariableA("WINEPREFIX", prefix, MAX_PATH);
        std::ifstream log(std::string("Z:") + prefix + "/opened-addresses.log");
        std::stringstream text;
        text << log.rdbuf();
        const std::string narrow = text.str();
        return std::wstring(narrow.begin(), narrow.end());
    }
};

TEST_F(MainWindowCommands, ViewsAndPanelsWalkedThroughInFull) {
    ClearInput();
    Type(L"zip");
    ExpectView(View::Lookup);
    // In the lookup view the panel buttons can be reached by keyboard only, and change nothing seen.
    Press(W::Command8);
    ExpectView(View::Lookup);
    Press(W::Command4);
    ExpectView(View::Lookup);

    Press(W::Command6);  // →
    ExpectView(View::About);
    Press(W::Command4);  // 关于
    ExpectView(View::About);
    Press(W::Command8);  // 漫游Tavrix
    ExpectView(View::Instructions);
    EXPECT_EQ(Text(W::sm), kInstructions);
    Press(W::Command8);
    ExpectView(View::Instructions);
    Press(W::Command4);
    ExpectView(View::About);
    Press(W::Command8);
    Press(W::Command10);  // ←
    ExpectView(View::Lookup);
    EXPECT_FALSE(OwnVisible(Control(W::sm)));
    EXPECT_FALSE(OwnVisible(Control(W::guan)));
    EXPECT_EQ(Text(W::Text1), L"zip");  // there and back keeps both texts
    EXPECT_EQ(Text(W::Text2), DescriptionOf(u"zip"));
    // "→" always leads to the about panel, whichever was seen last.
    Press(W::Command6);
    ExpectView(View::About);
    Press(W::Command10);
    Press(W::Command6);
    Press(W::Command10);
    Press(W::Command6);
    Press(W::Command8);
    ExpectView(View::Instructions);
}

// On a small screen at a high DPI (144 on 1024 x 768) the panel view would reach beyond the right
// edge, with its close picture and right-hand column: the window moves left just enough. Where it
// fits, nothing moves, and going back to the narrower view moves nothing either.
TEST_F(MainWindowCommands, TheWideViewsRightColumnComesOntoTheScreen) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    ASSERT_TRUE(GetMonitorInfoW(MonitorFromWindow(Hwnd(), MONITOR_DEFAULTTOPRIMARY), &monitor));
    const RECT& work = monitor.rcWork;
    RECT lookup, panel, back;
    GetWindowRect(Hwnd(), &lookup);
    Press(W::Command6);
    GetWindowRect(Hwnd(), &panel);
    EXPECT_EQ(panel.right - panel.left, Px(kPanelWidth));
    EXPECT_EQ(panel.top, lookup.top);
    if (lookup.left + Px(kPanelWidth) <= work.right) {
        EXPECT_EQ(panel.left, lookup.left);
    } else {
        EXPECT_EQ(panel.right, work.right);
    }
    EXPECT_GE(panel.left, work.left);
    Press(W::Command10);
    GetWindowRect(Hwnd(), &back);
    EXPECT_EQ(back.left, panel.left);
    EXPECT_EQ(back.right - back.left, Px(kLookupWidth));

    // Dragged partly off on the left and hanging below the bottom: up just enough, never right.
    const int height = back.bottom - back.top;
    SetWindowPos(Hwnd(), nullptr, work.left - 40, work.bottom - height + 60, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Press(W::Command6);
    GetWindowRect(Hwnd(), &panel);
    EXPECT_EQ(panel.left, work.left - 40);
    EXPECT_EQ(panel.bottom, work.bottom);
}

TEST_F(MainWindowCommands, OnTopAndBackToNormalInEitherView) {
    auto topmost = [&] { return (GetWindowLongW(Hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; };
    const POINT place = Inside(W::Command13);
    EXPECT_FALSE(topmost());
    EXPECT_EQ(ChildAt(Hwnd(), place), Control(W::Command13));
    Press(W::Command13);  // 总在最上面
    EXPECT_TRUE(topmost());
    EXPECT_EQ(ChildAt(Hwnd(), place), Control(W::Command14));
    Press(W::Command6);
    Press(W::Command10);
    EXPECT_TRUE(topmost());  // the stacking survives changes of view
    Press(W::Command14);  // 普通
    EXPECT_FALSE(topmost());
    EXPECT_EQ(ChildAt(Hwnd(), place), Control(W::Command13));
    EXPECT_FALSE(OwnVisible(Control(W::Command14)));
}

TEST_F(MainWindowCommands, NotShownLowerCasesTheInputAndLooksItUpAgain) {
    // With the prompt it leaves the hint, which the next change of the input clears.
    Press(W::Command2);
    EXPECT_EQ(Text(W::Text1), kPrompt);
    EXPECT_EQ(Text(W::Text2), kNotShownHint);
    Type(L"x");
    EXPECT_EQ(Text(W::Text2), L"");
    struct Case {
        const wchar_t* typed;
        const wchar_t* input;
        std::wstring output;
    };
    const Case cases[] = {
        {L"JPG", L"jpg", DescriptionOf(u"jpg")},  // the lookup replaces the hint
        {L"MPEG", L"mpeg", L""},                 // the key is "MPEG": lower case is no key
        {L"QqQ", L"qqq", L""},                   // changed but no key: empty, the hint is gone
        {L"abc", L"abc", kNotShownHint},         // unchanged: no lookup, the hint stays
        {L"zip", L"zip", kNotShownHint},
    };
    for (const Case& c : cases) {
        ClearInput();
        Type(c.typed);
        Press(W::Command2);
        EXPECT_EQ(Text(W::Text1), c.input) << Narrow(c.typed);
        EXPECT_EQ(Text(W::Text2), c.output) << Narrow(c.typed);
    }
}

TEST_F(MainWindowCommands, OnlyTheFixedWebAddressesReachTheShell) {
    const std::wstring before = OpenedAddresses();
    ClearInput();
    Type(L"jpg");
    const std::wstring blog = TAVRIX_MAKER_BLOG_PAGE;
    const std::wstring linked = TAVRIX_MAKER_LINKED_SITE;
    Press(W::Command1);   // 在线更新
    Press(W::Command15);  // 登陆[Tavrix在线]
    Press(W::Command6);
    Press(W::Command5);   // 在线更新, panel view
    ClickCentre(Control(W::Label9));
    const std::wstring expected = blog + L"\n" + blog + L"\n" + blog + L"\n" + linked + L"\n";
    EXPECT_TRUE(PumpUntil([&] { return OpenedAddresses().size() >= before.size() + expected.size(); },
                          10000ms));
    Pump(500ms);
    EXPECT_EQ(OpenedAddresses().substr(before.size()), expected);
    // The window stays as it was.
    ExpectView(View::About);
    EXPECT_EQ(Text(W::Text1), L"jpg");
}

TEST_F(MainWindowCommands, TheTitleStripDragsTheWindowWithAnyMouseButton) {
    for (auto [down, up] : {std::pair{MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP},
                            std::pair{MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP}}) {
        RECT before;
        GetWindowRect(Hwnd(), &before);
        const POINT start{before.left + 100, before.top + 12};
        MoveMouse(start);
        // The drag runs its own loop inside the press's handler: the mouse moves from elsewhere.
        std::thread mouse([start, up = up] {
            Sleep(300);
            INPUT move = MouseInput(MOUSEEVENTF_MOVE, 5, 3), release = MouseInput(up);
            for (int step = 1; step <= 8; ++step) {
                SetCursorPos(start.x + 5 * step, start.y + 3 * step);
                SendInput(1, &move, sizeof(move));
                Sleep(40);
            }
            SendInput(1, &release, sizeof(release));
        });
        INPUT press = MouseInput(down);
        SendInput(1, &press, sizeof(press));
        const bool moved = PumpUntil([&] {
            RECT now;
            GetWindowRect(Hwnd(), &now);
            return now.left != before.left || now.top != before.top;
        }, 3000ms);
        mouse.join();
        Pump(200ms);
        EXPECT_TRUE(moved) << "button " << down;
        RECT after;
        GetWindowRect(Hwnd(), &after);
        EXPECT_EQ(after.right - after.left, before.right - before.left);
        EXPECT_GT(after.left, before.left);
        EXPECT_GT(after.top, before.top);
        // Released, the window stays where it is while the mouse goes on.
        MoveMouse(POINT{start.x + 90, start.y + 70});
        Pump(200ms);
        RECT later;
        GetWindowRect(Hwnd(), &later);
        EXPECT_EQ(later.left, after.left) << "button " << down;
        EXPECT_EQ(later.top, after.top) << "button " << down;
    }
}

std::u16string_view Utf16(std::wstring_view text) {
    return {reinterpret_cast<const char16_t*>(text.data()), text.size()};
}

// Dropped names reach the input box, in the lookup view; a drop with nothing to look up leaves
// everything as it was. The rule itself has its own table (file_name_test); the command line, as
// Windows hands it to the program, is seen from outside (tests/e2e).
TEST_F(MainWindowCommands, ADroppedFilePutsItsExtensionIn) {
    struct Drop {
        const wchar_t* names;  // NUL-separated, the first counts
        bool panelView;
        const wchar_t* input;  // nullptr: as it was
    };
    const Drop drops[] = {
        {L"C:\\clip.mpeg\0b.zip", true, L"MPEG"},  // back to the lookup view first
        {L"Z:\\folder\\README", true, nullptr},
        {L"x.abcdefghij", false, L"abcdefghij"},  // whole, though longer than the box's limit
    };
    for (const Drop& drop : drops) {
        SCOPED_TRACE(drop.names);
        window->SetText(W::Text1, L"zip");
        if (drop.panelView) Press(W::Command6);
        SendMessageW(Hwnd(), WM_DROPFILES,
                     reinterpret_cast<WPARAM>(DropOf({drop.names, std::wcslen(drop.names) + 4})), 0);
        ExpectView(drop.input || !drop.panelView ? View::Lookup : View::About);
        EXPECT_EQ(Text(W::Text1), drop.input ? drop.input : L"zip");
        EXPECT_EQ(Utf16(Text(W::Text2)), FindDescription(Utf16(Text(W::Text1))));
        if (drop.panelView && !drop.input) Press(W::Command10);
    }
    // The same extension again replaces the hint by the description, as a key would.
    Press(W::Command2);
    SendMessageW(Hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(DropOf({L"y.abcdefghij\0", 14})), 0);
    EXPECT_EQ(Text(W::Text2), L"");
}

}  // namespace
}  // namespace tavrix::test
