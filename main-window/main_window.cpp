#include "main-window/main_window.h"

#include <shellapi.h>

#include <string>
#include <string_view>

#include "catalogue/catalogue.h"
#include "controls/skins.h"
#include "main-window/resource.h"
#include "win/maker.h"
#include "win/window.h"

namespace tavrix {
namespace {

using win::ControlKind;
using win::ControlSpec;
using win::SettingsSpec;
using K = win::ControlKind;

// Outer widths of the two views, in twips.
constexpr int kLookupViewWidth = 7110;
constexpr int kPanelViewWidth = 9075;
// The client area as designed; the load handler narrows the window to the lookup view.
constexpr int kClientWidth = 9045;
constexpr int kClientHeight = 6360;

constexpr bool yes = true;
constexpr bool no = false;

// In stacking order: a control listed earlier lies above every control listed after it.
constexpr ControlSpec kControls[] = {
    //  control           kind           left   top  width height  caption or text                     shown
    {界面::Text2,      K::TextBox,     240, 1680, 6735, 3375, L"",                                yes},
    {界面::Command11,  K::PushButton, 8640,  120,  300,  300, L"",                                yes},
    {界面::Command15,  K::PushButton, 4920,  600, 1575,  300, L"登陆[Tavrix在线]",                  yes},
    {界面::Command14,  K::PushButton, 2760,  600, 1575,  300, L"普通",                              no},
    {界面::Command13,  K::PushButton, 2760,  600, 1575,  300, L"总在最上面",                        yes},
    {界面::Command1,   K::PushButton,  600,  600, 1575,  300, L"在线更新",                          yes},
    {界面::Text1,      K::TextBox,     240, 5280, 6735,  405, L"",                                yes},
    {界面::Command6,   K::PushButton, 6960, 3240,  135,  780, L"→",                                yes},
    {界面::Command2,   K::PushButton, 2160, 5880, 2055,  375, L"没有显示",                          yes},
    {界面::Command10,  K::PushButton, 6960, 3240,  135,  705, L"←",                                no},
    {界面::Command7,   K::PushButton, 7320, 5280, 1575,  375, L"退出",                              yes},
    {界面::Command8,   K::PushButton, 7320, 2640, 1575,  375, L"漫游Tavrix",                        yes},
    {界面::Command5,   K::PushButton, 7320, 2160, 1575,  375, L"在线更新",                          yes},
    {界面::Command4,   K::PushButton, 7320, 1680, 1575,  375, L"关于",                              yes},
    {界面::Command16,  K::PushButton, 6720,  120,  300,  300, L"",                                yes},
    {界面::guan,       K::PictureBox,  240, 1680, 6735, 3375, nullptr,                            yes},
    {界面::Label4,     K::Label,      4320, 1200, 2175,  255, L"最后更新日期：2006-06-03",          yes},
    {界面::Label3,     K::Label,       600, 1200, 1575,  255, L"当前版本：02.16",                   yes},
    {界面::sm,         K::Label,       240, 1680, 6735, 3375, L"",                                yes},
    {界面::Image1,     K::Picture,       0,    0, 9120,  450, nullptr,                            yes},
    // The about panel's labels, placed within guan.
    {界面::Label1,     K::Label,         0, 2040, 4575,  255, L"邮箱：" TAVRIX_MAKER_EMAIL,         yes, 界面::guan},
    {界面::Label6,     K::Label,         0,  120, 4695,  375,
     L"请从Tavrix在线提供的连接进行下载，已确保您电脑的安全。",                                    yes, 界面::guan},
    {界面::Label7,     K::Label,         0,  600, 6255,  375,
     L"Orvane工作室始于2004年，专做小巧实用的软件。目标是让生活简单化。",              yes, 界面::guan},
    {界面::Label8,     K::Label,         0, 1320, 3615,  255, L"技术支持QQ群：" TAVRIX_MAKER_CHAT_GROUP, yes, 界面::guan},
    {界面::Label9,     K::Label,         0, 1680, 3135,  255, L"Tavrix在线：" TAVRIX_MAKER_WEB_HOST, yes, 界面::guan},
};

constexpr win::FontSpec kSongTi105{L"宋体", 105, GB2312_CHARSET};
constexpr win::FontSpec kComicSans105{L"Comic Sans MS", 105, ANSI_CHARSET};
constexpr win::Colour kBlack = win::Rgb(0, 0, 0);
constexpr win::Colour kWhite = win::Rgb(255, 255, 255);
constexpr win::Colour kRed = win::Rgb(255, 0, 0);

constexpr SettingsSpec kSettings[] = {
    {.id = 界面::Text2, .font = kSongTi105, .text = kBlack, .back = kWhite,
     .tooltip = L"这个后缀名的意义", .style = ES_READONLY},
    {.id = 界面::Text1, .font = kComicSans105, .text = kBlack, .back = kWhite,
     .tooltip = L"请在此输入您要查找的后缀名", .maxLength = 6},
    {.id = 界面::Label3, .back = win::kTransparent},
    {.id = 界面::Label4, .back = win::kTransparent},
    {.id = 界面::sm, .text = kBlack, .back = win::SystemColour(COLOR_WINDOW)},
    {.id = 界面::guan, .text = win::SystemColour(COLOR_WINDOWTEXT),
     .back = win::SystemColour(COLOR_WINDOW)},
    {.id = 界面::Label1, .back = kWhite},
    {.id = 界面::Label6, .text = kRed, .back = kWhite},
    {.id = 界面::Label7, .back = kWhite},
    {.id = 界面::Label8, .back = kWhite},
    {.id = 界面::Label9, .back = kWhite},
    {.id = 界面::Image1, .back = win::kTransparent, .picture = IDB_TITLE_STRIP},
    {.id = 界面::Command11, .tooltip = L"关闭", .picture = IDB_CLOSE_SKIN},
    {.id = 界面::Command16, .tooltip = L"关闭", .picture = IDB_CLOSE_SKIN},
    {.id = 界面::Command7, .tooltip = L"关闭"},
    {.id = 界面::Command15, .tooltip = L"Tavrix在线，Orvane，全年守候"},
    {.id = 界面::Command14, .tooltip = L"恢复"},
    {.id = 界面::Command13, .tooltip = L"在所有程序的上面显示"},
    {.id = 界面::Command1, .tooltip = L"升级Tavrix"},
    {.id = 界面::Command5, .tooltip = L"升级Tavrix"},
    {.id = 界面::Command6, .tooltip = L"用户设置"},
    {.id = 界面::Command2, .tooltip = L"怎么输入了没有反映？让我给你更多的解决方案"},
    {.id = 界面::Command8, .tooltip = L"了解新功能、介绍"},
    {.id = 界面::Command4, .tooltip = L"版权问题、友情提示……"},
};

constexpr int kTabOrder[] = {
    界面::Command6, 界面::Command2, 界面::Text2, 界面::Text1, 界面::Command1, 界面::guan,
    界面::Command10, 界面::Command11, 界面::Command7, 界面::Command8, 界面::Command5,
    界面::Command4, 界面::Command13, 界面::Command14, 界面::Command15, 界面::Command16,
};

const win::FormDesign kDesign{kControls, kSettings, kTabOrder, {L"宋体", 90, GB2312_CHARSET},
                              win::SystemColour(COLOR_BTNFACE)};

constexpr wchar_t kPrompt[] = L"[输入框]";

constexpr wchar_t kNotShownHint[] =
    L"如果还没有显示，情您再确认您的输入无误。建议您上网进行查找并通过邮件向我们报告此后缀名，"
    L"谢谢您的支持！" TAVRIX_MAKER_EMAIL;

// One line, no breaks: two paragraphs kept apart by runs of spaces where the label wraps them.
std::wstring InstructionsText() {
    std::wstring text =
        L"Tavrix通过2005年一年的观察、测试，在2006版中已经修复了N处错误、Bug。希望Tavrix给您带来更多的方便。";
    text.append(90, L' ');
    text +=
        L"Tavrix是一款查看、解释后缀名的软件，当你不知道一个文件是干什么、有什么用是，你不妨查看一下它的后缀名，"
        L"看看他的后缀名是什么(如何显示其后缀名WinXp：打开我的电脑 > 工具 > 文件夹选项 > 查看 > 反选隐藏后缀名，即可)，"
        L"如果他的后缀名是jpg的化，你使用Tavrix输入jpg然后点击查看，你即可知道，它是静态图象专家组制订的静态图象压缩标准，"
        L"具有很高的压缩比，使用非常广泛，可使用PhotoShop等图象处理软件创建，这样你就可以大概知道这个文件有什么用了。";
    text.append(88, L' ');
    return text;
}

std::u16string_view AsUtf16(const std::wstring& text) {
    static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows texts are UTF-16");
    return {reinterpret_cast<const char16_t*>(text.data()), text.size()};
}

std::wstring_view AsWide(std::u16string_view text) {
    return {reinterpret_cast<const wchar_t*>(text.data()), text.size()};
}

// The web pages open in the user's browser; only these fixed addresses ever reach the shell.
void OpenWebPage(HWND owner, const wchar_t* address) {
    ShellExecuteW(owner, L"open", address, L"", L"", SW_SHOWNORMAL);
}

}  // namespace

const 界面::ClickHandler 界面::kClickHandlers[] = {
    {Command1, &界面::OnCommand1Click},   {Command2, &界面::OnCommand2Click},
    {Command4, &界面::OnCommand4Click},   {Command5, &界面::OnCommand5Click},
    {Command6, &界面::OnCommand6Click},   {Command7, &界面::OnCommand7Click},
    {Command8, &界面::OnCommand8Click},   {Command10, &界面::OnCommand10Click},
    {Command11, &界面::OnCommand11Click}, {Command13, &界面::OnCommand13Click},
    {Command14, &界面::OnCommand14Click}, {Command15, &界面::OnCommand15Click},
    {Command16, &界面::OnCommand16Click},
};

界面::界面() : Form(kDesign) {}

void 界面::Show() {
    if (!Handle()) {
        RegisterWindowClass(L"TavrixMainWindow", IDI_TAVRIX, nullptr);
        SetBackground(win::LoadBitmapResource(IDB_BACKGROUND));
        CreateForm(L"TavrixMainWindow", L"", WS_POPUP | WS_BORDER, WS_EX_APPWINDOW, kClientWidth,
                   kClientHeight);
        OnLoad();
        CentreOnScreen();
    }
    ShowWindow(Handle(), SW_SHOW);
    SetForegroundWindow(Handle());
}

void 界面::OnCommand(int id, WORD code, HWND) {
    if (id == Text1 && code == EN_CHANGE) return OnText1Change();
    if (id == Label9 && code == STN_CLICKED) return OnLabel9Click();
    if (id == Image1 && code == win::kPictureMouseDown) return OnImage1MouseDown();
    if (code != BN_CLICKED) return;
    for (const ClickHandler& click : kClickHandlers)
        if (click.id == id) return (this->*click.handler)();
}

LRESULT 界面::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    // The web-site line is a link: it shows the hand over it.
    if (message == WM_SETCURSOR && GetDlgCtrlID(reinterpret_cast<HWND>(wParam)) == Label9) {
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
    }
    return Form::HandleMessage(message, wParam, lParam);
}

