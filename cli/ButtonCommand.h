// neritctl button: what one mouse button does, chosen as in the window's
// assignment menu: a function, a single key with modifiers, a macro of the
// profile with its play mode, the button's default, or nothing.
#pragma once

#include "settings/SettingsStore.h"

#include <cstdint>
#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace cli {

class ButtonCommand {
public:
    enum class Refusal { None, LeftClickNeeded, NoSuchMacro };

    void AddArguments(CLI::App& sub);

    // Checks the words; false with a one-line reason.
    bool Check(std::string& error);
    bool ApplyNow() const { return apply_; }
    int ProfileIndex(int shown) const { return profile_ > 0 ? profile_ - 1 : shown; }
    // Assigns the checked choice to the button of profile `index`, unless a
    // rule refuses it (then nothing changes). `shown` is the shown profile:
    // its macros are the working list.
    Refusal AssignIn(settings::SettingsStore& store, int index, int shown) const;
    const std::string& MacroName() const { return words_.back(); }
    int Button() const { return button_; }

    static constexpr const char* kChoiceWords = "function key macro default disable";
    static constexpr const char* kHelp =
        "Choose what mouse button B (1..7) does (pending until apply, or at once with --apply). "
           "Example: neritctl button 5 key \"Ctrl+Shift+F5\"";
    static constexpr const char* kFooter =
        "Choices:\n"
           "  function NAME   a function of the window's menu, letter case aside: Left Click, Right Click,\n"
           "                  Scroll Wheel Click, Browser Forward, Browser Backward, Scroll Up, Scroll Down,\n"
           "                  DPI Up, DPI Down, DPI Level Switch, Profile Select, Double Click,\n"
           "                  Triple Click, Sniper Switch, Disable, Default\n"
           "  key KEY         a single key with modifiers: Ctrl, Shift, Alt (the left keys) or LCtrl, RCtrl,\n"
           "                  LShift, RShift, LAlt, RAlt, joined by '+'; keys as the key table names them\n"
           "  macro NAME      a macro of the profile's first ten, by its exact name;\n"
           "                  --play once | repeat N (1..99) | hold | toggle (default: as the button plays now)\n"
           "  default         the button's own function;  disable   nothing\n"
           "Button 4 always sends Profile Select. One button keeps Left Click: the last one is not given away.\n"
           "Examples:\n"
           "  neritctl button 2 function \"Double Click\"\n"
           "  neritctl button --profile 3 6 macro Reload --play repeat 3 --apply\n";

private:
    enum class Action { Function, Key, Macro };

    bool CheckFunction(std::string& error);
    bool CheckKey(std::string& error);
    bool CheckPlay(std::string& error);
    int MacroSlot(const settings::SettingsStore& store, int index, int shown) const;

    int profile_ = 0;
    int button_ = 0;
    bool apply_ = false;
    std::vector<std::string> words_;
    std::vector<std::string> play_;
    Action action_ = Action::Function;
    int32_t code_ = 0;    // Function: the stored code
    int32_t param_ = 0;   // Key: virtual key + 256 x modifiers
    int32_t mode_ = 0;    // Macro: the play mode; 0 keeps the button's own
};

}  // namespace cli
