#pragma once
// The controls beside the push button and the text box: labels, a picture box that holds labels,
// and a picture.

#include <windows.h>

#include "controls/control.h"

namespace tavrix::controls {

// The system's STATIC, left-aligned text that tells its window of clicks.
class SystemLabel : public Control {
public:
    explicit SystemLabel(const ControlParts& parts);
};

// A label for a window that does without the common controls: drawn with user32 and GDI alone as
// STATIC draws left-aligned text (words wrapped, no prefix), on the background its window gives it
// (WM_CTLCOLORSTATIC).
class Label : public Control {
public:
    explicit Label(const ControlParts& parts);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    HFONT font_ = nullptr;  // owned by the window
};

// A picture box: a container of labels of its own, drawn in its background colour, a tab stop
// that a click focuses as Tab does. Its children's notifications belong to the window it stands on.
class PictureBox : public Control {
public:
    explicit PictureBox(const ControlParts& parts);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// A picture: an image drawn unscaled from its top-left corner, the window's face showing beyond
// it. A press of any mouse button on it is told to the window (WM_COMMAND, kPictureMouseDown).
class Picture : public Control {
public:
    // The image is shared and owned by the window; may be null.
    Picture(const ControlParts& parts, HBITMAP image);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    HBITMAP image_;
};

}  // namespace tavrix::controls
