#pragma once
// A window is a class, whether the window is of a class of ours or a system control (an EDIT, a
// BUTTON, a STATIC) whose procedure the object takes over: `this` is kept once, in the window's
// GWLP_USERDATA (which the system's controls leave to their program), and one thin static
// procedure forwards every message to HandleMessage. No exception crosses the procedure: it goes
// to the error report.

#include <windows.h>

#include <string_view>

namespace tavrix::win {

class Window {
public:
    Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window();  // the window goes with its object

    HWND Handle() const noexcept { return hwnd_; }

    // The object behind one of our windows, or nullptr for any other window, whatever procedure
    // the window has now: another component may subclass it after us. Read from the window
    // itself, with no round trip to the Wine server (a window property would cost one).
    static Window* FromHandle(HWND hwnd) noexcept;

    // Gives a top-level window the first look at a message taken from the queue (the Tab key).
    virtual bool PreTranslateMessage(MSG&) { return false; }

    // Checked: throws when the system refuses. A control may have rules of its own.
    virtual void SetText(std::wstring_view text);

protected:
    // Registers (once per process) a class whose procedure is Window's; throws on failure.
    // The icon is a resource of the program (0: none), loaded at the large and the small size.
    static void RegisterWindowClass(const wchar_t* className, int iconResource = 0);
    // Makes the window, of a class of ours or of the system's, and attaches this object to it:
    // from then on HandleMessage sees its messages. Throws on failure.
    void CreateHandle(DWORD exStyle, const wchar_t* className, const wchar_t* text, DWORD style,
                      const RECT& bounds, HWND parent = nullptr, int id = 0);

    // Detaches the object and destroys the window; for a derived class's destructor, so that the
    // window goes while the resources it paints with are still there.
    void DestroyHandle() noexcept;

    // What this object does not handle itself: the system control's own procedure, or the default.
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void Attach(HWND hwnd) noexcept;
    void Detach() noexcept;

    HWND hwnd_ = nullptr;
    WNDPROC systemProcedure_ = nullptr;  // a system control's own; null for a class of ours
    Window* older_;                      // the next in the list of every Window alive
};

}  // namespace tavrix::win
