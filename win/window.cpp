#include "win/window.h"

#include <string>

#include "win/error.h"
#include "win/message_loop.h"

namespace tavrix::win {
namespace {

// The newest Window object alive, the head of a list of all of them (the programs are
// single-threaded): a window's GWLP_USERDATA is trusted when it names one of them, whatever
// procedure another component has put before ours.
Window* g_newest = nullptr;

}  // namespace

Window::Window() : older_(g_newest) { g_newest = this; }

Window::~Window() {
    DestroyHandle();
    Window** link = &g_newest;
    while (*link != this) link = &(*link)->older_;
    *link = older_;
}

void Window::Attach(HWND hwnd) noexcept {
    hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

// Later messages of the window reach its own procedure, or the default, only.
void Window::Detach() noexcept {
    if (!hwnd_) return;
    if (systemProcedure_)
        SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(systemProcedure_));
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    hwnd_ = nullptr;
}

void Window::DestroyHandle() noexcept {
    HWND hwnd = hwnd_;
    Detach();
    if (hwnd) DestroyWindow(hwnd);
}

Window* Window::FromHandle(HWND hwnd) noexcept {
    if (!hwnd) return nullptr;
    auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    for (const Window* ours = g_newest; ours; ours = ours->older_)
        if (ours == self) return self->hwnd_ == hwnd ? self : nullptr;
    return nullptr;
}

void Window::SetText(std::wstring_view text) {
    const std::wstring copy(text);
    Check(SetWindowTextW(hwnd_, copy.c_str()) != FALSE, L"设置文字");
}

void Window::RegisterWindowClass(const wchar_t* className, int iconResource) {
    const HINSTANCE module = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    if (GetClassInfoExW(module, className, &wc)) return;
    wc.lpfnWndProc = &Window::Procedure;
    wc.hInstance = module;
    if (iconResource) {
        auto load = [&](int size, int height) {
            return static_cast<HICON>(
                LoadImageW(module, MAKEINTRESOURCEW(iconResource), IMAGE_ICON, size, height, LR_SHARED));
        };
        wc.hIcon = load(GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON));
        wc.hIconSm = load(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON));
    }
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = className;
    Check(RegisterClassExW(&wc) != 0, L"注册窗口类");
}

void Window::CreateHandle(DWORD exStyle, const wchar_t* className, const wchar_t* text, DWORD style,
                          const RECT& bounds, HWND parent, int id) {
    HWND hwnd = CreateWindowExW(exStyle, className, text, style, bounds.left, bounds.top,
                                bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                GetModuleHandleW(nullptr), this);
    Check(hwnd != nullptr, L"创建窗口");
    if (hwnd_) return;  // a class of ours: attached at WM_NCCREATE
    // A system control: its procedure is taken over from here on.
    Attach(hwnd);
    SetLastError(ERROR_SUCCESS);
    systemProcedure_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Window::Procedure)));
    if (!systemProcedure_) {
        const DWORD error = GetLastError();
        hwnd_ = nullptr;
        DestroyWindow(hwnd);
        throw Error(L"接管控件", error);
    }
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return systemProcedure_ ? CallWindowProcW(systemProcedure_, hwnd_, message, wParam, lParam)
                            : DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK Window::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        if (self) self->Attach(hwnd);
    }
    Window* self = FromHandle(hwnd);
    if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);

    if (message == WM_DESTROY && !(GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD)) NoteWindowClosed();
    if (message == WM_NCDESTROY) {
        // The object outlives its window: it lets go of the handle with the window's last message.
        const WNDPROC system = self->systemProcedure_;
        self->Detach();
        return system ? CallWindowProcW(system, hwnd, message, wParam, lParam)
                      : DefWindowProcW(hwnd, message, wParam, lParam);
    }
    return Guarded<LRESULT>(0, [&] { return self->HandleMessage(message, wParam, lParam); });
}

}  // namespace tavrix::win
