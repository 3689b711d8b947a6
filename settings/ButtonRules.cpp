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

// Button 4 does not count: the mouse never receives its code.
bool TakesLastLeftClick(const ProfileSettings& profile, int button, int32_t code)
{
    const auto isLeft = [&](int b) {
        return profile.Get(layout::profile::kButtonFunction, static_cast<size_t>(b)) == function::LeftClick;
    };
    if (button < 0 || button >= kButtons || !isLeft(button) || code == function::LeftClick)
        return false;
    for (int other = 0; other < kButtons; ++other) {
        if (other != button && other != kFixedButton && isLeft(other))
            return false;
    }
    return true;
}

}  // namespace settings
