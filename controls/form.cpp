#include "controls/form.h"

#include <algorithm>
#include <cwchar>

#include "controls/push_button.h"
#include "controls/skins.h"
#include "controls/static_controls.h"
#include "win/accessible.h"
#include "win/error.h"
#include "win/message_loop.h"
#include "win/pictures.h"
#include "win/system_functions.h"
#include "win/units.h"
#include "win/window_text.h"
#include "win/work_area.h"

namespace tavrix::controls {
namespace {

using win::Check;
using win::Decimal;
using win::Error;
using win::FontSpec;
using win::Window;

bool SameFont(const FontSpec& a, const FontSpec& b) {
    const bool sameTypeface = (!a.typeface && !b.typeface) ||
                              (a.typeface && b.typeface && std::wcscmp(a.typeface, b.typeface) == 0);
    return sameTypeface && a.tenthsOfPoint == b.tenthsOfPoint && a.charset == b.charset &&
           a.weight == b.weight;
}

}  // namespace

Form::Form(const FormDesign& design)
    : design_(design), dpi_(win::SystemDpi()), colours_(design.background) {}

Form::~Form() {
    // The window and its children go first, while the pictures, fonts and brushes they paint with
    // are still there (a child hidden on its way out repaints its siblings); then, with the
    // members, the tips, which no window owns, and the controls' own objects.
    DestroyHandle();
}

void Form::Create() {
    if (Handle()) return;
    RegisterWindowClass(design_.className, design_.iconResource);
    const int width = Pixels(design_.clientWidthTwips), height = Pixels(design_.clientHeightTwips);
    RECT outer{0, 0, width, height};
    Check(AdjustWindowRectEx(&outer, design_.style, FALSE, design_.exStyle) != FALSE, L"计算窗口大小");
    // Made where it will be shown, unless its load handler changes its size: no move before then.
    const int outerWidth = outer.right - outer.left, outerHeight = outer.bottom - outer.top;
    const win::Place place = win::OpeningPlace(win::ScreenOf(nullptr), outerWidth, outerHeight);
    CreateHandle(design_.exStyle, design_.className, design_.caption, design_.style | WS_CLIPCHILDREN,
                 {place.x, place.y, place.x + outerWidth, place.y + outerHeight});
    colours_.SetFace(design_.pictureResource ? win::LoadPackedBitmap(design_.pictureResource) : win::Bitmap{},
                     width, height);
    CreateControls();
    OnLoad();
}

void Form::Show() {
    Create();
    win::CentreInWorkArea(Handle());
    const bool activate = ActivatedWhenShown();
    ShowWindow(Handle(), activate ? SW_SHOW : SW_SHOWNOACTIVATE);
    UpdateWindow(Handle());
    win::WatchForTheLastWindow();
    if (activate) SetForegroundWindow(Handle());
}

int Form::Pixels(int twips) const { return win::TwipsToPixels(twips, dpi_); }

const SettingsSpec* Form::SettingsOf(int id) const {
    for (const SettingsSpec& settings : design_.settings)
        if (settings.id == id) return &settings;
    return nullptr;
}

HFONT Form::FontFor(const FontSpec& requested) {
    const FontSpec& wanted = requested.typeface ? requested : design_.defaultFont;
    for (const auto& [known, font] : fonts_)
        if (SameFont(known, wanted)) return font.get();
    fonts_.emplace_back(wanted, win::CreateFontFor(wanted, dpi_));
    return fonts_.back().second.get();
}

HBITMAP Form::PictureFor(int resource) {
    for (const auto& [known, bitmap] : pictures_)
        if (known == resource) return bitmap.get();
    pictures_.emplace_back(resource, win::LoadPackedBitmap(resource));
    return pictures_.back().second.get();
}

void Form::CreateControls() {
    if (design_.commonControls) win::StartCommonControls();

    int highest = 0;
    for (const ControlSpec& control : design_.controls) highest = std::max(highest, control.id);
    controls_.resize(static_cast<size_t>(highest) + 1);
    // Each new child window goes below its siblings: creating in table order stacks the first on top.
    static const SettingsSpec kNoSettings{0};
    for (const ControlSpec& control : design_.controls) {
        const SettingsSpec* settings = SettingsOf(control.id);
        controls_[static_cast<size_t>(control.id)] =
            CreateControl(control, settings ? *settings : kNoSettings);
        if (settings && settings->tooltip) {
            if (!tooltips_) tooltips_.emplace();
            tooltips_->Add(Control(control.id), settings->tooltip);
        }
    }
    std::vector<HWND> tabOrder;
    for (int id : design_.tabOrder) tabOrder.push_back(Control(id));
    focus_.emplace(Handle(), std::move(tabOrder));
}

// Every kind made directly, each from its parts alike.
std::unique_ptr<Window> Form::CreateControl(const ControlSpec& control, const SettingsSpec& s) {
    const RECT bounds{Pixels(control.left), Pixels(control.top),
                      Pixels(control.left) + Pixels(control.width),
                      Pixels(control.top) + Pixels(control.height)};
    const ControlParts parts{control.container ? Control(control.container) : Handle(), control, s, bounds,
                             FontFor(s.font)};
    switch (control.kind) {
    case ControlKind::PushButton:  // in the captioned buttons' skin, unless the design gives another
        return std::make_unique<PushButton>(
            parts, PictureFor(s.pictureResource ? s.pictureResource : IDB_BUTTON_SKIN),
            s.iconPictureResource ? PictureFor(s.iconPictureResource) : nullptr);
    case ControlKind::TextBox:
        return std::make_unique<TextBox>(parts);
    case ControlKind::Label:
        if (design_.commonControls) return std::make_unique<SystemLabel>(parts);
        return std::make_unique<Label>(parts);
    case ControlKind::PictureBox:
        return std::make_unique<PictureBox>(parts);
    case ControlKind::Picture:
        return std::make_unique<Picture>(parts, s.pictureResource ? PictureFor(s.pictureResource) : nullptr);
    }
    return nullptr;
}

Window& Form::Object(int id) const {
    if (id <= 0 || static_cast<size_t>(id) >= controls_.size() || !controls_[static_cast<size_t>(id)] ||
        !controls_[static_cast<size_t>(id)]->Handle())
        throw Error(L"找不到控件 " + Decimal(id), ERROR_INVALID_WINDOW_HANDLE);
    return *controls_[static_cast<size_t>(id)];
}

HWND Form::Control(int id) const { return Object(id).Handle(); }

// The design tells a text box from the other kinds: no run-time type information is needed.
TextBox* Form::TextBoxIf(int id) const {
    for (const ControlSpec& control : design_.controls)
        if (control.id == id)
            return control.kind == ControlKind::TextBox ? static_cast<TextBox*>(&Object(id)) : nullptr;
    return nullptr;
}

TextBox& Form::TextBoxOf(int id) {
    if (TextBox* box = TextBoxIf(id)) return *box;
    throw Error(L"控件 " + Decimal(id) + L" 不是文本框", ERROR_INVALID_WINDOW_HANDLE);
}

std::wstring Form::Text(int id) const { return win::WindowText(Control(id)); }

void Form::SetText(int id, std::wstring_view text) { Object(id).SetText(text); }

bool Form::Shown(int id) const { return (GetWindowLongW(Control(id), GWL_STYLE) & WS_VISIBLE) != 0; }

void Form::SetShown(int id, bool shown) {
    HWND control = Control(id);
    if (!shown && focus_) focus_->OnHiding(control);
    Check(SetWindowPos(control, nullptr, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE |
                           (shown ? SWP_SHOWWINDOW : SWP_HIDEWINDOW)) != FALSE,
          shown ? L"显示控件" : L"隐藏控件");
    if (shown && focus_) focus_->OnShown();
}

// What a window adds when it widens lies on the screen: on a small screen at a high DPI the wider
// view would otherwise put its right part, with its buttons, beyond the edge.
void Form::SetOuterWidthTwips(int twips) {
    RECT outer;
    Check(GetWindowRect(Handle(), &outer) != FALSE, L"读取窗口位置");
    const int width = Pixels(twips);
    const win::Place place =
        win::Widened(win::ScreenOf(Handle()).work, {outer.left, outer.top, outer.right, outer.bottom}, width);
    const bool moved = place.x != outer.left || place.y != outer.top;
    Check(SetWindowPos(Handle(), nullptr, place.x, place.y, width, outer.bottom - outer.top,
                       SWP_NOZORDER | SWP_NOACTIVATE | (moved ? 0 : SWP_NOMOVE)) != FALSE,
          L"设置窗口宽度");
}

bool Form::PreTranslateMessage(MSG& message) {
    if (tooltips_) tooltips_->Relay(message);
    return focus_ && focus_->OnTabKey(message);
}

void Form::OnControlCommand(HWND control, WORD code) {
    switch (code) {
    case BN_CLICKED:  // and STN_CLICKED, which is the same code
        return OnClick(GetDlgCtrlID(control));
    case EN_CHANGE:
        return OnTextChanged(GetDlgCtrlID(control));
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
                                                   settings->textColour, settings->backColour))
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
                    win::AnswerAccessibleObject(Handle(), wParam, lParam, design_.accessibleName))
                return result;
        break;
    case WM_ACTIVATE:
        if (focus_) focus_->OnActivate(LOWORD(wParam) != WA_INACTIVE);
        return 0;
    case WM_SETFOCUS:
        if (focus_) focus_->OnActivate(true);
        return 0;
    case WM_DESTROY:
        tooltips_.reset();  // no window owns the tips, so none takes them along
        break;
    }
    return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace tavrix::controls