void 界面::OnLoad() {
    SetText(Text1, kPrompt);  // a change of Text1: the lookup runs and finds nothing
    SetText(Text2, L"");
    SetOuterWidth(kLookupViewWidth);
}

// Every change of the input walks the whole catalogue; the last matching entry's description stays.
void 界面::OnText1Change() {
    SetText(Text2, L"");
    const std::wstring input = Text(Text1);
    for (const CatalogueEntry& entry : Catalogue()) {
        if (AsUtf16(input) == entry.key) SetText(Text2, AsWide(entry.description));
    }
}

// "→": the panel view with the about panel.
void 界面::OnCommand6Click() {
    SetVisible(Text1, false);
    SetVisible(Text2, false);
    SetVisible(Command6, false);
    SetVisible(Command10, true);
    SetOuterWidth(kPanelViewWidth);
    SetVisible(Command16, false);
    SetVisible(Command2, false);
    SetVisible(guan, true);
}

// "←": back to the lookup view; the two text boxes keep their texts.
void 界面::OnCommand10Click() {
    SetVisible(Text1, true);
    SetVisible(Text2, true);
    SetVisible(Command6, true);
    SetVisible(Command10, false);
    SetOuterWidth(kLookupViewWidth);
    SetVisible(Command16, true);
    SetVisible(Command2, true);
    SetVisible(sm, false);
    SetVisible(guan, false);
}

