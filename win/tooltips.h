#pragma once
// The tips of one window's controls, in one tooltip window made with the first tip.

#include <windows.h>

namespace tavrix::win {

class Tooltips {
public:
    Tooltips() = default;
    ~Tooltips() { Destroy(); }
    Tooltips(const Tooltips&) = delete;
    Tooltips& operator=(const Tooltips&) = delete;

    // Throws on failure.
    void Add(HWND control, const wchar_t* text);
    // Shows the tips the mouse's moves and presses, from the message loop: the tooltip does not
    // take over the controls' procedures to watch them (which would cost every message of theirs a
    // round trip to the Wine server).
    void Relay(const MSG& message) const noexcept;
    HWND Handle() const noexcept { return tips_; }  // null until a control has a tip
    void Destroy() noexcept;

private:
    HWND tips_ = nullptr;
};

}  // namespace tavrix::win
