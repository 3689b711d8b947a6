// The notices of the macro features (too many macros, repeat count out of
// range): OK, the close button or Enter answer "msgbox_ok_btn"; Esc does
// nothing.
#pragma once

#include "app/PopupWnd.h"

namespace NeritApp {

namespace MessageBoxKind {
inline constexpr int kMacroLimit = 0;
inline constexpr int kRepeatRange = 1;
}  // namespace MessageBoxKind

class CMessageBoxWnd : public CPopupWnd {
public:
    // Kinds outside 0..1 show the first notice.
    explicit CMessageBoxWnd(int kind = MessageBoxKind::kMacroLimit);

protected:
    void OnShown() override;
    // The repeat-range notice is opened by the play-option popup, which keeps
    // the main window blocked itself.
    bool BlocksMainWindow() const override;
    bool OnKeyDown(int virtualKey) override;
    void OnClick(SkinUI::CControlUI& sender) override;
    // Its only answer.
    std::u16string_view CancelAnswer() const override;
};

}  // namespace NeritApp
