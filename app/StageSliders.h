// The four stages of one `laserLevels` axis: sliders, step buttons and
// labels showing and editing the shown profile's values.
#pragma once

#include "app/PageTables.h"
#include "settings/SettingsStore.h"
#include "ui/NotifyMessage.h"
#include "ui/SliderUI.h"
#include "ui/WindowUIManager.h"

namespace NeritApp {

class StageSliders {
public:
    // Edits go to profile `shownProfile` (0..4) as it is at the time.
    StageSliders(SkinUI::CWindowUIManager& manager, settings::SettingsStore& store, const int& shownProfile,
                 const PageTables::StageAxis& axis);

    // Labels and sliders from profile `profile`.
    void Refresh(int profile);
    // "valuechanged" of a stage slider, "click" of a step button; true when
    // the message was one of them.
    bool Handle(SkinUI::NotifyMessage& message);

private:
    // The stage 1..4 whose control `pattern` names the sender, or 0.
    int StageOf(const SkinUI::NotifyMessage& message, std::string_view pattern) const;
    void OnSlider(int stage, SkinUI::CSliderUI& slider);
    void OnStep(int stage, int delta);
    // Puts the slider at `position` and shows and stores what it stands for.
    void Set(int stage, SkinUI::CSliderUI& slider, SkinUI::CControlUI& label, int position);
    int Clamp(int position) const;

    SkinUI::CWindowUIManager& manager_;
    settings::SettingsStore& store_;
    const int& shownProfile_;
    const PageTables::StageAxis& axis_;
};

}  // namespace NeritApp
