#pragma once
// A window is a class: `this` is stored at WM_NCCREATE and a thin static procedure forwards to
// HandleMessage. No exception crosses the procedure: it goes to the error report.

#include <windows.h>

namespace tavrix::win {

class Window {
public:
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window();

    HWND Handle() const noexcept { return hwnd_; }

    // The object behind one of our windows, or nullptr for any other window.
    static Window* FromHandle(HWND hwnd) noexcept;

    // Gives a top-level window the first look at a message taken from the queue (the Tab key).
    virtual bool PreTranslateMessage(MSG&) { return false; }

protected:
    // Registers (once per process) a class whose procedure is Window's; throws on failure.
    // The icon is a resource of the program (0: none), loaded at the large and the small size.
    static void RegisterWindowClass(const wchar_t* className, int iconResource, HBRUSH background,
                                    UINT style = 0);
    void CreateHandle(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style,
                      int x, int y, int width, int height, HWND parent, HMENU id = nullptr);

    // Detaches the object and destroys the window; for a derived class's destructor, so that the
    // window goes while the resources it paints with are still there.
    void DestroyHandle() noexcept;

    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND hwnd_ = nullptr;
};

}  // namespace tavrix::win
