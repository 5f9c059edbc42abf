#include "bench/same_job.h"

#include <commctrl.h>

#include <string>

#include "catalogue/catalogue.h"

namespace same_job {
namespace {

int dpi = 96;
int Px(int twips) { return MulDiv(twips, dpi, 1440); }

HFONT Font(const wchar_t* face, int tenthsOfPoint, BYTE charset) {
    return CreateFontW(-MulDiv(tenthsOfPoint, dpi, 720), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                       charset, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH, face);
}

void LoadCommonControls() {
    const INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    using Init = BOOL WINAPI(const INITCOMMONCONTROLSEX*);
    HMODULE module = LoadLibraryW(L"comctl32.dll");
    if (auto* init = reinterpret_cast<Init*>(reinterpret_cast<void*>(GetProcAddress(module, "InitCommonControlsEx"))))
        init(&classes);
}

HWND Child(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, DWORD exStyle, int left,
           int top, int width, int height, int id, HFONT font) {
    HWND hwnd = CreateWindowExW(exStyle, cls, text, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style,
                                Px(left), Px(top), Px(width), Px(height), parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return hwnd;
}

std::wstring TextOf(HWND hwnd) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

constexpr int kInput = 1, kOutput = 2;
constexpr DWORD kBox = WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;

LRESULT CALLBACK MainProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && LOWORD(wParam) == kInput && HIWORD(wParam) == EN_CHANGE) {
        const std::wstring input = TextOf(GetDlgItem(hwnd, kInput));
        const std::u16string_view found = tavrix::FindDescription(
            {reinterpret_cast<const char16_t*>(input.data()), input.size()});
        const std::wstring description(found.begin(), found.end());
        HWND output = GetDlgItem(hwnd, kOutput);
        if (TextOf(output) != description) SetWindowTextW(output, description.c_str());
        return 0;
    }
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK HelpProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

HWND Open(const wchar_t* cls, WNDPROC procedure, const wchar_t* title, DWORD style, DWORD exStyle,
          int clientWidth, int clientHeight) {
    HDC screen = GetDC(nullptr);
    dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = procedure;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = cls;
    RegisterClassExW(&wc);
    RECT outer{0, 0, Px(clientWidth), Px(clientHeight)};
    AdjustWindowRectEx(&outer, style, FALSE, exStyle);
    const int width = outer.right - outer.left, height = outer.bottom - outer.top;
    return CreateWindowExW(exStyle, cls, title, style, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                           (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, nullptr,
                           nullptr, wc.hInstance, nullptr);
}

void Show(HWND window) {
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
}

}  // namespace

HWND OpenMainWindow() {
    HWND window = Open(L"SameJobMainWindow", &MainProcedure, L"", WS_POPUP | WS_BORDER | WS_CLIPCHILDREN,
                       WS_EX_APPWINDOW, 7110 - 30, 6360);
    LoadCommonControls();
    Child(window, L"EDIT", L"", kBox | ES_READONLY, WS_EX_CLIENTEDGE, 240, 1680, 6735, 3375, kOutput,
          Font(L"宋体", 105, GB2312_CHARSET));
    HWND input = Child(window, L"EDIT", L"[输入框]", kBox, WS_EX_CLIENTEDGE, 240, 5280, 6735, 405, kInput,
                       Font(L"Comic Sans MS", 105, ANSI_CHARSET));
    SendMessageW(input, EM_LIMITTEXT, 6, 0);
    Child(window, L"STATIC", L"当前版本：02.16", 0, 0, 600, 1200, 1575, 255, 3,
          Font(L"宋体", 90, GB2312_CHARSET));
    Show(window);
    return window;
}

HWND MainInput(HWND window) { return GetDlgItem(window, kInput); }
HWND MainOutput(HWND window) { return GetDlgItem(window, kOutput); }

HWND OpenHelpWindow() {
    HWND window = Open(L"SameJobHelpWindow", &HelpProcedure, L"Tavrix 帮助",
                       WS_CAPTION | WS_SYSMENU | WS_BORDER | WS_CLIPCHILDREN, 0, 7005, 4020);
    LoadCommonControls();
    HFONT font = Font(L"宋体", 90, GB2312_CHARSET);
    const wchar_t* captions[] = {L"如何升级", L"升级建议", L"无法查到所输入的后缀名", L"显示错误(乱码)",
                                 L"联系方式", L"其他", L"退出"};
    const int tops[] = {480, 960, 1440, 1920, 2400, 2880, 3480};
    for (int i = 0; i < 7; ++i)
        Child(window, L"BUTTON", captions[i], WS_TABSTOP | BS_PUSHBUTTON, 0, 120, tops[i], 2655, 375, i + 1, font);
    Child(window, L"EDIT", L"欢迎使用Tavrix软件\r\n  \r\n让生活简单化 － Tavrix软件\r\n", kBox, WS_EX_CLIENTEDGE,
          3000, 480, 3855, 3375, 8, font);
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_FRAMECHANGED);
    Show(window);
    return window;
}

int Run() {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

}  // namespace same_job
