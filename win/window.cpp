#include "win/window.h"

#include "win/error.h"
#include "win/message_loop.h"

namespace tavrix::win {
namespace {
const wchar_t kObjectProperty[] = L"Tavrix.Window";
}  // namespace

Window::~Window() { DestroyHandle(); }

void Window::DestroyHandle() noexcept {
    if (hwnd_) {
        // The object goes first: later messages of the dying window reach DefWindowProc only.
        RemovePropW(hwnd_, kObjectProperty);
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        HWND hwnd = hwnd_;
        hwnd_ = nullptr;
        DestroyWindow(hwnd);
    }
}

Window* Window::FromHandle(HWND hwnd) noexcept {
    return hwnd ? static_cast<Window*>(GetPropW(hwnd, kObjectProperty)) : nullptr;
}

void Window::RegisterWindowClass(const wchar_t* className, int iconResource, HBRUSH background,
                                 UINT style) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof(existing);
    if (GetClassInfoExW(GetModuleHandleW(nullptr), className, &existing)) return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = style;
    wc.lpfnWndProc = &Window::Procedure;
    wc.hInstance = GetModuleHandleW(nullptr);
    if (iconResource) {
        const HINSTANCE module = GetModuleHandleW(nullptr);
        auto load = [&](int width, int height) {
            return static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(iconResource), IMAGE_ICON,
                                                 width, height, LR_SHARED));
        };
        wc.hIcon = load(GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON));
        wc.hIconSm = load(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON));
    }
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = className;
    Check(RegisterClassExW(&wc) != 0, L"注册窗口类");
}

void Window::CreateHandle(DWORD exStyle, const wchar_t* className, const wchar_t* title,
                          DWORD style, int x, int y, int width, int height, HWND parent,
                          HMENU id) {
    HWND hwnd = CreateWindowExW(exStyle, className, title, style, x, y, width, height, parent, id,
                                GetModuleHandleW(nullptr), this);
    Check(hwnd != nullptr, L"创建窗口");
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK Window::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* self = nullptr;
    if (message == WM_NCCREATE) {
        self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        SetPropW(hwnd, kObjectProperty, self);
    } else {
        self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);

    if (message == WM_DESTROY && !(GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD)) NoteWindowClosed();
    if (message == WM_NCDESTROY) {
        const LRESULT result = DefWindowProcW(hwnd, message, wParam, lParam);
        RemovePropW(hwnd, kObjectProperty);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        return result;
    }
    return Guarded<LRESULT>(0, [&] { return self->HandleMessage(message, wParam, lParam); });
}

}  // namespace tavrix::win
