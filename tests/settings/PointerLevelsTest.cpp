#include "settings/PointerLevels.h"

#include "platform/FakePointerSettings.h"
#include "platform/FilePointerSettings.h"
#include "tests/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <random>
#include <string>

namespace settings {
namespace {

using Call = platform::FakePointerSettings::Call;

struct Applied {
    int level;
    unsigned lines;
    unsigned doubleClickMs;
    unsigned speed;
};

TEST(PointerLevelsTest, AppliesClampedLevelsInOrder)
{
    const Applied cases[] = {
        {-3, 1, 1500, 2}, {0, 1, 1500, 2}, {1, 1, 1500, 2}, {5, 5, 900, 10},
        {10, 10, 150, 20}, {11, 10, 150, 20}, {12, 10, 150, 20},
    };
    for (const Applied& c : cases) {
        SCOPED_TRACE(c.level);
        platform::FakePointerSettings fake;
        ApplyPointerLevels(fake, PointerLevels{c.level, c.level, c.level});
        EXPECT_EQ(fake.WheelScrollLines(), c.lines);
        EXPECT_EQ(fake.DoubleClickTime(), c.doubleClickMs);
        EXPECT_EQ(fake.MouseSpeed(), c.speed);
        const std::vector<Call> order = {Call::DoubleClickTime, Call::WheelScrollLines, Call::MouseSpeed};
        EXPECT_EQ(fake.SetCalls(), order);
    }
}

TEST(PointerLevelsTest, ReadsLevelsFromDesktopValues)
{
    struct Read {
        unsigned raw;
        int level;
    };
    const Read lines[] = {{0, 1}, {1, 1}, {3, 3}, {10, 10}, {11, 10}, {0x1999999A, 10}, {0xFFFFFFFF, 10}};
    const Read times[] = {{0, 10}, {149, 10}, {150, 10}, {239, 10}, {240, 9}, {500, 8}, {900, 5},
                          {1500, 1}, {1650, 1}, {5000, 1}, {0xFFFFFFFF, 1}};
    const Read speeds[] = {{0, 1}, {1, 1}, {3, 2}, {10, 5}, {19, 10}, {20, 10}, {21, 10}, {0xFFFFFFFF, 10}};
    platform::FakePointerSettings fake;
    for (const Read& r : lines) {
        fake.SetWheelScrollLines(r.raw);
        EXPECT_EQ(ReadPointerLevels(fake).scrollSpeed, r.level) << r.raw << " lines";
    }
    for (const Read& r : times) {
        fake.SetDoubleClickTime(r.raw);
        EXPECT_EQ(ReadPointerLevels(fake).doubleClickSpeed, r.level) << r.raw << " ms";
    }
    for (const Read& r : speeds) {
        fake.SetMouseSpeed(r.raw);
        EXPECT_EQ(ReadPointerLevels(fake).pointerAcceleration, r.level) << "speed " << r.raw;
    }
}

void ExpectEveryLevelRoundTrips(platform::PointerSettings& pointer)
{
    for (int level = 1; level <= 10; ++level) {
        // Different levels per setting so that a mix-up between them shows.
        const PointerLevels applied{level, 11 - level, (level % 10) + 1};
        ApplyPointerLevels(pointer, applied);
        const PointerLevels read = ReadPointerLevels(pointer);
        EXPECT_EQ(read.scrollSpeed, applied.scrollSpeed) << level;
        EXPECT_EQ(read.doubleClickSpeed, applied.doubleClickSpeed) << level;
        EXPECT_EQ(read.pointerAcceleration, applied.pointerAcceleration) << level;
    }
}

TEST(PointerLevelsTest, EveryLevelReadsBackAsApplied)
{
    platform::FakePointerSettings fake;
    ExpectEveryLevelRoundTrips(fake);

    const testsupport::TempFolder folder("pointer-levels");
    platform::FilePointerSettings file(folder.File("pointer.conf"));
    ExpectEveryLevelRoundTrips(file);
}

TEST(PointerLevelsTest, SlidersRestOnTheEvenPositionOfTheirLevel)
{
    EXPECT_EQ(ScrollLevelForPosition(7), 5);
    EXPECT_EQ(ScrollSliderPosition(ScrollLevelForPosition(7)), 8);
    for (int p = 0; p <= kScrollSliderMax; ++p) {
        const int level = ScrollLevelForPosition(p);
        EXPECT_EQ(level, (p + 1) / 2 + 1) << p;
        EXPECT_EQ(ScrollSliderPosition(level), p % 2 == 0 ? p : p + 1) << p;
    }
    for (int p = 0; p <= kLevelSliderMax; ++p) {
        const int level = LevelForPosition(p);
        EXPECT_EQ(level, (p + 1) / 2) << p;
        EXPECT_EQ(LevelSliderPosition(level), p % 2 == 0 ? p : p + 1) << p;
    }
    // Positions outside a slider's range are clamped to it.
    EXPECT_EQ(ScrollLevelForPosition(-5), 1);
    EXPECT_EQ(ScrollLevelForPosition(19), 10);
    EXPECT_EQ(LevelForPosition(-1), 0);
    EXPECT_EQ(LevelForPosition(21), 10);
    // Levels without a position show the slider at 0.
    EXPECT_EQ(ScrollSliderPosition(0), 0);
    EXPECT_EQ(ScrollSliderPosition(11), 0);
    EXPECT_EQ(LevelSliderPosition(0), 0);
    EXPECT_EQ(LevelSliderPosition(-1), 0);
    EXPECT_EQ(LevelSliderPosition(11), 0);
}

TEST(PointerLevelsTest, ProfileLevelsGoToAndComeFromTheDesktop)
{
    auto store = std::make_unique<SettingsStore>();
    ProfileSettings profile = store->Profile(3);
    profile.Set(layout::profile::kScrollSpeed, int32_t{7});
    profile.Set(layout::profile::kDoubleClickSpeed, int32_t{0});
    profile.Set(layout::profile::kPointerAcceleration, int32_t{12});
    platform::FakePointerSettings desktop;
    ApplyPointerSettings(*store, 3, desktop);
    EXPECT_EQ(desktop.WheelScrollLines(), 7u);
    EXPECT_EQ(desktop.DoubleClickTime(), 1500u);
    EXPECT_EQ(desktop.MouseSpeed(), 20u);

    ReadPointerSettings(*store, 1, desktop);
    EXPECT_EQ(store->Profile(1).Get(layout::profile::kScrollSpeed), 7);
    EXPECT_EQ(store->Profile(1).Get(layout::profile::kDoubleClickSpeed), 1);
    EXPECT_EQ(store->Profile(1).Get(layout::profile::kPointerAcceleration), 10);
    ReadPointerSettings(*store, 9, desktop);  // no such profile: nothing happens
}

}  // namespace
}  // namespace settings
