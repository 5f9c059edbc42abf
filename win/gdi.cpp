#include "win/gdi.h"

#include <objidl.h>
#include <ocidl.h>
#include <olectl.h>

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

Bitmap LoadBitmapResource(int id) {
    Bitmap bitmap(static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id),
                                                  IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    Check(bitmap != nullptr, L"载入图片资源");
    return bitmap;
}

Bitmap LoadJpegResource(int id) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC info = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
    Check(info != nullptr, L"查找图片资源");
    const DWORD size = SizeofResource(module, info);
    HGLOBAL loaded = LoadResource(module, info);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    Check(bytes != nullptr && size > 0, L"载入图片资源");

    // OleLoadPicture reads from a stream; the resource's bytes are copied into one.
    HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
    Check(copy != nullptr, L"分配图片内存");
    if (void* target = GlobalLock(copy)) {
        CopyMemory(target, bytes, size);
        GlobalUnlock(copy);
    }
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(copy, TRUE, &stream))) {
        GlobalFree(copy);
        throw Error(L"创建图片数据流", ERROR_OUTOFMEMORY);
    }
    IPicture* picture = nullptr;
    const HRESULT loadedPicture = OleLoadPicture(stream, static_cast<LONG>(size), FALSE,
                                                 IID_IPicture, reinterpret_cast<void**>(&picture));
    stream->Release();
    if (FAILED(loadedPicture) || !picture) throw Error(L"解码 JPEG 图片", loadedPicture);

    // The picture owns its bitmap; a copy at the picture's pixel size outlives it.
    OLE_HANDLE handle = 0;
    picture->get_Handle(&handle);
    Bitmap bitmap(static_cast<HBITMAP>(CopyImage(reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(handle)),
                                                 IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    picture->Release();
    Check(bitmap != nullptr, L"复制 JPEG 图片");
    return bitmap;
}

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    Check(GetObjectW(bitmap, sizeof(info), &info) != 0, L"读取图片大小");
    return SIZE{info.bmWidth, info.bmHeight};
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
