#include "main-window/main_window.h"

#include <shellapi.h>

#include <cwchar>
#include <string>
#include <string_view>
#include <utility>

#include "catalogue/catalogue.h"
#include "catalogue/content.h"
#include "catalogue/file_name.h"
#include "main-window/design.h"
#include "product/maker.h"
#include "win/local_file.h"
#include "win/program.h"
#include "win/system_functions.h"

namespace tavrix {
namespace {

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

std::wstring_view AsWide(std::u16string_view text) {
    return {reinterpret_cast<const wchar_t*>(text.data()), text.size()};
}

std::u16string_view AsUtf16(std::wstring_view text) {
    static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows texts are UTF-16");
    return {reinterpret_cast<const char16_t*>(text.data()), text.size()};
}

// The name of the first file of a drop; the shell that tells it loads with the first drop.
std::wstring FirstDroppedName(HDROP drop) {
    auto query = win::SystemFunctionOf<decltype(&DragQueryFileW)>(L"shell32.dll", "DragQueryFileW");
    const UINT length = query ? query(drop, 0, nullptr, 0) : 0;
    std::wstring name(length, L'\0');
    if (length) query(drop, 0, name.data(), length + 1);  // its terminator where the string keeps one
    return name;
}

// The program's own path, which a command line may begin with unquoted, blanks and all.
std::wstring ProgramPath() {
    std::wstring path(MAX_PATH, L'\0');
    for (DWORD length; (length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()))) >= path.size();)
        path.resize(path.size() * 2);
    path.resize(wcslen(path.c_str()));
    return path;
}

// A file of this machine as the catalogue reads what it holds.
class FileOnDisk final : public FileBytes {
public:
    explicit FileOnDisk(const win::LocalFile& file) : file_(file) {}
    std::uint64_t Size() const override { return file_.Size(); }
    std::size_t Read(std::uint64_t offset, std::span<std::uint8_t> into) override { return file_.Read(offset, into); }

private:
    const win::LocalFile& file_;
};

// The web pages open in the user's browser; only these fixed addresses ever reach the shell. The
// shell is loaded for it then, and COM, which it wants, started.
void OpenWebPage(HWND owner, const wchar_t* address) {
    win::StartCom();
    if (auto open = win::SystemFunctionOf<decltype(&ShellExecuteW)>(L"shell32.dll", "ShellExecuteW"))
        open(owner, L"open", address, L"", L"", SW_SHOWNORMAL);
}

}  // namespace

界面::界面(std::wstring_view commandLine) : Form(kMainWindowDesign), commandLine_(commandLine) {}


void 界面::OnClick(int control) {
    switch (control) {
    case Command6: return ShowPanelView();
    case Command10: return ShowLookupView();
    case Command4: return ShowAboutPanel();
    case Command8: return ShowInstructions();
    case Command13: return KeepOnTop();
    case Command14: return ReleaseFromTop();
    case Command2: return ShowNotShownHint();
    case Command1: case Command5: case Command15: return OpenBlogPage();
    case Label9: return OpenLinkedSite();
    case Command7: case Command11: case Command16: return win::EndProgram();
    }
}

void 界面::OnMouseDown(int control) {
    if (control == Image1) DragWindow();
}

void 界面::OnTextChanged(int control) {
    if (control == Text1) LookUpInput();
}

LRESULT 界面::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SETCURSOR:
        // The web-site line is a link: it shows the hand over it.
        if (GetDlgCtrlID(reinterpret_cast<HWND>(wParam)) == Label9) {
            SetCursor(LoadCursorW(nullptr, IDC_HAND));
            return TRUE;
        }
        break;
    case WM_MOUSEMOVE:
        if (GetCapture() == Handle()) FollowMouse();
        break;
    case WM_DROPFILES:
        OnDropFiles(reinterpret_cast<HDROP>(wParam));
        return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
    case WM_XBUTTONUP:
        if (GetCapture() == Handle()) ReleaseCapture();
        break;
    }
    return Form::HandleMessage(message, wParam, lParam);
}

void 界面::OnLoad() {
    SetText(Text1, kPrompt);  // a change of Text1: the lookup runs and finds nothing
    SetText(Text2, L"");
    SetOuterWidthTwips(kLookupViewWidthTwips);
    const std::wstring program = ProgramPath();
    if (const auto argument = FirstArgument(AsUtf16(commandLine_), AsUtf16(program)))
        HandOver(*argument, ExtensionOfArgument(*argument), NamesAFile(*argument));
}

// Only the first file counts. A drop with nothing to look up leaves the input as it was.
void 界面::OnDropFiles(HDROP drop) {
    struct Finish {  // the system's record of the drop goes, whatever happens
        HDROP drop;
        ~Finish() {
            if (auto finish = win::SystemFunctionOf<decltype(&DragFinish)>(L"shell32.dll", "DragFinish"))
                finish(drop);
        }
    } finish{drop};
    const std::wstring name = FirstDroppedName(drop);
    if (!HandOver(AsUtf16(name), ExtensionOfFileName(AsUtf16(name)), true)) MessageBeep(MB_OK);
}

