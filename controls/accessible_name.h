#pragma once
// A caption-less button (a close picture) still needs a name for screen readers: its accessible
// object is the system's own for a button, with the name replaced.

#include <windows.h>

#include <string>

namespace tavrix::controls {

// Answers WM_GETOBJECT for OBJID_CLIENT; 0 if the object could not be made (the system's default
// then applies).
LRESULT AnswerWithAccessibleName(HWND hwnd, WPARAM wParam, const std::wstring& name);

}  // namespace tavrix::controls
