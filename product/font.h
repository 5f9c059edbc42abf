#pragma once
// The font of every control whose window's design names none: 宋体 9 point, the system font of a
// Chinese Windows, as both programs were designed on.
#include "win/gdi.h"

namespace tavrix {
constexpr win::FontSpec kDefaultFont{L"宋体", 90, GB2312_CHARSET};
}  // namespace tavrix
