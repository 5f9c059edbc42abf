#include "win/form.h"

#include <algorithm>
#include <cwchar>

#include "win/accessible.h"
#include "win/error.h"
#include "win/label.h"
#include "win/message_loop.h"
#include "win/picture.h"
#include "win/picture_box.h"
#include "win/pictures.h"
#include "win/system_functions.h"
#include "win/units.h"
#include "win/window_text.h"
#include "win/work_area.h"

namespace tavrix::win {
namespace {

bool SameFont(const FontSpec& a, const FontSpec& b) {
    const bool sameFace = (!a.face && !b.face) || (a.face && b.face && std::wcscmp(a.face, b.face) == 0);
    return sameFace && a.tenthsOfPoint == b.tenthsOfPoint && a.charset == b.charset &&
           a.weight == b.weight;
}

}  // namespace

Form::Form(const FormDesign& design)
    : design_(design), dpi_(SystemDpi()), colours_(design.background) {}

Form::~Form() {
    // The window and its children go first, while the pictures, fonts and brushes they paint with
    // are still there (a child hidden on its way out repaints its siblings); then the tips, which
    // no window owns. The controls' own objects follow with the members.
    DestroyHandle();
    tooltips_.Destroy();
}

void Form::Create() {
    if (!Handle()) Build();
}

void Form::Show() {
    Create();
    CentreInWorkArea(Handle());
    const bool activate = ActivatedWhenShown();
    ShowWindow(Handle(), activate ? SW_SHOW : SW_SHOWNOACTIVATE);
    UpdateWindow(Handle());
    WatchForTheLastWindow();
    if (activate) SetForegroundWindow(Handle());
}

int Form::Pixels(int twips) const { return TwipsToPixels(twips, dpi_); }

void Form::CreateForm(const wchar_t* className, const wchar_t* title, DWORD style, DWORD exStyle,
                      int clientWidthTwips, int clientHeightTwips, Bitmap picture) {
    RECT outer{0, 0, Pixels(clientWidthTwips), Pixels(clientHeightTwips)};
    Check(AdjustWindowRectEx(&outer, style, FALSE, exStyle) != FALSE, L"计算窗口大小");
    // Made where it will be shown, unless its load handler changes its size: no move before then.
    const int width = outer.right - outer.left, height = outer.bottom - outer.top;
    const Place place = CentredIn(WorkAreaOf(nullptr), width, height);
    CreateHandle(exStyle, className, title, style | WS_CLIPCHILDREN, place.x, place.y, width, height,
                 nullptr);
    colours_.SetFace(std::move(picture), Pixels(clientWidthTwips), Pixels(clientHeightTwips));
    CreateControls();
}

const SettingsSpec* Form::SettingsOf(int id) const {
    for (const SettingsSpec& settings : design_.settings)
        if (settings.id == id) return &settings;
    return nullptr;
}

HFONT Form::FontFor(const FontSpec& requested) {
    const FontSpec& wanted = requested.face ? requested : kDefaultFont;
    for (const auto& [known, font] : fonts_)
        if (SameFont(known, wanted)) return font.get();
    fonts_.emplace_back(wanted, CreateFontFor(wanted, dpi_));
    return fonts_.back().second.get();
}

HBITMAP Form::PictureFor(int resource) {
    for (const auto& [known, bitmap] : pictures_)
        if (known == resource) return bitmap.get();
    pictures_.emplace_back(resource, LoadPackedBitmap(resource));
    return pictures_.back().second.get();
}

void Form::CreateControls() {
    if (design_.commonControls) StartCommonControls();

    int highest = 0;
    for (const ControlSpec& control : design_.controls) highest = std::max(highest, control.id);
    controls_.assign(static_cast<size_t>(highest) + 1, nullptr);
    // Each new child window goes below its siblings: creating in table order stacks the first on top.
    static const SettingsSpec kNoSettings{0};
    for (const ControlSpec& control : design_.controls) {
        const SettingsSpec* settings = SettingsOf(control.id);
        HWND hwnd = CreateControl(control, settings ? *settings : kNoSettings);
        controls_[static_cast<size_t>(control.id)] = hwnd;
        if (settings && settings->tooltip) tooltips_.Add(hwnd, settings->tooltip);
    }
    std::vector<HWND> tabOrder;
    for (int id : design_.tabOrder) tabOrder.push_back(Control(id));
    focus_.emplace(Handle(), std::move(tabOrder));
}

HWND Form::CreateControl(const ControlSpec& control, const SettingsSpec& s) {
    HWND parent = control.container ? Control(control.container) : Handle();
    const RECT bounds{Pixels(control.left), Pixels(control.top),
                      Pixels(control.left) + Pixels(control.width),
                      Pixels(control.top) + Pixels(control.height)};
    const DWORD shown = control.shown ? WS_VISIBLE : 0;
    const wchar_t* text = control.text ? control.text : L"";
    const wchar_t* accessibleName = s.accessibleName ? s.accessibleName : s.tooltip;
    HFONT font = FontFor(s.font);
    HWND hwnd = nullptr;

    switch (control.kind) {
    case ControlKind::PushButton: {
        const int skin = s.picture ? s.picture : design_.buttons.defaultSkin;
        return design_.buttons.make(
            parent, {control.id, text, bounds, PictureFor(skin), s.icon ? PictureFor(s.icon) : nullptr,
                     font, control.shown, *text ? nullptr : accessibleName});
    }
    case ControlKind::TextBox:
        textBoxes_.push_back(std::make_unique<TextBox>(parent, control.id, bounds, text, shown | s.style,
                                                       s.maxLength, accessibleName));
        hwnd = textBoxes_.back()->Handle();
        break;
    case ControlKind::Label:
        if (!design_.commonControls) {
            ownedWindows_.push_back(std::make_unique<Label>(parent, control.id, bounds, text, control.shown));
            hwnd = ownedWindows_.back()->Handle();
        } else {
            hwnd = CreateSystemLabel(parent, control.id, bounds, text, shown | s.style);
        }
        break;
    case ControlKind::PictureBox:
        ownedWindows_.push_back(std::make_unique<PictureBox>(parent, control.id, bounds, control.shown));
        hwnd = ownedWindows_.back()->Handle();
        break;
    case ControlKind::Picture:
        ownedWindows_.push_back(std::make_unique<Picture>(parent, control.id, bounds, control.shown,
                                                          s.picture ? PictureFor(s.picture) : nullptr));
        hwnd = ownedWindows_.back()->Handle();
        break;
    }
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return hwnd;
}

HWND Form::Control(int id) const {
    if (id <= 0 || static_cast<size_t>(id) >= controls_.size() || !controls_[static_cast<size_t>(id)])
        throw Error(L"找不到控件 " + Decimal(id), ERROR_INVALID_WINDOW_HANDLE);
    return controls_[static_cast<size_t>(id)];
}

TextBox& Form::TextBoxOf(int id) {
    HWND control = Control(id);
    for (const auto& box : textBoxes_)
        if (box->Handle() == control) return *box;
    throw Error(L"控件 " + Decimal(id) + L" 不是文本框", ERROR_INVALID_WINDOW_HANDLE);
}

std::wstring Form::Text(int id) const { return WindowText(Control(id)); }

void Form::SetText(int id, std::wstring_view text) {
    HWND control = Control(id);
    for (const auto& box : textBoxes_)
        if (box->Handle() == control) return box->SetText(text);
    const std::wstring copy(text);
    Check(SetWindowTextW(control, copy.c_str()) != FALSE, L"设置文字");
}

void Form::SetVisible(int id, bool shown) {
    HWND control = Control(id);
    if (!shown && focus_) focus_->OnHiding(control);
    Check(SetWindowPos(control, nullptr, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE |
                           (shown ? SWP_SHOWWINDOW : SWP_HIDEWINDOW)) != FALSE,
          shown ? L"显示控件" : L"隐藏控件");
    if (shown && focus_) focus_->OnShown();
}

// A window that grows stays wholly on the screen: on a small screen at a high DPI the wider view
// would otherwise put its right part, with its buttons, beyond the edge.
void Form::SetOuterWidth(int twips) {
    RECT outer;
    Check(GetWindowRect(Handle(), &outer) != FALSE, L"读取窗口位置");
    const int width = Pixels(twips);
    const int left = width > outer.right - outer.left
                         ? LeftAfterWidening(WorkAreaOf(Handle()), outer.left, width)
                         : outer.left;
    Check(SetWindowPos(Handle(), nullptr, left, outer.top, width, outer.bottom - outer.top,
                       SWP_NOZORDER | SWP_NOACTIVATE | (left == outer.left ? SWP_NOMOVE : 0)) != FALSE,
          L"设置窗口宽度");
}

bool Form::PreTranslateMessage(MSG& message) {
    tooltips_.Relay(message);
    return focus_ && focus_->OnTabKey(message);
}

void Form::OnControlCommand(HWND control, WORD code) {
    switch (code) {
    case BN_CLICKED:  // and STN_CLICKED, which is the same code
        return OnClick(GetDlgCtrlID(control));
    case EN_CHANGE:
        for (const auto& box : textBoxes_)
            if (box->Handle() == control && box->onTextChanged) return box->onTextChanged();
        return;
    case kPictureMouseDown:
        return OnMouseDown(GetDlgCtrlID(control));
    }
}

LRESULT Form::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (lParam) {
            OnControlCommand(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
            return 0;
        }
        break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT: {
        const LRESULT standard = Window::HandleMessage(message, wParam, lParam);
        const auto control = reinterpret_cast<HWND>(lParam);
        if (const SettingsSpec* settings = SettingsOf(GetDlgCtrlID(control)))
            if (HBRUSH brush = colours_.ForControl(Handle(), control, reinterpret_cast<HDC>(wParam),
                                                   settings->text, settings->back))
                return reinterpret_cast<LRESULT>(brush);
        return standard;
    }
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item && item->hwndItem) return SendMessageW(item->hwndItem, kReflectedDrawItem, wParam, lParam);
        break;
    }
    case WM_ERASEBKGND:
        colours_.PaintFace(Handle(), reinterpret_cast<HDC>(wParam));
        return TRUE;
    case WM_GETOBJECT:
        if (design_.accessibleName)
            if (const LRESULT result =
                    AnswerAccessibleObject(Handle(), wParam, lParam, design_.accessibleName))
                return result;
        break;
    case WM_ACTIVATE:
        if (focus_) focus_->OnActivate(LOWORD(wParam) != WA_INACTIVE);
        return 0;
    case WM_SETFOCUS:
        if (focus_) focus_->OnActivate(true);
        return 0;
    case WM_DESTROY:
        tooltips_.Destroy();  // no window owns the tips, so none takes them along
        break;
    }
    return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace tavrix::win
