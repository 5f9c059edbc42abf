// The push button as both programs use it: what raises a click and what does not, how it draws
// its skin, and what screen readers and tooltips make of it (its test form's design, designs.txt).

#include <windows.h>

#include <gtest/gtest.h>

#include <map>

#include "controls/push_button.h"
#include "controls/skins.h"
#include "tests/support/gui_test.h"
#include "controls/form.h"

namespace tavrix {
namespace {

using namespace test;
using controls::ControlKind;

enum : int { Plain = 1, Hidden, Close, Other };

// "Hidden" lies exactly over "Plain": where it is hidden, the mouse reaches Plain.
constexpr controls::ControlSpec kControls[] = {
    {Hidden, ControlKind::PushButton, 300, 300, 1575, 375, L"乙", false},
    {Plain, ControlKind::PushButton, 300, 300, 1575, 375, L"甲", true},
    {Close, ControlKind::PushButton, 2400, 300, 300, 300, L"", true},
    {Other, ControlKind::PushButton, 300, 1200, 1575, 375, L"丙", true},
};
constexpr controls::SettingsSpec kSettings[] = {
    {.id = Plain, .tooltip = L"提示甲"},
    {.id = Close, .tooltip = L"关闭", .pictureResource = IDB_CLOSE_SKIN},
};
constexpr int kTabOrder[] = {Plain, Hidden, Close, Other};
const controls::FormDesign kDesign{.className = L"ButtonTest", .caption = L"buttons",
                                   .style = WS_POPUP | WS_BORDER, .clientWidthTwips = 4000,
                                   .clientHeightTwips = 2400, .defaultFont = {L"宋体", 90, GB2312_CHARSET},
                                   .controls = kControls, .settings = kSettings, .tabOrder = kTabOrder};

class ButtonForm : public controls::Form {
public:
    ButtonForm() : Form(kDesign) { Show(); }
    std::map<int, int> clicks;

protected:
    void OnClick(int id) override { ++clicks[id]; }
};

class PushButtonTest : public testing::Test {
protected:
    void SetUp() override {
        form = std::make_unique<ButtonForm>();
        Activate(form->Handle(), form->Control(Other));
        Pump(50ms);
    }
    void TearDown() override {
        // Release any button still held down by a test.
        INPUT up = MouseInput(MOUSEEVENTF_LEFTUP);
        SendInput(1, &up, sizeof(up));
        form.reset();
        Pump(20ms);
    }
    HWND Button(int id) const { return form->Control(id); }
    int Clicks(int id) { return form->clicks[id]; }

    // A corner pixel of a frame of the button skin (frames 63 pixels wide); corners are drawn
    // unscaled, so it names the frame.
    static COLORREF Corner(controls::SkinFrame frame) {
        return PixelOfBitmap(IDB_BUTTON_SKIN, static_cast<int>(frame) * 63 + 1, 1);
    }
    static COLORREF CornerOf(HWND button) { return PixelOfWindow(button, 1, 1); }

