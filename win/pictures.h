#pragma once
// Pictures carried in the program's resources, loaded at their own pixel size.

#include <windows.h>

#include "win/gdi.h"

namespace tavrix::win {

// A bitmap resource as a DIB section.
Bitmap LoadBitmapResource(int id);
// A JPEG resource (type RT_RCDATA) decoded into a bitmap.
Bitmap LoadJpegResource(int id);

}  // namespace tavrix::win
