// The performance page and the DPI stages of the main control page: report
// rate, power-save and ambient-light options, the five level sliders and
// the four DPI stages. Each edit changes the shown profile in the store at
// once; nothing reaches the mouse or the desktop until the profile is saved
// or the settings are applied.
#pragma once

#include "app/StageSliders.h"
#include "settings/SettingsStore.h"
#include "ui/NotifyMessage.h"
#include "ui/WindowUIManager.h"

namespace NeritApp {

class PerformancePage {
public:
    // Edits go to profile `shownProfile` (0..4) as it is at the time.
    PerformancePage(SkinUI::CWindowUIManager& manager, settings::SettingsStore& store, const int& shownProfile);

    // Options, level sliders and DPI stages from profile `profile`.
    void Refresh(int profile);
    // The page's "selectchanged", "valuechanged" and step "click"
    // notifications; true when the message was one of them.
    bool Handle(SkinUI::NotifyMessage& message);

private:
    bool OnOption(SkinUI::NotifyMessage& message);
    bool OnLevelSlider(SkinUI::NotifyMessage& message);
    settings::ProfileSettings Shown() const;

    SkinUI::CWindowUIManager& manager_;
    settings::SettingsStore& store_;
    const int& shownProfile_;
    StageSliders dpiStages_;
};

}  // namespace NeritApp
