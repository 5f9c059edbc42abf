#pragma once
// A fresh main window for each test, opened as the start-up opens it, and ways to use it.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "main-window/main_window.h"
#include "tests/support/fixed_catalogue.h"
#include "tests/support/fixed_designs.h"
#include "tests/support/gui_test.h"

namespace tavrix::test {

// What the output box must show for a key whose text is fixed, taken from the hand-typed rows
// rather than from the catalogue under test.
inline std::wstring DescriptionOf(std::u16string_view key) {
    const std::u16string_view text = FixedDescriptionOf(key);
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
    static const FixedControl& Design(int id) {
        return *std::ranges::find(kMainWindowControls<W>, id, &FixedControl::id);
    }
    // A point just inside the control's designed top-left corner, in the window's client area.
    POINT Inside(int id, int by = 4) const {
        return POINT{Px(Design(id).left) + by, Px(Design(id).top) + by};
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