// A file handed over, by its name's extension and, where it is a file of this machine, by what it
// holds; an extension typed on the command line by itself alone. False where there is nothing to
// look up: a folder, or a name without an extension whose content tells nothing.
bool 界面::HandOver(std::u16string_view path, std::u16string_view extension, bool isFile) {
    HandedOver handed{std::u16string(extension), {}};
    if (isFile) {
        const win::LocalFile file{std::wstring(AsWide(path))};
        if (file.What() == win::LocalFile::Kind::Folder) return false;
        FileOnDisk bytes(file);
        handed = WhatTheFileIs(extension, file.What() == win::LocalFile::Kind::Readable ? IdentifyContent(bytes) : nullptr);
    }
    if (handed.input.empty()) return false;
    PutExtension(handed.input, AsWide(handed.shown));
    return true;
}

// An extension into the input box as if typed there, in the catalogue's own spelling where it
// has one in any letter case, else in lower case; in the lookup view. Never cut to the box's
// limit: a shortened extension could match another key. What a file's content tells (`finding`)
// the output box shows instead of the lookup's answer, until the input next changes.
void 界面::PutExtension(std::u16string_view extension, std::wstring_view finding) {
    std::wstring input(AsWide(extension));
    if (const std::u16string_view key = CatalogueSpelling(extension); !key.empty())
        input = AsWide(key);
    else
        CharLowerBuffW(input.data(), static_cast<DWORD>(input.size()));
    if (!Shown(Text1)) ShowLookupView();
    finding_ = finding;
    if (Text(Text1) == input)
        LookUpInput();  // the same text again: the lookup still runs, as for a key typed
    else
        TextBoxOf(Text1).TypeOver(input);
    finding_.clear();
}

// Every change of the input: the output box then shows what the catalogue gives, and nothing
// else (but for the change that a handed-over file makes, which shows what its content tells).
// It is written once, and only when that changes its text: emptying it first would cost a second
// write (each redraws its scroll bar), and nobody could see the empty box in between.
void 界面::LookUpInput() {
    const std::wstring finding = std::exchange(finding_, {});
    SetText(Text2, finding.empty() ? std::wstring(AsWide(FindDescription(AsUtf16(Text(Text1))))) : finding);
}

void 界面::ShowPanelView() {
    SetShown(Text1, false);
    SetShown(Text2, false);
    SetShown(Command6, false);
    SetShown(Command10, true);
    SetOuterWidthTwips(kPanelViewWidthTwips);
    SetShown(Command16, false);
    SetShown(Command2, false);
    SetShown(guan, true);
}

// The two text boxes keep their texts.
void 界面::ShowLookupView() {
    SetShown(Text1, true);
    SetShown(Text2, true);
    SetShown(Command6, true);
    SetShown(Command10, false);
    SetOuterWidthTwips(kLookupViewWidthTwips);
    SetShown(Command16, true);
    SetShown(Command2, true);
    SetShown(sm, false);
    SetShown(guan, false);
}

void 界面::ShowAboutPanel() { SetShown(guan, true); }

void 界面::ShowInstructions() {
    SetText(sm, InstructionsText());
    SetShown(sm, true);
    SetShown(guan, false);
}

// "普通" then covers "总在最上面".
void 界面::KeepOnTop() {
    SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_FRAMECHANGED);
    SetShown(Command14, true);
}

void 界面::ReleaseFromTop() {
    SetWindowPos(Handle(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_FRAMECHANGED);
    SetShown(Command14, false);
}

// The hint, then the input in lower case. When lower-casing changes the input, the lookup's answer
// replaces the hint at once: the output box is written that once, so that a screen reader hears
// each change of it once. When it does not, writing the input is no change and the hint stays.
void 界面::ShowNotShownHint() {
    const std::wstring input = Text(Text1);
    std::wstring lower = input;
    if (!lower.empty()) CharLowerBuffW(lower.data(), static_cast<DWORD>(lower.size()));
    if (lower == input)
        SetText(Text2, kNotShownHint);
    else
        SetText(Text1, lower);
}

void 界面::OpenBlogPage() { OpenWebPage(Handle(), TAVRIX_MAKER_BLOG_PAGE); }
void 界面::OpenLinkedSite() { OpenWebPage(Handle(), TAVRIX_MAKER_LINKED_SITE); }

// Any mouse button on the title strip drags the window, as a title bar would. The system's move
// loop ends only when the left button goes up: started by another button it would leave the window
// stuck to the pointer. So for those the window captures the mouse and follows it until the button
// is released (FollowMouse, HandleMessage).
void 界面::DragWindow() {
    ReleaseCapture();
    if (GetKeyState(VK_LBUTTON) < 0) {
        SendMessageW(Handle(), WM_NCLBUTTONDOWN, HTCAPTION, 0);
        return;
    }
    GetCursorPos(&dragFrom_);
    SetCapture(Handle());
}

void 界面::FollowMouse() {
    POINT now;
    RECT outer;
    GetCursorPos(&now);
    GetWindowRect(Handle(), &outer);
    SetWindowPos(Handle(), nullptr, outer.left + now.x - dragFrom_.x, outer.top + now.y - dragFrom_.y,
                 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    dragFrom_ = now;
}

}  // namespace tavrix