    std::unique_ptr<ButtonForm> form;
};

// Its class and styles; the form's own Tab walk does not read WS_TABSTOP, so only this sees it.
TEST_F(PushButtonTest, IsAStandardOwnerDrawnTabStopButton) {
    wchar_t className[32] = {};
    GetClassNameW(Button(Plain), className, 32);
    EXPECT_STREQ(className, L"Button");
    const LONG style = GetWindowLongW(Button(Plain), GWL_STYLE);
    EXPECT_EQ(style & BS_TYPEMASK, BS_OWNERDRAW);
    EXPECT_TRUE(style & WS_TABSTOP);
}

TEST_F(PushButtonTest, MouseClicksSpaceAndBmClickEachRaiseOneClick) {
    ClickCentre(Button(Plain));
    ClickCentre(Button(Plain));
    EXPECT_EQ(Clicks(Plain), 2);  // two quick clicks are two, not a double click

    SetFocus(Button(Other));
    PressKey(VK_SPACE);
    EXPECT_EQ(Clicks(Other), 1);

    SendMessageW(Button(Close), BM_CLICK, 0, 0);
    Pump();
    EXPECT_EQ(Clicks(Close), 1);
}

TEST_F(PushButtonTest, PressOverAndReleaseElsewhereIsNoClick) {
    SetCursorPos(CentreOf(Button(Other)).x, CentreOf(Button(Other)).y);
    INPUT press[] = {MouseInput(MOUSEEVENTF_LEFTDOWN), MouseInput(MOUSEEVENTF_LEFTUP)};
    SendInput(1, &press[0], sizeof(INPUT));
    Pump(30ms);
    RECT rect;
    GetWindowRect(Button(Other), &rect);
    SetCursorPos(rect.right + 40, rect.bottom + 40);
    Pump(30ms);
    SendInput(1, &press[1], sizeof(INPUT));
    Pump(30ms);
    EXPECT_EQ(Clicks(Other), 0);
}

TEST_F(PushButtonTest, AHiddenButtonIsNotSeenAndRaisesNoClick) {
    const HWND hidden = Button(Hidden);
    EXPECT_FALSE(IsWindowVisible(hidden));
    // The mouse at its place reaches the button beneath it.
    POINT centre = CentreOf(hidden);
    ScreenToClient(form->Handle(), &centre);
    EXPECT_EQ(ChildAt(form->Handle(), centre), Button(Plain));
    ClickCentre(hidden);
    EXPECT_EQ(Clicks(Hidden), 0);
    EXPECT_EQ(Clicks(Plain), 1);
    // Neither a click message nor a key reaches it.
    SendMessageW(hidden, BM_CLICK, 0, 0);
    SendMessageW(hidden, WM_KEYDOWN, VK_SPACE, 0);
    SendMessageW(hidden, WM_KEYUP, VK_SPACE, 0xC0000001);
    Pump();
    EXPECT_EQ(Clicks(Hidden), 0);
    // Shown again, it clicks.
    form->SetShown(Hidden, true);
    SendMessageW(hidden, BM_CLICK, 0, 0);
    Pump();
    EXPECT_EQ(Clicks(Hidden), 1);
}

TEST_F(PushButtonTest, HidingTheFocusedButtonMovesTheFocusOn) {
    SetFocus(Button(Plain));
    form->SetShown(Plain, false);
    EXPECT_NE(GetFocus(), Button(Plain));
    EXPECT_TRUE(IsChild(form->Handle(), GetFocus()));
}

TEST_F(PushButtonTest, DrawsTheSkinFrameOfItsState) {
    using controls::SkinFrame;
    const HWND button = Button(Other);
    SetFocus(Button(Plain));
    SetCursorPos(0, 0);
    Pump(30ms);
    EXPECT_EQ(CornerOf(button), Corner(SkinFrame::Normal));

    SetFocus(button);
    EXPECT_EQ(CornerOf(button), Corner(SkinFrame::Focused));

    SendMessageW(button, BM_SETSTATE, TRUE, 0);
    EXPECT_EQ(CornerOf(button), Corner(SkinFrame::Pressed));
    SendMessageW(button, BM_SETSTATE, FALSE, 0);

    EnableWindow(button, FALSE);
    EXPECT_EQ(CornerOf(button), Corner(SkinFrame::Disabled));
    EnableWindow(button, TRUE);
}

TEST_F(PushButtonTest, HoverShowsTheHoverFrameUntilTheMouseLeaves) {
    const HWND button = Button(Other);
    SetFocus(Button(Plain));
    MoveMouse(CentreOf(button));
    Pump(60ms);
    EXPECT_EQ(CornerOf(button), Corner(controls::SkinFrame::Hover));
    MoveMouse(POINT{0, 0});
    PumpUntil([&] { return CornerOf(button) == Corner(controls::SkinFrame::Normal); }, 1000ms);
    EXPECT_EQ(CornerOf(button), Corner(controls::SkinFrame::Normal));
}

TEST_F(PushButtonTest, FrameForStatePrefersDisabledThenPressedThenHoverThenFocus) {
    using controls::FrameFor;
    using controls::SkinFrame;
    EXPECT_EQ(FrameFor(0, false), SkinFrame::Normal);
    EXPECT_EQ(FrameFor(ODS_FOCUS, false), SkinFrame::Focused);
    EXPECT_EQ(FrameFor(ODS_FOCUS, true), SkinFrame::Hover);
    EXPECT_EQ(FrameFor(ODS_SELECTED | ODS_FOCUS, true), SkinFrame::Pressed);
    EXPECT_EQ(FrameFor(ODS_DISABLED | ODS_SELECTED, true), SkinFrame::Disabled);
}

// Places, texts, tips, what screen readers call each button and its role, fonts and the tab order.
TEST(PushButtonForm, RealisesItsDesign) {
    ButtonForm form;
    Activate(form.Handle());
    ExpectRealisesDesign(form, oracle::DesignOf("buttons"),
                         {{"Plain", Plain}, {"Hidden", Hidden}, {"Close", Close}, {"Other", Other}});
}

}  // namespace
}  // namespace tavrix
