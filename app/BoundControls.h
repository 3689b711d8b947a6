// Every control the program finds by name, with the layout resource that
// must hold it and the control class it must be. The windows bind their
// controls from this table, and the layout checks read it, so the two cannot
// drift apart.
//
// A pattern with '#' stands for the names with the numbers first..last put
// in its place ("button_#_btn", 1, 7: "button_1_btn" … "button_7_btn").
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace NeritApp {

// Layout resource ids.
namespace Layout {
inline constexpr unsigned kMainFrame = 189;
inline constexpr unsigned kMacroPage = 190;
inline constexpr unsigned kMainControlPage = 191;
inline constexpr unsigned kPerformancePage = 192;
inline constexpr unsigned kSupportPage = 193;
inline constexpr unsigned kHdstSensorPage = 161;
inline constexpr unsigned kLaserSensorPage = 162;
inline constexpr unsigned kOpticalSensorPage = 163;
inline constexpr unsigned kOnTheFlyDpiPage = 164;
inline constexpr unsigned kPlayOptionPopup = 194;
inline constexpr unsigned kMessageBox = 195;
inline constexpr unsigned kKeyPopup = 196;
inline constexpr unsigned kConfirmationPopup = 197;
inline constexpr unsigned kExitChangesPopup = 198;
}  // namespace Layout

struct BoundControl {
    unsigned layout;
    std::string_view pattern;
    int first = 0;  // the numbers put in place of '#' (none when first > last)
    int last = -1;
    std::u16string_view className;  // GetClass() of the control
    int minimum = 0;  // sliders: the range the layout gives (0, 0 otherwise)
    int maximum = 0;
};

inline constexpr std::u16string_view kButton = u"ButtonUI";
inline constexpr std::u16string_view kOption = u"OptionUI";
inline constexpr std::u16string_view kLabel = u"LabelUI";
inline constexpr std::u16string_view kSlider = u"SliderUI";
inline constexpr std::u16string_view kEdit = u"EditUI";
inline constexpr std::u16string_view kCombo = u"ComboUI";
inline constexpr std::u16string_view kList = u"ListUI";
inline constexpr std::u16string_view kTabLayout = u"TabLayoutUI";

// clang-format off
inline constexpr BoundControl kBoundControls[] = {
    // Main frame: caption buttons, language, lighting, the four tabs.
    {Layout::kMainFrame, "closebtn", 0, -1, kButton},
    {Layout::kMainFrame, "maxbtn", 0, -1, kButton},
    {Layout::kMainFrame, "restorebtn", 0, -1, kButton},
    {Layout::kMainFrame, "minbtn", 0, -1, kButton},
    {Layout::kMainFrame, "masterresetbtn", 0, -1, kButton},
    {Layout::kMainFrame, "quitbtn", 0, -1, kButton},
    {Layout::kMainFrame, "selectlanguagecmb", 0, -1, kCombo},
    {Layout::kMainFrame, "ledlightonoffoption", 0, -1, kOption},
    {Layout::kMainFrame, "maincontrolbtn", 0, -1, kOption},
    {Layout::kMainFrame, "performancebtn", 0, -1, kOption},
    {Layout::kMainFrame, "macromanagebtn", 0, -1, kOption},
    {Layout::kMainFrame, "techsupportbtn", 0, -1, kOption},
    {Layout::kMainFrame, "Tabs", 0, -1, kTabLayout},

    // Main control page: button assignment, profiles, DPI stages.
    {Layout::kMainControlPage, "button_#_btn", 1, 7, kButton},
    {Layout::kMainControlPage, "button#_label", 1, 7, kLabel},
    {Layout::kMainControlPage, "atleastoneleftLabel#", 1, 7, kLabel},
    {Layout::kMainControlPage, "leftclickimage_label", 0, -1, kLabel},
    {Layout::kMainControlPage, "rightclickimage_label", 0, -1, kLabel},
    {Layout::kMainControlPage, "middleclickimage_label", 0, -1, kLabel},
    {Layout::kMainControlPage, "profileswitchimage_label", 0, -1, kLabel},
    {Layout::kMainControlPage, "dpiswitchimage_label", 0, -1, kLabel},
    {Layout::kMainControlPage, "ieforwardimage_label", 0, -1, kLabel},
    {Layout::kMainControlPage, "iebackwardimage_label", 0, -1, kLabel},
    {Layout::kMainControlPage, "profile#option", 1, 5, kOption},
    {Layout::kMainControlPage, "profile#_inuse_option", 1, 5, kOption},
    {Layout::kMainControlPage, "profile#savebtn", 1, 5, kButton},
    {Layout::kMainControlPage, "profile#defaultbtn", 1, 5, kButton},
    {Layout::kMainControlPage, "profileloadbtn", 0, -1, kButton},
    {Layout::kMainControlPage, "profilesavebtn", 0, -1, kButton},
    {Layout::kMainControlPage, "profilecancelbtn", 0, -1, kButton},
    {Layout::kMainControlPage, "profileokbtn", 0, -1, kButton},
    {Layout::kMainControlPage, "Profilenamelabel", 0, -1, kLabel},
    {Layout::kMainControlPage, "laser_level#_y_slider", 1, 4, kSlider, 0, 18},
    {Layout::kMainControlPage, "laser_level#_y_label", 1, 4, kLabel},
    {Layout::kMainControlPage, "laser_L#Y_up_btn", 1, 4, kButton},
    {Layout::kMainControlPage, "laser_L#Y_down_btn", 1, 4, kButton},

    // Performance page: the profile twins, rate, timeouts, pointer sliders.
    {Layout::kPerformancePage, "kprofile#option", 1, 5, kOption},
    {Layout::kPerformancePage, "kprofile#_inuse_option", 1, 5, kOption},
    {Layout::kPerformancePage, "kprofile#savebtn", 1, 5, kButton},
    {Layout::kPerformancePage, "kprofile#defaultbtn", 1, 5, kButton},
    {Layout::kPerformancePage, "kprofileloadbtn", 0, -1, kButton},
    {Layout::kPerformancePage, "kprofilesavebtn", 0, -1, kButton},
    {Layout::kPerformancePage, "kprofilecancelbtn", 0, -1, kButton},
    {Layout::kPerformancePage, "kprofileokbtn", 0, -1, kButton},
    {Layout::kPerformancePage, "kProfilenamelabel", 0, -1, kLabel},
    {Layout::kPerformancePage, "usb_rate_125_option", 0, -1, kOption},
    {Layout::kPerformancePage, "usb_rate_250_option", 0, -1, kOption},
    {Layout::kPerformancePage, "usb_rate_500_option", 0, -1, kOption},
    {Layout::kPerformancePage, "usb_rate_1000_option", 0, -1, kOption},
    {Layout::kPerformancePage, "power_save_no_option", 0, -1, kOption},
    {Layout::kPerformancePage, "power_save_60s_option", 0, -1, kOption},
    {Layout::kPerformancePage, "power_save_120s_option", 0, -1, kOption},
    {Layout::kPerformancePage, "ambient_light_no_option", 0, -1, kOption},
    {Layout::kPerformancePage, "ambient_light_20s_option", 0, -1, kOption},
    {Layout::kPerformancePage, "ambient_light_60s_option", 0, -1, kOption},
    {Layout::kPerformancePage, "scroll_wheel_speed_slider", 0, -1, kSlider, 0, 18},
    {Layout::kPerformancePage, "double_click_speed_slider", 0, -1, kSlider, 0, 20},
    {Layout::kPerformancePage, "pointer_acceleration_slider", 0, -1, kSlider, 0, 20},
    {Layout::kPerformancePage, "lift_off_distance_slider", 0, -1, kSlider, 0, 20},
    {Layout::kPerformancePage, "angle_snapping_slider", 0, -1, kSlider, 0, 20},

    // Macro page.
    {Layout::kMacroPage, "macro_new_btn", 0, -1, kButton},
    {Layout::kMacroPage, "macro_rename_btn", 0, -1, kButton},
    {Layout::kMacroPage, "macro_import_btn", 0, -1, kButton},
    {Layout::kMacroPage, "macro_export_btn", 0, -1, kButton},
    {Layout::kMacroPage, "macro_delete_btn", 0, -1, kButton},
    {Layout::kMacroPage, "macro_record_btn", 0, -1, kButton},
    {Layout::kMacroPage, "macro_record_stop_btn", 0, -1, kButton},
    {Layout::kMacroPage, "insert_delay_time_btn", 0, -1, kButton},
    {Layout::kMacroPage, "edit_delay_time_btn", 0, -1, kButton},
    {Layout::kMacroPage, "insert_mouse_event_btn", 0, -1, kButton},
    {Layout::kMacroPage, "delete_mouse_event_btn", 0, -1, kButton},
    {Layout::kMacroPage, "ignore_delay_option", 0, -1, kOption},
    {Layout::kMacroPage, "insert_default_delay_option", 0, -1, kOption},
    {Layout::kMacroPage, "default_delay_time_edit", 0, -1, kEdit},
    {Layout::kMacroPage, "insert_delay_time_edit", 0, -1, kEdit},
    {Layout::kMacroPage, "edit_delay_time_edit", 0, -1, kEdit},
    {Layout::kMacroPage, "macro_name_list", 0, -1, kList},
    {Layout::kMacroPage, "macro_item_list", 0, -1, kList},

    // Support page.
    {Layout::kSupportPage, "apversionlabel", 0, -1, kLabel},
    {Layout::kSupportPage, "fwversionlabel", 0, -1, kLabel},
    {Layout::kSupportPage, "websitelinkbtn", 0, -1, kButton},
    {Layout::kSupportPage, "update_fw_btn", 0, -1, kButton},
    {Layout::kSupportPage, "update_app_btn", 0, -1, kButton},
    {Layout::kSupportPage, "link_website_btn", 0, -1, kButton},
    {Layout::kSupportPage, "socialnetworklinkbtn", 0, -1, kButton},
    {Layout::kSupportPage, "link_socialnetwork_btn", 0, -1, kButton},

    // Sensor pages (built and tested; the main control page leaves them out).
    {Layout::kOpticalSensorPage, "optical_level#_400_option", 1, 4, kOption},
    {Layout::kOpticalSensorPage, "optical_level#_800_option", 1, 4, kOption},
    {Layout::kOpticalSensorPage, "optical_level#_1600_option", 1, 4, kOption},
    {Layout::kOpticalSensorPage, "optical_level#_3200_option", 1, 4, kOption},
    {Layout::kOpticalSensorPage, "optical_level#_4800_option", 1, 4, kOption},
    {Layout::kHdstSensorPage, "hdst_level#_400_option", 1, 4, kOption},
    {Layout::kHdstSensorPage, "hdst_level#_800_option", 1, 4, kOption},
    {Layout::kHdstSensorPage, "hdst_level#_1600_option", 1, 4, kOption},
    {Layout::kHdstSensorPage, "hdst_level#_3200_option", 1, 4, kOption},
    {Layout::kHdstSensorPage, "hdst_level#_4800_option", 1, 4, kOption},
    {Layout::kLaserSensorPage, "laser_level#_x_slider", 1, 4, kSlider, 0, 132},
    {Layout::kLaserSensorPage, "laser_level#_x_label", 1, 4, kLabel},
    {Layout::kLaserSensorPage, "laser_L#X_up_btn", 1, 4, kButton},
    {Layout::kLaserSensorPage, "laser_L#X_down_btn", 1, 4, kButton},
    {Layout::kLaserSensorPage, "laser_level#_y_slider", 1, 4, kSlider, 0, 132},
    {Layout::kLaserSensorPage, "laser_level#_y_label", 1, 4, kLabel},
    {Layout::kLaserSensorPage, "laser_L#Y_up_btn", 1, 4, kButton},
    {Layout::kLaserSensorPage, "laser_L#Y_down_btn", 1, 4, kButton},
    {Layout::kOnTheFlyDpiPage, "laser_level#_x_slider", 1, 4, kSlider, 0, 132},
    {Layout::kOnTheFlyDpiPage, "laser_level#_x_label", 1, 4, kLabel},
    {Layout::kOnTheFlyDpiPage, "laser_L#X_up_btn", 1, 4, kButton},
    {Layout::kOnTheFlyDpiPage, "laser_L#X_down_btn", 1, 4, kButton},
    {Layout::kOnTheFlyDpiPage, "laser_level#_y_slider", 1, 4, kSlider, 0, 132},
    {Layout::kOnTheFlyDpiPage, "laser_level#_y_label", 1, 4, kLabel},
    {Layout::kOnTheFlyDpiPage, "laser_L#Y_up_btn", 1, 4, kButton},
    {Layout::kOnTheFlyDpiPage, "laser_L#Y_down_btn", 1, 4, kButton},

    // Macro play-option popup.
    {Layout::kPlayOptionPopup, "macroplaybacktitlelabel", 0, -1, kLabel},
    {Layout::kPlayOptionPopup, "macroplay_close_btn", 0, -1, kButton},
    {Layout::kPlayOptionPopup, "macro_playback_combo", 0, -1, kCombo},
    {Layout::kPlayOptionPopup, "macro_repeattimes_label", 0, -1, kLabel},
    {Layout::kPlayOptionPopup, "macro_repeattimes_edit", 0, -1, kEdit},
    {Layout::kPlayOptionPopup, "macroplay_ok_btn", 0, -1, kButton},
    {Layout::kPlayOptionPopup, "macroplay_cancel_btn", 0, -1, kButton},

    // Message box.
    {Layout::kMessageBox, "msgbox_macroovermax_label", 0, -1, kLabel},
    {Layout::kMessageBox, "msgbox_macrorepeat1_99_label", 0, -1, kLabel},
    {Layout::kMessageBox, "msgbox_ok_btn", 0, -1, kButton},
    {Layout::kMessageBox, "msgbox_close_btn", 0, -1, kButton},

    // Key popup.
    {Layout::kKeyPopup, "keysmessagetitlelabel", 0, -1, kLabel},
    {Layout::kKeyPopup, "inputmessagelabel", 0, -1, kLabel},
    {Layout::kKeyPopup, "keyspopup_name_edit", 0, -1, kEdit},
    {Layout::kKeyPopup, "singlekeyshiftlabel", 0, -1, kLabel},
    {Layout::kKeyPopup, "singlekeyctrllabel", 0, -1, kLabel},
    {Layout::kKeyPopup, "singlekeyaltlabel", 0, -1, kLabel},
    {Layout::kKeyPopup, "keyspopup_ok_btn", 0, -1, kButton},
    {Layout::kKeyPopup, "keyspopup_cancel_btn", 0, -1, kButton},

    // Confirmation popup.
    {Layout::kConfirmationPopup, "applynewsettinglabel", 0, -1, kLabel},
    {Layout::kConfirmationPopup, "resetallsettinglabel", 0, -1, kLabel},
    {Layout::kConfirmationPopup, "exitprogramlabel", 0, -1, kLabel},
    {Layout::kConfirmationPopup, "keyboardnotdetectedlabel", 0, -1, kLabel},
    {Layout::kConfirmationPopup, "resetprofiledefaultLabel", 0, -1, kLabel},
    {Layout::kConfirmationPopup, "saveprofilesettingLabel", 0, -1, kLabel},
    {Layout::kConfirmationPopup, "popup_message_ok_btn", 0, -1, kButton},
    {Layout::kConfirmationPopup, "popup_message_cancel_btn", 0, -1, kButton},

    // Leaving with changes not applied.
    {Layout::kExitChangesPopup, "exitchangeslabel", 0, -1, kLabel},
    {Layout::kExitChangesPopup, "exitchangeslabel2", 0, -1, kLabel},
    {Layout::kExitChangesPopup, "exit_apply_btn", 0, -1, kButton},
    {Layout::kExitChangesPopup, "exit_discard_btn", 0, -1, kButton},
    {Layout::kExitChangesPopup, "exit_cancel_btn", 0, -1, kButton},
};
// clang-format on

// The names one entry stands for, in number order.
inline std::vector<std::u16string> ExpandBoundName(const BoundControl& control)
{
    auto widen = [](std::string_view text) { return std::u16string(text.begin(), text.end()); };
    const size_t hash = control.pattern.find('#');
    if (hash == std::string_view::npos || control.first > control.last)
        return {widen(control.pattern)};
    std::vector<std::u16string> names;
    for (int n = control.first; n <= control.last; ++n)
        names.push_back(widen(control.pattern.substr(0, hash)) + widen(std::to_string(n)) +
                        widen(control.pattern.substr(hash + 1)));
    return names;
}

}  // namespace NeritApp
