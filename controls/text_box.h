#pragma once
// A text box: a multi-line EDIT with a vertical scroll bar, and the rules of its text.
// - A write by the program that changes the text raises the change notification (EN_CHANGE to the
//   window), exactly as typing does; a multi-line EDIT on its own notifies typing only.
// - A write of the text that the box already holds is no change, and notifies nothing.
// - The most a user can put in, by typing or pasting, counts UTF-16 units, but a character made of
//   two units (a surrogate pair) that meets the limit is left out whole, never cut in half.
// - A screen reader hears it by its name (control.h); its text is what it holds.

#include <windows.h>

#include <string>
#include <string_view>

#include "controls/control.h"

namespace tavrix::controls {

class TextBox : public Control {
public:
    // Throws on failure. A maxLength of 0: the edit control's own limit. A live region's changes
    // are read out by screen readers while the focus is elsewhere (win/accessible.h).
    explicit TextBox(const ControlParts& parts);

    std::wstring Text() const;                      // throws on failure
    void SetText(std::wstring_view text) override;  // the rules above
    // The whole text replaced as typing replaces a selection, the caret after it and the change
    // told by the box itself, the box's limit aside: a quarter cheaper than SetText, which makes
    // the box lay out and draw its text anew. Throws on failure.
    void TypeOver(std::wstring_view text);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    int Room() const;

    int maxLength_;
    bool droppingPair_ = false;
    bool liveRegion_;
    bool marked_ = false;  // a live region is marked when a screen reader first asks for it
};

}  // namespace tavrix::controls
