#include "controls/control.h"

#include "win/accessible.h"
#include "win/window_text.h"

namespace tavrix::controls {

void Control::CreateControl(const ControlParts& parts, DWORD exStyle, const wchar_t* className,
                            DWORD style, bool captionIsName, LONG role) {
    const ControlSpec& placed = parts.placed;
    const SettingsSpec& settings = parts.settings;
    const wchar_t* caption = placed.caption ? placed.caption : L"";
    CreateHandle(exStyle, className, caption,
                 WS_CHILD | WS_CLIPSIBLINGS | style | settings.style | (placed.shown ? WS_VISIBLE : 0),
                 parts.bounds, parts.parent, placed.id);
    font_ = parts.font;
    SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    // Heard by its own name, else by a caption that names it, else by its tip ("→" is heard by
    // what it does, a text box by what it is for).
    if (settings.accessibleName)
        heardName_ = settings.accessibleName;
    else if ((!captionIsName || !*caption) && settings.tooltip)
        heardName_ = settings.tooltip;
    role_ = role;
}

LRESULT Control::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_GETOBJECT && (role_ || !heardName_.empty()))
        if (const LRESULT result = win::AnswerAccessibleObject(
                Handle(), wParam, lParam, heardName_.empty() ? win::WindowText(Handle()) : heardName_, role_))
            return result;
    return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace tavrix::controls
