// How a macro assigned to a mouse button is played: once, a number of times,
// while the button is held, or toggled by presses. The popup starts from the
// button's stored play mode, checks the repeat count (a whole number 1..99;
// anything else opens the range notice and the popup stays open), and answers
// its owner "macro_playoption_ok" with the choice in LastChoice(), or
// "macro_playoption_cancel". OK and Enter agree; Cancel, the close button and
// Esc cancel.
#pragma once

#include "app/PopupWnd.h"
#include "settings/ButtonRules.h"

#include <string_view>

namespace SkinUI {
class CComboUI;
}

namespace NeritApp {

// Stored play modes of a macro button.
namespace MacroPlayMode = settings::play_mode;

// The combo's items, in order.
namespace PlayOption {
inline constexpr int kOnce = 0;
inline constexpr int kRepeat = 1;
inline constexpr int kWhilePressed = 2;
inline constexpr int kToggle = 3;
}  // namespace PlayOption

// The answer of the last play-option popup: valid after "macro_playoption_ok".
struct MacroPlayChoice {
    bool chosen = false;
    int option = PlayOption::kOnce;  // the combo item
    int count = 1;  // the repeat count, 1..99
    // The play mode to store for the button.
    int PlayMode() const;
};

class CMacroPlayOptionWnd : public CPopupWnd {
public:
    static constexpr std::u16string_view kAnswerOk = u"macro_playoption_ok";
    static constexpr std::u16string_view kAnswerCancel = u"macro_playoption_cancel";

    // `language` 0..3 (others: English); `playMode` the button's stored mode.
    CMacroPlayOptionWnd(int language, int playMode);

    // The choice of the popup answered last; cleared when a popup is shown.
    static const MacroPlayChoice& LastChoice() { return Choice(); }
    // The combo item a stored play mode opens on.
    static int OptionOf(int playMode);
    // A repeat count the user typed: a whole number 1..99, digits only.
    static bool ParseCount(std::u16string_view text, int& count);

    // The combo's look and its four items in `language` (0..3).
    static void FillCombo(SkinUI::CComboUI& combo, int language);

    std::u16string_view GetWindowClassName() const override { return u"MacroPlayOptionWnd"; }
    intptr_t HandleMessage(unsigned message, uintptr_t wParam, intptr_t lParam) override;
    void Notify(SkinUI::NotifyMessage& message) override;

protected:
    void OnShown() override;
    bool OnKeyDown(int virtualKey) override;
    void OnClick(SkinUI::CControlUI& sender) override;
    std::u16string_view CancelAnswer() const override { return kAnswerCancel; }

private:
    static MacroPlayChoice& Choice();
    SkinUI::CComboUI* Combo();
    void ShowRepeat(bool shown);
    void Confirm();
    void OpenRangeBox();
    bool InCombo(int x, int y);

    int m_language;
    int m_playMode;
    int m_count = 1;
    bool m_rangeBoxOpen = false;
};

}  // namespace NeritApp
