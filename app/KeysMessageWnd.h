// The popup in which the user picks the single key a mouse button sends, with
// Shift, Ctrl and Alt on either side. It takes every key press before its
// controls do (typed text never reaches its name edit), shows the captured
// key's name and which modifiers are on, and answers its owner with
// kAnswerOk or kAnswerCancel; the chosen key waits in PopupResult::Current().
#pragma once

#include "app/PopupWnd.h"

#include <cstdint>

namespace settings {
struct KeyName;
}

namespace NeritApp {

class CKeysMessageWnd : public CPopupWnd {
public:
    static constexpr std::u16string_view kAnswerOk = u"button_singlekey";
    static constexpr std::u16string_view kAnswerCancel = u"button_singlekey_cancel";

    // `language` 0..3 (others show English). `preselected` is the button's
    // single-key value (virtual key + 256 × modifiers); one whose key is not
    // in the key name table preselects nothing.
    explicit CKeysMessageWnd(int language, int32_t preselected = 0);

    std::u16string_view GetWindowClassName() const override { return u"KeysPopupWnd"; }
    // Every key and text message of the popup stops here.
    bool MessageFilter(unsigned message, uintptr_t wParam, intptr_t lParam, intptr_t& result) override;

    uint16_t GetModifiers() const { return m_modifiers; }

protected:
    void OnShown() override;
    void OnClick(SkinUI::CControlUI& sender) override;
    std::u16string_view CancelAnswer() const override { return kAnswerCancel; }

private:
    void PrepareControls();
    void Preselect();
    void OnKeyPress(int virtualKey, intptr_t lParam);
    void ToggleModifier(int virtualKey, intptr_t lParam);
    void ShowModifiers();
    void WalkKeyboard();
    void TakeKey(int virtualKey);
    void Capture(const settings::KeyName& key);
    void ShowKeyName(std::u16string_view name);

    int m_language;
    int32_t m_preselected;
    uint16_t m_modifiers = 0;
};

}  // namespace NeritApp
