// What the performance page, the DPI stages and the sensor pages show and
// store: which control edits which profile field, with which values. The
// pages work from these tables only.
//
// A name pattern with '#' stands for the names with the stage number 1..4
// in its place (as in BoundControls.h).
#pragma once

#include "app/BoundControls.h"
#include "settings/LaserStages.h"
#include "settings/PerformanceValues.h"
#include "settings/PointerLevels.h"
#include "settings/SettingsLayout.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

namespace NeritApp::PageTables {

namespace prof = settings::layout::profile;

// An option that stores one value in a field when it becomes selected.
struct ValueOption {
    std::u16string_view name;
    settings::Field<int32_t> field;
    int32_t value;
};

// clang-format off
inline constexpr ValueOption kPerformanceOptions[] = {
    {u"usb_rate_125_option", prof::kReportRate, settings::kReportRates[0]},
    {u"usb_rate_250_option", prof::kReportRate, settings::kReportRates[1]},
    {u"usb_rate_500_option", prof::kReportRate, settings::kReportRates[2]},
    {u"usb_rate_1000_option", prof::kReportRate, settings::kReportRates[3]},
    {u"power_save_no_option", prof::kPowerSave, settings::kPowerSaveSeconds[0]},
    {u"power_save_60s_option", prof::kPowerSave, settings::kPowerSaveSeconds[1]},
    {u"power_save_120s_option", prof::kPowerSave, settings::kPowerSaveSeconds[2]},
    {u"ambient_light_no_option", prof::kAmbientLight, settings::kAmbientLightSeconds[0]},
    {u"ambient_light_20s_option", prof::kAmbientLight, settings::kAmbientLightSeconds[1]},
    {u"ambient_light_60s_option", prof::kAmbientLight, settings::kAmbientLightSeconds[2]},
};
// clang-format on

// A slider that stores a level; it rests on the level's even position.
struct LevelSlider {
    std::u16string_view name;
    settings::LevelSetting level;
};

inline constexpr LevelSlider kLevelSliders[] = {
    {u"scroll_wheel_speed_slider", settings::kScrollSpeedLevel},
    {u"double_click_speed_slider", settings::kDoubleClickLevel},
    {u"pointer_acceleration_slider", settings::kPointerSpeedLevel},
    {u"lift_off_distance_slider", settings::kLiftOffLevel},
    {u"angle_snapping_slider", settings::kAngleSnappingLevel},
};

inline constexpr int kStages = static_cast<int>(prof::kStages);

// The controls of one axis of the four stages.
struct StageControls {
    std::string_view slider;
    std::string_view label;
    std::string_view upButton;
    std::string_view downButton;
};

// One value of each of the four `laserLevels` pairs, edited with a slider
// (dragging snaps it to even positions), step buttons of two positions and
// a label.
struct StageAxis {
    StageControls names;
    int sliderMax;                    // the slider runs 0..sliderMax
    size_t pairSlot;                  // 0: x, 1: yIndex
    int (*storedFor)(int position);   // position already in 0..sliderMax
    int (*positionFor)(int stored);   // where a stored value puts the slider
    int (*shownFor)(int stored);      // the label's number
};

// The DPI stage index c (`yIndex`) rests at position 2c of 0..18; a stored
// index read as unsigned counts as 9 above 9.
inline constexpr int kLastDpiStage = static_cast<int>(settings::kLaserStageDpi.size()) - 1;
inline constexpr int DpiStageOf(int stored)
{
    return static_cast<uint32_t>(stored) > static_cast<uint32_t>(kLastDpiStage) ? kLastDpiStage : stored;
}
inline constexpr StageAxis kDpiStageAxis{
    {"laser_level#_y_slider", "laser_level#_y_label", "laser_L#Y_up_btn", "laser_L#Y_down_btn"},
    2 * kLastDpiStage,
    1,
    [](int position) { return (position + 1) / 2; },
    [](int stored) { return 2 * DpiStageOf(stored); },
    [](int stored) { return static_cast<int>(settings::LaserStageDpi(DpiStageOf(stored))); },
};

// Laser X: the slider rests on even positions, so it gives 90..6030 in
// steps of 90. The label shows x as stored.
using settings::kLaserXBase;
using settings::kLaserXPerPosition;
using settings::kLaserXSliderMax;
inline constexpr StageAxis kLaserXAxis{
    {"laser_level#_x_slider", "laser_level#_x_label", "laser_L#X_up_btn", "laser_L#X_down_btn"},
    kLaserXSliderMax,
    0,
    [](int position) { return kLaserXPerPosition * position + kLaserXBase; },
    [](int stored) {
        return stored < kLaserXBase ? 0 : std::min((stored - kLaserXBase) / kLaserXPerPosition, kLaserXSliderMax);
    },
    [](int stored) { return stored; },
};

// The sensor families whose stages are chosen with options, one option
// group per stage.
struct DpiOptionFamily {
    std::string_view pattern;  // '#' the stage, '%' the DPI
    settings::ArrayField<int32_t, prof::kStages> field;
};

inline constexpr DpiOptionFamily kDpiOptionFamilies[] = {
    {"optical_level#_%_option", prof::kOpticalDpi},
    {"hdst_level#_%_option", prof::kHdstDpi},
};
inline constexpr int32_t kSensorDpiValues[] = {400, 800, 1600, 3200, 4800};

// The sensor section's tab options.
struct SensorTab {
    std::u16string_view option;
    std::u16string_view titleImage;
    int page;
    settings::Field<uint8_t> visitedFlag;
};

// clang-format off
inline constexpr SensorTab kSensorTabs[] = {
    {u"sensor_optica_btn", u"file='MCBox.bmp' source='678,146,851,195'", 0, prof::kOpticalSelected},
    {u"sensor_hdst_btn", u"file='MCBox2.bmp' source='678,146,851,195'", 1, prof::kHdstSelected},
    {u"sensor_laser_btn", u"file='MCBox3.bmp' source='678,146,851,195'", 2, prof::kLaserSelected},
};
// clang-format on
inline constexpr std::u16string_view kSensorTitleLabel = u"sensormodetitlelabel";
inline constexpr std::u16string_view kSensorTabLayout = u"Tab_Sensor";

// The name of stage `stage` (1..4) from a '#' pattern.
inline std::u16string StageName(std::string_view pattern, int stage)
{
    return ExpandBoundName(BoundControl{0, pattern, stage, stage, {}}).front();
}

// The name of a sensor DPI option from its family pattern.
inline std::u16string DpiOptionName(std::string_view pattern, int stage, int32_t dpi)
{
    std::u16string name = StageName(pattern, stage);
    const size_t mark = name.find(u'%');
    const std::string digits = std::to_string(dpi);
    return name.replace(mark, 1, std::u16string(digits.begin(), digits.end()));
}

}  // namespace NeritApp::PageTables
