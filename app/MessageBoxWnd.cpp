#include "app/MessageBoxWnd.h"

#include "app/BoundControls.h"

#include <iterator>

namespace NeritApp {

namespace {

struct NoticeKind {
    std::u16string_view label;  // the picture shown
    bool blocks;  // counts as an open popup
};

// clang-format off
constexpr NoticeKind kNotices[] = {
    {u"msgbox_macroovermax_label",    true},
    {u"msgbox_macrorepeat1_99_label", false},
};
constexpr std::u16string_view kNoticeLabels[] = {u"msgbox_macroovermax_label", u"msgbox_macrorepeat1_99_label"};
// clang-format on

constexpr std::u16string_view kAnswer = u"msgbox_ok_btn";
constexpr std::u16string_view kOkButton = u"msgbox_ok_btn";
constexpr std::u16string_view kCloseButton = u"msgbox_close_btn";

const NoticeKind& NoticeOf(int kind)
{
    return kind >= 0 && kind < static_cast<int>(std::size(kNotices)) ? kNotices[kind] : kNotices[0];
}

}  // namespace

CMessageBoxWnd::CMessageBoxWnd(int kind) : CPopupWnd(Layout::kMessageBox, kind) {}

void CMessageBoxWnd::OnShown()
{
    ShowOnly(kNoticeLabels, NoticeOf(GetKind()).label);
}

bool CMessageBoxWnd::BlocksMainWindow() const
{
    return NoticeOf(GetKind()).blocks;
}

bool CMessageBoxWnd::OnKeyDown(int virtualKey)
{
    if (virtualKey != platform::VK_RETURN)
        return false;
    Answer(kAnswer);
    return true;
}

std::u16string_view CMessageBoxWnd::CancelAnswer() const
{
    return kAnswer;
}

void CMessageBoxWnd::OnClick(SkinUI::CControlUI& sender)
{
    if (Is(sender, kOkButton) || Is(sender, kCloseButton))
        Answer(kAnswer);
}

}  // namespace NeritApp
