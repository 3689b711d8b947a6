// The main control page's button assignment: the menu of functions that a
// click on one of the assignment buttons opens, what its commands store in
// the shown profile, the guard that keeps one left click on the mouse with
// its timed warning, the answers of the key and play-option popups, and the
// buttons' texts and hover pictures.
#pragma once

#include "app/NeritMainState.h"
#include "settings/ButtonRules.h"
#include "settings/SettingsStore.h"
#include "ui/ControlUI.h"
#include "ui/WindowUIManager.h"

#include <cstdint>
#include <string>

namespace NeritApp {

// The key popup's answer: the key's virtual-key code, its index in the key
// name table and the modifier bits.
struct SingleKeyResult {
    int virtualKey = 0;
    int keyIndex = 0;
    int modifiers = 0;
};

// The play-option popup's answer: 0 play once, 1 play `count` times, 2 play
// while held, 3 toggle continuous play.
struct PlayOptionResult {
    int mode = 0;
    int count = 0;
};

class ButtonAssignment {
public:
    static constexpr unsigned kWarningTimer = 14;
    static constexpr unsigned kWarningMs = 4000;
    static constexpr int kMenuWidth = 180;
    static constexpr uint32_t kMenuColor = 0xFF202020;
    // A profile keeps ten macros: the menu offers no more.
    static constexpr int kMenuMacros = 10;
    static constexpr int kFirstMacroCommand = 2041;
    static constexpr int kLastMacroCommand = 2055;
    static constexpr int kSingleKeyCommand = 2030;
    static constexpr int kDefaultCommand = 2032;
    // The mouse always receives Profile Select for its fourth button.
    static constexpr int kFixedButton = settings::kFixedButton;

    // The popups a choice opens; the window provides them.
    class Popups {
    public:
        virtual ~Popups() = default;
        virtual void OpenKeyPopup(SkinUI::CControlUI* anchor) = 0;
        virtual void OpenPlayOptionPopup(SkinUI::CControlUI* anchor, int button, int profile) = 0;
    };

    ButtonAssignment(SkinUI::CWindowUIManager& manager, settings::SettingsStore& store, NeritMainState& state,
                     const int& language, Popups& popups);

    // A click on assignment button `number` (1..7).
    void OnButtonClick(int number, SkinUI::CControlUI* sender);
    // Opens the menu at a client point of the main window.
    void ShowAssignMenu(int x, int y);
    // A command of the menu (1999 .. 2055); other ids are left alone.
    static bool IsAssignCommand(int command) { return command >= 1999 && command <= kLastMacroCommand; }
    void OnCommand(int command);
    void OnWarningTimer();
    void OnSingleKey(const SingleKeyResult& result);
    void OnPlayOption(const PlayOptionResult& result);

    // The buttons' texts for profile `index`.
    void ShowTexts(int index);
    // The picture of a mouse button lights while the pointer is over its
    // assignment button or its label.
    void ShowHoverPictures(int x, int y);

private:
    SkinUI::CControlUI* Button(int button) const;
    SkinUI::CControlUI* HintLabel(int button) const;
    std::u16string MacroName(int slot) const;
    std::u16string AssignedText(int32_t code, int32_t param, int macros) const;
    static std::u16string KeyText(const std::u16string& keyName);
    int MenuMacroCount() const;
    bool GuardRefuses(int button, int command);
    void ShowWarning(int button);
    void ClearWarning();
    void Assign(int button, int32_t code, int32_t param, const std::u16string& text);
    bool ChooseMacro(int button, int command);

    SkinUI::CWindowUIManager& manager_;
    settings::SettingsStore& store_;
    NeritMainState& state_;
    const int& language_;
    Popups& popups_;
};

}  // namespace NeritApp
