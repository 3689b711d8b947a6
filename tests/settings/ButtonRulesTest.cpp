#include "settings/ButtonFunctions.h"
#include "settings/ButtonRules.h"
#include "settings/LaserStages.h"
#include "settings/SettingsDefaults.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

namespace prof = settings::layout::profile;
namespace fn = settings::function;

// The left-click guard counts the buttons the mouse gets: a Left Click on
// the fixed fourth button does not keep another one free.
TEST(ButtonRules, LastLeftClickIgnoresTheFixedButton)
{
    auto store = std::make_unique<settings::SettingsStore>();
    settings::ResetProfile(*store, 0);
    settings::ProfileSettings profile = store->Profile(0);
    EXPECT_TRUE(settings::TakesLastLeftClick(profile, 0, fn::RightClick));
    EXPECT_FALSE(settings::TakesLastLeftClick(profile, 0, fn::LeftClick));
    EXPECT_FALSE(settings::TakesLastLeftClick(profile, 1, fn::Disable));  // button 2 holds no left click
    profile.Set(prof::kButtonFunction, settings::kFixedButton, fn::LeftClick);
    EXPECT_TRUE(settings::TakesLastLeftClick(profile, 0, fn::SingleKey));
    profile.Set(prof::kButtonFunction, 6, fn::LeftClick);
    EXPECT_FALSE(settings::TakesLastLeftClick(profile, 0, fn::Macro));
    EXPECT_FALSE(settings::TakesLastLeftClick(profile, 7, fn::Macro));  // no such button
}

TEST(ButtonRules, PlayModesAndStageSnapping)
{
    for (const int32_t mode : {1, 2, 99, 241, 242})
        EXPECT_EQ(settings::KeptPlayMode(mode), mode);
    for (const int32_t mode : {0, -1, 100, 240, 243, 150})
        EXPECT_EQ(settings::KeptPlayMode(mode), settings::play_mode::kOnce) << mode;

    EXPECT_EQ(settings::NearestLaserStage(1), 0);
    EXPECT_EQ(settings::NearestLaserStage(-5000), 0);
    EXPECT_EQ(settings::NearestLaserStage(1125), 2);  // as near to 1000 as to 1250: the lower
    EXPECT_EQ(settings::NearestLaserStage(1126), 3);
    EXPECT_EQ(settings::NearestLaserStage(3500), 9);
    EXPECT_EQ(settings::NearestLaserStage(2147483647), 9);
}

}  // namespace
