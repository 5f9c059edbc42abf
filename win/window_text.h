#pragma once
// A window's text, read whole: a caption, a label's text, a text box's contents.

#include <windows.h>

#include <string>

namespace tavrix::win {

// Throws Error when the text cannot be read (the window is gone).
std::wstring WindowText(HWND window);

}  // namespace tavrix::win
