// The sensor section built from the compiled sensor layouts inside a layout
// that holds them (the shipped main control page does not), edited as the
// user does.
#include "app/PerformancePage.h"
#include "app/SensorPages.h"
#include "tests/app/PageWindowFixture.h"
#include "ui/TabLayoutUI.h"

namespace NeritApp::test {
namespace {

constexpr std::u16string_view kSensorLayout =
    u"<Window size=\"1000,700\"><VerticalLayout>"
    u"<HorizontalLayout height=\"40\">"
    u"<Option name=\"sensor_optica_btn\" group=\"sensor_tabs\" width=\"100\" selected=\"true\" />"
    u"<Option name=\"sensor_hdst_btn\" group=\"sensor_tabs\" width=\"100\" />"
    u"<Option name=\"Sensor_Laser_Btn\" group=\"sensor_tabs\" width=\"100\" />"
    u"<Label name=\"sensormodetitlelabel\" />"
    u"</HorizontalLayout>"
    u"<TabLayout name=\"Tab_Sensor\"><OpticalSensor /><HDSTSensor /><LaserSensor /></TabLayout>"
    u"</VerticalLayout></Window>";
constexpr std::u16string_view kOnTheFlyLayout = u"<Window size=\"960,560\"><OnTheFlyDPI /></Window>";

class SensorPagesTest : public PageWindowFixture {
protected:
    void OpenPages(std::u16string_view layout)
    {
        Open(layout);
        route = [this](SkinUI::NotifyMessage& message) { return sensors.Handle(message) || stages.Handle(message); };
    }
    // Shows page 0..2 of the section.
    void ShowSensorPage(int page) { Get<SkinUI::CTabLayoutUI>(u"Tab_Sensor").SelectItem(page); }
    int32_t LaserX(int p, int stage) { return Profile(p).Get(prof::kLaserLevels, 2 * size_t(stage - 1)); }
    void SetLaserX(int p, int stage, int32_t x) { Profile(p).Set(prof::kLaserLevels, 2 * size_t(stage - 1), x); }
    static std::u16string DpiOption(std::u16string_view family, int stage, int dpi)
    {
        const std::string text = "_level" + std::to_string(stage) + "_" + std::to_string(dpi) + "_option";
        return std::u16string(family) + std::u16string(text.begin(), text.end());
    }

