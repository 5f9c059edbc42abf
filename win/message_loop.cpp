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

// The news of a closed window goes to a message-only window, not to the thread: a modal loop
// running at that moment (a message box, the system's move loop) dispatches messages to windows
// but drops those of the thread, and the program would never end.
class ProgramEnd final : public Window {
public:
    ProgramEnd() {
        RegisterWindowClass(kProgramEndClass);
        CreateHandle(0, kProgramEndClass, L"", 0, {}, HWND_MESSAGE);
    }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message != kWindowClosed) return Window::HandleMessage(message, wParam, lParam);
        if (!AnyWindowLeft()) {
            g_ending = true;
            PostQuitMessage(0);
        }
        return 0;
    }

private:
    bool AnyWindowLeft() {
        others_ = 0;
        EnumThreadWindows(GetCurrentThreadId(), &CountOther, reinterpret_cast<LPARAM>(this));
        return others_ > 0;
    }
    static BOOL CALLBACK CountOther(HWND hwnd, LPARAM self) {
        return Guarded<BOOL>(FALSE, [&] {
            auto* end = reinterpret_cast<ProgramEnd*>(self);
            if (hwnd != end->Handle() && FromHandle(hwnd) && IsWindow(hwnd)) ++end->others_;
            return TRUE;
        });
    }

    int others_ = 0;
};

// One per process, made when first needed and kept for as long as the process runs. Throws if it
// cannot be made.
ProgramEnd& TheProgramEnd() {
    static ProgramEnd* end = nullptr;
    if (!end) end = new ProgramEnd;
    return *end;
}

}  // namespace

void WatchForTheLastWindow() { TheProgramEnd(); }

void NoteWindowClosed() noexcept {
    try {
        PostMessageW(TheProgramEnd().Handle(), kWindowClosed, 0, 0);
    } catch (...) {
    }
}

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
