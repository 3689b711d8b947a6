#include "app/ButtonAssignment.h"

#include "app/ProgramTexts.h"
#include "settings/ButtonFunctions.h"
#include "settings/CodePage.h"
#include "settings/KeyNameTable.h"
#include "settings/SettingsLayout.h"
#include "app/PageMenu.h"
#include "ui/MenuUI.h"
#include "ui/WindowWnd.h"

#include <algorithm>
#include <array>
#include <memory>
#include <span>

namespace NeritApp {

namespace field = settings::layout::profile;
using SkinUI::CControlUI;
using SkinUI::CMenuUI;

namespace {

// A menu entry and the function code it stores.
struct MenuEntry {
    uint16_t command;
    int32_t code;
};

constexpr MenuEntry kMouseFunctions[] = {
    {2010, settings::function::LeftClick},      {2011, settings::function::RightClick},
    {2012, settings::function::ScrollWheelClick}, {2013, settings::function::BrowserForward},
    {2014, settings::function::BrowserBackward}, {2015, settings::function::ScrollUp},
    {2016, settings::function::ScrollDown},
};
constexpr MenuEntry kGameFunctions[] = {
    {2020, settings::function::DpiUp},         {2021, settings::function::DpiDown},
    {2022, settings::function::DpiLevelSwitch}, {2023, settings::function::ProfileSelect},
    {2024, settings::function::DoubleClick},   {2025, settings::function::TripleClick},
    {2026, settings::function::SniperSwitch},
};
constexpr MenuEntry kOtherEntries[] = {
    {ButtonAssignment::kSingleKeyCommand, settings::function::SingleKey},
    {2031, settings::function::Disable},
    {ButtonAssignment::kDefaultCommand, settings::function::Default},
};
constexpr uint16_t kMouseFunctionsMenu = 2000;
constexpr uint16_t kGameFunctionsMenu = 2001;
constexpr uint16_t kMacrosMenu = 2002;

const MenuEntry* FindEntry(int command)
{
    for (std::span<const MenuEntry> table : {std::span<const MenuEntry>(kMouseFunctions),
                                             std::span<const MenuEntry>(kGameFunctions),
                                             std::span<const MenuEntry>(kOtherEntries)}) {
        for (const MenuEntry& entry : table) {
            if (entry.command == command)
                return &entry;
        }
    }
    return nullptr;
}

// The picture of each mouse button beside its assignment button and label;
// the lit picture is the same part of "MCBox2.bmp".
struct ButtonPicture {
    std::u16string_view label;
    std::u16string_view source;
};
constexpr std::array<ButtonPicture, settings::kButtons> kButtonPictures = {{
    {u"leftclickimage_label", u"387,247,433,342"},
    {u"rightclickimage_label", u"452,247,498,342"},
    {u"middleclickimage_label", u"433,270,451,308"},
    {u"profileswitchimage_label", u"435,321,450,339"},
    {u"dpiswitchimage_label", u"433,344,452,362"},
    {u"ieforwardimage_label", u"590,333,607,365"},
    {u"iebackwardimage_label", u"590,365,607,398"},
}};

std::u16string Digit(int value)
{
    return std::u16string(1, static_cast<char16_t>(u'0' + value));
}

bool Inside(const CControlUI* control, int x, int y)
{
    if (control == nullptr)
        return false;
    const SkinUI::UIRect rect = control->GetItemRect();
    return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
}

void SetHint(CControlUI& label, uint32_t background, std::u16string_view native, std::u16string_view text,
             std::u16string_view textColor)
{
    label.SetBkColor(background);
    label.SetAttribute(u"nativebkcolor", native);
    label.SetAttribute(u"textcolor", textColor);
    label.SetText(text);
}

}  // namespace

ButtonAssignment::ButtonAssignment(SkinUI::CWindowUIManager& manager, settings::SettingsStore& store,
                                   NeritMainState& state, const int& language, Popups& popups)
    : manager_(manager), store_(store), state_(state), language_(language), popups_(popups)
{
}

CControlUI* ButtonAssignment::Button(int button) const
{
    return manager_.FindControl(u"button_" + Digit(button + 1) + u"_btn");
}

CControlUI* ButtonAssignment::HintLabel(int button) const
{
    return manager_.FindControl(u"atleastoneleftLabel" + Digit(button + 1));
}

std::u16string ButtonAssignment::MacroName(int slot) const
{
    return settings::ToUtf16(store_.WorkingMacro(static_cast<size_t>(slot)).Name());
}

int ButtonAssignment::MenuMacroCount() const
{
    return std::clamp(store_.WorkingMacroCount(), 0, kMenuMacros);
}

// ---- the menu ----

void ButtonAssignment::OnButtonClick(int number, CControlUI* sender)
{
    if (state_.keyHighlightActive)
        ClearWarning();
    if (number - 1 == kFixedButton || number < 1 || number > settings::kButtons || sender == nullptr)
        return;
    state_.selectedButton = number - 1;
    const SkinUI::UIRect rect = sender->GetItemRect();
    ShowAssignMenu(rect.left, rect.bottom);
}

namespace {

std::u16string_view EntryText(const MenuEntry& entry, int language)
{
    if (entry.code == settings::function::Default)
        return kDefaultChoiceText[static_cast<size_t>(language)];
    return kFunctionNames[static_cast<size_t>(entry.code)][static_cast<size_t>(language)];
}

}  // namespace

void ButtonAssignment::ShowAssignMenu(int x, int y)
{
    if (SkinUI::CWindowWnd::System() == nullptr || manager_.GetWindow() == platform::WindowId::None)
        return;
    state_.menuOpen = true;
    const SkinUI::FontInfo& font = manager_.GetDefaultFont();
    const size_t language = static_cast<size_t>(language_);
    std::unique_ptr<CMenuUI> menu = PageMenu::New(font);

    const auto addSubMenu = [&](std::u16string_view header, uint16_t id, auto&& fill) {
        std::unique_ptr<CMenuUI> sub = PageMenu::New(font);
        fill(*sub);
        menu->AttachSubMenu(menu->AddItem(header, id), std::move(sub));
        menu->AddSeparator();
    };
    const auto addEntries = [&](std::span<const MenuEntry> entries) {
        return [entries, this](CMenuUI& sub) {
            for (const MenuEntry& entry : entries)
                sub.AddItem(EntryText(entry, language_), entry.command);
        };
    };
    addSubMenu(kMouseFunctionsHeader[language], kMouseFunctionsMenu, addEntries(kMouseFunctions));
    addSubMenu(kGameFunctionsHeader[language], kGameFunctionsMenu, addEntries(kGameFunctions));
    addSubMenu(kMacrosHeader[language], kMacrosMenu, [this](CMenuUI& sub) {
        const int count = MenuMacroCount();
        if (count == 0)
            sub.AddItem(u"", kFirstMacroCommand);
        for (int i = 0; i < count; ++i)
            sub.AddItem(MacroName(i), static_cast<uint16_t>(kFirstMacroCommand + i));
    });
    for (const MenuEntry& entry : kOtherEntries) {
        menu->AddItem(EntryText(entry, language_), entry.command);
        menu->AddSeparator();
    }
    PageMenu::Show(std::move(menu), manager_, x, y);
}

// ---- commands ----

void ButtonAssignment::OnCommand(int command)
{
    if (state_.selectedButton < 0 || state_.selectedButton >= settings::kButtons)
        state_.selectedButton = 0;
    const int button = state_.selectedButton;
    if (command == SkinUI::kMenuClosedCommand) {
        state_.menuOpen = false;
        return;
    }
    const bool macro = command >= kFirstMacroCommand && command <= kLastMacroCommand;
    const MenuEntry* entry = FindEntry(command);
    if (entry == nullptr && !macro)
        return;
    if (GuardRefuses(button, command)) {
        ShowWarning(button);
        return;
    }
    if (macro) {
        ChooseMacro(button, command);
        return;
    }
    if (command == kSingleKeyCommand) {
        // The code is stored by the key popup's answer.
        popups_.OpenKeyPopup(Button(button));
        return;
    }
    const int32_t code = command == kDefaultCommand ? settings::kDefaultButtonFunctions[static_cast<size_t>(button)]
                                                    : entry->code;
    Assign(button, code, -1, std::u16string(kFunctionNames[static_cast<size_t>(code)][static_cast<size_t>(language_)]));
}

// The last left click stays: taking it from the only button that has it is
// refused, whatever the choice (a macro, a single key, "Default").
bool ButtonAssignment::GuardRefuses(int button, int command)
{
    const settings::ProfileSettings profile = store_.Profile(static_cast<size_t>(state_.shownProfile));
    const MenuEntry* entry = FindEntry(command);
    const int32_t choice = entry != nullptr ? entry->code : settings::function::Macro;
    return settings::TakesLastLeftClick(profile, button, settings::StoredFunctionFor(choice, button));
}

void ButtonAssignment::ShowWarning(int button)
{
    CControlUI* label = HintLabel(button);
    if (label != nullptr) {
        label->SetAttribute(u"align", u"left");
        SetHint(*label, 0xFF000000, u"#FF000000", kLeftClickWarning[static_cast<size_t>(language_)], u"#00FF0000");
    }
    state_.keyHighlightActive = true;
    if (platform::WindowSystem* system = SkinUI::CWindowWnd::System())
        system->SetTimer(manager_.GetWindow(), kWarningTimer, kWarningMs);
}

void ButtonAssignment::ClearWarning()
{
    if (state_.selectedButton >= 0 && state_.selectedButton < settings::kButtons) {
        if (CControlUI* label = HintLabel(state_.selectedButton))
            SetHint(*label, 0, u"#00000000", u"", u"#00FFFFFF");
    }
    if (platform::WindowSystem* system = SkinUI::CWindowWnd::System())
        system->KillTimer(manager_.GetWindow(), kWarningTimer);
    state_.keyHighlightActive = false;
}

void ButtonAssignment::OnWarningTimer()
{
    ClearWarning();
}

// param < 0 keeps the stored parameter.
void ButtonAssignment::Assign(int button, int32_t code, int32_t param, const std::u16string& text)
{
    settings::ProfileSettings profile = store_.Profile(static_cast<size_t>(state_.shownProfile));
    profile.Set(field::kButtonFunction, static_cast<size_t>(button), code);
    if (param >= 0)
        profile.Set(field::kButtonParam, static_cast<size_t>(button), param);
    if (CControlUI* control = Button(button))
        control->SetText(text);
}

// Only the macros the menu offers can be chosen.
bool ButtonAssignment::ChooseMacro(int button, int command)
{
    const int slot = command - kFirstMacroCommand;
    if (slot >= MenuMacroCount())
        return false;
    Assign(button, settings::function::Macro, slot + 1, MacroName(slot));
    popups_.OpenPlayOptionPopup(Button(button), button, state_.shownProfile);
    return true;
}

// ---- the popups' answers ----

void ButtonAssignment::OnSingleKey(const SingleKeyResult& result)
{
    const std::span<const settings::KeyName> keys = settings::KeyNames();
    const int button = state_.selectedButton;
    if (button < 0 || button >= settings::kButtons || button == kFixedButton)
        return;
    // No key captured, or values a key cannot have: nothing changes.
    if (result.keyIndex < 0 || result.keyIndex >= static_cast<int>(keys.size()) || result.virtualKey < 0
        || result.virtualKey > 0xFF || result.modifiers < 0 || result.modifiers > 0xFF)
        return;
    const std::u16string name = settings::ToUtf16(keys[static_cast<size_t>(result.keyIndex)].name);
    Assign(button, settings::function::SingleKey,
           settings::SingleKeyParam(static_cast<uint8_t>(result.virtualKey), static_cast<uint8_t>(result.modifiers)),
           KeyText(name));
}

void ButtonAssignment::OnPlayOption(const PlayOptionResult& result)
{
    const int button = state_.selectedButton;
    if (button < 0 || button >= settings::kButtons)
        return;
    namespace play = settings::play_mode;
    int32_t mode = 0;
    switch (result.mode) {
    case 0: mode = play::kOnce; break;
    case 1: mode = result.count >= play::kOnce && result.count <= play::kMaxRepeat ? result.count : 0; break;
    case 2: mode = play::kWhilePressed; break;
    case 3: mode = play::kToggle; break;
    default: break;
    }
    if (mode == 0)
        return;
    settings::ProfileSettings profile = store_.Profile(static_cast<size_t>(state_.shownProfile));
    profile.Set(field::kMacroPlayMode, static_cast<size_t>(button), mode);
}

// ---- showing ----

// The assignment buttons show their function, a macro its name; button 4
// always shows Profile Select.
void ButtonAssignment::ShowTexts(int index)
{
    const settings::ProfileSettings profile = store_.Profile(static_cast<size_t>(index));
    const int macros = store_.WorkingMacroCount();
    const size_t language = static_cast<size_t>(language_);
    for (int button = 0; button < settings::kButtons; ++button) {
        CControlUI* control = Button(button);
        if (control == nullptr)
            continue;
        const int32_t code = profile.Get(field::kButtonFunction, static_cast<size_t>(button));
        if (button == kFixedButton) {
            const size_t profileSelect = static_cast<size_t>(settings::function::ProfileSelect);
            control->SetText(std::u16string(kFunctionNames[profileSelect][language]));
            continue;
        }
        control->SetText(AssignedText(code, profile.Get(field::kButtonParam, static_cast<size_t>(button)), macros));
    }
}

// What a button shows for its function: a single key its key, a macro its
// name; a function outside the table shows nothing (never what another
// profile showed there).
std::u16string ButtonAssignment::AssignedText(int32_t code, int32_t param, int macros) const
{
    if (code < 0 || code >= static_cast<int32_t>(kFunctionNames.size()))
        return {};
    const std::u16string functionText(kFunctionNames[static_cast<size_t>(code)][static_cast<size_t>(language_)]);
    if (code == settings::function::SingleKey) {
        const settings::KeyName* key = settings::FindKeyByVirtualKey(settings::SingleKeyVirtualKey(param));
        return key != nullptr ? KeyText(settings::ToUtf16(key->name)) : functionText;
    }
    if (code != settings::function::Macro || macros <= 0)
        return functionText;
    const int32_t number = param >= 1 && param <= settings::kMacrosInList ? param : 1;
    return MacroName(number - 1);
}

std::u16string ButtonAssignment::KeyText(const std::u16string& keyName)
{
    return u" " + keyName + u" Key ";
}

void ButtonAssignment::ShowHoverPictures(int x, int y)
{
    if (state_.currentTab != 0 || state_.menuOpen)
        return;
    for (int button = 0; button < settings::kButtons; ++button) {
        const ButtonPicture& picture = kButtonPictures[static_cast<size_t>(button)];
        CControlUI* assign = Button(button);
        CControlUI* label = manager_.FindControl(u"button" + Digit(button + 1) + u"_label");
        CControlUI* image = manager_.FindControl(picture.label);
        if (assign == nullptr || label == nullptr || image == nullptr)
            continue;
        const bool lit = Inside(assign, x, y) || Inside(label, x, y);
        const std::u16string file = lit ? u"MCBox2.bmp" : u"MCBox.bmp";
        const std::u16string value = u"file='" + file + u"' source='" + std::u16string(picture.source) + u"' ";
        if (image->GetBkImage() != value)
            image->SetAttribute(u"bkimage", value);
    }
}

}  // namespace NeritApp
