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
    lstrcpynW(lf.lfFaceName, requested.typeface ? requested.typeface : L"", LF_FACESIZE);
    Font font(CreateFontIndirectW(&lf));
    Check(font != nullptr, L"创建字体");
    return font;
}

int SystemDpi() {
    const WindowDc screen;
    Check(screen.get() != nullptr, L"读取屏幕分辨率");
    const int dpi = GetDeviceCaps(screen.get(), LOGPIXELSY);
    return dpi > 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

SIZE PictureSize(HBITMAP picture) noexcept {
    BITMAP bitmap{};
    if (!picture || !GetObjectW(picture, sizeof(bitmap), &bitmap)) return {0, 0};
    return {bitmap.bmWidth, bitmap.bmHeight};
}

void DrawPicture(HDC dc, HBITMAP picture, RECT to, RECT from) noexcept {
    if (IsRectEmpty(&to)) {
        const SIZE size = PictureSize(picture);
        to = {0, 0, size.cx, size.cy};
    }
    if (IsRectEmpty(&from)) from = {0, 0, to.right - to.left, to.bottom - to.top};
    const MemoryDc source(dc);
    if (!picture || !source.get()) return;
    const Selection selected(source.get(), picture);
    const int width = to.right - to.left, height = to.bottom - to.top;
    const int fromWidth = from.right - from.left, fromHeight = from.bottom - from.top;
    if (width == fromWidth && height == fromHeight)
        BitBlt(dc, to.left, to.top, width, height, source.get(), from.left, from.top, SRCCOPY);
    else
        StretchBlt(dc, to.left, to.top, width, height, source.get(), from.left, from.top, fromWidth,
                   fromHeight, SRCCOPY);
}

BufferedPaint::BufferedPaint(HDC target, const RECT& area)
    : target_(target), area_(area), memory_(target),
      bitmap_(CreateCompatibleBitmap(target, area.right - area.left, area.bottom - area.top)),
      selected_(bitmap_ ? memory_.get() : nullptr, bitmap_.get()) {
    if (memory_.get() && bitmap_) SetWindowOrgEx(memory_.get(), area.left, area.top, nullptr);
}

BufferedPaint::~BufferedPaint() {
    if (Dc() != target_)
        BitBlt(target_, area_.left, area_.top, area_.right - area_.left, area_.bottom - area_.top,
               memory_.get(), area_.left, area_.top, SRCCOPY);
}

}  // namespace tavrix::win
