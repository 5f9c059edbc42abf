#pragma once
// The colours of a window and its controls: the window's face (its colour with its picture),
// solid brushes made once per colour, and what each control is drawn with.

#include <windows.h>

#include <utility>
#include <vector>

#include "win/gdi.h"

namespace tavrix::win {

struct Colour {
    enum class Source { Default, Fixed, System, Transparent };
    Source source = Source::Default;
    COLORREF rgb = 0;
    int systemIndex = 0;
};
constexpr Colour Rgb(BYTE r, BYTE g, BYTE b) { return {Colour::Source::Fixed, RGB(r, g, b), 0}; }
constexpr Colour SystemColour(int index) { return {Colour::Source::System, 0, index}; }
constexpr Colour kTransparent{Colour::Source::Transparent, 0, 0};

class Colours {
public:
    explicit Colours(Colour background) : background_(background) {}

    // The face of a client area of the given size: the window's colour, with the picture (may be
    // null) drawn unscaled from the top-left corner. Controls drawn transparently take their
    // background from it, so that beyond the picture's edge (above 96 DPI) they show the
    // window's colour, never a second copy of the picture.
    void SetFace(Bitmap picture, int width, int height);
    // WM_ERASEBKGND of the window.
    void PaintFace(HWND window, HDC dc);

    // WM_CTLCOLOR* of a control with these colours: sets up the DC and returns the brush of the
    // control's background, or null where the system's own applies.
    HBRUSH ForControl(HWND window, HWND control, HDC dc, Colour text, Colour back);

private:
    HBRUSH SolidBrush(const Colour& colour);
    HBRUSH FaceBrush();

    Colour background_;
    // The face lives in one of them: in the brush (which keeps its own copy of a bitmap) once a
    // control has needed it or where the picture alone covers the client area; until then, where
    // it does not, in the picture, which the window draws beside its colour.
    Brush faceBrush_;
    Bitmap picture_;
    int width_ = 0, height_ = 0;
    std::vector<std::pair<COLORREF, Brush>> brushes_;
};

// Fills the control's client area with the background its window gives it (WM_CTLCOLORSTATIC),
// aligned to the control: for a control that paints its own background where its content does
// not reach. The DC keeps the text colour and mode that the window set up.
void FillBackground(HWND control, HDC dc);

}  // namespace tavrix::win
