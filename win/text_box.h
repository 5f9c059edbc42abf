#pragma once
// The most a user can put into a text box, by typing or pasting. The edit control counts UTF-16
// units; on its own it would keep the first half of a character made of two units (a surrogate
// pair) that meets the limit. Here such a character is left out whole.

#include <windows.h>

namespace tavrix::win {

void LimitText(HWND box, int units);

}  // namespace tavrix::win
