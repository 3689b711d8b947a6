// The values the performance settings take, as the window offers them: the
// choices of the option groups and the levels of the sliders. The window's
// controls and neritctl's set command both work from these tables.
#pragma once

#include "settings/PointerLevels.h"
#include "settings/SettingsLayout.h"

#include <cstdint>
#include <span>

namespace settings {

inline constexpr int32_t kReportRates[] = {125, 250, 500, 1000};
inline constexpr int32_t kPowerSaveSeconds[] = {0, 60, 120};
inline constexpr int32_t kAmbientLightSeconds[] = {0, 20, 60};

inline constexpr bool IsChoice(std::span<const int32_t> choices, int32_t value)
{
    for (const int32_t choice : choices) {
        if (choice == value)
            return true;
    }
    return false;
}

// Laser X of a DPI stage: slider position p of 0..132 stands for
// x = 45 p + 90, so the values run 90..6030 in steps of 45.
inline constexpr int kLaserXBase = 90;
inline constexpr int kLaserXPerPosition = 45;
inline constexpr int kLaserXSliderMax = 132;
inline constexpr bool IsLaserX(int32_t x)
{
    return x >= kLaserXBase && x <= kLaserXBase + kLaserXPerPosition * kLaserXSliderMax
        && (x - kLaserXBase) % kLaserXPerPosition == 0;
}

// A level edited with a slider of 0..sliderMax that rests on even positions.
struct LevelSetting {
    Field<int32_t> field;
    int sliderMax;
    int (*levelFor)(int position);  // clamps the position to the slider's range
    int (*positionFor)(int level);
    int Lowest() const { return levelFor(0); }
    int Highest() const { return levelFor(sliderMax); }
};

inline constexpr LevelSetting kScrollSpeedLevel{layout::profile::kScrollSpeed, kScrollSliderMax,
                                                ScrollLevelForPosition, ScrollSliderPosition};
inline constexpr LevelSetting kDoubleClickLevel{layout::profile::kDoubleClickSpeed, kLevelSliderMax, LevelForPosition,
                                                LevelSliderPosition};
inline constexpr LevelSetting kPointerSpeedLevel{layout::profile::kPointerAcceleration, kLevelSliderMax,
                                                 LevelForPosition, LevelSliderPosition};
inline constexpr LevelSetting kLiftOffLevel{layout::profile::kLiftOffDistance, kLevelSliderMax, LevelForPosition,
                                            LevelSliderPosition};
inline constexpr LevelSetting kAngleSnappingLevel{layout::profile::kAngleSnapping, kLevelSliderMax, LevelForPosition,
                                                  LevelSliderPosition};

}  // namespace settings
