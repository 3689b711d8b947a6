// The program's page containers: each builds its own layout resource into
// itself and holds the result as its only child. One class serves every
// page; the table below says which element makes which page from which
// layout.
#pragma once

#include "ui/ContainerUI.h"
#include "ui/LayoutBuilder.h"

#include <string_view>

namespace NeritApp {

struct NeritPageKind {
    std::u16string_view element;    // the layout element that makes the page
    std::u16string_view className;  // GetClass() of the page
    unsigned layout;                // 0: the page loads no layout
    bool passesCallback;            // the page's layout may name further pages
    bool keepsOwnReleaseAndWheel = false;  // button-up and wheel aimed at the page itself stop there
};

// In the order the element names are tried.
// clang-format off
inline constexpr NeritPageKind kNeritPages[] = {
    {u"NeritMainControl", u"NeritMainControlUI", 191, true},
    {u"NeritPerformance", u"NeritPerformanceUI", 192, false, true},
    {u"NeritMacro", u"NeritMacroManageUI", 190, false},
    {u"NeritSupport", u"NeritSupportUI", 193, false},
    {u"OpticalSensor", u"MC_SensorOpticalUI", 163, false},
    {u"HDSTSensor", u"MC_SensorHDSTUI", 161, false},
    {u"LaserSensor", u"MC_SensorLaserUI", 162, false},
    {u"OnTheFlyDPI", u"MC_OnTheFlyDPIUI", 164, false},
    {u"NeritCalibration", u"NeritCalibrationUI", 0, false},
};
// clang-format on

// The page an element name makes (exact, case-sensitive), or nullptr.
const NeritPageKind* FindPageKind(std::u16string_view element);

class NeritPageUI : public SkinUI::CContainerUI {
public:
    // Builds the kind's layout (unattached to any manager); a missing or
    // broken layout leaves the page empty. `callback` goes on to the
    // layout only for the kinds that pass it.
    NeritPageUI(const NeritPageKind& kind, SkinUI::IDialogBuilderCallback* callback);

    // Pages built inside pages stop at this depth, so a layout that names
    // its own page cannot recurse without end.
    static constexpr int kMaxNesting = 8;

    std::u16string_view GetClass() const override { return kind_.className; }
    void DoEvent(SkinUI::TEventUI& event) override;
    const NeritPageKind& Kind() const { return kind_; }

private:
    const NeritPageKind& kind_;
};

}  // namespace NeritApp
