// The interaction state of a control that looks different when the mouse is
// over it, when it is pressed, focused, disabled or selected. The window's
// event handling sets it; painting reads it.
#pragma once

namespace SkinUI {

class CButtonStateHolder {
public:
    enum ButtonState : unsigned { kHot = 1, kPushed = 2, kFocused = 4, kDisabled = 8, kSelected = 16 };

    void SetButtonState(unsigned state) { m_buttonState = state; }
    unsigned GetButtonState() const { return m_buttonState; }
    bool HasButtonState(unsigned flag) const { return (m_buttonState & flag) != 0; }

private:
    unsigned m_buttonState = 0;
};

}  // namespace SkinUI
