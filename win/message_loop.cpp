#include "win/message_loop.h"

#include "win/error.h"
#include "win/window.h"

namespace tavrix::win {
namespace {

const wchar_t kProgramEndClass[] = L"ProgramEnd";
constexpr UINT kWindowClosed = WM_APP + 0x2F0;

// Set once the last window has gone. The WM_QUIT posted then may never reach the program's loop:
// a modal loop running at that moment (the system's move loop) takes it for its own end.
bool g_ending = false;

BOOL CALLBACK CountOurWindow(HWND hwnd, LPARAM count) {
    return Guarded<BOOL>(FALSE, [&] {
        if (Window::FromHandle(hwnd) && IsWindow(hwnd)) ++*reinterpret_cast<int*>(count);
        return TRUE;
    });
}

bool AnyWindowLeft() {
    int count = 0;
    EnumThreadWindows(GetCurrentThreadId(), &CountOurWindow, reinterpret_cast<LPARAM>(&count));
    return count > 0;
}

LRESULT CALLBACK EndWhenLastWindowClosed(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return Guarded<LRESULT>(0, [&] {
        if (message != kWindowClosed) return DefWindowProcW(hwnd, message, wParam, lParam);
        if (!AnyWindowLeft()) {
            g_ending = true;
            PostQuitMessage(0);
        }
        return LRESULT{0};
    });
}

// The news of a closed window goes to a message-only window, not to the thread: a modal loop
// running at that moment (a message box, the system's move loop) dispatches messages to windows
// but drops those of the thread, and the program would never end. One per process; null if it
// could not be made.
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

void WatchForTheLastWindow() { Check(ProgramEndWindow() != nullptr, L"创建窗口"); }

void NoteWindowClosed() noexcept { PostMessageW(ProgramEndWindow(), kWindowClosed, 0, 0); }

void HandleQueuedMessage(MSG& message) {
    HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    if (Window* window = Window::FromHandle(root))
        if (Guarded(true, [&] { return window->PreTranslateMessage(message); })) return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

int RunMessageLoop() {
    MSG message;
    while (!g_ending) {
        const BOOL result = GetMessageW(&message, nullptr, 0, 0);
        if (result == 0) return static_cast<int>(message.wParam);
        if (result == -1) ThrowLastError(L"读取消息");
        HandleQueuedMessage(message);
    }
    return 0;
}

}  // namespace tavrix::win
