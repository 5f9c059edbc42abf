#include "win/form.h"

#include <commctrl.h>

#include <algorithm>
#include <cwchar>

#include "controls/push_button.h"
#include "controls/skins.h"
#include "win/error.h"
#include "win/placement.h"
#include "win/text_box.h"
#include "win/units.h"

namespace tavrix::win {
namespace {

const wchar_t kPictureBoxClass[] = L"TavrixPictureBox";
const wchar_t kPictureClass[] = L"TavrixPicture";

bool SameFont(const FontSpec& a, const FontSpec& b) {
    const bool sameFace = (!a.face && !b.face) || (a.face && b.face && std::wcscmp(a.face, b.face) == 0);
    return sameFace && a.tenthsOfPoint == b.tenthsOfPoint && a.charset == b.charset &&
           a.weight == b.weight;
}

// Asks the window that owns a control for the control's background brush (WM_CTLCOLORSTATIC).
HBRUSH BackgroundBrushFor(HWND control, HDC dc) {
    HWND form = GetAncestor(control, GA_ROOT);
    return reinterpret_cast<HBRUSH>(SendMessageW(form, WM_CTLCOLORSTATIC,
                                                 reinterpret_cast<WPARAM>(dc),
                                                 reinterpret_cast<LPARAM>(control)));
}

// A container of labels: its children's notifications belong to the window it stands on.
class PictureBox : public Window {
public:
    PictureBox(HWND form, int id, const RECT& bounds, bool shown) {
        RegisterWindowClass(kPictureBoxClass, 0, nullptr);
        CreateHandle(0, kPictureBoxClass, L"",
                     WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_TABSTOP | (shown ? WS_VISIBLE : 0),
                     bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top,
                     form, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
    }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case WM_COMMAND:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_DRAWITEM:
            return SendMessageW(GetAncestor(Handle(), GA_ROOT), message, wParam, lParam);
        case WM_ERASEBKGND: {
            RECT client;
            GetClientRect(Handle(), &client);
            HDC dc = reinterpret_cast<HDC>(wParam);
            if (HBRUSH brush = BackgroundBrushFor(Handle(), dc)) FillRect(dc, &client, brush);
            return TRUE;
        }
        case WM_LBUTTONDOWN:
            SetFocus(Handle());  // it is a tab stop, so a click focuses it as Tab does
            return 0;
        }
        return Window::HandleMessage(message, wParam, lParam);
    }
};

// An image drawn unscaled from its top-left corner; beyond it the window shows through.
class Picture : public Window {
public:
    Picture(HWND form, int id, const RECT& bounds, bool shown, HBITMAP image) : image_(image) {
        RegisterWindowClass(kPictureClass, 0, nullptr);
        CreateHandle(0, kPictureClass, L"", WS_CHILD | WS_CLIPSIBLINGS | (shown ? WS_VISIBLE : 0),
                     bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top,
                     form, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
    }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case WM_ERASEBKGND:
            return TRUE;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(Handle(), &paint);
            RECT client;
            GetClientRect(Handle(), &client);
            {
                BufferedPaint buffer(dc, client);
                if (HBRUSH brush = BackgroundBrushFor(Handle(), buffer.Dc()))
                    FillRect(buffer.Dc(), &client, brush);
                if (image_) DrawBitmap(buffer.Dc(), image_, 0, 0);
            }
            EndPaint(Handle(), &paint);
            return 0;
        }
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_XBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDBLCLK:
        case WM_XBUTTONDBLCLK: {
            const int id = GetDlgCtrlID(Handle());
            SendMessageW(GetParent(Handle()), WM_COMMAND, MAKEWPARAM(id, kPictureMouseDown),
                         reinterpret_cast<LPARAM>(Handle()));
            return message >= WM_XBUTTONDOWN ? TRUE : 0;
        }
        }
        return Window::HandleMessage(message, wParam, lParam);
    }

private:
    HBITMAP image_;
};

}  // namespace

Form::Form(const FormDesign& design) : design_(design), dpi_(SystemDpi()) {}

Form::~Form() {
    // The window and its children go first, while the pictures, fonts and brushes they paint with
    // are still there (a child hidden on its way out repaints its siblings); then the tooltip
    // window, which no window owns (see AddTooltip). The owned child objects follow with the members.
    DestroyHandle();
    if (tooltips_) DestroyWindow(tooltips_);
    tooltips_ = nullptr;
}

