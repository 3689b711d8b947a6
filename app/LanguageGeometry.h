// German texts need wider controls: the attributes that change with the
// language, and setting them on a window's controls.
#pragma once

#include <string_view>

namespace SkinUI {
class CWindowUIManager;
}

namespace NeritApp {

struct LanguageGeometry {
    std::u16string_view control;
    std::u16string_view attribute;
    std::u16string_view german;
    std::u16string_view other;  // every other language
};

inline constexpr int kGermanLanguage = 3;

// clang-format off
inline constexpr LanguageGeometry kLanguageGeometry[] = {
    {u"macro_record_btn", u"width", u"143", u"114"},
    {u"insert_delay_time_btn", u"width", u"222", u"169"},
    {u"edit_delay_time_btn", u"width", u"234", u"169"},
    {u"default_delay_time_edit", u"pos", u"291,69,0,0", u"219,67,0,0"},
    {u"insert_delay_time_edit", u"pos", u"276,50,0,0", u"223,50,0,0"},
    {u"edit_delay_time_edit", u"pos", u"286,88,0,0", u"223,88,0,0"},
    {u"profile1savebtn", u"pos", u" 44,103,115,135", u" 57,102,128,134"},
    {u"profile2savebtn", u"pos", u"225,103,296,135", u"237,103,308,135"},
    {u"profile3savebtn", u"pos", u"406,103,477,135", u"418,103,489,135"},
    {u"profile4savebtn", u"pos", u"587,103,658,135", u"600,103,671,135"},
    {u"profile5savebtn", u"pos", u"770,103,841,135", u"781,103,852,135"},
    {u"kprofile1savebtn", u"pos", u" 44,103,115,135", u" 57,102,128,134"},
    {u"kprofile2savebtn", u"pos", u"225,103,296,135", u"237,103,308,135"},
    {u"kprofile3savebtn", u"pos", u"406,103,477,135", u"418,103,489,135"},
    {u"kprofile4savebtn", u"pos", u"587,103,658,135", u"600,103,671,135"},
    {u"kprofile5savebtn", u"pos", u"770,103,841,135", u"781,103,852,135"},
    {u"profile1defaultbtn", u"pos", u"120,103,216,135", u"133,102,204,134"},
    {u"profile2defaultbtn", u"pos", u"300,103,396,135", u"313,103,384,135"},
    {u"profile3defaultbtn", u"pos", u"481,103,577,135", u"494,103,565,135"},
    {u"profile4defaultbtn", u"pos", u"662,103,758,135", u"676,103,747,135"},
    {u"profile5defaultbtn", u"pos", u"844,103,940,135", u"857,103,928,135"},
    {u"kprofile1defaultbtn", u"pos", u"120,103,216,135", u"133,102,204,134"},
    {u"kprofile2defaultbtn", u"pos", u"300,103,396,135", u"313,103,384,135"},
    {u"kprofile3defaultbtn", u"pos", u"481,103,577,135", u"494,103,565,135"},
    {u"kprofile4defaultbtn", u"pos", u"662,103,758,135", u"676,103,747,135"},
    {u"kprofile5defaultbtn", u"pos", u"844,103,940,135", u"857,103,928,135"},
};
// clang-format on

// Sets each attribute on the window's control of that name, if present, and
// lays the control out again.
void ApplyLanguageGeometry(SkinUI::CWindowUIManager& manager, int language);

}  // namespace NeritApp
