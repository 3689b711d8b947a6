#include "app/PopupMessageWnd.h"

#include "app/BoundControls.h"

#include <iterator>

namespace NeritApp {

namespace {

struct QuestionKind {
    std::u16string_view label;  // the picture shown
    std::u16string_view ok;  // OK or Enter
    std::u16string_view cancel;  // Cancel or Esc
};

// clang-format off
constexpr QuestionKind kQuestions[] = {
    {u"applynewsettinglabel",     u"apply_new_setting",     u"apply_new_setting_cancel"},
    {u"resetallsettinglabel",     u"reset_all_setting",     u"reset_all_setting_cancel"},
    {u"exitprogramlabel",         u"exit_program",          u"exit_program_cancel"},
    {u"keyboardnotdetectedlabel", u"keyboard_not_detected", u"keyboard_not_detected_cancel"},
    {u"saveprofilesettingLabel",  u"save_profile_setting",  u"save_profile_setting_cancel"},
    {u"resetprofiledefaultLabel", u"reset_profile_default", u"reset_profile_default_cancel"},
};

// Every question picture; all but the kind's are hidden.
constexpr std::u16string_view kQuestionLabels[] = {
    u"applynewsettinglabel", u"resetallsettinglabel", u"exitprogramlabel",
    u"keyboardnotdetectedlabel", u"resetprofiledefaultLabel", u"saveprofilesettingLabel",
};
// clang-format on

constexpr std::u16string_view kOkButton = u"popup_message_ok_btn";
constexpr std::u16string_view kCancelButton = u"popup_message_cancel_btn";

const QuestionKind* QuestionOf(int kind)
{
    return kind >= 0 && kind < static_cast<int>(std::size(kQuestions)) ? &kQuestions[kind] : nullptr;
}

}  // namespace

CPopupMessageWnd::CPopupMessageWnd(int kind) : CPopupWnd(Layout::kConfirmationPopup, kind) {}

void CPopupMessageWnd::OnShown()
{
    const QuestionKind* question = QuestionOf(GetKind());
    ShowOnly(kQuestionLabels, question != nullptr ? question->label : kQuestions[0].label);
}

bool CPopupMessageWnd::OnKeyDown(int virtualKey)
{
    if (virtualKey == platform::VK_RETURN)
        AnswerOk();
    else if (virtualKey == platform::VK_ESCAPE)
        AnswerCancel();
    else
        return false;
    return true;
}

void CPopupMessageWnd::OnClick(SkinUI::CControlUI& sender)
{
    if (Is(sender, kOkButton))
        AnswerOk();
    else if (Is(sender, kCancelButton))
        AnswerCancel();
}

void CPopupMessageWnd::AnswerOk()
{
    const QuestionKind* question = QuestionOf(GetKind());
    Answer(question != nullptr ? question->ok : std::u16string_view{});
}

std::u16string_view CPopupMessageWnd::CancelAnswer() const
{
    const QuestionKind* question = QuestionOf(GetKind());
    return question != nullptr ? question->cancel : std::u16string_view{};
}

void CPopupMessageWnd::AnswerCancel()
{
    Answer(CancelAnswer());
}

}  // namespace NeritApp
