#include "app/MacroPlayOptionWnd.h"

#include "app/BoundControls.h"
#include "app/MessageBoxWnd.h"
#include "app/ProgramTexts.h"
#include "ui/ComboUI.h"
#include "ui/ControlUI.h"
#include "ui/ListLabelElementUI.h"

#include <memory>
#include <string>

namespace NeritApp {

using namespace platform;
using SkinUI::CComboUI;
using SkinUI::CControlUI;

namespace {

constexpr std::u16string_view kComboName = u"macro_playback_combo";
constexpr std::u16string_view kRepeatLabelName = u"macro_repeattimes_label";
constexpr std::u16string_view kRepeatEditName = u"macro_repeattimes_edit";
constexpr std::u16string_view kOkButton = u"macroplay_ok_btn";
constexpr std::u16string_view kCancelButton = u"macroplay_cancel_btn";
constexpr std::u16string_view kCloseButton = u"macroplay_close_btn";
constexpr std::u16string_view kRangeBoxAnswer = u"msgbox_ok_btn";
constexpr int kDropBoxHeight = 600;

// Stored modes with a combo item of their own; 2..99 is the repeat item.
struct FixedMode {
    int playMode;
    int option;
};
constexpr FixedMode kFixedModes[] = {
    {MacroPlayMode::kOnce, PlayOption::kOnce},
    {MacroPlayMode::kWhilePressed, PlayOption::kWhilePressed},
    {MacroPlayMode::kToggle, PlayOption::kToggle},
};

// clang-format off
constexpr std::pair<std::u16string_view, std::u16string_view> kComboLook[] = {
    {u"itemhotbkcolor",      u"#FFFF3C3C"},
    {u"itemselectedbkcolor", u"#FF3C3C3C"},
};
constexpr std::pair<std::u16string_view, std::u16string_view> kEditLook[] = {
    {u"font",          u"4"},
    {u"nativebkcolor", u"#FF000000"},
    {u"maxchar",       u"2"},
};
// clang-format on

std::u16string DecimalText(int value)
{
    const std::string digits = std::to_string(value);
    return {digits.begin(), digits.end()};
}

bool IsRepeatCount(int value)
{
    return value > MacroPlayMode::kOnce && value <= MacroPlayMode::kMaxRepeat;
}

}  // namespace

int MacroPlayChoice::PlayMode() const
{
    if (option == PlayOption::kRepeat)
        return count;
    for (const FixedMode& mode : kFixedModes) {
        if (mode.option == option)
            return mode.playMode;
    }
    return MacroPlayMode::kOnce;
}

CMacroPlayOptionWnd::CMacroPlayOptionWnd(int language, int playMode)
    : CPopupWnd(Layout::kPlayOptionPopup, 0),
      m_language(language >= 0 && language < static_cast<int>(kPlayOptions[0].size()) ? language : 0),
      m_playMode(playMode)
{
}

MacroPlayChoice& CMacroPlayOptionWnd::Choice()
{
    static MacroPlayChoice choice;
    return choice;
}

int CMacroPlayOptionWnd::OptionOf(int playMode)
{
    if (IsRepeatCount(playMode))
        return PlayOption::kRepeat;
    for (const FixedMode& mode : kFixedModes) {
        if (mode.playMode == playMode)
            return mode.option;
    }
    return PlayOption::kOnce;
}

bool CMacroPlayOptionWnd::ParseCount(std::u16string_view text, int& count)
{
    if (text.empty() || text.size() > 2)
        return false;
    int value = 0;
    for (char16_t c : text) {
        if (c < u'0' || c > u'9')
            return false;
        value = value * 10 + (c - u'0');
    }
    if (value < 1 || value > MacroPlayMode::kMaxRepeat)
        return false;
    count = value;
    return true;
}

CComboUI* CMacroPlayOptionWnd::Combo()
{
    return dynamic_cast<CComboUI*>(GetManager().FindControl(kComboName));
}

void CMacroPlayOptionWnd::FillCombo(CComboUI& combo, int language)
{
    if (language < 0 || language >= static_cast<int>(kPlayOptions[0].size()))
        language = 0;
    combo.SetDropBoxSize({0, kDropBoxHeight});
    for (const auto& [name, value] : kComboLook)
        combo.SetAttribute(name, value);
    for (const LanguageTexts& option : kPlayOptions) {
        auto item = std::make_unique<SkinUI::CListLabelElementUI>();
        item->SetText(option[static_cast<size_t>(language)]);
        combo.Add(std::move(item));
    }
}

// The repeat label and edit, shown (and the edit focused) for "N times".
void CMacroPlayOptionWnd::ShowRepeat(bool shown)
{
    if (CControlUI* label = GetManager().FindControl(kRepeatLabelName)) {
        label->SetText(kRepeatLabels[m_language]);
        label->SetVisible(shown);
    }
    CControlUI* edit = GetManager().FindControl(kRepeatEditName);
    if (edit == nullptr)
        return;
    edit->SetVisible(shown);
    if (shown)
        GetManager().SetFocus(edit);
}

void CMacroPlayOptionWnd::OnShown()
{
    m_count = 1;
    m_rangeBoxOpen = false;
    Choice() = {};
    if (CControlUI* edit = GetManager().FindControl(kRepeatEditName)) {
        for (const auto& [name, value] : kEditLook)
            edit->SetAttribute(name, value);
    }
    CComboUI* combo = Combo();
    if (combo != nullptr && combo->GetCount() == 0)
        FillCombo(*combo, m_language);
    const int option = OptionOf(m_playMode);
    if (combo != nullptr)
        combo->SetCurSel(option);
    const bool repeat = option == PlayOption::kRepeat;
    if (CControlUI* edit = GetManager().FindControl(kRepeatEditName); edit != nullptr && repeat)
        edit->SetText(DecimalText(m_playMode));
    ShowRepeat(repeat);
}

void CMacroPlayOptionWnd::OpenRangeBox()
{
    if (m_rangeBoxOpen)
        return;
    auto* box = new CMessageBoxWnd(MessageBoxKind::kRepeatRange);
    if (!box->Show(GetManager().FindControl(kRepeatEditName))) {
        delete box;
        return;
    }
    m_rangeBoxOpen = true;
}

// OK: the choice goes to the owner once the repeat count is valid.
void CMacroPlayOptionWnd::Confirm()
{
    if (m_rangeBoxOpen)
        return;
    CComboUI* combo = Combo();
    const int option = combo != nullptr ? combo->GetCurSel() : PlayOption::kOnce;
    if (option == PlayOption::kRepeat) {
        const CControlUI* edit = GetManager().FindControl(kRepeatEditName);
        if (edit == nullptr || !ParseCount(edit->GetText(), m_count)) {
            OpenRangeBox();
            return;
        }
    }
    Choice() = {true, option < 0 ? PlayOption::kOnce : option, m_count};
    Answer(kAnswerOk);
}

bool CMacroPlayOptionWnd::OnKeyDown(int virtualKey)
{
    if (virtualKey == VK_RETURN) {
        Confirm();
        return true;
    }
    if (virtualKey == VK_ESCAPE && !m_rangeBoxOpen) {
        Answer(kAnswerCancel);
        return true;
    }
    return false;
}

void CMacroPlayOptionWnd::OnClick(CControlUI& sender)
{
    if (m_rangeBoxOpen)
        return;
    if (Is(sender, kOkButton))
        Confirm();
    else if (Is(sender, kCancelButton) || Is(sender, kCloseButton))
        Answer(kAnswerCancel);
}

void CMacroPlayOptionWnd::Notify(SkinUI::NotifyMessage& message)
{
    if (message.type == kRangeBoxAnswer) {
        m_rangeBoxOpen = false;
        return;
    }
    if (message.type == u"itemselect" && message.sender == Combo()) {
        if (!m_rangeBoxOpen)
            ShowRepeat(static_cast<int>(message.wParam) == PlayOption::kRepeat);
        return;
    }
    CPopupWnd::Notify(message);
}

bool CMacroPlayOptionWnd::InCombo(int x, int y)
{
    const CComboUI* combo = Combo();
    if (combo == nullptr)
        return false;
    const SkinUI::UIRect& rect = combo->GetItemRect();
    return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
}

// While the range notice is open the combo's list cannot be opened.
intptr_t CMacroPlayOptionWnd::HandleMessage(unsigned message, uintptr_t wParam, intptr_t lParam)
{
    if (message == WM_LBUTTONDOWN && m_rangeBoxOpen && InCombo(LowSigned(lParam), HighSigned(lParam)))
        return 0;
    return CPopupWnd::HandleMessage(message, wParam, lParam);
}

}  // namespace NeritApp
