// The names macro events carry: the buttons' names (the event text always
// keeps the English one, a row shows the current language's), the words of
// the directions and the delay suffix.
#pragma once

#include "app/ProgramTexts.h"

namespace NeritApp {

// Buttons in the order the insert menu and the row labels use them.
inline constexpr std::array<LanguageTexts, 7> kMacroButtonNames = {{
    {u"Left Click        ", u"左鍵   ", u"左键   ", u"Linke Maustaste   "},
    {u"Right Click       ", u"右鍵   ", u"右键   ", u"Rechte Maustaste   "},
    {u"Scroll Wheel Click", u"滾輪鍵  ", u"滚轮键  ", u"Mausrad-Taste   "},
    {u"Browser Forward   ", u"上一頁按鍵   ", u"上一页按键   ", u"Browser vor   "},
    {u"Browser Backward  ", u"下一頁按鍵   ", u"下一页按键   ", u"Browser zurück   "},
    {u"Scroll Wheel Up   ", u"向上捲動滾輪鍵  ", u"向上卷动滚轮键  ", u"Einzeln hochscrollen   "},
    {u"Scroll Wheel Down ", u"向下捲動滾輪鍵  ", u"向下卷动滚轮键  ", u"Einzeln runterscrollen   "},
}};
inline constexpr LanguageTexts kReleaseWord = {u" Up   ", u" 向上   ", u" 向上   ", u" Hoch   "};
inline constexpr LanguageTexts kPressWord = {u" Down ", u" 向下   ", u" 向下   ", u" Runter   "};
inline constexpr LanguageTexts kClickWord = {u" Click", u" 點擊   ", u" 点击   ", u" Klick   "};
inline constexpr LanguageTexts kDelaySuffix = {u" Sec Delay ", u" 秒延時 ", u" 秒延时 ", u" Sec einfügen   "};

}  // namespace NeritApp
