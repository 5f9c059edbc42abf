#include "win/pictures.h"

#include <cstdlib>
#include <cstring>
#include <memory>

#include "LzmaDec.h"
#include "win/error.h"

namespace tavrix::win {
namespace {

constexpr unsigned kPropertyBytes = LZMA_PROPS_SIZE;
constexpr unsigned kHeaderBytes = LZMA_PROPS_SIZE + 8;

void* Allocate(void*, size_t size) { return std::malloc(size); }
void Release(void*, void* block) { std::free(block); }
ISzAlloc kAllocator{&Allocate, &Release};

struct FreeBlock {
    void operator()(void* block) const noexcept { std::free(block); }
};

[[noreturn]] void Unreadable() { throw Error(L"载入图片资源", ERROR_INVALID_DATA); }

}  // namespace

Bitmap LoadPackedBitmap(int id) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC info = FindResourceW(module, MAKEINTRESOURCEW(id), RT_RCDATA);
    Check(info != nullptr, L"查找图片资源");
    const DWORD size = SizeofResource(module, info);
    HGLOBAL loaded = LoadResource(module, info);
    const auto* packed = static_cast<const Byte*>(loaded ? LockResource(loaded) : nullptr);
    Check(packed != nullptr, L"载入图片资源");
    if (size < kHeaderBytes) Unreadable();

    unsigned long long unpackedSize = 0;
    std::memcpy(&unpackedSize, packed + kPropertyBytes, 8);
    if (unpackedSize < sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) || unpackedSize > (64u << 20))
        Unreadable();
    std::unique_ptr<Byte, FreeBlock> file(static_cast<Byte*>(std::malloc(unpackedSize)));
    if (!file) throw Error(L"载入图片资源", ERROR_NOT_ENOUGH_MEMORY);
    SizeT fileSize = static_cast<SizeT>(unpackedSize);
    SizeT streamSize = size - kHeaderBytes;
    ELzmaStatus status;
    if (LzmaDecode(file.get(), &fileSize, packed + kHeaderBytes, &streamSize, packed, kPropertyBytes,
                   LZMA_FINISH_END, &status, &kAllocator) != SZ_OK ||
        fileSize != unpackedSize)
        Unreadable();

    // A bottom-up 24-bit .bmp file: its header, then its rows.
    BITMAPFILEHEADER header;
    BITMAPINFOHEADER bitmap;
    std::memcpy(&header, file.get(), sizeof(header));
    std::memcpy(&bitmap, file.get() + sizeof(header), sizeof(bitmap));
    const unsigned long long stride = (static_cast<unsigned long long>(bitmap.biWidth) * 3 + 3) & ~3ull;
    const unsigned long long pixels = stride * static_cast<unsigned long long>(bitmap.biHeight);
    if (header.bfType != 0x4D42 || bitmap.biBitCount != 24 || bitmap.biCompression != BI_RGB ||
        bitmap.biWidth <= 0 || bitmap.biHeight <= 0 || header.bfOffBits > unpackedSize ||
        pixels > unpackedSize - header.bfOffBits)
        Unreadable();

    BITMAPINFO format{};
    format.bmiHeader = bitmap;
    void* bits = nullptr;
    Bitmap picture(CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0));
    Check(picture != nullptr && bits != nullptr, L"载入图片资源");
    std::memcpy(bits, file.get() + header.bfOffBits, pixels);
    return picture;
}

}  // namespace tavrix::win
