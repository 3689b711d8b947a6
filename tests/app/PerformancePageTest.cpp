// The performance page and the DPI stages, shown from the compiled layouts
// and edited as the user does: every edit lands in the shown profile, and a
// refresh shows the store back.
#include "app/PerformancePage.h"
#include "tests/app/PageWindowFixture.h"

namespace NeritApp::test {
namespace {

constexpr std::u16string_view kPerformanceLayout = u"<Window size=\"960,560\"><NeritPerformance /></Window>";
constexpr std::u16string_view kMainControlLayout = u"<Window size=\"960,560\"><NeritMainControl /></Window>";

class PerformancePageTest : public PageWindowFixture {
protected:
    void OpenPage(std::u16string_view layout)
    {
        Open(layout);
        route = [this](SkinUI::NotifyMessage& message) { return page.Handle(message); };
    }

    int32_t Field(int p, settings::Field<int32_t> field) { return Profile(p).Get(field); }
    int32_t StageIndex(int p, int stage) { return Profile(p).Get(prof::kLaserLevels, 2 * size_t(stage - 1) + 1); }
    void SetStageIndex(int p, int stage, int32_t index)
    {
        Profile(p).Set(prof::kLaserLevels, 2 * size_t(stage - 1) + 1, index);
    }

    PerformancePage page{window.manager, *store, shownProfile};
};

struct OptionCase {
    const char16_t* name;
    settings::Field<int32_t> field;
    int32_t value;
};
const OptionCase kOptions[] = {
    {u"usb_rate_125_option", prof::kReportRate, 125},      {u"usb_rate_250_option", prof::kReportRate, 250},
    {u"usb_rate_500_option", prof::kReportRate, 500},      {u"usb_rate_1000_option", prof::kReportRate, 1000},
    {u"power_save_no_option", prof::kPowerSave, 0},        {u"power_save_60s_option", prof::kPowerSave, 60},
    {u"power_save_120s_option", prof::kPowerSave, 120},    {u"ambient_light_no_option", prof::kAmbientLight, 0},
    {u"ambient_light_20s_option", prof::kAmbientLight, 20}, {u"ambient_light_60s_option", prof::kAmbientLight, 60},
};

TEST_F(PerformancePageTest, EveryOptionStoresItsValueInTheShownProfileOnlyAndRefreshShowsItBack)
{
    OpenPage(kPerformanceLayout);
    shownProfile = 2;
    for (const OptionCase& option : kOptions) {
        // Start from a value no option stands for, so that the click must store.
        Profile(2).Set(option.field, int32_t{7});
        page.Refresh(2);
        ASSERT_FALSE(Selected(option.name));
        Click(option.name);
        EXPECT_TRUE(Selected(option.name));
        EXPECT_EQ(Field(2, option.field), option.value) << option.value;
    }
    // The other profiles kept the defaults.
    for (int p : {0, 1, 3, 4}) {
        EXPECT_EQ(Field(p, prof::kReportRate), 125);
        EXPECT_EQ(Field(p, prof::kPowerSave), 0);
        EXPECT_EQ(Field(p, prof::kAmbientLight), 0);
    }

    // Refresh selects exactly the option of each stored value.
    for (const OptionCase& option : kOptions) {
        Profile(4).Set(option.field, option.value);
        page.Refresh(4);
        for (const OptionCase& peer : kOptions) {
            if (peer.field.offset == option.field.offset) {
                EXPECT_EQ(Selected(peer.name), peer.value == option.value);
            }
        }
    }
    // A value no option stands for leaves its group without a selection.
    Profile(1).Set(prof::kReportRate, int32_t{300});
    page.Refresh(1);
    for (const char16_t* name : {u"usb_rate_125_option", u"usb_rate_250_option", u"usb_rate_500_option",
                                 u"usb_rate_1000_option"})
        EXPECT_FALSE(Selected(name));
}

TEST_F(PerformancePageTest, OptionsOfAGroupExcludeEachOtherAndOnlyASelectionStores)
{
    OpenPage(kPerformanceLayout);
    Click(u"usb_rate_500_option");
    Click(u"power_save_60s_option");
    EXPECT_TRUE(Selected(u"usb_rate_500_option"));
    EXPECT_FALSE(Selected(u"usb_rate_1000_option"));
    EXPECT_FALSE(Selected(u"usb_rate_125_option"));
    // Another group keeps its choice.
    EXPECT_TRUE(Selected(u"power_save_60s_option"));
    EXPECT_TRUE(Selected(u"ambient_light_no_option"));

    // An option that reports losing its selection changes nothing.
    Profile(0).Set(prof::kReportRate, int32_t{250});
    SkinUI::COptionUI& rate = Option(u"usb_rate_1000_option");
    rate.SetSelected(false);
    handled.clear();
    window.manager.SendNotify(&rate, u"selectchanged");
    EXPECT_EQ(Field(0, prof::kReportRate), 250);
    EXPECT_EQ(handled.size(), 1u);
}

TEST_F(PerformancePageTest, LevelSlidersStoreTheLevelAndRestOnEvenPositions)
{
    OpenPage(kPerformanceLayout);
    shownProfile = 1;
    Release(u"double_click_speed_slider", 7);
    EXPECT_EQ(Field(1, prof::kDoubleClickSpeed), 4);
    EXPECT_EQ(Slider(u"double_click_speed_slider").GetValue(), 8);
    Release(u"scroll_wheel_speed_slider", 7);
    EXPECT_EQ(Field(1, prof::kScrollSpeed), 5);
    EXPECT_EQ(Slider(u"scroll_wheel_speed_slider").GetValue(), 8);
    Release(u"scroll_wheel_speed_slider", 0);
    EXPECT_EQ(Field(1, prof::kScrollSpeed), 1);
    Release(u"scroll_wheel_speed_slider", 18);
    EXPECT_EQ(Field(1, prof::kScrollSpeed), 10);
    Release(u"pointer_acceleration_slider", 20);
    EXPECT_EQ(Field(1, prof::kPointerAcceleration), 10);
    Release(u"lift_off_distance_slider", 1);
    EXPECT_EQ(Field(1, prof::kLiftOffDistance), 1);
    EXPECT_EQ(Slider(u"lift_off_distance_slider").GetValue(), 2);
    Release(u"angle_snapping_slider", 13);
    EXPECT_EQ(Field(1, prof::kAngleSnapping), 7);
    EXPECT_EQ(Slider(u"angle_snapping_slider").GetValue(), 14);
    // Profile 0 kept its defaults.
    EXPECT_EQ(Field(0, prof::kScrollSpeed), 3);
    EXPECT_EQ(Field(0, prof::kAngleSnapping), 5);

    // Refresh: a level outside the range shows the thumb at 0.
    const std::pair<settings::Field<int32_t>, const char16_t*> sliders[] = {
        {prof::kScrollSpeed, u"scroll_wheel_speed_slider"},
        {prof::kDoubleClickSpeed, u"double_click_speed_slider"},
        {prof::kPointerAcceleration, u"pointer_acceleration_slider"},
        {prof::kLiftOffDistance, u"lift_off_distance_slider"},
        {prof::kAngleSnapping, u"angle_snapping_slider"},
    };
    for (const auto& [field, name] : sliders)
        Profile(3).Set(field, int32_t{6});
    page.Refresh(3);
    EXPECT_EQ(Slider(u"scroll_wheel_speed_slider").GetValue(), 10);
    for (const auto& [field, name] : sliders) {
        if (field.offset != prof::kScrollSpeed.offset) {
            EXPECT_EQ(Slider(name).GetValue(), 12);
        }
    }
    for (int32_t outside : {11, 12, -1}) {
        for (const auto& [field, name] : sliders)
            Profile(3).Set(field, outside);
        page.Refresh(3);
        for (const auto& [field, name] : sliders)
            EXPECT_EQ(Slider(name).GetValue(), 0) << outside;
    }
    Profile(3).Set(prof::kScrollSpeed, int32_t{0});
    Profile(3).Set(prof::kDoubleClickSpeed, int32_t{10});
    page.Refresh(3);
    EXPECT_EQ(Slider(u"scroll_wheel_speed_slider").GetValue(), 0);
    EXPECT_EQ(Slider(u"double_click_speed_slider").GetValue(), 20);
}

// The wheel moves a slider by its step without clamping; the value a step
// past either end counts as that end.
TEST_F(PerformancePageTest, ASliderValueAStepOutsideItsRangeIsClampedBeforeUse)
{
    OpenPage(kPerformanceLayout);
    Profile(0).Set(prof::kScrollSpeed, int32_t{10});
    Profile(0).Set(prof::kDoubleClickSpeed, int32_t{0});
    Profile(0).Set(prof::kLiftOffDistance, int32_t{10});
    page.Refresh(0);
    Wheel(u"scroll_wheel_speed_slider", 1);
    EXPECT_EQ(Field(0, prof::kScrollSpeed), 10);
    EXPECT_EQ(Slider(u"scroll_wheel_speed_slider").GetValue(), 18);
    Wheel(u"double_click_speed_slider", -1);
    EXPECT_EQ(Field(0, prof::kDoubleClickSpeed), 0);
    EXPECT_EQ(Slider(u"double_click_speed_slider").GetValue(), 0);
    Wheel(u"lift_off_distance_slider", 1);
    EXPECT_EQ(Field(0, prof::kLiftOffDistance), 10);
    EXPECT_EQ(Slider(u"lift_off_distance_slider").GetValue(), 20);
    // Inside the range the wheel moves one level.
    Wheel(u"scroll_wheel_speed_slider", -1);
    EXPECT_EQ(Field(0, prof::kScrollSpeed), 9);
    Release(u"scroll_wheel_speed_slider", -1);
    EXPECT_EQ(Field(0, prof::kScrollSpeed), 1);
}

// Moving a pointer slider is an edit like any other: the desktop changes
// only when the profile reaches the mouse.
TEST_F(PerformancePageTest, PointerSlidersReachTheDesktopOnlyWhenTheProfileIsWritten)
{
    OpenPage(kPerformanceLayout);
    shownProfile = 1;
    Release(u"scroll_wheel_speed_slider", 10);       // level 6
    Release(u"double_click_speed_slider", 16);       // level 8
    Release(u"pointer_acceleration_slider", 4);      // level 2
    EXPECT_TRUE(desktop.SetCalls().empty());
    EXPECT_EQ(desktop.WheelScrollLines(), 3u);

    ASSERT_TRUE(sync.WriteProfileToDevice(1));
    EXPECT_EQ(desktop.WheelScrollLines(), 6u);
    EXPECT_EQ(desktop.DoubleClickTime(), 1650u - 150u * 8u);
    EXPECT_EQ(desktop.MouseSpeed(), 4u);
}

TEST_F(PerformancePageTest, DpiStepButtonsWalkTheStageTableAndStopAtItsEnds)
{
    OpenPage(kMainControlLayout);
    shownProfile = 3;
    SetStageIndex(3, 2, 0);
    page.Refresh(3);
    EXPECT_EQ(Text(u"laser_level2_y_label"), u"250");
    const char16_t* upward[] = {u"500", u"1000", u"1250", u"1500", u"1750", u"2000", u"2500", u"3000", u"3500"};
    for (int index = 1; index <= 9; ++index) {
        Click(u"laser_L2Y_up_btn");
        EXPECT_EQ(Text(u"laser_level2_y_label"), upward[index - 1]);
        EXPECT_EQ(StageIndex(3, 2), index);
        EXPECT_EQ(Slider(u"laser_level2_y_slider").GetValue(), 2 * index);
    }
    Click(u"laser_L2Y_up_btn");
    EXPECT_EQ(Slider(u"laser_level2_y_slider").GetValue(), 18);
    EXPECT_EQ(Text(u"laser_level2_y_label"), u"3500");
    EXPECT_EQ(StageIndex(3, 2), 9);
    for (int i = 0; i < 11; ++i)
        Click(u"laser_L2Y_down_btn");
    EXPECT_EQ(Slider(u"laser_level2_y_slider").GetValue(), 0);
    EXPECT_EQ(Text(u"laser_level2_y_label"), u"250");
    EXPECT_EQ(StageIndex(3, 2), 0);
    // Only stage 2 of the shown profile moved.
    EXPECT_EQ(StageIndex(3, 1), 1);
    EXPECT_EQ(StageIndex(3, 3), 4);
    EXPECT_EQ(StageIndex(0, 2), 2);

    // Each stage's buttons move their own stage.
    Click(u"laser_L4Y_down_btn");
    EXPECT_EQ(StageIndex(3, 4), 5);
    EXPECT_EQ(Text(u"laser_level4_y_label"), u"1750");
    Click(u"laser_L1Y_up_btn");
    EXPECT_EQ(StageIndex(3, 1), 2);
}

TEST_F(PerformancePageTest, DpiStageSlidersSnapAndRefreshClampsTheStoredIndex)
{
    OpenPage(kMainControlLayout);
    Release(u"laser_level1_y_slider", 7);
    EXPECT_EQ(Slider(u"laser_level1_y_slider").GetValue(), 8);
    EXPECT_EQ(Text(u"laser_level1_y_label"), u"1500");
    EXPECT_EQ(StageIndex(0, 1), 4);
    // The wheel a step past either end.
    Release(u"laser_level3_y_slider", 18);
    Wheel(u"laser_level3_y_slider", 1);
    EXPECT_EQ(StageIndex(0, 3), 9);
    EXPECT_EQ(Slider(u"laser_level3_y_slider").GetValue(), 18);
    Release(u"laser_level3_y_slider", -2);
    EXPECT_EQ(StageIndex(0, 3), 0);
    EXPECT_EQ(Text(u"laser_level3_y_label"), u"250");

    SetStageIndex(2, 1, 12);
    SetStageIndex(2, 2, -1);
    SetStageIndex(2, 3, 9);
    SetStageIndex(2, 4, 0);
    page.Refresh(2);
    EXPECT_EQ(Text(u"laser_level1_y_label"), u"3500");
    EXPECT_EQ(Slider(u"laser_level1_y_slider").GetValue(), 18);
    EXPECT_EQ(Text(u"laser_level2_y_label"), u"3500");
    EXPECT_EQ(Text(u"laser_level3_y_label"), u"3500");
    EXPECT_EQ(Text(u"laser_level4_y_label"), u"250");
    EXPECT_EQ(Slider(u"laser_level4_y_slider").GetValue(), 0);
    // Showing a profile changes nothing in it.
    EXPECT_EQ(StageIndex(2, 1), 12);
}

TEST_F(PerformancePageTest, NotificationsOfOtherControlsAreLeftToTheWindow)
{
    OpenPage(kMainControlLayout);
    handled.clear();
    Click(u"profile2savebtn");
    Click(u"profile3_inuse_option");
    Click(u"button_1_btn");
    EXPECT_TRUE(handled.empty());
    SkinUI::NotifyMessage gone;
    gone.type = u"valuechanged";
    EXPECT_FALSE(page.Handle(gone));
}

}  // namespace
}  // namespace NeritApp::test
