#pragma once
// What a screen reader hears of a control or window whose own text says too little: a picture
// without a caption, a text box (whose text is its content, not its name), a window without a
// title. The system's own accessible object answers for it under the given name; where the system
// offers none, the window keeps the default answer.

#include <windows.h>

#include <string>

namespace tavrix::win {

// Answers WM_GETOBJECT for OBJID_CLIENT: the object named `name`, with the given role (0: the
// system object's own). 0 for any other object asked for, or if no object could be made: the
// default answer then applies.
LRESULT AnswerAccessibleObject(HWND hwnd, WPARAM wParam, LPARAM lParam, const std::wstring& name,
                               LONG role = 0);

// Marks the control as a polite live region, the way Windows has a Win32 control marked (a
// dynamic annotation of its LiveSetting): screen readers then read out the text that it shows
// whenever the window raises EVENT_OBJECT_LIVEREGIONCHANGED for it. Nothing where the system
// offers no annotations.
void MarkPoliteLiveRegion(HWND hwnd) noexcept;

}  // namespace tavrix::win
