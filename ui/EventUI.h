// Events the window manager gives controls, made from native messages.
#pragma once

#include "ui/AttributeValues.h"

#include <cstdint>

namespace SkinUI {

class CControlUI;

enum class UIEvent : uint8_t {
    MouseMove,
    MouseEnter,
    MouseLeave,
    MouseHover,
    ButtonDown,
    ButtonUp,
    DoubleClick,
    RightButtonDown,
    ContextMenu,
    ScrollWheel,
    KeyDown,
    KeyUp,
    Char,
    SysKey,
    SetFocus,
    KillFocus,
    SetCursor,
    Timer,
    Composition,  // the input method's pending text changed (focused control)
};

struct TEventUI {
    UIEvent type = UIEvent::MouseMove;
    CControlUI* sender = nullptr;
    uint64_t timestamp = 0;
    UIPoint mouse;           // client coordinates
    char16_t key = 0;        // virtual-key code or character
    unsigned keyState = 0;   // MK_* flags
    uintptr_t wParam = 0;
    intptr_t lParam = 0;
};

}  // namespace SkinUI
