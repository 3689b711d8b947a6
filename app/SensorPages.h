// The sensor section: the optical and HDST pages' DPI options of the four
// stages, the laser page's (and "OnTheFlyDPI"'s) X sliders with their step
// buttons, and the section's tab options. Edits change the shown profile in
// the store at once. Layouts without the section simply lack the controls.
#pragma once

#include "app/StageSliders.h"
#include "settings/SettingsStore.h"
#include "ui/NotifyMessage.h"
#include "ui/WindowUIManager.h"

#include <string>
#include <vector>

namespace NeritApp {

class SensorPages {
public:
    // Edits go to profile `shownProfile` (0..4) as it is at the time;
    // `currentSensorTab` (0 optical, 1 HDST, 2 laser) follows the tab.
    SensorPages(SkinUI::CWindowUIManager& manager, settings::SettingsStore& store, const int& shownProfile,
                int& currentSensorTab);

    // The DPI options and the laser X stages from profile `profile`.
    void Refresh(int profile);
    // The section's "selectchanged", "valuechanged" and X step "click"
    // notifications; true when the message was one of them.
    bool Handle(SkinUI::NotifyMessage& message);

private:
    struct DpiOption {
        std::u16string name;
        settings::ArrayField<int32_t, settings::layout::profile::kStages> field;
        size_t stage;  // 0..3
        int32_t value;
    };

    bool OnSensorTab(SkinUI::NotifyMessage& message);
    bool OnDpiOption(SkinUI::NotifyMessage& message);
    settings::ProfileSettings Shown() const;

    SkinUI::CWindowUIManager& manager_;
    settings::SettingsStore& store_;
    const int& shownProfile_;
    int& currentSensorTab_;
    StageSliders laserX_;
    std::vector<DpiOption> dpiOptions_;
};

}  // namespace NeritApp
