// The pictures that the programs carry packed unpack pixel for pixel into what their generators
// drew: the .bmp files, and for the splash the pixels of its JPEG as the platform decodes it.

#include <windows.h>
#include <objbase.h>
#include <ocidl.h>
#include <olectl.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "controls/skins.h"
#include "help/resource.h"
#include "main-window/resource.h"
#include "startup/resource.h"
#include "tests/support/gui_test.h"
#include "win/error.h"
#include "win/pictures.h"

namespace tavrix::test {
namespace {

constexpr int kDamagedPicture = 4243;  // resources.rc

struct Pixels {
    int width = 0, height = 0;
    std::vector<BYTE> rows;  // 24-bit, bottom-up, as GetDIBits gives them
};

Pixels PixelsOf(HBITMAP bitmap) {
    Pixels pixels;
    BITMAP info{};
    if (!GetObjectW(bitmap, sizeof(info), &info)) return pixels;
    pixels.width = info.bmWidth;
    pixels.height = info.bmHeight;
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof(format.bmiHeader);
    format.bmiHeader.biWidth = info.bmWidth;
    format.bmiHeader.biHeight = info.bmHeight;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 24;
    pixels.rows.resize(static_cast<size_t>((info.bmWidth * 3 + 3) & ~3) * static_cast<size_t>(info.bmHeight));
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, bitmap, 0, static_cast<UINT>(info.bmHeight), pixels.rows.data(), &format, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    return pixels;
}

void ExpectSamePixels(const Pixels& actual, const Pixels& expected) {
    ASSERT_GT(expected.width, 0);
    EXPECT_EQ(actual.width, expected.width);
    EXPECT_EQ(actual.height, expected.height);
    EXPECT_TRUE(actual.rows == expected.rows);
}

TEST(PackedPictures, UnpackIntoTheBitmapsTheirGeneratorsDrew) {
    for (int id : {IDB_BACKGROUND, IDB_TITLE_STRIP, IDB_BUTTON_SKIN, IDB_CLOSE_SKIN, IDB_HELP_PICTURE,
                   IDB_COMMAND1_ICON}) {
        SCOPED_TRACE(id);
        win::Bitmap packed = win::LoadPackedBitmap(id);
        win::Bitmap original(static_cast<HBITMAP>(LoadImageW(
            GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
        ExpectSamePixels(PixelsOf(packed.get()), PixelsOf(original.get()));
    }
}

TEST(PackedPictures, TheSplashUnpacksIntoItsJpegAsThePlatformDecodesIt) {
    std::ifstream file(TAVRIX_SOURCE_DIR "/startup/art/splash.jpg", std::ios::binary);
    const std::vector<char> jpeg((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    ASSERT_FALSE(jpeg.empty());
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, jpeg.size());
    std::copy(jpeg.begin(), jpeg.end(), static_cast<char*>(GlobalLock(memory)));
    GlobalUnlock(memory);
    IStream* stream = nullptr;
    ASSERT_EQ(CreateStreamOnHGlobal(memory, TRUE, &stream), S_OK);
    IPicture* picture = nullptr;
    ASSERT_EQ(OleLoadPicture(stream, static_cast<LONG>(jpeg.size()), FALSE, IID_IPicture,
                             reinterpret_cast<void**>(&picture)),
              S_OK);
    stream->Release();
    OLE_HANDLE handle = 0;
    picture->get_Handle(&handle);
    const Pixels decoded = PixelsOf(reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle)));
    picture->Release();

    win::Bitmap packed = win::LoadPackedBitmap(IDR_SPLASH_PICTURE);
    ExpectSamePixels(PixelsOf(packed.get()), decoded);
}

TEST(PackedPictures, ADamagedOrMissingPictureIsAnError) {
    EXPECT_THROW(win::LoadPackedBitmap(4242), win::Error);
    EXPECT_THROW(win::LoadPackedBitmap(kDamagedPicture), win::Error);  // cut short
}

}  // namespace
}  // namespace tavrix::test
