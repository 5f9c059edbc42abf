#include "win/colours.h"

#include "win/error.h"

namespace tavrix::win {

void Colours::ComposeFace(HBITMAP picture, int width, int height) {
    HDC screen = GetDC(nullptr);
    Check(screen != nullptr, L"创建窗口背景");
    face_.reset(CreateCompatibleBitmap(screen, width, height));
    HDC dc = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    if (!face_ || !dc) {
        if (dc) DeleteDC(dc);
        throw Error(L"创建窗口背景", ERROR_NOT_ENOUGH_MEMORY);
    }
    {
        Selection selected(dc, face_.get());
        const RECT all{0, 0, width, height};
        FillRect(dc, &all, SolidBrush(background_));
        if (picture) DrawBitmap(dc, picture, 0, 0);
    }
    DeleteDC(dc);
    faceBrush_.reset(CreatePatternBrush(face_.get()));
    Check(faceBrush_ != nullptr, L"创建窗口背景");
}

void Colours::PaintFace(HWND window, HDC dc) {
    RECT client;
    GetClientRect(window, &client);
    BITMAP face{};
    if (!face_ || !GetObjectW(face_.get(), sizeof(face), &face) || client.right > face.bmWidth ||
        client.bottom > face.bmHeight)
        FillRect(dc, &client, SolidBrush(background_));
    if (face_) DrawBitmap(dc, face_.get(), 0, 0);
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
