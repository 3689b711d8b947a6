#include "settings/PointerLevels.h"

#include <algorithm>
#include <cstdint>

namespace settings {
namespace {

constexpr int kMinLevel = 1;
constexpr int kMaxLevel = 10;

// Level-to-value rules: value = base + step * L.
constexpr int64_t kDoubleClickBase = 1650;
constexpr int64_t kDoubleClickStep = -150;
constexpr int64_t kMouseSpeedStep = 2;

// Reading back works in percent of the level range, 10 to 100.
constexpr uint64_t kMinPercent = 10;
constexpr uint64_t kMaxPercent = 100;
constexpr uint32_t kFastestDoubleClick = 150;  // ms, level 10
constexpr uint32_t kDoubleClickSpan = 1500;    // ms from level 10 to level 0
constexpr uint32_t kMaxMouseSpeed = 20;

// x/10, rounded up when x mod 10 is 5 or more.
int RoundTenth(uint64_t x)
{
    return static_cast<int>(x / 10 + (x % 10 >= 5 ? 1 : 0));
}

int PercentToLevel(uint64_t percent)
{
    return RoundTenth(std::clamp(percent, kMinPercent, kMaxPercent));
}

int ScrollLevel(uint32_t lines)
{
    // Computed in 64 bits so that a huge count (0xFFFFFFFF is one screen per
    // notch) cannot wrap to a small one; it caps at 100 like any large value.
    return PercentToLevel(uint64_t{lines} * 10);
}

int DoubleClickLevel(uint32_t milliseconds)
{
    // Below 150 ms, (t - 150) would wrap in unsigned arithmetic; such times
    // are faster than level 10 allows, so they read as level 10.
    if (milliseconds < kFastestDoubleClick)
        return kMaxLevel;
    // 64 bits keep (t - 150) * 100 from wrapping for absurdly long times,
    // which then read as level 1 like any time from 1650 ms up.
    const uint64_t slowness = uint64_t{milliseconds - kFastestDoubleClick} * 100 / kDoubleClickSpan;
    const uint64_t speed = slowness >= kMaxPercent ? 0 : kMaxPercent - slowness;
    return PercentToLevel(speed);
}

int PointerLevel(uint32_t speed)
{
    // The desktop scale ends at 20; anything above counts as 20.
    return PercentToLevel(uint64_t{std::min(speed, kMaxMouseSpeed)} * 100 / kMaxMouseSpeed);
}

}  // namespace

int ClampLevel(int level)
{
    return std::clamp(level, kMinLevel, kMaxLevel);
}

unsigned WheelLinesForLevel(int level)
{
    return static_cast<unsigned>(ClampLevel(level));
}

unsigned DoubleClickTimeForLevel(int level)
{
    return static_cast<unsigned>(kDoubleClickBase + kDoubleClickStep * ClampLevel(level));
}

unsigned MouseSpeedForLevel(int level)
{
    return static_cast<unsigned>(kMouseSpeedStep * ClampLevel(level));
}

void ApplyPointerLevels(platform::PointerSettings& pointer, const PointerLevels& levels)
{
    pointer.SetDoubleClickTime(DoubleClickTimeForLevel(levels.doubleClickSpeed));
    pointer.SetWheelScrollLines(WheelLinesForLevel(levels.scrollSpeed));
    pointer.SetMouseSpeed(MouseSpeedForLevel(levels.pointerAcceleration));
}

PointerLevels ReadPointerLevels(platform::PointerSettings& pointer)
{
    PointerLevels levels{};
    levels.scrollSpeed = ScrollLevel(pointer.WheelScrollLines());
    levels.doubleClickSpeed = DoubleClickLevel(pointer.DoubleClickTime());
    levels.pointerAcceleration = PointerLevel(pointer.MouseSpeed());
    return levels;
}

int ScrollSliderPosition(int level)
{
    if (level < kMinLevel || level > kMaxLevel)
        return 0;
    return 2 * level - 2;
}

int ScrollLevelForPosition(int position)
{
    return (std::clamp(position, 0, kScrollSliderMax) + 1) / 2 + 1;
}

int LevelSliderPosition(int level)
{
    if (level < 0 || level > kMaxLevel)
        return 0;
    return 2 * level;
}

int LevelForPosition(int position)
{
    return (std::clamp(position, 0, kLevelSliderMax) + 1) / 2;
}

void ApplyPointerSettings(const SettingsStore& store, int index, platform::PointerSettings& pointer)
{
    const ProfileSettings profile = store.Profile(index);
    if (profile.Bytes() == nullptr)
        return;
    ApplyPointerLevels(pointer, {profile.Get(layout::profile::kScrollSpeed),
                                 profile.Get(layout::profile::kDoubleClickSpeed),
                                 profile.Get(layout::profile::kPointerAcceleration)});
}

void ReadPointerSettings(SettingsStore& store, int index, platform::PointerSettings& pointer)
{
    ProfileSettings profile = store.Profile(index);
    if (profile.Bytes() == nullptr)
        return;
    const PointerLevels levels = ReadPointerLevels(pointer);
    profile.Set(layout::profile::kScrollSpeed, int32_t{levels.scrollSpeed});
    profile.Set(layout::profile::kDoubleClickSpeed, int32_t{levels.doubleClickSpeed});
    profile.Set(layout::profile::kPointerAcceleration, int32_t{levels.pointerAcceleration});
}

}  // namespace settings
