// Asked on leaving while changes are not applied: Apply, Discard or Cancel.
// Enter applies; Esc, the Cancel button and the desktop's close cancel.
#pragma once

#include "app/PopupWnd.h"

#include <string_view>

namespace NeritApp {

// The answers, as notifications to the owner.
namespace ExitChangesAnswer {
inline constexpr std::u16string_view kApply = u"exit_apply_changes";
inline constexpr std::u16string_view kDiscard = u"exit_discard_changes";
inline constexpr std::u16string_view kCancel = u"exit_program_cancel";
}  // namespace ExitChangesAnswer

class CExitChangesWnd : public CPopupWnd {
public:
    // Texts in `language` (0..3; others show English).
    explicit CExitChangesWnd(int language);

protected:
    void OnShown() override;
    bool OnKeyDown(int virtualKey) override;
    void OnClick(SkinUI::CControlUI& sender) override;
    std::u16string_view CancelAnswer() const override { return ExitChangesAnswer::kCancel; }

private:
    int language_;
};

}  // namespace NeritApp
