#include "win/gdi.h"

#include "win/error.h"
#include "win/units.h"

namespace tavrix::win {

Font CreateFontFor(const FontSpec& requested, int dpi) {
    LOGFONTW lf{};
    lf.lfHeight = FontHeight(requested.tenthsOfPoint, dpi);
    lf.lfWeight = requested.weight;
    lf.lfCharSet = requested.charset;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    lstrcpynW(lf.lfFaceName, requested.face ? requested.face : L"宋体", LF_FACESIZE);
    Font font(CreateFontIndirectW(&lf));
    Check(font != nullptr, L"创建字体");
    return font;
}

int SystemDpi() {
    HDC screen = GetDC(nullptr);
    Check(screen != nullptr, L"读取屏幕分辨率");
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

void DrawBitmap(HDC dc, HBITMAP bitmap, int x, int y) {
    BITMAP size{};
    if (!GetObjectW(bitmap, sizeof(size), &size)) return;  // painting never throws
    HDC source = CreateCompatibleDC(dc);
    if (!source) return;
    {
        Selection selected(source, bitmap);
        BitBlt(dc, x, y, size.bmWidth, size.bmHeight, source, 0, 0, SRCCOPY);
    }
    DeleteDC(source);
}

BufferedPaint::BufferedPaint(HDC target, const RECT& area)
    : target_(target), area_(area), memory_(CreateCompatibleDC(target)) {
    bitmap_.reset(CreateCompatibleBitmap(target, area.right - area.left, area.bottom - area.top));
    if (memory_ && bitmap_) {
        previous_ = SelectObject(memory_, bitmap_.get());
        SetWindowOrgEx(memory_, area.left, area.top, nullptr);
    }
}

BufferedPaint::~BufferedPaint() {
    if (memory_ && bitmap_) {
        BitBlt(target_, area_.left, area_.top, area_.right - area_.left, area_.bottom - area_.top,
               memory_, area_.left, area_.top, SRCCOPY);
        SelectObject(memory_, previous_);
    }
    if (memory_) DeleteDC(memory_);
}

}  // namespace tavrix::win