// "关于"
void 界面::OnCommand4Click() { SetVisible(guan, true); }

// "漫游Tavrix"
void 界面::OnCommand8Click() {
    SetText(sm, InstructionsText());
    SetVisible(sm, true);
    SetVisible(guan, false);
}

// "总在最上面": "普通" then covers this button.
void 界面::OnCommand13Click() {
    SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_FRAMECHANGED);
    SetVisible(Command14, true);
}

// "普通"
void 界面::OnCommand14Click() {
    SetWindowPos(Handle(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_FRAMECHANGED);
    SetVisible(Command14, false);
}

// "没有显示": the hint, then the input in lower case. When lower-casing changes the input, the
// lookup replaces the hint; when it does not, the write is no change and the hint stays.
void 界面::OnCommand2Click() {
    SetText(Text2, kNotShownHint);
    std::wstring input = Text(Text1);
    if (!input.empty()) CharLowerBuffW(input.data(), static_cast<DWORD>(input.size()));
    SetText(Text1, input);
}

void 界面::OnCommand1Click() { OpenWebPage(Handle(), TAVRIX_MAKER_BLOG_PAGE); }
void 界面::OnCommand5Click() { OpenWebPage(Handle(), TAVRIX_MAKER_BLOG_PAGE); }
void 界面::OnCommand15Click() { OpenWebPage(Handle(), TAVRIX_MAKER_BLOG_PAGE); }
void 界面::OnLabel9Click() { OpenWebPage(Handle(), TAVRIX_MAKER_LINKED_SITE); }

// Any mouse button on the title strip drags the window, as a title bar would.
void 界面::OnImage1MouseDown() {
    ReleaseCapture();
    if (GetKeyState(VK_LBUTTON) < 0)
        SendMessageW(Handle(), WM_NCLBUTTONDOWN, HTCAPTION, 0);
    else
        FollowMouseUntilReleased();
}

// The system's move loop ends only when the left button goes up: started by another button it
// would leave the window stuck to the pointer. For those the window follows the mouse here, until
// the button is released.
void 界面::FollowMouseUntilReleased() {
    POINT last;
    GetCursorPos(&last);
    SetCapture(Handle());
    MSG message;
    while (GetCapture() == Handle()) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got <= 0) {
            ReleaseCapture();
            if (got == 0) PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        switch (message.message) {
        case WM_MOUSEMOVE: {
            POINT now;
            RECT outer;
            GetCursorPos(&now);
            GetWindowRect(Handle(), &outer);
            SetWindowPos(Handle(), nullptr, outer.left + now.x - last.x, outer.top + now.y - last.y, 0,
                         0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            last = now;
            continue;
        }
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
        case WM_XBUTTONUP:
            ReleaseCapture();
            continue;
        }
        win::HandleQueuedMessage(message);
    }
}

// The exit buttons end the program at once: nothing is asked, nothing is saved.
void 界面::OnCommand7Click() { ExitProcess(0); }
void 界面::OnCommand11Click() { ExitProcess(0); }
void 界面::OnCommand16Click() { ExitProcess(0); }

}  // namespace tavrix
