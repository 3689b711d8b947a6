// The confirmation questions of the program (apply, reset all, exit, mouse
// not detected, save profile, reset profile): OK or Enter and Cancel or Esc
// answer the owner with the kind's notification.
#pragma once

#include "app/PopupWnd.h"

namespace NeritApp {

// The kinds, in the order of their numbers.
namespace PopupKind {
inline constexpr int kApplySettings = 0;
inline constexpr int kResetAll = 1;
inline constexpr int kExitProgram = 2;
inline constexpr int kNoDevice = 3;
inline constexpr int kSaveProfile = 4;
inline constexpr int kResetProfile = 5;
}  // namespace PopupKind

class CPopupMessageWnd : public CPopupWnd {
public:
    // Kinds outside 0..5 show the first question and answer nothing.
    explicit CPopupMessageWnd(int kind = PopupKind::kApplySettings);

protected:
    void OnShown() override;
    bool OnKeyDown(int virtualKey) override;
    void OnClick(SkinUI::CControlUI& sender) override;
    std::u16string_view CancelAnswer() const override;

private:
    void AnswerOk();
    void AnswerCancel();
};

}  // namespace NeritApp
