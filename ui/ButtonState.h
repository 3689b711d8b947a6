// The interaction state of a control that looks different when the mouse is
// over it, when it is pressed, focused, disabled or selected. The window's
// event handling sets it; painting reads it.
#pragma once

#include "ui/EventUI.h"

#include <string>

namespace SkinUI {

class CButtonStateHolder {
public:
    enum ButtonState : unsigned { kHot = 1, kPushed = 2, kFocused = 4, kDisabled = 8, kSelected = 16 };

    void SetButtonState(unsigned state) { m_buttonState = state; }
    unsigned GetButtonState() const { return m_buttonState; }
    bool HasButtonState(unsigned flag) const { return (m_buttonState & flag) != 0; }
    // The hot and focused marks follow the mouse entering and leaving and
    // the focus coming and going (a disabled control does not turn hot).
    // True when `type` was one of these events: the control then repaints.
    bool TrackHotAndFocus(UIEvent type, bool enabled)
    {
        switch (type) {
        case UIEvent::MouseEnter:
            m_buttonState |= enabled ? unsigned{kHot} : 0U;
            return true;
        case UIEvent::MouseLeave:
            m_buttonState &= ~unsigned{kHot};
            return true;
        case UIEvent::SetFocus:
            m_buttonState |= kFocused;
            return true;
        case UIEvent::KillFocus:
            m_buttonState &= ~unsigned{kFocused};
            return true;
        default:
            return false;
        }
    }

private:
    unsigned m_buttonState = 0;
};

// The image of a button-like control's state, most urgent first: disabled,
// pushed, hot, focused; an empty text for the normal state.
inline const std::u16string& PickStateImage(unsigned state, bool enabled, const std::u16string& pushed,
                                            const std::u16string& hot, const std::u16string& focused,
                                            const std::u16string& disabled)
{
    static const std::u16string kNone;
    if (!enabled || (state & CButtonStateHolder::kDisabled) != 0)
        return disabled;
    if ((state & CButtonStateHolder::kPushed) != 0)
        return pushed;
    if ((state & CButtonStateHolder::kHot) != 0)
        return hot;
    if ((state & CButtonStateHolder::kFocused) != 0)
        return focused;
    return kNone;
}

}  // namespace SkinUI
