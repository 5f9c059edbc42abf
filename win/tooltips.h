#pragma once
// The tips of one window's controls, in one tooltip window.

#include <windows.h>

#include "win/window.h"

namespace tavrix::win {

class Tooltips : public Window {
public:
    // Makes the tooltip window; throws on failure. The common controls must be started.
    Tooltips();

    // Throws on failure.
    void Add(HWND control, const wchar_t* text);
    // Shows the tips the mouse's moves and presses, from the message loop: the tooltip does not
    // take over the controls' procedures to watch them (which would cost every message of theirs a
    // round trip to the Wine server).
    void Relay(const MSG& message) const noexcept;
};

}  // namespace tavrix::win
