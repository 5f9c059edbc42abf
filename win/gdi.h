#pragma once
// GDI objects and device contexts owned by RAII handles, and the few drawing helpers the windows
// share. Every object selected into a DC is restored, every object created is deleted, and every
// DC taken is given back: nothing here is managed by hand elsewhere.

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

// A window's DC (the screen's for none), given back at the end.
class WindowDc {
public:
    explicit WindowDc(HWND window = nullptr) : window_(window), dc_(GetDC(window)) {}
    ~WindowDc() { if (dc_) ReleaseDC(window_, dc_); }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const noexcept { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// A memory DC compatible with another, deleted at the end.
class MemoryDc {
public:
    explicit MemoryDc(HDC like) : dc_(CreateCompatibleDC(like)) {}
    ~MemoryDc() { if (dc_) DeleteDC(dc_); }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    HDC get() const noexcept { return dc_; }

private:
    HDC dc_;
};

// WM_PAINT's BeginPaint and EndPaint.
class PaintScope {
public:
    explicit PaintScope(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
    ~PaintScope() { EndPaint(window_, &paint_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HDC get() const noexcept { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// Selects an object into a DC for the guard's lifetime.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object)
        : dc_(dc), previous_(dc && object ? SelectObject(dc, object) : nullptr) {}
    ~Selection() { if (previous_) SelectObject(dc_, previous_); }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// A font of the given typeface and size (tenths of a point) at the given DPI.
struct FontSpec {
    const wchar_t* typeface = nullptr;  // nullptr: the window's default font
    int tenthsOfPoint = 90;
    BYTE charset = DEFAULT_CHARSET;
    int weight = FW_NORMAL;
};
Font CreateFontFor(const FontSpec& requested, int dpi);

// The pixels per logical inch of the screen: the system DPI.
int SystemDpi();

// A picture's size in pixels; empty for none.
SIZE PictureSize(HBITMAP picture) noexcept;

// Draws the part `from` of a picture into `to`, stretched only where the two differ in size. The
// whole picture unscaled from the top-left where `to` is empty, and `from` is `to`'s size from the
// picture's top-left where it is empty. Painting never throws.
void DrawPicture(HDC dc, HBITMAP picture, RECT to = {}, RECT from = {}) noexcept;

// Paints into an off-screen bitmap and copies it to the target at the end: no flicker.
class BufferedPaint {
public:
    BufferedPaint(HDC target, const RECT& area);
    ~BufferedPaint();
    BufferedPaint(const BufferedPaint&) = delete;
    BufferedPaint& operator=(const BufferedPaint&) = delete;
    HDC Dc() const noexcept { return memory_.get() && bitmap_ ? memory_.get() : target_; }

private:
    HDC target_;
    RECT area_;
    MemoryDc memory_;
    Bitmap bitmap_;
    Selection selected_;
};

}  // namespace tavrix::win
