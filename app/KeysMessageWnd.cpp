#include "app/KeysMessageWnd.h"

#include "app/BoundControls.h"
#include "app/PopupResult.h"
#include "app/ProgramTexts.h"
#include "settings/ButtonFunctions.h"
#include "settings/KeyNameTable.h"
#include "ui/ControlUI.h"
#include "ui/LabelUI.h"

#include <array>
#include <string>

namespace NeritApp {

using namespace platform;
using SkinUI::CControlUI;

namespace {

constexpr std::u16string_view kTitleLabel = u"keysmessagetitlelabel";
constexpr std::u16string_view kPromptLabel = u"inputmessagelabel";
constexpr std::u16string_view kNameEdit = u"keyspopup_name_edit";
constexpr std::u16string_view kOkButton = u"keyspopup_ok_btn";
constexpr std::u16string_view kCancelButton = u"keyspopup_cancel_btn";

constexpr uint32_t kModifierOnColor = 0xFFFFFFFF;
constexpr uint32_t kModifierOffColor = 0xFF000000;

// Each modifier: its key, its label, the bits of both sides, the bit of
// each side.
struct Modifier {
    int virtualKey;
    std::u16string_view label;
    uint16_t bits, left, right;
};
// In the order of kModifierLabels.
constexpr std::array<Modifier, 3> kModifiers = {{
    {VK_SHIFT, u"singlekeyshiftlabel", 0x22, 0x02, 0x20},
    {VK_CONTROL, u"singlekeyctrllabel", 0x11, 0x01, 0x10},
    {VK_MENU, u"singlekeyaltlabel", 0x44, 0x04, 0x40},
}};

// The keys that only tell which side a modifier is on.
bool IsSideCode(int virtualKey)
{
    return virtualKey >= VK_LSHIFT && virtualKey <= VK_RMENU;
}

const Modifier* ModifierOf(int virtualKey)
{
    for (const Modifier& modifier : kModifiers) {
        if (modifier.virtualKey == virtualKey)
            return &modifier;
    }
    return nullptr;
}

bool IsKeyPress(unsigned message)
{
    return message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
}

// Key releases and typed text: none of them may reach a control.
bool IsSwallowed(unsigned message)
{
    return message == WM_KEYUP || message == WM_SYSKEYUP || message == WM_CHAR || message == WM_SYSCHAR ||
           message == WM_IME_COMPOSITION;
}

bool IsRightHand(intptr_t lParam)
{
    return (lParam >> 24 & 1) != 0;
}

bool IsRepeat(intptr_t lParam)
{
    return (lParam >> 30 & 1) != 0;
}

// The table's names are plain ASCII.
std::u16string ToUtf16(const char* text)
{
    std::u16string result;
    for (; *text != '\0'; ++text)
        result.push_back(static_cast<char16_t>(static_cast<unsigned char>(*text)));
    return result;
}

uint16_t IndexOf(const settings::KeyName& key)
{
    return static_cast<uint16_t>(&key - settings::KeyNames().data());
}

}  // namespace

CKeysMessageWnd::CKeysMessageWnd(int language, int32_t preselected)
    : CPopupWnd(Layout::kKeyPopup, 0),
      m_language(language >= 0 && language < static_cast<int>(kKeyPopupTitle.size()) ? language : 0),
      m_preselected(preselected)
{
}

void CKeysMessageWnd::OnShown()
{
    PopupResult::Current() = {};
    PrepareControls();
    Preselect();
    ShowModifiers();
}

void CKeysMessageWnd::PrepareControls()
{
    SkinUI::CWindowUIManager& manager = GetManager();
    if (const SkinUI::FontInfo* font = manager.GetFont(1))
        manager.SetDefaultFont(font->face, font->size, font->bold, font->underline, font->italic);
    if (auto* edit = dynamic_cast<SkinUI::CLabelUI*>(manager.FindControl(kNameEdit))) {
        edit->SetAttribute(u"font", u"1");
        edit->SetTextColor(0xFF000000);
        edit->SetAttribute(u"nativebkcolor", u"#FF000000");
        edit->SetAttribute(u"textcolor", u"#00FFFFFF");
        edit->SetAttribute(u"textpadding", u"200,0,0,-2");
    }
    if (CControlUI* title = manager.FindControl(kTitleLabel))
        title->SetText(kKeyPopupTitle[m_language]);
    if (CControlUI* prompt = manager.FindControl(kPromptLabel))
        prompt->SetText(kKeyPopupPrompt[m_language]);
    for (size_t i = 0; i < kModifiers.size(); ++i) {
        if (CControlUI* label = manager.FindControl(kModifiers[i].label))
            label->SetText(kModifierLabels[i]);
    }
}

// The button's present key shows and stays the answer until another is
// pressed.
void CKeysMessageWnd::Preselect()
{
    const settings::KeyName* key = settings::FindKeyByVirtualKey(settings::SingleKeyVirtualKey(m_preselected));
    if (m_preselected <= 0 || key == nullptr || ModifierOf(key->virtualKey) != nullptr)
        return;
    m_modifiers = settings::SingleKeyModifiers(m_preselected) & 0x77;
    Capture(*key);
}

bool CKeysMessageWnd::MessageFilter(unsigned message, uintptr_t wParam, intptr_t lParam, intptr_t& result)
{
    if (IsKeyPress(message))
        OnKeyPress(static_cast<int>(wParam), lParam);
    else if (!IsSwallowed(message))
        return false;
    result = 0;
    return true;
}

// Enter and Esc are keys like the others: only the buttons answer.
void CKeysMessageWnd::OnKeyPress(int virtualKey, intptr_t lParam)
{
    if (ModifierOf(virtualKey) != nullptr && !IsRepeat(lParam))
        ToggleModifier(virtualKey, lParam);
    ShowModifiers();
    WalkKeyboard();
}

// Each press turns the modifier on (on the side pressed) or off (both sides).
// A held key's repeats change nothing.
void CKeysMessageWnd::ToggleModifier(int virtualKey, intptr_t lParam)
{
    const Modifier& modifier = *ModifierOf(virtualKey);
    if ((m_modifiers & modifier.bits) != 0) {
        m_modifiers &= static_cast<uint16_t>(~modifier.bits);
        return;
    }
    const bool right = virtualKey == VK_SHIFT ? !System()->IsKeyDown(VK_LSHIFT) : IsRightHand(lParam);
    m_modifiers |= right ? modifier.right : modifier.left;
}

void CKeysMessageWnd::ShowModifiers()
{
    for (const Modifier& modifier : kModifiers) {
        auto* label = dynamic_cast<SkinUI::CLabelUI*>(GetManager().FindControl(modifier.label));
        if (label != nullptr)
            label->SetTextColor((m_modifiers & modifier.bits) != 0 ? kModifierOnColor : kModifierOffColor);
    }
}

// Every key held now, in ascending order: the highest decides. The side
// codes that come with a held Shift, Ctrl or Alt are skipped, so a key
// pressed while a modifier is still held is captured.
void CKeysMessageWnd::WalkKeyboard()
{
    for (int virtualKey = 0; virtualKey < 256; ++virtualKey) {
        if (System()->IsKeyDown(virtualKey) && !IsSideCode(virtualKey))
            TakeKey(virtualKey);
    }
}

void CKeysMessageWnd::TakeKey(int virtualKey)
{
    CControlUI* edit = GetManager().FindControl(kNameEdit);
    if (edit != nullptr)
        GetManager().SetFocus(edit);
    PopupResult& result = PopupResult::Current();
    if (ModifierOf(virtualKey) != nullptr) {
        result.modifiers = m_modifiers;
        return;
    }
    if (const settings::KeyName* key = settings::FindKeyByVirtualKey(static_cast<uint8_t>(virtualKey))) {
        Capture(*key);
        return;
    }
    result.keyIndex = PopupResult::kNoKey;
    ShowKeyName({});
}

void CKeysMessageWnd::Capture(const settings::KeyName& key)
{
    PopupResult& result = PopupResult::Current();
    result.virtualKey = key.virtualKey;
    result.keyIndex = IndexOf(key);
    result.usageLow = key.usage & 0xFF;
    result.usageHigh = key.usage >> 8;
    result.modifiers = m_modifiers;
    result.reserved = 0;
    ShowKeyName(ToUtf16(key.name));
}

void CKeysMessageWnd::ShowKeyName(std::u16string_view name)
{
    if (CControlUI* edit = GetManager().FindControl(kNameEdit))
        edit->SetText(name);
}

// OK answers even without a key: the owner sees that in PopupResult.
void CKeysMessageWnd::OnClick(CControlUI& sender)
{
    if (Is(sender, kOkButton)) {
        PopupResult::Current().modifiers = m_modifiers;
        Answer(kAnswerOk);
    } else if (Is(sender, kCancelButton)) {
        Answer(kAnswerCancel);
    }
}

}  // namespace NeritApp
