#pragma once
// The main window and the help window as they must be, typed by hand from their designs and kept
// apart from main-window/design.cpp and help/help_window.cpp, so that a wrong number or character
// in a window's own tables shows up as a difference instead of being copied into the expectation.
// The windows' tests and tests/e2e/model.py all read it. The tables are templates over the
// window's class, which names the control ids. model.py tokenizes every k-name's initializer:
// keep to literals, the maker's macros, W:: names, numbers, std::wstring(n, L' ') and +.

#include <string>

#include "product/maker.h"

namespace tavrix::test {

enum class Kind { Button, Edit, Label, Panel, Picture };

struct FixedControl {
    int id;
    Kind kind;
    int left, top, width, height;  // twips, within its container
    const wchar_t* caption;        // its text at start; nullptr: not fixed
    bool shownAtStart;
    int container = 0;  // 0: the window
};

struct FixedText {
    int id;
    const wchar_t* text;
};

// ---- the splash Form1 -------------------------------------------------------------------------

inline constexpr int kSplashWidth = 4635, kSplashHeight = 1005;  // twips, the whole window
inline constexpr int kSplashLabel[] = {1680, 120, 2775, 255};     // Label1: left, top, width, height
inline constexpr wchar_t kWelcomeLine[] = L"欢迎使用Tavrix软件，启动……";
inline constexpr wchar_t kSplashName[] = L"Tavrix";  // heard so, not by its window text "Form1"

// ---- the main window 界面 ------------------------------------------------------------------------

inline constexpr int kLookupWidth = 7110, kPanelWidth = 9075;  // outer widths, twips
inline constexpr int kClientHeight = 6360;
inline constexpr int kInputLimit = 6;
inline constexpr wchar_t kPrompt[] = L"[输入框]";
inline constexpr wchar_t kMainWindowName[] = L"Tavrix 后缀名查询工具";

// In stacking order, the first on top; then guan's labels, which overlap none of each other.
template <class W>
inline constexpr FixedControl kMainWindowControls[] = {
    {W::Text2, Kind::Edit, 240, 1680, 6735, 3375, L"", true},
    {W::Command11, Kind::Button, 8640, 120, 300, 300, L"", true},
    {W::Command15, Kind::Button, 4920, 600, 1575, 300, L"登陆[Tavrix在线]", true},
    {W::Command14, Kind::Button, 2760, 600, 1575, 300, L"普通", false},
    {W::Command13, Kind::Button, 2760, 600, 1575, 300, L"总在最上面", true},
    {W::Command1, Kind::Button, 600, 600, 1575, 300, L"在线更新", true},
    {W::Text1, Kind::Edit, 240, 5280, 6735, 405, kPrompt, true},
    {W::Command6, Kind::Button, 6960, 3240, 135, 780, L"→", true},
    {W::Command2, Kind::Button, 2160, 5880, 2055, 375, L"没有显示", true},
    {W::Command10, Kind::Button, 6960, 3240, 135, 705, L"←", false},
    {W::Command7, Kind::Button, 7320, 5280, 1575, 375, L"退出", true},
    {W::Command8, Kind::Button, 7320, 2640, 1575, 375, L"漫游Tavrix", true},
    {W::Command5, Kind::Button, 7320, 2160, 1575, 375, L"在线更新", true},
    {W::Command4, Kind::Button, 7320, 1680, 1575, 375, L"关于", true},
    {W::Command16, Kind::Button, 6720, 120, 300, 300, L"", true},
    {W::guan, Kind::Panel, 240, 1680, 6735, 3375, nullptr, true},
    {W::Label4, Kind::Label, 4320, 1200, 2175, 255, L"最后更新日期：2006-06-03", true},
    {W::Label3, Kind::Label, 600, 1200, 1575, 255, L"当前版本：02.16", true},
    {W::sm, Kind::Label, 240, 1680, 6735, 3375, L"", true},
    {W::Image1, Kind::Picture, 0, 0, 9120, 450, nullptr, true},
    {W::Label1, Kind::Label, 0, 2040, 4575, 255, L"邮箱：" TAVRIX_MAKER_EMAIL, true, W::guan},
    {W::Label6, Kind::Label, 0, 120, 4695, 375, L"请从Tavrix在线提供的连接进行下载，已确保您电脑的安全。", true, W::guan},
    {W::Label7, Kind::Label, 0, 600, 6255, 375, nullptr, true, W::guan},  // the maker's own words
    {W::Label8, Kind::Label, 0, 1320, 3615, 255, L"技术支持QQ群：" TAVRIX_MAKER_CHAT_GROUP, true, W::guan},
    {W::Label9, Kind::Label, 0, 1680, 3135, 255, L"Tavrix在线：" TAVRIX_MAKER_WEB_HOST, true, W::guan},
};

// Every other control has no tip. The two text boxes are also named by their tips.
template <class W>
inline constexpr FixedText kMainWindowTips[] = {
    {W::Text2, L"这个后缀名的意义"}, {W::Text1, L"请在此输入您要查找的后缀名"},
    {W::Command11, L"关闭"}, {W::Command16, L"关闭"}, {W::Command7, L"关闭"},
    {W::Command15, L"Tavrix在线，Orvane，全年守候"}, {W::Command14, L"恢复"},
    {W::Command13, L"在所有程序的上面显示"}, {W::Command1, L"升级Tavrix"}, {W::Command5, L"升级Tavrix"},
    {W::Command6, L"用户设置"}, {W::Command2, L"怎么输入了没有反映？让我给你更多的解决方案"},
    {W::Command8, L"了解新功能、介绍"}, {W::Command4, L"版权问题、友情提示……"},
};

// The buttons whose caption says too little are heard by what they do; the others by their caption.
template <class W>
inline constexpr FixedText kMainWindowHeardNames[] = {
    {W::Command6, L"用户设置"}, {W::Command10, L"返回"}, {W::Command11, L"关闭"}, {W::Command16, L"关闭"},
};

template <class W>
inline constexpr int kMainWindowTabOrder[] = {
    W::Command6, W::Command2, W::Text2, W::Text1, W::Command1, W::guan, W::Command10, W::Command11,
    W::Command7, W::Command8, W::Command5, W::Command4, W::Command13, W::Command14, W::Command15,
    W::Command16,
};

inline constexpr wchar_t kNotShownHint[] =
    L"如果还没有显示，情您再确认您的输入无误。建议您上网进行查找并通过邮件向我们报告此后缀名，谢谢您的支持！"
    TAVRIX_MAKER_EMAIL;

// One line: its two runs of spaces belong to it.
inline const std::wstring kInstructions =
    L"Tavrix通过2005年一年的观察、测试，在2006版中已经修复了N处错误、Bug。希望Tavrix给您带来更多的方便。" +
    std::wstring(90, L' ') +
    L"Tavrix是一款查看、解释后缀名的软件，当你不知道一个文件是干什么、有什么用是，你不妨查看一下它的后缀名，"
    L"看看他的后缀名是什么(如何显示其后缀名WinXp：打开我的电脑 > 工具 > 文件夹选项 > 查看 > 反选隐藏后缀名，即可)，"
    L"如果他的后缀名是jpg的化，你使用Tavrix输入jpg然后点击查看，你即可知道，它是静态图象专家组制订的静态图象压缩标准，"
    L"具有很高的压缩比，使用非常广泛，可使用PhotoShop等图象处理软件创建，这样你就可以大概知道这个文件有什么用了。" +
    std::wstring(88, L' ');

// ---- the help window Form1 (full-width punctuation by code point: look-alike ASCII cannot pass) --

inline constexpr int kHelpClientWidth = 7005, kHelpClientHeight = 4020;  // twips
inline constexpr int kHelpTextLimit = 2000;  // characters the user can bring into the box
inline constexpr wchar_t kHelpWindowName[] = L"Tavrix 帮助";  // its caption too
inline constexpr wchar_t kHelpAnswerBoxName[] = L"答案";
inline constexpr wchar_t kHelpInitialText[] =
    L"欢迎使用Tavrix软件\r\n  \r\n让生活简单化 \uFF0D Tavrix软件\r\n";

// Top to bottom, which is also the stacking order.
template <class W>
inline constexpr FixedControl kHelpControls[] = {
    {W::Command2, Kind::Button, 120, 480, 2655, 375, L"如何升级", true},
    {W::Command1, Kind::Button, 120, 960, 2655, 375, L"升级建议", true},
    {W::Command3, Kind::Button, 120, 1440, 2655, 375, L"无法查到所输入的后缀名", true},
    {W::Command4, Kind::Button, 120, 1920, 2655, 375, L"显示错误(乱码)", true},
    {W::Command5, Kind::Button, 120, 2400, 2655, 375, L"联系方式", true},
    {W::Command6, Kind::Button, 120, 2880, 2655, 375, L"其他", true},
    {W::Command7, Kind::Button, 120, 3480, 2655, 375, L"退出", true},
    {W::Text1, Kind::Edit, 3000, 480, 3855, 3375, kHelpInitialText, true},
};

template <class W>
inline constexpr int kHelpTabOrder[] = {
    W::Command1, W::Command2, W::Command3, W::Command4, W::Command5, W::Command6, W::Command7, W::Text1,
};

template <class W>
inline constexpr FixedText kHelpAnswers[] = {
    {W::Command1, L"建议您每1个月升级软件2次"},
    {W::Command2,
     L"打开主程序\uFF0C在[用户设置]中或主界面中\uFF0C单击[在线更新]\uFF0C即可打开下载页面\uFF0C"
     L"下载新版本后\uFF0C安装到此文件夹即可\u3002最好升级完毕后重新启动计算机\u3002"},
    {W::Command3,
     L"请您尝试更换大/小写试试\uFF0C如果还是不行\uFF0C我们建议您上网进行搜索并向我们报告此后缀名"
     L"(邮箱\uFF1A" TAVRIX_MAKER_EMAIL L")"},
    {W::Command4, L"建议您卸载软件然后重新下载\u3001安装"},
    {W::Command5, L"我们的QQ群\uFF1A" TAVRIX_MAKER_CHAT_GROUP L"\uFF1B我们的邮箱\uFF1A"
                  TAVRIX_MAKER_EMAIL L"\uFF1B我们的主页\uFF1A" TAVRIX_MAKER_HOME_PAGE},
    {W::Command6, L"如有其他问题\uFF0C请访问我们的主页\uFF1A" TAVRIX_MAKER_HOME_PAGE},
};

}  // namespace tavrix::test