int Form::Pixels(int twips) const { return TwipsToPixels(twips, dpi_); }

void Form::CreateForm(const wchar_t* className, const wchar_t* title, DWORD style, DWORD exStyle,
                      int clientWidthTwips, int clientHeightTwips) {
    RECT outer{0, 0, Pixels(clientWidthTwips), Pixels(clientHeightTwips)};
    Check(AdjustWindowRectEx(&outer, style, FALSE, exStyle) != FALSE, L"计算窗口大小");
    CreateHandle(exStyle, className, title, style | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT,
                 outer.right - outer.left, outer.bottom - outer.top, nullptr);
    ComposeCanvas(Pixels(clientWidthTwips), Pixels(clientHeightTwips));
    CreateControls();
}

void Form::SetBackground(Bitmap picture) { picture_ = std::move(picture); }

// The window's face as one picture the size of its client area: its colour, with its picture
// drawn unscaled from the top-left corner. Controls drawn transparently take their background
// from it, so that beyond the picture's edge (above 96 DPI) they show the window's colour, never
// a second copy of the picture.
void Form::ComposeCanvas(int width, int height) {
    HDC screen = GetDC(nullptr);
    Check(screen != nullptr, L"创建窗口背景");
    canvas_.reset(CreateCompatibleBitmap(screen, width, height));
    HDC dc = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    if (!canvas_ || !dc) {
        if (dc) DeleteDC(dc);
        throw Error(L"创建窗口背景", ERROR_NOT_ENOUGH_MEMORY);
    }
    {
        Selection selected(dc, canvas_.get());
        const RECT all{0, 0, width, height};
        FillRect(dc, &all, SolidBrushFor(design_.background));
        if (picture_) DrawBitmap(dc, picture_.get(), 0, 0);
    }
    DeleteDC(dc);
    picture_.reset();  // the canvas holds it now
    canvasBrush_.reset(CreatePatternBrush(canvas_.get()));
    Check(canvasBrush_ != nullptr, L"创建窗口背景");
}

const SettingsSpec* Form::SettingsOf(int id) const {
    for (const SettingsSpec& settings : design_.settings)
        if (settings.id == id) return &settings;
    return nullptr;
}

HFONT Form::FontFor(const FontSpec& requested) {
    const FontSpec& wanted = requested.face ? requested : design_.defaultFont;
    for (const auto& [known, font] : fonts_)
        if (SameFont(known, wanted)) return font.get();
    fonts_.emplace_back(wanted, CreateFontFor(wanted, dpi_));
    return fonts_.back().second.get();
}

HBITMAP Form::PictureFor(int resource) {
    for (const auto& [known, bitmap] : pictures_)
        if (known == resource) return bitmap.get();
    pictures_.emplace_back(resource, LoadBitmapResource(resource));
    return pictures_.back().second.get();
}

void Form::CreateControls() {
    INITCOMMONCONTROLSEX common{sizeof(common), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&common);

    int highest = 0;
    for (const ControlSpec& control : design_.controls) highest = std::max(highest, control.id);
    controls_.assign(static_cast<size_t>(highest) + 1, nullptr);
    // Each new child window goes below its siblings: creating in table order stacks the first on top.
    for (const ControlSpec& control : design_.controls) {
        const SettingsSpec* settings = SettingsOf(control.id);
        HWND hwnd = CreateControl(control, settings);
        controls_[static_cast<size_t>(control.id)] = hwnd;
        if (settings && settings->tooltip) AddTooltip(hwnd, settings->tooltip);
    }
}

