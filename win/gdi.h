#pragma once
// GDI objects owned by RAII handles, and the few drawing helpers the windows share. Every object
// selected into a DC is restored and every object created is deleted.

#include <windows.h>

#include <memory>
#include <type_traits>

namespace tavrix::win {

struct GdiObjectDeleter {
    void operator()(void* object) const noexcept {
        if (object) DeleteObject(static_cast<HGDIOBJ>(object));
    }
};
template <class Handle>
using GdiObject = std::unique_ptr<std::remove_pointer_t<Handle>, GdiObjectDeleter>;
using Font = GdiObject<HFONT>;
using Bitmap = GdiObject<HBITMAP>;
using Brush = GdiObject<HBRUSH>;

// Selects an object into a DC for the guard's lifetime.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~Selection() { SelectObject(dc_, previous_); }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// A font of the given face and size (tenths of a point) at the given DPI.
struct FontSpec {
    const wchar_t* face = nullptr;  // nullptr: the window's default font
    int tenthsOfPoint = 90;
    BYTE charset = DEFAULT_CHARSET;
    int weight = FW_NORMAL;
};
Font CreateFontFor(const FontSpec& requested, int dpi);

// The pixels per logical inch of the screen: the system DPI.
int SystemDpi();

// Draws a bitmap unscaled with its top-left corner at (x, y).
void DrawBitmap(HDC dc, HBITMAP bitmap, int x, int y);

// Paints into an off-screen bitmap and copies it to the target at the end: no flicker.
class BufferedPaint {
public:
    BufferedPaint(HDC target, const RECT& area);
    ~BufferedPaint();
    BufferedPaint(const BufferedPaint&) = delete;
    BufferedPaint& operator=(const BufferedPaint&) = delete;
    HDC Dc() const noexcept { return memory_; }

private:
    HDC target_;
    RECT area_;
    HDC memory_;
    Bitmap bitmap_;
    HGDIOBJ previous_ = nullptr;
};

}  // namespace tavrix::win
