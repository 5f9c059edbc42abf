#pragma once
// A top-level window realised from its design (layout.h): every control a child window of its
// own, made in stacking order and owned here, whatever its kind, found by its id; property access
// by control id, each read and write checked (a failure throws); the show sequence; and the
// window's share of what its parts need: colours, tips, focus in its tab order, and the clicks,
// presses and changes of its controls.

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "controls/layout.h"
#include "controls/text_box.h"
#include "win/colours.h"
#include "win/focus.h"
#include "win/gdi.h"
#include "win/tooltips.h"
#include "win/window.h"

namespace tavrix::controls {

class Form : public win::Window {
public:
    ~Form() override;

    // Makes the window as its design says, every control with it, and runs its load handler; it
    // is not seen yet. Once.
    void Create();
    // Opens the window modeless and unowned: created if need be, centred in the work area, shown
    // and activated.
    void Show();

    HWND Control(int id) const;  // throws for an id the design does not have
    int Dpi() const noexcept { return dpi_; }
    HWND Tooltips() const noexcept { return tooltips_ ? tooltips_->Handle() : nullptr; }

    // Checked property access, by control id.
    std::wstring Text(int id) const;
    using Window::SetText;                         // the window's own caption
    void SetText(int id, std::wstring_view text);  // a text box by its own rules
    void SetShown(int id, bool shown);
    bool Shown(int id) const;  // its own, whatever its container's
    void SetOuterWidthTwips(int twips);

    bool PreTranslateMessage(MSG& message) override;

protected:
    explicit Form(const FormDesign& design);

    // Runs once the window and its controls are made, before it is first shown.
    virtual void OnLoad() {}
    // Whether Show activates the window; a window that takes no input need not.
    virtual bool ActivatedWhenShown() const { return true; }
    TextBox& TextBoxOf(int id);  // throws for an id that is no text box

    // A click of a button or a label.
    virtual void OnClick(int) {}
    // A press of any mouse button on a picture.
    virtual void OnMouseDown(int) {}
    // Any change of a text box's text, the user's and the program's alike.
    virtual void OnTextChanged(int) {}

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void CreateControls();
    std::unique_ptr<Window> CreateControl(const ControlSpec& control, const SettingsSpec& settings);
    Window& Object(int id) const;  // throws for an id the design does not have
    TextBox* TextBoxIf(int id) const;
    const SettingsSpec* SettingsOf(int id) const;
    HFONT FontFor(const win::FontSpec& requested);
    HBITMAP PictureFor(int resource);
    void OnControlCommand(HWND control, WORD code);
    int Pixels(int twips) const;

    const FormDesign& design_;
    int dpi_;
    // By id. The window goes before them (~Form), and each control's window with its object: a
    // control never outlives the form, nor a control's object its window.
    std::vector<std::unique_ptr<Window>> controls_;
    std::vector<std::pair<win::FontSpec, win::Font>> fonts_;
    std::vector<std::pair<int, win::Bitmap>> pictures_;
    win::Colours colours_;
    // Made with the first tip, gone with the window (WM_DESTROY).
    std::optional<win::Tooltips> tooltips_;
    std::optional<win::Focus> focus_;
};

}  // namespace tavrix::controls
