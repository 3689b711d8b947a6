// A profile's three desktop pointer settings as levels, how a level maps to
// the desktop's value and back, and how the level sliders show them.
#pragma once

#include "platform/pointer_settings.h"
#include "settings/SettingsStore.h"

namespace settings {

struct PointerLevels {
    int scrollSpeed;          // 1..10
    int doubleClickSpeed;     // 0..10, 0 applied like 1
    int pointerAcceleration;  // 0..10, 0 applied like 1
};

// Levels of 11 or more count as 10, below 1 as 1.
int ClampLevel(int level);

unsigned WheelLinesForLevel(int level);       // L lines
unsigned DoubleClickTimeForLevel(int level);  // 1650 - 150 L ms
unsigned MouseSpeedForLevel(int level);       // 2 L on the 1..20 scale

// Sets double-click time, then wheel lines, then mouse speed.
void ApplyPointerLevels(platform::PointerSettings& pointer, const PointerLevels& levels);
// The levels that the desktop's current values stand for.
PointerLevels ReadPointerLevels(platform::PointerSettings& pointer);

// Sliders move in steps of two. The scroll slider runs 0..18; the other four
// level sliders (double-click, pointer, lift-off, angle snapping) run 0..20.
inline constexpr int kScrollSliderMax = 18;
inline constexpr int kLevelSliderMax = 20;

int ScrollSliderPosition(int level);  // 2 L - 2; 0 when L is outside 1..10
int ScrollLevelForPosition(int position);  // ceil(p / 2) + 1
int LevelSliderPosition(int level);   // 2 L; 0 when L is outside 0..10
int LevelForPosition(int position);   // ceil(p / 2)

// Applies the levels of profile `index` (0..4) to the desktop.
void ApplyPointerSettings(const SettingsStore& store, int index, platform::PointerSettings& pointer);
// Sets the levels of profile `index` from the desktop's current values.
void ReadPointerSettings(SettingsStore& store, int index, platform::PointerSettings& pointer);

}  // namespace settings
