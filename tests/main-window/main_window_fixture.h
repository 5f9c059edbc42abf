#pragma once
// A fresh main window for each test, opened as the start-up opens it, and ways to use it.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "main-window/main_window.h"
#include "tests/support/gui_test.h"
#include "tests/support/oracle.h"

namespace tavrix::test {

inline const ControlIds kMainWindowIds = {
    {"Text2", 界面::Text2}, {"Command11", 界面::Command11}, {"Command15", 界面::Command15},
    {"Command14", 界面::Command14}, {"Command13", 界面::Command13}, {"Command1", 界面::Command1},
    {"Text1", 界面::Text1}, {"Command6", 界面::Command6}, {"Command2", 界面::Command2},
    {"Command10", 界面::Command10}, {"Command7", 界面::Command7}, {"Command8", 界面::Command8},
    {"Command5", 界面::Command5}, {"Command4", 界面::Command4}, {"Command16", 界面::Command16},
    {"guan", 界面::guan}, {"Label4", 界面::Label4}, {"Label3", 界面::Label3}, {"sm", 界面::sm},
    {"Image1", 界面::Image1}, {"Label1", 界面::Label1}, {"Label6", 界面::Label6}, {"Label7", 界面::Label7},
    {"Label8", 界面::Label8}, {"Label9", 界面::Label9},
};

// The main window's design and its values, from the hand-typed oracle.
inline const oracle::Design& kMain = oracle::DesignOf("main");
inline const int kLookupWidth = kMain.Number("LookupWidth"), kPanelWidth = kMain.Number("PanelWidth");
inline const int kClientHeight = kMain.Number("ClientHeight"), kInputLimit = kMain.Number("InputLimit");
inline const std::wstring kPrompt = kMain.Text("Prompt"), kNotShownHint = kMain.Text("NotShownHint");
inline const std::wstring kInstructions = kMain.Text("Instructions");

// What the output box must show for a key whose text is fixed, taken from the hand-typed rows
// rather than from the catalogue under test.
inline std::wstring DescriptionOf(std::u16string_view key) {
    const std::u16string_view text = oracle::FixedDescriptionOf(key);
    EXPECT_FALSE(text.empty()) << "no fixed text for this key";
    return std::wstring(text.begin(), text.end());
}

class MainWindowTest : public testing::Test {
protected:
    using W = 界面;

    void SetUp() override {
        window = std::make_unique<界面>();
        window->Show();
        PumpUntil([&] { return IsWindowVisible(Hwnd()); });
        Pump(30ms);
    }
    void TearDown() override {
        window.reset();
        Pump(10ms);
    }

    HWND Hwnd() const { return window->Handle(); }
    HWND Control(int id) const { return window->Control(id); }
    std::wstring Text(int id) const { return TextOf(Control(id)); }
    int Px(int twips) const { return PixelsOf(twips); }
    static const oracle::Control& Design(int id) {
        return kMain.ControlNamed(std::ranges::find(kMainWindowIds, id, &ControlIds::value_type::second)->first);
    }
    // A point just inside the control's designed top-left corner, in the window's client area.
    POINT Inside(int id) const {
        return POINT{Px(Design(id).left) + 10, Px(Design(id).top) + 10};
    }

    // Focus on the input box, emptied with the keys a user would press.
    void ClearInput() {
        Activate(Hwnd(), Control(W::Text1));
        PressKey(VK_END, false, true);
        for (int i = 0; i < 10; ++i) PressKey(VK_BACK);
    }
    void Type(std::wstring_view text) {
        if (GetFocus() != Control(W::Text1)) Activate(Hwnd(), Control(W::Text1));
        TypeText(text);
    }

    std::unique_ptr<界面> window;
};

}  // namespace tavrix::test
