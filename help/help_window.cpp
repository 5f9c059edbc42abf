#include "help/help_window.h"

#include "help/resource.h"
#include "product/font.h"
#include "product/maker.h"
#include "win/program.h"

namespace tavrix::help {
namespace {

using K = controls::ControlKind;

constexpr wchar_t kInitialText[] = L"欢迎使用Tavrix软件\r\n  \r\n让生活简单化 － Tavrix软件\r\n";

// Rows top to bottom, the stacking order; the buttons' column, then the answer box.
constexpr controls::ControlSpec kControls[] = {
    //  control       kind           left   top  width height  caption                    shown
    {Form1::Command2, K::PushButton,  120,  480, 2655,  375, L"如何升级",               true},
    {Form1::Command1, K::PushButton,  120,  960, 2655,  375, L"升级建议",               true},
    {Form1::Command3, K::PushButton,  120, 1440, 2655,  375, L"无法查到所输入的后缀名", true},
    {Form1::Command4, K::PushButton,  120, 1920, 2655,  375, L"显示错误(乱码)",         true},
    {Form1::Command5, K::PushButton,  120, 2400, 2655,  375, L"联系方式",               true},
    {Form1::Command6, K::PushButton,  120, 2880, 2655,  375, L"其他",                   true},
    {Form1::Command7, K::PushButton,  120, 3480, 2655,  375, L"退出",                   true},
    {Form1::Text1,    K::TextBox,    3000,  480, 3855, 3375, kInitialText,              true},
};

// Every button wears the one skin; only "升级建议" carries an icon picture. The answer box takes
// at most a few pages from the user: the edit control re-wraps a long line without spaces at a
// cost that grows with the square of its length, and a large paste would freeze the window.
constexpr controls::SettingsSpec kSettings[] = {
    {.id = Form1::Command1, .iconPictureResource = IDB_COMMAND1_ICON},
    {.id = Form1::Text1, .maxLength = 2000, .accessibleName = L"答案"},
};

constexpr int kTabOrder[] = {
    Form1::Command1, Form1::Command2, Form1::Command3, Form1::Command4,
    Form1::Command5, Form1::Command6, Form1::Command7, Form1::Text1,
};

const controls::FormDesign kDesign{
    .className = L"TavrixHelpWindow",
    .iconResource = IDI_TAVRIX_HELP,
    .caption = L"Tavrix 帮助",
    // A fixed frame with a title bar and a close box: no minimise or maximise box, no sizing.
    .style = WS_CAPTION | WS_SYSMENU | WS_BORDER,
    .clientWidthTwips = 7005,
    .clientHeightTwips = 4020,
    .pictureResource = IDB_HELP_PICTURE,
    .background = win::SystemColour(COLOR_BTNFACE),
    .defaultFont = kDefaultFont,
    .controls = kControls,
    .settings = kSettings,
    .tabOrder = kTabOrder,
};

// The answers, one per question button; none has a line break, the box wraps them.
constexpr wchar_t kUpgradeAdvice[] = L"建议您每1个月升级软件2次";
constexpr wchar_t kHowToUpgrade[] =
    L"打开主程序，在[用户设置]中或主界面中，单击[在线更新]，即可打开下载页面，下载新版本后，"
    L"安装到此文件夹即可。最好升级完毕后重新启动计算机。";
constexpr wchar_t kExtensionNotFound[] =
    L"请您尝试更换大/小写试试，如果还是不行，我们建议您上网进行搜索并向我们报告此后缀名(邮箱："
    TAVRIX_MAKER_EMAIL L")";
constexpr wchar_t kGarbledText[] = L"建议您卸载软件然后重新下载、安装";
constexpr wchar_t kContact[] = L"我们的QQ群：" TAVRIX_MAKER_CHAT_GROUP L"；我们的邮箱："
    TAVRIX_MAKER_EMAIL L"；我们的主页：" TAVRIX_MAKER_HOME_PAGE;
constexpr wchar_t kOther[] = L"如有其他问题，请访问我们的主页：" TAVRIX_MAKER_HOME_PAGE;

}  // namespace

Form1::Form1() : Form(kDesign) {}

void Form1::OnClick(int control) {
    switch (control) {
    case Command1: return ShowAnswer(kUpgradeAdvice);
    case Command2: return ShowAnswer(kHowToUpgrade);
    case Command3: return ShowAnswer(kExtensionNotFound);
    case Command4: return ShowAnswer(kGarbledText);
    case Command5: return ShowAnswer(kContact);
    case Command6: return ShowAnswer(kOther);
    case Command7: return win::EndProgram();
    }
}

// Topmost from the start, before anyone sees it. If the system refuses, the window is merely an
// ordinary one: nothing to report.
void Form1::OnLoad() {
    SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_FRAMECHANGED);
}

// An answer replaces whatever the box holds: the greeting, an earlier answer or the user's typing.
void Form1::ShowAnswer(const wchar_t* answer) { SetText(Text1, answer); }

}  // namespace tavrix::help
