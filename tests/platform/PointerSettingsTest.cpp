#include "platform/DesktopPointerSettings.h"
#include "platform/FilePointerSettings.h"
#include "platform/GSettingsPointerSettings.h"
#include "tests/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <random>
#include <string>

namespace platform {
namespace {

namespace fs = std::filesystem;

class PointerSettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(folder.Path().empty());
        file = (folder.Path() / "sub" / "pointer.conf").string();
    }

    void WriteFile(const std::string& text) const
    {
        fs::create_directories(fs::path(file).parent_path());
        std::ofstream(file, std::ios::binary) << text;
    }
    std::string ReadFile() const
    {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    testsupport::TempFolder folder{"pointer-settings"};
    std::string file;
};

TEST_F(PointerSettingsTest, FileKeepsValuesAndReplacesItselfCleanly)
{
    FilePointerSettings first(file);
    EXPECT_EQ(first.WheelScrollLines(), 3u);
    EXPECT_EQ(first.DoubleClickTime(), 400u);
    EXPECT_EQ(first.MouseSpeed(), 10u);

    first.SetWheelScrollLines(0xFFFFFFFF);
    first.SetDoubleClickTime(900);
    first.SetMouseSpeed(7);
    FilePointerSettings second(file);
    EXPECT_EQ(second.WheelScrollLines(), 0xFFFFFFFFu);
    EXPECT_EQ(second.DoubleClickTime(), 900u);
    EXPECT_EQ(second.MouseSpeed(), 7u);
    EXPECT_EQ(ReadFile(), "wheel_scroll_lines=4294967295\ndouble_click_time=900\nmouse_speed=7\n");
    // The missing folder was created and no temporary file is left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(fs::path(file).parent_path()), fs::directory_iterator()), 1);

    second.SetMouseSpeed(0);
    EXPECT_EQ(first.MouseSpeed(), 1u);
    second.SetMouseSpeed(25);
    EXPECT_EQ(first.MouseSpeed(), 20u);
}

TEST_F(PointerSettingsTest, GarbledFileGivesDefaultsLineByLine)
{
    struct Case {
        std::string text;
        unsigned lines, doubleClick, speed;
    };
    const Case cases[] = {
        {"", 3, 400, 10},
        {std::string("\0\xff\n=\n==\nnonsense", 15), 3, 400, 10},
        {"wheel_scroll_lines=7\ndouble_click_time=abc\nmouse_speed=25\n", 7, 400, 10},
        {" mouse_speed = 4 \r\ndouble_click_time=500", 3, 500, 4},
        {"wheel_scroll_lines=-1\ndouble_click_time=99999999999\nmouse_speed=\n", 3, 400, 10},
        {"wheel_scroll_lines=5x\nmouse_speed=0\nwheel_scroll_lines\n", 3, 400, 10},
        {std::string(5000, '#') + "\nmouse_speed=4\n", 3, 400, 10},  // too large to be ours
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 60));
        WriteFile(c.text);
        FilePointerSettings settings(file);
        EXPECT_EQ(settings.WheelScrollLines(), c.lines);
        EXPECT_EQ(settings.DoubleClickTime(), c.doubleClick);
        EXPECT_EQ(settings.MouseSpeed(), c.speed);
    }

    // A write keeps what was readable and replaces the rest with clean lines.
    WriteFile("wheel_scroll_lines=7\ngarbage\n");
    FilePointerSettings(file).SetMouseSpeed(12);
    EXPECT_EQ(ReadFile(), "wheel_scroll_lines=7\ndouble_click_time=400\nmouse_speed=12\n");

    // A folder where the file should be reads as defaults and is left alone.
    fs::remove(file);
    fs::create_directories(file);
    FilePointerSettings blocked(file);
    blocked.SetWheelScrollLines(9);
    EXPECT_EQ(blocked.WheelScrollLines(), 3u);
    EXPECT_TRUE(fs::is_directory(file));
}

TEST(GSettingsSpeedTest, MapsTheSpeedScaleOntoTheDesktopRange)
{
    EXPECT_DOUBLE_EQ(GSettingsPointerSettings::SpeedToDesktop(1), -1.0);
    EXPECT_DOUBLE_EQ(GSettingsPointerSettings::SpeedToDesktop(20), 1.0);
    EXPECT_DOUBLE_EQ(GSettingsPointerSettings::SpeedToDesktop(0), -1.0);
    EXPECT_DOUBLE_EQ(GSettingsPointerSettings::SpeedToDesktop(99), 1.0);
    for (unsigned speed = 1; speed <= 20; ++speed) {
        const double value = GSettingsPointerSettings::SpeedToDesktop(speed);
        EXPECT_NEAR(value, (speed - 1) / 19.0 * 2 - 1, 1e-12);
        EXPECT_EQ(GSettingsPointerSettings::SpeedFromDesktop(value), speed);
    }
    EXPECT_EQ(GSettingsPointerSettings::SpeedFromDesktop(-7.0), 1u);
    EXPECT_EQ(GSettingsPointerSettings::SpeedFromDesktop(7.0), 20u);
    EXPECT_EQ(GSettingsPointerSettings::SpeedFromDesktop(0.0), 11u);  // the desktop's default
    EXPECT_EQ(GSettingsPointerSettings::SpeedFromDesktop(std::numeric_limits<double>::quiet_NaN()), 11u);
}

TEST_F(PointerSettingsTest, DesktopKeysTakeWhatTheyCanAndTheFileTheRest)
{
    if (!GSettingsPointerSettings::MouseSchemaInstalled())
        GTEST_SKIP() << "org.gnome.desktop.peripherals.mouse is not installed";
    GSettingsPointerSettings desktop(file, GSettingsPointerSettings::Store::InMemory);
    ASSERT_TRUE(desktop.DoubleClickOnDesktop());
    ASSERT_TRUE(desktop.SpeedOnDesktop());

    desktop.SetDoubleClickTime(1350);
    desktop.SetWheelScrollLines(6);
    for (unsigned speed = 1; speed <= 20; ++speed) {
        desktop.SetMouseSpeed(speed);
        EXPECT_EQ(desktop.MouseSpeed(), speed);
    }
    EXPECT_EQ(desktop.DoubleClickTime(), 1350u);
    EXPECT_EQ(desktop.WheelScrollLines(), 6u);

    FilePointerSettings fallback(file);
    EXPECT_EQ(fallback.WheelScrollLines(), 6u);
    EXPECT_EQ(fallback.DoubleClickTime(), 400u);
    EXPECT_EQ(fallback.MouseSpeed(), 10u);
}

TEST_F(PointerSettingsTest, DesktopFactoryFollowsTheInstalledSchema)
{
    // Only reads: nothing of the real desktop changes.
    const auto settings = CreateDesktopPointerSettings(file);
    if (GSettingsPointerSettings::MouseSchemaInstalled())
        EXPECT_NE(dynamic_cast<GSettingsPointerSettings*>(settings.get()), nullptr);
    else
        EXPECT_NE(dynamic_cast<FilePointerSettings*>(settings.get()), nullptr);
}

}  // namespace
}  // namespace platform
