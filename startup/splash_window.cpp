#include "startup/splash_window.h"

#include "main-window/main_window.h"
#include "product/font.h"
#include "startup/resource.h"
#include "win/error.h"

namespace tavrix {
namespace {

constexpr controls::ControlSpec kControls[] = {
    //  control       kind                     left  top  width height caption               shown
    {Form1::Label1, controls::ControlKind::Label, 1680, 120, 2775, 255, L"正在启动，请稍候……", true},
};
constexpr controls::SettingsSpec kSettings[] = {
    {.id = Form1::Label1, .backColour = win::kTransparent},
};
const controls::FormDesign kDesign{
    .className = L"TavrixSplash",
    .caption = L"Form1",
    // A tool window: no frame (its client area is the whole window), no taskbar button.
    .style = WS_POPUP,
    .exStyle = WS_EX_TOOLWINDOW,
    .clientWidthTwips = 4635,
    .clientHeightTwips = 1005,
    .pictureResource = IDR_SPLASH_PICTURE,
    .background = win::Rgb(255, 0, 255),
    .defaultFont = kDefaultFont,
    .controls = kControls,
    .settings = kSettings,
    // A label takes no focus: the splash has no tab order, and it has no buttons. Labels alone,
    // it does without the common controls, which load with the main window.
    .tabOrder = {},
    .commonControls = false,
    // Screen readers hear it by the product's name, not by its window text "Form1", never seen.
    .accessibleName = L"Tavrix",
};

constexpr wchar_t kWelcomeLine[] = L"欢迎使用Tavrix软件，启动……";

}  // namespace

Form1::Form1(界面& mainWindow) : Form(kDesign), mainWindow_(mainWindow) {}

void Form1::OnLoad() {
    win::Check(SetTimer(Handle(), Timer1, kTimerInterval, nullptr) != 0, L"启动计时器");
}

LRESULT Form1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER) {
        if (wParam == Timer1) OnTimer1Tick();
        if (wParam == Timer2) OnTimer2Tick();
        return 0;
    }
    // The splash takes no input: clicks and keys pass it by.
    return Form::HandleMessage(message, wParam, lParam);
}

// Disabled first: however late this tick comes, it comes once.
void Form1::OnTimer1Tick() {
    KillTimer(Handle(), Timer1);
    SetText(Label1, kWelcomeLine);
    win::Check(SetTimer(Handle(), Timer2, kTimerInterval, nullptr) != 0, L"启动计时器");
}

// The splash goes (its timers with it), then the main window opens within this same handler, so
// the program never runs out of windows in between.
void Form1::OnTimer2Tick() {
    win::Check(DestroyWindow(Handle()) != FALSE, L"关闭启动窗口");
    mainWindow_.Show();
}

}  // namespace tavrix
