#include "win/colours.h"

#include "win/error.h"

namespace tavrix::win {

void Colours::SetFace(Bitmap picture, int width, int height) {
    width_ = width;
    height_ = height;
    const SIZE size = PictureSize(picture.get());
    if (size.cx >= width && size.cy >= height) {
        faceBrush_.reset(CreatePatternBrush(picture.get()));
        Check(faceBrush_ != nullptr, L"创建窗口背景");
    } else {
        picture_ = std::move(picture);
    }
}

// Composed when a control first needs it: a bitmap of the client's size that goes once the brush
// has its copy, and the picture with it.
HBRUSH Colours::FaceBrush() {
    if (faceBrush_) return faceBrush_.get();
    {
        const WindowDc screen;
        Bitmap face(CreateCompatibleBitmap(screen.get(), width_, height_));
        const MemoryDc dc(screen.get());
        if (!face || !dc.get()) throw Error(L"创建窗口背景", ERROR_NOT_ENOUGH_MEMORY);
        {
            const Selection selected(dc.get(), face.get());
            const RECT all{0, 0, width_, height_};
            FillRect(dc.get(), &all, SolidBrush(background_));
            DrawPicture(dc.get(), picture_.get());
        }
        faceBrush_.reset(CreatePatternBrush(face.get()));
    }
    Check(faceBrush_ != nullptr, L"创建窗口背景");
    picture_.reset();
    return faceBrush_.get();
}

void Colours::PaintFace(HWND window, HDC dc) {
    RECT client;
    GetClientRect(window, &client);
    if (faceBrush_) {
        SetBrushOrgEx(dc, 0, 0, nullptr);
        FillRect(dc, &client, faceBrush_.get());
        return;
    }
    // The picture, and the window's colour right of it and below it.
    const SIZE size = PictureSize(picture_.get());
    const RECT right{size.cx, 0, client.right, client.bottom};
    const RECT below{0, size.cy, size.cx, client.bottom};
    FillRect(dc, &right, SolidBrush(background_));
    FillRect(dc, &below, SolidBrush(background_));
    DrawPicture(dc, picture_.get());
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
        // The window's face, aligned so that the control shows the part of it that it covers.
        POINT origin{0, 0};
        MapWindowPoints(control, window, &origin, 1);
        SetBrushOrgEx(dc, -origin.x, -origin.y, nullptr);
        return FaceBrush();
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