HWND Form::CreateControl(const ControlSpec& control, const SettingsSpec* settings) {
    static const SettingsSpec kDefaults{0};
    const SettingsSpec& s = settings ? *settings : kDefaults;
    HWND parent = control.container ? Control(control.container) : Handle();
    const RECT bounds{Pixels(control.left), Pixels(control.top),
                      Pixels(control.left) + Pixels(control.width),
                      Pixels(control.top) + Pixels(control.height)};
    const HMENU id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id));
    const DWORD shown = control.shown ? WS_VISIBLE : 0;
    const wchar_t* text = control.text ? control.text : L"";
    HFONT font = FontFor(s.font);
    HWND hwnd = nullptr;

    switch (control.kind) {
    case ControlKind::PushButton: {
        const int skin = s.picture ? s.picture : IDB_BUTTON_SKIN;
        return controls::CreatePushButton(
            parent, {control.id, text, bounds, PictureFor(skin),
                     s.icon ? PictureFor(s.icon) : nullptr, font, control.shown,
                     *text ? nullptr : s.tooltip});
    }
    case ControlKind::TextBox:
        hwnd = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", text,
                               WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE |
                                   ES_AUTOVSCROLL | ES_WANTRETURN | shown | s.style,
                               bounds.left, bounds.top, bounds.right - bounds.left,
                               bounds.bottom - bounds.top, parent, id, GetModuleHandleW(nullptr),
                               nullptr);
        Check(hwnd != nullptr, L"创建文本框");
        if (s.maxLength > 0) LimitText(hwnd, s.maxLength);
        break;
    case ControlKind::Label:
        hwnd = CreateWindowExW(0, L"STATIC", text,
                               WS_CHILD | WS_CLIPSIBLINGS | SS_LEFT | SS_NOTIFY | SS_NOPREFIX | shown |
                                   s.style,
                               bounds.left, bounds.top, bounds.right - bounds.left,
                               bounds.bottom - bounds.top, parent, id, GetModuleHandleW(nullptr),
                               nullptr);
        Check(hwnd != nullptr, L"创建标签");
        break;
    case ControlKind::PictureBox: {
        auto box = std::make_unique<PictureBox>(parent, control.id, bounds, control.shown);
        hwnd = box->Handle();
        ownedWindows_.push_back(std::move(box));
        break;
    }
    case ControlKind::Picture: {
        auto picture = std::make_unique<Picture>(parent, control.id, bounds, control.shown,
                                                 s.picture ? PictureFor(s.picture) : nullptr);
        hwnd = picture->Handle();
        ownedWindows_.push_back(std::move(picture));
        break;
    }
    }
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return hwnd;
}

void Form::AddTooltip(HWND control, const wchar_t* text) {
    // Made with the first tool only, and owned by no window: Wine never makes a window topmost
    // while it owns a popup, and "总在最上面" must work. The form destroys it itself.
    if (!tooltips_) {
        tooltips_ = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, TOOLTIPS_CLASSW, nullptr,
                                    WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                    GetModuleHandleW(nullptr), nullptr);
        Check(tooltips_ != nullptr, L"创建提示窗口");
    }
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    // Transparent: a click on a tip that stands under the pointer reaches the control beneath
    // instead of taking the activation away from the window.
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS | TTF_TRANSPARENT | TTF_CENTERTIP;
    tool.hwnd = Handle();
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = const_cast<wchar_t*>(text);
    Check(SendMessageW(tooltips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool)) != FALSE,
          L"添加提示");
}

HWND Form::Control(int id) const {
    if (id <= 0 || static_cast<size_t>(id) >= controls_.size() || !controls_[static_cast<size_t>(id)])
        throw Error(L"找不到控件 " + std::to_wstring(id), ERROR_INVALID_WINDOW_HANDLE);
    return controls_[static_cast<size_t>(id)];
}

std::wstring Form::Text(int id) const {
    HWND control = Control(id);
    SetLastError(ERROR_SUCCESS);
    const int length = GetWindowTextLengthW(control);
    if (length == 0 && GetLastError() != ERROR_SUCCESS) ThrowLastError(L"读取文字");
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    SetLastError(ERROR_SUCCESS);
    const int copied = GetWindowTextW(control, text.data(), length + 1);
    if (copied == 0 && GetLastError() != ERROR_SUCCESS) ThrowLastError(L"读取文字");
    text.resize(static_cast<size_t>(copied));
    return text;
}

void Form::SetText(int id, std::wstring_view text) {
    HWND control = Control(id);
    const bool textBox = design_.controls.end() !=
        std::find_if(design_.controls.begin(), design_.controls.end(), [id](const ControlSpec& c) {
            return c.id == id && c.kind == ControlKind::TextBox;
        });
    // A text box that already holds this text is not changed, so no change is notified: this is
    // where that is decided. (The "没有显示" hint stays visible because of it.)
    if (textBox && Text(id) == text) return;
    const std::wstring copy(text);
    Check(SetWindowTextW(control, copy.c_str()) != FALSE, L"设置文字");
    // A multi-line EDIT notifies typing but not a written text; the program's own writes must run
    // the change handler just as typing does.
    if (textBox)
        SendMessageW(GetParent(control), WM_COMMAND, MAKEWPARAM(id, EN_CHANGE),
                     reinterpret_cast<LPARAM>(control));
}

