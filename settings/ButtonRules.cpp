#include "settings/ButtonRules.h"

#include "settings/ButtonFunctions.h"
#include "settings/SettingsLayout.h"

namespace settings {

bool IsPlayMode(int32_t mode)
{
    return (mode >= play_mode::kOnce && mode <= play_mode::kMaxRepeat) || mode == play_mode::kWhilePressed
        || mode == play_mode::kToggle;
}

int32_t KeptPlayMode(int32_t stored)
{
    return IsPlayMode(stored) ? stored : play_mode::kOnce;
}

namespace {

bool IsLeft(const ProfileSettings& profile, int button)
{
    return profile.Get(layout::profile::kButtonFunction, static_cast<size_t>(button)) == function::LeftClick;
}

}  // namespace

// Button 4 does not count: the mouse never receives its code.
int LeftClickCount(const ProfileSettings& profile)
{
    int count = 0;
    for (int b = 0; b < kButtons; ++b)
        count += b != kFixedButton && IsLeft(profile, b) ? 1 : 0;
    return count;
}

bool TakesLastLeftClick(const ProfileSettings& profile, int button, int32_t code)
{
    if (button < 0 || button >= kButtons || button == kFixedButton || !IsLeft(profile, button))
        return false;
    return code != function::LeftClick && LeftClickCount(profile) == 1;
}

}  // namespace settings
