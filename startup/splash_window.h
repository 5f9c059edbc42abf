#pragma once
// The splash window Form1: a picture, a status line that turns into the welcome line after half a
// second, and half a second later the hand-over to the main window.

#include "controls/form.h"

namespace tavrix {

class 界面;

class Form1 : public controls::Form {
public:
    enum : int { Label1 = 1 };
    enum : UINT_PTR { Timer1 = 1, Timer2 = 2 };
    static constexpr UINT kTimerInterval = 500;  // milliseconds, both timers

    // The splash hands over to this window; it is opened modeless on the second tick.
    explicit Form1(界面& mainWindow);

protected:
    // Timer1 starts counting.
    void OnLoad() override;
    // It takes no input. Not activated, it also stays a window that Wine's X11 driver does not
    // hand to a window manager: destroying such a "managed" window makes the driver wait up to
    // two seconds for a window manager to let it go, and there may be none.
    bool ActivatedWhenShown() const override { return false; }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnTimer1Tick();
    void OnTimer2Tick();

    界面& mainWindow_;
};

}  // namespace tavrix
