// The yardstick for the start-up figures: the least a Win32 program can do to put a window on the
// screen, built with the same compiler, flags and manifest as Tavrix. It is also the ordinary
// (not topmost) window that the end-to-end tests stack the main window against.
//
// minimal_window [x y]  opens the window centred on the screen, or with its top-left corner at
// x, y.
#include <windows.h>

#include <cwchar>

namespace {

constexpr wchar_t kClassName[] = L"MinimalWindow";
constexpr int kWidth = 320;
constexpr int kHeight = 200;

LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &Procedure;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    wc.lpszClassName = kClassName;
    if (!RegisterClassExW(&wc)) return 1;
    int x = (GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2;
    int y = (GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2;
    if (commandLine) std::swscanf(commandLine, L"%d %d", &x, &y);
    HWND hwnd = CreateWindowExW(0, kClassName, L"Minimal window", WS_OVERLAPPEDWINDOW, x, y, kWidth,
                                kHeight, nullptr, nullptr, instance, nullptr);
    if (!hwnd) return 1;
    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