bool Form::Shown(int id) const {
    return (GetWindowLongW(Control(id), GWL_STYLE) & WS_VISIBLE) != 0;
}

void Form::SetVisible(int id, bool shown) {
    HWND control = Control(id);
    if (!shown) {
        HWND focus = GetFocus();
        // Keyboard input must not stay with a control nobody sees.
        if (focus && (focus == control || IsChild(control, focus))) MoveFocus(control, false);
    }
    Check(SetWindowPos(control, nullptr, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE |
                           (shown ? SWP_SHOWWINDOW : SWP_HIDEWINDOW)) != FALSE,
          shown ? L"显示控件" : L"隐藏控件");
    // A control shown over the focused one ("普通" over "总在最上面") hides it from sight.
    HWND focus = GetFocus();
    if (shown && focus && IsChild(Handle(), focus) && !CanFocus(focus)) MoveFocus(focus, false);
}

void Form::SetOuterWidth(int twips) {
    RECT outer;
    Check(GetWindowRect(Handle(), &outer) != FALSE, L"读取窗口位置");
    Check(SetWindowPos(Handle(), nullptr, 0, 0, Pixels(twips), outer.bottom - outer.top,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE) != FALSE,
          L"设置窗口宽度");
}

void Form::CentreOnScreen() {
    RECT outer;
    Check(GetWindowRect(Handle(), &outer) != FALSE, L"读取窗口位置");
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    Check(GetMonitorInfoW(MonitorFromWindow(Handle(), MONITOR_DEFAULTTOPRIMARY), &monitor) != FALSE,
          L"读取屏幕工作区");
    const RECT& work = monitor.rcWork;
    const Place place = CentredIn({work.left, work.top, work.right, work.bottom},
                                  outer.right - outer.left, outer.bottom - outer.top);
    Check(SetWindowPos(Handle(), nullptr, place.x, place.y, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE) != FALSE,
          L"移动窗口");
}

// Focus goes only where the user can see it: to an enabled control that is shown, within shown
// containers, and not wholly covered by a shown control above it (guan under the output box,
// "总在最上面" under "普通"). Controls beyond the window's right edge keep their turn.
bool Form::CanFocus(HWND control) const {
    if (!IsWindowEnabled(control)) return false;
    for (HWND hwnd = control; hwnd && hwnd != Handle(); hwnd = GetParent(hwnd))
        if (!(GetWindowLongW(hwnd, GWL_STYLE) & WS_VISIBLE) || CoveredFromAbove(hwnd)) return false;
    return true;
}

bool Form::CoveredFromAbove(HWND control) {
    RECT mine;
    if (!GetWindowRect(control, &mine)) return false;
    for (HWND above = GetWindow(control, GW_HWNDPREV); above; above = GetWindow(above, GW_HWNDPREV)) {
        RECT theirs, both;
        if ((GetWindowLongW(above, GWL_STYLE) & WS_VISIBLE) && GetWindowRect(above, &theirs) &&
            UnionRect(&both, &mine, &theirs) && EqualRect(&both, &theirs))
            return true;
    }
    return false;
}

// The window's own tab order: dialog navigation would follow the stacking order instead.
void Form::MoveFocus(HWND from, bool backwards) {
    const auto& order = design_.tabOrder;
    const int count = static_cast<int>(order.size());
    if (count == 0) return;
    int current = -1;
    for (HWND hwnd = from; hwnd && hwnd != Handle() && current < 0; hwnd = GetParent(hwnd))
        for (int i = 0; i < count; ++i)
            if (Control(order[static_cast<size_t>(i)]) == hwnd) current = i;
    const int step = backwards ? count - 1 : 1;
    int start = current >= 0 ? current : (backwards ? 0 : count - 1);
    for (int n = 1; n <= count; ++n) {
        HWND candidate = Control(order[static_cast<size_t>((start + n * step) % count)]);
        if (candidate != from && CanFocus(candidate)) {
            SetFocus(candidate);
            return;
        }
    }
    if (from && GetFocus() == from) SetFocus(Handle());
}

