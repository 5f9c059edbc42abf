#pragma once
// What a screen reader makes of a push button: the system's own accessible object for a button,
// named by the button's caption or, for a caption-less close picture, by its own name. Where the
// system offers no such object, a minimal push-button object of our own stands in.

#include <windows.h>

#include <string>

namespace tavrix::controls {

// Answers WM_GETOBJECT for OBJID_CLIENT; 0 if no object could be made (the default then applies).
LRESULT AnswerAccessibleObject(HWND button, WPARAM wParam, const std::wstring& name);

}  // namespace tavrix::controls
