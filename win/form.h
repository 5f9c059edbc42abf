#pragma once
// A top-level window built from its design (layout.h): every control a child window of its own,
// made in stacking order and owned here, whatever its kind, found by its id; property access by
// control id, each read and write checked (a failure throws); the show sequence; and the window's
// share of what its parts need: colours, tips, focus in its tab order, and the clicks and changes
// of its controls.

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "win/colours.h"
#include "win/focus.h"
#include "win/gdi.h"
#include "win/layout.h"
#include "win/text_box.h"
#include "win/tooltips.h"
#include "win/window.h"

namespace tavrix::win {

class Form : public Window {
public:
    ~Form() override;

    // Makes the window and runs its load handler; it is not seen yet. Once.
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

    // Makes the window (CreateForm) and runs its load handler.
    virtual void Build() = 0;
    // Whether Show activates the window; a window that takes no input need not.
    virtual bool ActivatedWhenShown() const { return true; }
    // Creates the window of the design's class with the given client size in twips, its face
    // from its colour and its picture (drawn unscaled at the top-left corner; may be null), then
    // every control.
    void CreateForm(const wchar_t* title, DWORD style, DWORD exStyle, int clientWidthTwips,
                    int clientHeightTwips, Bitmap picture);
    TextBox& TextBoxOf(int id);  // throws for an id that is no text box

    // A click of a button or a label.
    virtual void OnClick(int) {}
    // A press of any mouse button on a picture.
    virtual void OnMouseDown(int) {}

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void CreateControls();
    std::unique_ptr<Window> CreateControl(const ControlSpec& control, const SettingsSpec& settings);
    Window& Object(int id) const;  // throws for an id the design does not have
    TextBox* TextBoxIf(int id) const;
    const SettingsSpec* SettingsOf(int id) const;
    HFONT FontFor(const FontSpec& requested);
    HBITMAP PictureFor(int resource);
    void OnControlCommand(HWND control, WORD code);
    int Pixels(int twips) const;

    const FormDesign& design_;
    int dpi_;
    // By id. The window goes before them (~Form), and each control's window with its object: a
    // control never outlives the form, nor a control's object its window.
    std::vector<std::unique_ptr<Window>> controls_;
    std::vector<std::pair<FontSpec, Font>> fonts_;
    std::vector<std::pair<int, Bitmap>> pictures_;
    Colours colours_;
    // Made with the first tip, gone with the window (WM_DESTROY).
    std::optional<win::Tooltips> tooltips_;
    std::optional<Focus> focus_;
};

}  // namespace tavrix::win
