#include "main-window/design.h"

#include "controls/skins.h"
#include "main-window/main_window.h"
#include "main-window/resource.h"
#include "product/font.h"
#include "product/maker.h"

namespace tavrix {
namespace {

using controls::ControlSpec;
using controls::SettingsSpec;
using K = controls::ControlKind;

constexpr bool yes = true;
constexpr bool no = false;

// In stacking order: a control listed earlier lies above every control listed after it.
constexpr ControlSpec kControls[] = {
    //  control           kind           left   top  width height  caption                             shown
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
    {.id = 界面::Text2, .font = kSongTi105, .textColour = kBlack, .backColour = kWhite,
     .tooltip = L"这个后缀名的意义", .style = ES_READONLY, .liveRegion = true},
    {.id = 界面::Text1, .font = kComicSans105, .textColour = kBlack, .backColour = kWhite,
     .tooltip = L"请在此输入您要查找的后缀名", .maxLength = 6},
    {.id = 界面::Label3, .backColour = win::kTransparent},
    {.id = 界面::Label4, .backColour = win::kTransparent},
    {.id = 界面::sm, .textColour = kBlack, .backColour = win::SystemColour(COLOR_WINDOW)},
    {.id = 界面::guan, .textColour = win::SystemColour(COLOR_WINDOWTEXT),
     .backColour = win::SystemColour(COLOR_WINDOW)},
    {.id = 界面::Label1, .backColour = kWhite},
    {.id = 界面::Label6, .textColour = kRed, .backColour = kWhite},
    {.id = 界面::Label7, .backColour = kWhite},
    {.id = 界面::Label8, .backColour = kWhite},
    {.id = 界面::Label9, .backColour = kWhite},
    {.id = 界面::Image1, .backColour = win::kTransparent, .pictureResource = IDB_TITLE_STRIP},
    {.id = 界面::Command11, .tooltip = L"关闭", .pictureResource = IDB_CLOSE_SKIN},
    {.id = 界面::Command16, .tooltip = L"关闭", .pictureResource = IDB_CLOSE_SKIN},
    {.id = 界面::Command7, .tooltip = L"关闭"},
    {.id = 界面::Command15, .tooltip = L"Tavrix在线，Orvane，全年守候"},
    {.id = 界面::Command14, .tooltip = L"恢复"},
    {.id = 界面::Command13, .tooltip = L"在所有程序的上面显示"},
    {.id = 界面::Command1, .tooltip = L"升级Tavrix"},
    {.id = 界面::Command5, .tooltip = L"升级Tavrix"},
    // The arrows are heard by what they do.
    {.id = 界面::Command6, .tooltip = L"用户设置", .accessibleName = L"用户设置"},
    {.id = 界面::Command10, .accessibleName = L"返回"},
    {.id = 界面::Command2, .tooltip = L"怎么输入了没有反映？让我给你更多的解决方案"},
    {.id = 界面::Command8, .tooltip = L"了解新功能、介绍"},
    {.id = 界面::Command4, .tooltip = L"版权问题、友情提示……"},
};

constexpr int kTabOrder[] = {
    界面::Command6, 界面::Command2, 界面::Text2, 界面::Text1, 界面::Command1, 界面::guan,
    界面::Command10, 界面::Command11, 界面::Command7, 界面::Command8, 界面::Command5,
    界面::Command4, 界面::Command13, 界面::Command14, 界面::Command15, 界面::Command16,
};

}  // namespace

const controls::FormDesign kMainWindowDesign{
    .className = L"TavrixMainWindow",
    .iconResource = IDI_TAVRIX,
    // Its caption stays empty, as designed (the title strip is its title); screen readers hear
    // accessibleName.
    .caption = L"",
    .style = WS_POPUP | WS_BORDER,
    .exStyle = WS_EX_APPWINDOW | WS_EX_ACCEPTFILES,
    .clientWidthTwips = 9045,
    .clientHeightTwips = 6360,
    .pictureResource = IDB_BACKGROUND,
    .background = win::SystemColour(COLOR_BTNFACE),
    .defaultFont = kDefaultFont,
    .controls = kControls,
    .settings = kSettings,
    .tabOrder = kTabOrder,
    .accessibleName = L"Tavrix 后缀名查询工具",
};

}  // namespace tavrix