    SensorPages sensors{window.manager, *store, shownProfile, sensorTab};
    PerformancePage stages{window.manager, *store, shownProfile};
};

constexpr int kDpis[] = {400, 800, 1600, 3200, 4800};

TEST_F(SensorPagesTest, DpiOptionsStoreTheirStageOfTheShownProfileAndRefreshSelectsThem)
{
    OpenPages(kSensorLayout);
    shownProfile = 2;
    Click(u"optical_level3_1600_option");
    EXPECT_EQ(Profile(2).Get(prof::kOpticalDpi, 2), 1600);
    ShowSensorPage(1);
    Click(u"hdst_level4_400_option");
    Click(u"hdst_level1_3200_option");
    EXPECT_EQ(Profile(2).Get(prof::kHdstDpi, 3), 400);
    EXPECT_EQ(Profile(2).Get(prof::kHdstDpi, 0), 3200);
    // Nothing else moved: the other stages, the other family, other profiles.
    EXPECT_EQ(Profile(2).Get(prof::kOpticalDpi, 0), 400);
    EXPECT_EQ(Profile(2).Get(prof::kOpticalDpi, 3), 3200);
    EXPECT_EQ(Profile(2).Get(prof::kHdstDpi, 2), 1600);
    EXPECT_EQ(Profile(0).Get(prof::kOpticalDpi, 2), 1600);
    EXPECT_EQ(Profile(0).Get(prof::kHdstDpi, 3), 4800);

    // A hidden 4800 option still stores when it is selected.
    Option(u"optical_level2_4800_option").Selected(true);
    EXPECT_EQ(Profile(2).Get(prof::kOpticalDpi, 1), 4800);

    // Refresh selects exactly the stored value's option in each group.
    for (size_t k = 0; k < 4; ++k) {
        Profile(4).Set(prof::kOpticalDpi, k, int32_t(kDpis[k + 1]));
        Profile(4).Set(prof::kHdstDpi, k, int32_t(kDpis[3 - k]));
    }
    Profile(4).Set(prof::kHdstDpi, 1, int32_t{1234});
    sensors.Refresh(4);
    for (int stage = 1; stage <= 4; ++stage) {
        for (int dpi : kDpis) {
            EXPECT_EQ(Selected(DpiOption(u"optical", stage, dpi)), dpi == kDpis[stage]) << stage << " " << dpi;
            const bool hdst = stage != 2 && dpi == kDpis[4 - stage];
            EXPECT_EQ(Selected(DpiOption(u"hdst", stage, dpi)), hdst) << stage << " " << dpi;
        }
    }
}

TEST_F(SensorPagesTest, DpiOptionsOfAStageExcludeEachOtherAndADeselectionStoresNothing)
{
    OpenPages(kSensorLayout);
    EXPECT_TRUE(Selected(u"optical_level1_800_option"));
    Click(u"optical_level1_400_option");
    EXPECT_TRUE(Selected(u"optical_level1_400_option"));
    EXPECT_FALSE(Selected(u"optical_level1_800_option"));
    EXPECT_TRUE(Selected(u"optical_level2_800_option"));

    SkinUI::COptionUI& option = Option(u"optical_level1_3200_option");
    option.SetSelected(false);
    handled.clear();
    window.manager.SendNotify(&option, u"selectchanged");
    EXPECT_EQ(Profile(0).Get(prof::kOpticalDpi, 0), 400);
    EXPECT_EQ(handled.size(), 1u);
}

TEST_F(SensorPagesTest, LaserXSlidersAndStepButtonsEditTheStageAndRefreshShowsIt)
{
    OpenPages(kSensorLayout);
    ShowSensorPage(2);
    shownProfile = 1;
    Release(u"laser_level1_x_slider", 131);
    Click(u"laser_L1X_up_btn");
    EXPECT_EQ(Slider(u"laser_level1_x_slider").GetValue(), 132);
    EXPECT_EQ(Text(u"laser_level1_x_label"), u"6030");
    EXPECT_EQ(LaserX(1, 1), 6030);
    Click(u"laser_L1X_up_btn");
    EXPECT_EQ(Slider(u"laser_level1_x_slider").GetValue(), 132);
    EXPECT_EQ(LaserX(1, 1), 6030);

    Release(u"laser_level2_x_slider", 7);
    EXPECT_EQ(Slider(u"laser_level2_x_slider").GetValue(), 8);
    EXPECT_EQ(Text(u"laser_level2_x_label"), u"450");
    EXPECT_EQ(LaserX(1, 2), 450);
    Click(u"laser_L2X_down_btn");
    EXPECT_EQ(LaserX(1, 2), 360);
    for (int i = 0; i < 5; ++i)
        Click(u"laser_L2X_down_btn");
    EXPECT_EQ(Slider(u"laser_level2_x_slider").GetValue(), 0);
    EXPECT_EQ(Text(u"laser_level2_x_label"), u"90");
    EXPECT_EQ(LaserX(1, 2), 90);
    // The wheel a step past either end.
    Release(u"laser_level3_x_slider", 132);
    Wheel(u"laser_level3_x_slider", 1);
    EXPECT_EQ(LaserX(1, 3), 6030);
    Release(u"laser_level3_x_slider", -2);
    EXPECT_EQ(LaserX(1, 3), 90);
    // The stage indices and other profiles are untouched.
    EXPECT_EQ(Profile(1).Get(prof::kLaserLevels, 1), 1);
    EXPECT_EQ(LaserX(0, 1), 810);

    SetLaserX(3, 1, 60);
    SetLaserX(3, 2, 810);
    SetLaserX(3, 3, 6030);
    SetLaserX(3, 4, 0);
    sensors.Refresh(3);
    EXPECT_EQ(Text(u"laser_level1_x_label"), u"60");
    EXPECT_EQ(Slider(u"laser_level1_x_slider").GetValue(), 0);
    EXPECT_EQ(Text(u"laser_level2_x_label"), u"810");
    EXPECT_EQ(Slider(u"laser_level2_x_slider").GetValue(), 16);
    EXPECT_EQ(Slider(u"laser_level3_x_slider").GetValue(), 132);
    EXPECT_EQ(Text(u"laser_level4_x_label"), u"0");
    EXPECT_EQ(Slider(u"laser_level4_x_slider").GetValue(), 0);
}

TEST_F(SensorPagesTest, SensorTabsSwitchThePageSetTheTitleAndMarkTheVisitOnce)
{
    OpenPages(kSensorLayout);
    shownProfile = 1;
    ASSERT_EQ(Get<SkinUI::CTabLayoutUI>(u"Tab_Sensor").GetCurSel(), 0);
    Click(u"sensor_hdst_btn");
    EXPECT_EQ(Get<SkinUI::CTabLayoutUI>(u"Tab_Sensor").GetCurSel(), 1);
    EXPECT_EQ(sensorTab, 1);
    EXPECT_EQ(Profile(1).Get(prof::kHdstSelected), 1);
    EXPECT_EQ(Profile(0).Get(prof::kHdstSelected), 0);
    EXPECT_EQ(Get<SkinUI::CControlUI>(u"sensormodetitlelabel").GetBkImage(),
              u"file='MCBox2.bmp' source='678,146,851,195'");

    // Reported again while its page shows: the title again, the flag not.
    Profile(1).Set(prof::kHdstSelected, uint8_t{0});
    Get<SkinUI::CControlUI>(u"sensormodetitlelabel").SetAttribute(u"bkimage", u"");
    window.manager.SendNotify(&Option(u"sensor_hdst_btn"), u"selectchanged");
    EXPECT_EQ(Profile(1).Get(prof::kHdstSelected), 0);
    EXPECT_EQ(Get<SkinUI::CControlUI>(u"sensormodetitlelabel").GetBkImage(),
              u"file='MCBox2.bmp' source='678,146,851,195'");

    // Tab options are known by name in either case.
    Click(u"Sensor_Laser_Btn");
    EXPECT_EQ(sensorTab, 2);
    EXPECT_EQ(Profile(1).Get(prof::kLaserSelected), 1);
    EXPECT_EQ(Get<SkinUI::CControlUI>(u"sensormodetitlelabel").GetBkImage(),
              u"file='MCBox3.bmp' source='678,146,851,195'");
    Click(u"sensor_optica_btn");
    EXPECT_EQ(sensorTab, 0);
    EXPECT_EQ(Get<SkinUI::CTabLayoutUI>(u"Tab_Sensor").GetCurSel(), 0);
    EXPECT_EQ(Get<SkinUI::CControlUI>(u"sensormodetitlelabel").GetBkImage(),
              u"file='MCBox.bmp' source='678,146,851,195'");
}

// The on-the-fly page carries the laser page's controls; its Y sliders run
// 0..132 but the stage index still ends at 9.
TEST_F(SensorPagesTest, OnTheFlyPageEditsBothAxes)
{
    OpenPages(kOnTheFlyLayout);
    Release(u"laser_level2_y_slider", 100);
    EXPECT_EQ(Profile(0).Get(prof::kLaserLevels, 3), 9);
    EXPECT_EQ(Slider(u"laser_level2_y_slider").GetValue(), 18);
    EXPECT_EQ(Text(u"laser_level2_y_label"), u"3500");
    Click(u"laser_L2X_up_btn");
    EXPECT_EQ(Profile(0).Get(prof::kLaserLevels, 2), 180);
    Click(u"laser_L2Y_down_btn");
    EXPECT_EQ(Profile(0).Get(prof::kLaserLevels, 3), 8);
}

// The shipped main control page has no sensor section: nothing is handled
// and a refresh touches nothing.
TEST_F(SensorPagesTest, WithoutTheSectionNothingIsFoundAndNothingBreaks)
{
    OpenPages(u"<Window size=\"960,560\"><NeritMainControl /></Window>");
    route = [this](SkinUI::NotifyMessage& message) { return sensors.Handle(message); };
    sensors.Refresh(0);
    Click(u"laser_L1Y_up_btn");
    Click(u"profile2option");
    EXPECT_TRUE(handled.empty());
    EXPECT_EQ(sensorTab, 0);
}

}  // namespace
}  // namespace NeritApp::test
