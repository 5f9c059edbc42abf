#include "win/colours.h"

#include "win/error.h"

namespace tavrix::win {

// The face lives only in a pattern brush, which keeps a copy of the bitmap it is made from: the
// window paints its background with it, and transparent controls theirs. Where the picture covers
// the client area (at 96 DPI) it is the face itself; else the face is composed in a bitmap of the
// client's size that goes once the brush has its copy.
void Colours::ComposeFace(HBITMAP picture, int width, int height) {
    BITMAP size{};
    if (picture && GetObjectW(picture, sizeof(size), &size) && size.bmWidth >= width &&
        size.bmHeight >= height) {
        faceBrush_.reset(CreatePatternBrush(picture));
        Check(faceBrush_ != nullptr, L"创建窗口背景");
        return;
    }
    HDC screen = GetDC(nullptr);
    Check(screen != nullptr, L"创建窗口背景");
    Bitmap face(CreateCompatibleBitmap(screen, width, height));
    HDC dc = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    if (!face || !dc) {
        if (dc) DeleteDC(dc);
        throw Error(L"创建窗口背景", ERROR_NOT_ENOUGH_MEMORY);
    }
    {
        Selection selected(dc, face.get());
        const RECT all{0, 0, width, height};
        FillRect(dc, &all, SolidBrush(background_));
        if (picture) DrawBitmap(dc, picture, 0, 0);
    }
    DeleteDC(dc);
    faceBrush_.reset(CreatePatternBrush(face.get()));
    Check(faceBrush_ != nullptr, L"创建窗口背景");
}

void Colours::PaintFace(HWND window, HDC dc) {
    RECT client;
    GetClientRect(window, &client);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    FillRect(dc, &client, faceBrush_ ? faceBrush_.get() : SolidBrush(background_));
}

HBRUSH Colours::ForControl(HWND window, HWND control, HDC dc, Colour text, Colour back) {
    if (text.source == Colour::Source::Fixed) SetTextColor(dc, text.rgb);
    if (text.source == Colour::Source::System) SetTextColor(dc, GetSysColor(text.systemIndex));
    switch (back.source) {
    case Colour::Source::Default:
        return nullptr;
    case Colour::Source::System:
        SetBkColor(dc, GetSysColor(back.systemIndex));
        return SolidBrush(back);
    case Colour::Source::Fixed:
        SetBkColor(dc, back.rgb);
        return SolidBrush(back);
    case Colour::Source::Transparent: {
        SetBkMode(dc, TRANSPARENT);
        if (!faceBrush_) return nullptr;
        // The window's face, aligned so that the control shows the part of it that it covers.
        POINT origin{0, 0};
        MapWindowPoints(control, window, &origin, 1);
        SetBrushOrgEx(dc, -origin.x, -origin.y, nullptr);
        return faceBrush_.get();
    }
    }
    return nullptr;
}

// A brush of a fixed or system colour (the default: the button face), made once per colour.
HBRUSH Colours::SolidBrush(const Colour& colour) {
    if (colour.source == Colour::Source::System) return GetSysColorBrush(colour.systemIndex);
    if (colour.source != Colour::Source::Fixed) return GetSysColorBrush(COLOR_BTNFACE);
    for (const auto& [rgb, brush] : brushes_)
        if (rgb == colour.rgb) return brush.get();
    brushes_.emplace_back(colour.rgb, Brush(CreateSolidBrush(colour.rgb)));
    return brushes_.back().second.get();
}

void FillBackground(HWND control, HDC dc) {
    HWND window = GetAncestor(control, GA_ROOT);
    const auto brush = reinterpret_cast<HBRUSH>(SendMessageW(
        window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control)));
    RECT client;
    if (brush && GetClientRect(control, &client)) FillRect(dc, &client, brush);
}

}  // namespace tavrix::win
