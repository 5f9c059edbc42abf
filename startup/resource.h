#pragma once
// Resource numbers of the lookup program's own resources (C++ and .rc).
#define IDR_SPLASH_PICTURE 301 /* 309 x 67: the pixels of art/splash.jpg, packed */
