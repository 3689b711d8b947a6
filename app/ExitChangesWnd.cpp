#include "app/ExitChangesWnd.h"

#include "app/BoundControls.h"
#include "app/ProgramTexts.h"
#include "ui/ControlUI.h"

namespace NeritApp {

namespace {

struct ExitControl {
    std::u16string_view name;
    const LanguageTexts& text;
    std::u16string_view answer;  // empty for a label
};

// clang-format off
constexpr ExitControl kControls[] = {
    {u"exitchangeslabel",  kExitChangesQuestion, {}},
    {u"exitchangeslabel2", kExitChangesPrompt,   {}},
    {u"exit_apply_btn",    kExitApplyText,       ExitChangesAnswer::kApply},
    {u"exit_discard_btn",  kExitDiscardText,     ExitChangesAnswer::kDiscard},
    {u"exit_cancel_btn",   kExitCancelText,      ExitChangesAnswer::kCancel},
};
// clang-format on

}  // namespace

CExitChangesWnd::CExitChangesWnd(int language)
    : CPopupWnd(Layout::kExitChangesPopup, 0),
      language_(language >= 0 && language < static_cast<int>(kExitApplyText.size()) ? language : 0)
{
}

void CExitChangesWnd::OnShown()
{
    for (const ExitControl& control : kControls) {
        if (SkinUI::CControlUI* found = GetManager().FindControl(control.name))
            found->SetText(control.text[static_cast<size_t>(language_)]);
    }
}

bool CExitChangesWnd::OnKeyDown(int virtualKey)
{
    if (virtualKey == platform::VK_RETURN)
        Answer(ExitChangesAnswer::kApply);
    else if (virtualKey == platform::VK_ESCAPE)
        Answer(ExitChangesAnswer::kCancel);
    else
        return false;
    return true;
}

void CExitChangesWnd::OnClick(SkinUI::CControlUI& sender)
{
    for (const ExitControl& control : kControls) {
        if (!control.answer.empty() && Is(sender, control.name)) {
            Answer(control.answer);
            return;
        }
    }
}

}  // namespace NeritApp
