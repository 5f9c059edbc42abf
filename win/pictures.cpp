#include "win/pictures.h"

#include <objidl.h>
#include <ocidl.h>
#include <olectl.h>

#include "win/error.h"

namespace tavrix::win {

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

}  // namespace tavrix::win
