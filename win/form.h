#pragma once
// A top-level window built from its design: constant tables of controls (in stacking order, the
// first on top), of their settings, and of the tab order, realised here and nowhere else. Every
// control is a child window of its own; every property write is checked and throws on failure.

#include <windows.h>

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "win/gdi.h"
#include "win/window.h"

namespace tavrix::win {

enum class ControlKind {
    PushButton,  // the skinned push button
    TextBox,     // multi-line EDIT with a vertical scroll bar
    Label,       // STATIC text
    PictureBox,  // a container that holds labels of its own
    Picture,     // an image drawn unscaled; reports mouse presses
};

struct Colour {
    enum class Source { Default, Fixed, System, Transparent };
    Source source = Source::Default;
    COLORREF rgb = 0;
    int systemIndex = 0;
};
constexpr Colour Rgb(BYTE r, BYTE g, BYTE b) { return {Colour::Source::Fixed, RGB(r, g, b), 0}; }
constexpr Colour SystemColour(int index) { return {Colour::Source::System, 0, index}; }
constexpr Colour kTransparent{Colour::Source::Transparent, 0, 0};

// One control: its place in twips within its container's client area, its caption or initial
// text, and whether it is shown at start.
struct ControlSpec {
    int id;
    ControlKind kind;
    int left, top, width, height;
    const wchar_t* text;
    bool shown;
    int container = 0;  // id of the picture box holding it; 0: the window itself
};

// A control's settings beyond its place. Controls without a row take the kind's defaults.
struct SettingsSpec {
    int id;
    FontSpec font = {};               // no face: the window's default font
    Colour text = {};
    Colour back = {};
    const wchar_t* tooltip = nullptr;
    int picture = 0;                  // bitmap resource: a button's skin, a picture's image
    int icon = 0;                     // bitmap resource: a button's icon picture
    DWORD style = 0;                  // styles beyond the kind's own (ES_READONLY, ...)
    int maxLength = 0;                // text boxes: the most characters a user can enter
};

struct FormDesign {
    std::span<const ControlSpec> controls;
    std::span<const SettingsSpec> settings;
    std::span<const int> tabOrder;
    FontSpec defaultFont;
    Colour background;  // the window's colour where its picture does not reach
};

// WM_COMMAND notification of a Picture when any mouse button is pressed on it.
constexpr WORD kPictureMouseDown = 0x4001;

class Form : public Window {
public:
    ~Form() override;

    HWND Control(int id) const;
    int Dpi() const noexcept { return dpi_; }
    int Pixels(int twips) const;
    HWND Tooltips() const noexcept { return tooltips_; }  // null until a control has a tooltip

    // Checked property access, by control id.
    std::wstring Text(int id) const;
    void SetText(int id, std::wstring_view text);
    void SetVisible(int id, bool shown);
    bool Shown(int id) const;  // the control's own visibility, whatever its window's
    void SetOuterWidth(int twips);

    // Centres the window within the screen's work area at its present size, its top in reach.
    void CentreOnScreen();

    bool PreTranslateMessage(MSG& message) override;

protected:
    explicit Form(const FormDesign& design);

    // Creates the window with the given client size in twips, then every control of the design.
    void CreateForm(const wchar_t* className, const wchar_t* title, DWORD style, DWORD exStyle,
                    int clientWidthTwips, int clientHeightTwips);
    // The picture drawn unscaled at the client area's top-left corner.
    void SetBackground(Bitmap picture);

    virtual void OnCommand(int id, WORD code, HWND control);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    struct Created;
    void CreateControls();
    HWND CreateControl(const ControlSpec& control, const SettingsSpec* settings);
    const SettingsSpec* SettingsOf(int id) const;
    HFONT FontFor(const FontSpec& requested);
    HBITMAP PictureFor(int resource);
    HBRUSH ColourControl(HWND control, HDC dc);
    void AddTooltip(HWND control, const wchar_t* text);
    bool CanFocus(HWND control) const;
    static bool CoveredFromAbove(HWND control);
    void MoveFocus(HWND from, bool backwards);
    void OnActivate(bool active);
    void ComposeCanvas(int width, int height);
    HBRUSH SolidBrushFor(const Colour& colour);
    void PaintBackground(HDC dc);

    const FormDesign& design_;
    int dpi_;
    std::vector<HWND> controls_;  // by id
    std::vector<std::unique_ptr<Window>> ownedWindows_;
    std::vector<std::pair<FontSpec, Font>> fonts_;
    std::vector<std::pair<int, Bitmap>> pictures_;
    std::vector<std::pair<COLORREF, Brush>> brushes_;
    Bitmap picture_;       // until the canvas is composed
    Bitmap canvas_;        // the client area's colour and picture
    Brush canvasBrush_;
    HWND tooltips_ = nullptr;
    HWND savedFocus_ = nullptr;
};

}  // namespace tavrix::win
