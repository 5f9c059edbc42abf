#pragma once
// Pictures carried in the program's resources, packed: a 24-bit .bmp file compressed with LZMA,
// as an RCDATA resource (5 property bytes, the unpacked size as 8 bytes little-endian, the stream).
// Unpacked at start-up into a DIB section at the picture's own pixel size, pixel for pixel the
// .bmp file.

#include <windows.h>

#include "win/gdi.h"

namespace tavrix::win {

// Throws Error when the resource is missing or is no packed 24-bit bitmap.
Bitmap LoadPackedBitmap(int id);

}  // namespace tavrix::win
