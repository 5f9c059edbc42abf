#include "win/window.h"

#include "win/error.h"

namespace tavrix::win {
namespace {
const wchar_t kObjectProperty[] = L"Tavrix.Window";
const wchar_t kProgramEndClass[] = L"TavrixProgramEnd";
// Posted when one of the program's top-level windows is destroyed. It is looked at only once the
// handler that destroyed the window has returned, so a window that closes and hands over to
// another in the same handler does not end the program.
constexpr UINT kWindowClosed = WM_APP + 0x2F0;

BOOL CALLBACK CountOurWindow(HWND hwnd, LPARAM count) {
    if (Window::FromHandle(hwnd) && IsWindow(hwnd)) ++*reinterpret_cast<int*>(count);
    return TRUE;
}

bool AnyWindowLeft() {
    int count = 0;
    EnumThreadWindows(GetCurrentThreadId(), &CountOurWindow, reinterpret_cast<LPARAM>(&count));
    return count > 0;
}

LRESULT CALLBACK EndWhenLastWindowClosed(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kWindowClosed) {
        if (!AnyWindowLeft()) PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// The news of a closed window goes to a message-only window, not to the thread: a modal loop
// running at that moment (a message box, the system's move loop) dispatches messages to windows
// but drops those of the thread, and the program would never end. One per process, made with
// the first top-level window; null if it could not be made.
HWND ProgramEndWindow() noexcept {
    static HWND window = nullptr;
    if (!window) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = &EndWhenLastWindowClosed;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = kProgramEndClass;
        RegisterClassExW(&wc);
        window = CreateWindowExW(0, kProgramEndClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    }
    return window;
}
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
    if (!parent) Check(ProgramEndWindow() != nullptr, L"创建窗口");
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

    if (message == WM_DESTROY && !(GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD))
        PostMessageW(ProgramEndWindow(), kWindowClosed, 0, 0);
    if (message == WM_NCDESTROY) {
        const LRESULT result = DefWindowProcW(hwnd, message, wParam, lParam);
        RemovePropW(hwnd, kObjectProperty);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        self->OnFinalMessage();
        return result;
    }
    try {
        return self->HandleMessage(message, wParam, lParam);
    } catch (...) {
        ReportCurrentException();
        return 0;
    }
}

void HandleQueuedMessage(MSG& message) {
    HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    if (Window* window = Window::FromHandle(root)) {
        bool handled = false;
        try {
            handled = window->PreTranslateMessage(message);
        } catch (...) {
            ReportCurrentException();
            handled = true;
        }
        if (handled) return;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

int RunMessageLoop() {
    MSG message;
    for (;;) {
        const BOOL result = GetMessageW(&message, nullptr, 0, 0);
        if (result == 0) return static_cast<int>(message.wParam);
        if (result == -1) ThrowLastError(L"读取消息");
        HandleQueuedMessage(message);
    }
}

}  // namespace tavrix::win
