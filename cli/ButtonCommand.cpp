#include "cli/ButtonCommand.h"

#include "cli/ArgumentWords.h"
#include "settings/ButtonFunctions.h"
#include "settings/ButtonRules.h"
#include "settings/KeyNameTable.h"
#include "settings/WorkingMacros.h"

#include <CLI/CLI.hpp>

#include <algorithm>

namespace cli {

namespace prof = settings::layout::profile;
namespace fn = settings::function;

namespace {

// The modifier words of a key, as the key popup stores each side; a word
// without a side is the left key.
struct ModifierWord {
    const char* word;
    uint8_t bit;
};
constexpr ModifierWord kModifierWords[] = {
    {"Ctrl", settings::modifier::LeftCtrl},    {"LCtrl", settings::modifier::LeftCtrl},
    {"RCtrl", settings::modifier::RightCtrl},  {"Shift", settings::modifier::LeftShift},
    {"LShift", settings::modifier::LeftShift}, {"RShift", settings::modifier::RightShift},
    {"Alt", settings::modifier::LeftAlt},      {"LAlt", settings::modifier::LeftAlt},
    {"RAlt", settings::modifier::RightAlt},
};

// Shift, Ctrl and Alt of the key table are modifiers, never the key itself.
constexpr uint8_t kModifierKeys[] = {0x10, 0x11, 0x12};

// The codes "function NAME" offers: the assignment menu's functions.
constexpr int32_t kMenuFunctions[] = {
    fn::LeftClick, fn::RightClick,     fn::ScrollWheelClick, fn::BrowserForward, fn::BrowserBackward,
    fn::ScrollUp,  fn::ScrollDown,     fn::DpiUp,            fn::DpiDown,        fn::DpiLevelSwitch,
    fn::ProfileSelect, fn::DoubleClick, fn::TripleClick,     fn::SniperSwitch,   fn::Disable,
    fn::Default,
};

const ModifierWord* FindModifier(std::string_view word)
{
    for (const ModifierWord& modifier : kModifierWords) {
        if (SameWord(word, modifier.word))
            return &modifier;
    }
    return nullptr;
}

const settings::KeyName* FindKey(std::string_view word)
{
    for (const settings::KeyName& key : settings::KeyNames()) {
        const bool modifierKey = std::find(std::begin(kModifierKeys), std::end(kModifierKeys), key.virtualKey)
                              != std::end(kModifierKeys);
        if (!modifierKey && SameWord(key.name, word))
            return &key;
    }
    return nullptr;
}

}  // namespace

void ButtonCommand::AddArguments(CLI::App& sub)
{
    AddProfileOptions(sub, profile_, apply_);
    sub.add_option("--play", play_, "How the macro plays: once, repeat N (1..99), hold or toggle")->expected(1, 2);
    sub.add_option("B", button_, "The mouse button 1..7 (4 is fixed to Profile Select)")
        ->required()
        ->check(CLI::Range(1, 7));
    sub.add_option("CHOICE", words_, "function NAME, key KEY, macro NAME, default or disable")
        ->required()
        ->expected(1, 2);
}

bool ButtonCommand::Check(std::string& error)
{
    if (button_ - 1 == settings::kFixedButton) {
        error = "button: button 4 always sends Profile Select; it cannot be assigned";
        return false;
    }
    const std::string& action = words_.front();
    const bool one = words_.size() == 1;
    if (!play_.empty() && action != "macro") {
        error = "button: --play belongs to a macro";
        return false;
    }
    if (one && (action == "default" || action == "disable")) {
        action_ = Action::Function;
        code_ = settings::StoredFunctionFor(action == "default" ? fn::Default : fn::Disable, button_ - 1);
        return true;
    }
    if (!one && action == "function")
        return CheckFunction(error);
    if (!one && action == "key")
        return CheckKey(error);
    if (!one && action == "macro") {
        action_ = Action::Macro;
        return CheckPlay(error);
    }
    error = "button: expected function NAME, key KEY, macro NAME, default or disable, not " + Quoted(action)
          + (one ? "" : " " + Quoted(words_.back()));
    return false;
}

bool ButtonCommand::CheckFunction(std::string& error)
{
    action_ = Action::Function;
    const std::string& name = words_.back();
    for (const int32_t code : kMenuFunctions) {
        if (SameWord(settings::FunctionLabel(code), name)) {
            code_ = settings::StoredFunctionFor(code, button_ - 1);
            return true;
        }
    }
    if (SameWord(settings::FunctionLabel(fn::SingleKey), name))
        error = "button: a single key is chosen with: button B key KEY";
    else
        error = "button: unknown function " + Quoted(name) + " (see neritctl button --help)";
    return false;
}

// "Ctrl+Shift+F5": modifier words joined by '+', then one key of the key
// table ("Num_+" stays one key).
bool ButtonCommand::CheckKey(std::string& error)
{
    action_ = Action::Key;
    std::string_view rest = words_.back();
    uint8_t modifiers = 0;
    for (size_t plus = rest.find('+'); plus != std::string_view::npos && plus > 0; plus = rest.find('+')) {
        const ModifierWord* modifier = FindModifier(rest.substr(0, plus));
        if (modifier == nullptr)
            break;
        modifiers |= modifier->bit;
        rest.remove_prefix(plus + 1);
    }
    const settings::KeyName* key = FindKey(rest);
    if (key == nullptr) {
        error = "button: unknown key " + Quoted(std::string(rest)) + " in " + Quoted(words_.back())
              + " (modifiers Ctrl, Shift, Alt, LCtrl, RCtrl, ...; keys as the key table names them: A, F5, Page UP, "
                "Num_1, ...)";
        return false;
    }
    param_ = settings::SingleKeyParam(key->virtualKey, modifiers);
    return true;
}

bool ButtonCommand::CheckPlay(std::string& error)
{
    namespace play = settings::play_mode;
    mode_ = 0;
    if (play_.empty())
        return true;
    const std::string& how = play_.front();
    int32_t count = 0;
    if (play_.size() == 1 && how == "once")
        mode_ = play::kOnce;
    else if (play_.size() == 1 && how == "hold")
        mode_ = play::kWhilePressed;
    else if (play_.size() == 1 && how == "toggle")
        mode_ = play::kToggle;
    else if (play_.size() == 2 && how == "repeat" && ParseWholeNumber(play_.back(), count) && count >= play::kOnce
             && count <= play::kMaxRepeat)
        mode_ = count;
    if (mode_ != 0)
        return true;
    error = "button: --play takes once, repeat N (N from 1 to 99), hold or toggle, not " + Quoted(how)
          + (play_.size() == 2 ? " " + Quoted(play_.back()) : "");
    return false;
}

// The macro of that name among the profile's first ten (for the shown
// profile, the working list, as the window's menu offers it); -1 if none.
int ButtonCommand::MacroSlot(const settings::SettingsStore& store, int index, int shown) const
{
    const settings::ProfileSettings profile = store.Profile(static_cast<size_t>(index));
    const int32_t stored = index == shown ? store.WorkingMacroCount() : profile.Get(prof::kMacroCount);
    const int count = std::min(settings::UsedMacroCount(stored), settings::kProfileCopySlots);
    for (int slot = 0; slot < count; ++slot) {
        const settings::MacroRecord macro =
            index == shown ? store.WorkingMacro(static_cast<size_t>(slot)) : profile.Macro(static_cast<size_t>(slot));
        if (macro.Name() == MacroName())
            return slot;
    }
    return -1;
}

ButtonCommand::Refusal ButtonCommand::AssignIn(settings::SettingsStore& store, int index, int shown) const
{
    settings::ProfileSettings profile = store.Profile(static_cast<size_t>(index));
    const size_t button = static_cast<size_t>(button_ - 1);
    const int32_t code = action_ == Action::Key ? fn::SingleKey : action_ == Action::Macro ? fn::Macro : code_;
    if (settings::TakesLastLeftClick(profile, button_ - 1, code))
        return Refusal::LeftClickNeeded;
    int32_t param = action_ == Action::Key ? param_ : -1;
    if (action_ == Action::Macro) {
        const int slot = MacroSlot(store, index, shown);
        if (slot < 0)
            return Refusal::NoSuchMacro;
        param = slot + 1;
        const int32_t mode = mode_ != 0 ? mode_ : settings::KeptPlayMode(profile.Get(prof::kMacroPlayMode, button));
        profile.Set(prof::kMacroPlayMode, button, mode);
    }
    profile.Set(prof::kButtonFunction, button, code);
    // Other functions keep the stored parameter, as the window does.
    if (param >= 0)
        profile.Set(prof::kButtonParam, button, param);
    return Refusal::None;
}

}  // namespace cli