bool Form::PreTranslateMessage(MSG& message) {
    if (message.message == WM_KEYDOWN && message.wParam == VK_TAB &&
        GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_MENU) >= 0) {
        MoveFocus(GetFocus(), GetKeyState(VK_SHIFT) < 0);
        return true;
    }
    return false;
}

void Form::OnActivate(bool active) {
    if (!active) {
        HWND focus = GetFocus();
        if (focus && IsChild(Handle(), focus)) savedFocus_ = focus;
        return;
    }
    if (savedFocus_ && IsWindow(savedFocus_) && CanFocus(savedFocus_)) {
        SetFocus(savedFocus_);
        return;
    }
    for (int id : design_.tabOrder) {
        if (CanFocus(Control(id))) {
            SetFocus(Control(id));
            return;
        }
    }
    SetFocus(Handle());
}

void Form::PaintBackground(HDC dc) {
    RECT client;
    GetClientRect(Handle(), &client);
    BITMAP canvas{};
    if (!canvas_ || !GetObjectW(canvas_.get(), sizeof(canvas), &canvas) ||
        client.right > canvas.bmWidth || client.bottom > canvas.bmHeight)
        FillRect(dc, &client, SolidBrushFor(design_.background));
    if (canvas_) DrawBitmap(dc, canvas_.get(), 0, 0);
}

// A brush of a fixed or system colour (the default: the button face), made once per colour.
HBRUSH Form::SolidBrushFor(const Colour& colour) {
    if (colour.source == Colour::Source::System) return GetSysColorBrush(colour.systemIndex);
    if (colour.source != Colour::Source::Fixed) return GetSysColorBrush(COLOR_BTNFACE);
    for (const auto& [rgb, brush] : brushes_)
        if (rgb == colour.rgb) return brush.get();
    brushes_.emplace_back(colour.rgb, Brush(CreateSolidBrush(colour.rgb)));
    return brushes_.back().second.get();
}

HBRUSH Form::ColourControl(HWND control, HDC dc) {
    const SettingsSpec* settings = SettingsOf(GetDlgCtrlID(control));
    if (!settings) return nullptr;
    if (settings->text.source == Colour::Source::Fixed) SetTextColor(dc, settings->text.rgb);
    if (settings->text.source == Colour::Source::System)
        SetTextColor(dc, GetSysColor(settings->text.systemIndex));
    switch (settings->back.source) {
    case Colour::Source::Default:
        return nullptr;
    case Colour::Source::System:
        SetBkColor(dc, GetSysColor(settings->back.systemIndex));
        return SolidBrushFor(settings->back);
    case Colour::Source::Fixed:
        SetBkColor(dc, settings->back.rgb);
        return SolidBrushFor(settings->back);
    case Colour::Source::Transparent: {
        SetBkMode(dc, TRANSPARENT);
        if (!canvasBrush_) return nullptr;
        // The window's picture, aligned so that the control shows the part of it that it covers.
        POINT origin{0, 0};
        MapWindowPoints(control, Handle(), &origin, 1);
        SetBrushOrgEx(dc, -origin.x, -origin.y, nullptr);
        return canvasBrush_.get();
    }
    }
    return nullptr;
}

void Form::OnCommand(int, WORD, HWND) {}

LRESULT Form::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (lParam) {
            OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
            return 0;
        }
        break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT: {
        const LRESULT standard = Window::HandleMessage(message, wParam, lParam);
        if (HBRUSH brush = ColourControl(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam)))
            return reinterpret_cast<LRESULT>(brush);
        return standard;
    }
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item && item->hwndItem)
            return SendMessageW(item->hwndItem, controls::kReflectedDrawItem, wParam, lParam);
        break;
    }
    case WM_ERASEBKGND:
        PaintBackground(reinterpret_cast<HDC>(wParam));
        return TRUE;
    case WM_ACTIVATE:
        OnActivate(LOWORD(wParam) != WA_INACTIVE);
        return 0;
    case WM_SETFOCUS:
        OnActivate(true);
        return 0;
    case WM_DESTROY:
        // No window owns the tooltips, so none takes them along.
        if (tooltips_) DestroyWindow(tooltips_);
        tooltips_ = nullptr;
        break;
    }
    return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace tavrix::win
