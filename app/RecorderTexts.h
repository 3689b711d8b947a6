// The recorder's names per interface language (0 English, 1 Traditional
// Chinese, 2 Simplified Chinese, 3 German), UTF-8, blanks kept exactly.
// A row's event text always takes the English entry, its label the entry
// of the current language.
#pragma once

#include <array>
#include <string>

namespace app::recorder_texts {

using PerLanguage = std::array<const char*, 4>;

inline constexpr PerLanguage kLeftButton = {"Left Click        ", "左鍵   ", "左键   ", "Linke Maustaste   "};
inline constexpr PerLanguage kRightButton = {"Right Click       ", "右鍵   ", "右键   ", "Rechte Maustaste   "};
inline constexpr PerLanguage kMiddleButton = {"Scroll Wheel Click", "滾輪鍵  ", "滚轮键  ", "Mausrad-Taste   "};
inline constexpr PerLanguage kForwardButton = {"Browser Forward   ", "下一頁按鍵   ", "下一页按键   ",
                                               "Browser vor   "};
inline constexpr PerLanguage kBackwardButton = {"Browser Backward  ", "上一頁按鍵   ", "上一页按键   ",
                                                "Browser zurück   "};
inline constexpr PerLanguage kWheelUp = {"Scroll Wheel Up   ", "向上捲動滾輪鍵  ", "向上卷动滚轮键  ",
                                         "Einzeln hochscrollen   "};
inline constexpr PerLanguage kWheelDown = {"Scroll Wheel Down ", "向下捲動滾輪鍵  ", "向下卷动滚轮键  ",
                                           "Einzeln runterscrollen   "};
inline constexpr PerLanguage kReleaseWord = {" Up   ", " 向上   ", " 向上   ", " Hoch   "};
inline constexpr PerLanguage kPressWord = {" Down ", " 向下   ", " 向下   ", " Runter   "};
// Used by the insert menu of the macro page, not by the recorder.
inline constexpr PerLanguage kClickWord = {" Click", " 點擊   ", " 点击   ", " Klick   "};
// The buttons in the order the macro page's insert menu lists them.
inline constexpr std::array<PerLanguage, 7> kButtonNames = {kLeftButton,     kRightButton, kMiddleButton, kForwardButton,
                                                            kBackwardButton, kWheelUp,     kWheelDown};
inline constexpr PerLanguage kDelaySuffix = {" Sec Delay ", " 秒延時 ", " 秒延时 ", " s einfügen   "};
// The decimal mark each language writes.
inline constexpr std::array<char, 4> kDecimalMark = {'.', '.', '.', ','};

// A delay row's label: its seconds as stored ("0.020"), written with the
// language's decimal mark, and the suffix.
inline std::string DelayLabel(std::string seconds, size_t language)
{
    for (char& c : seconds) {
        if (c == '.')
            c = kDecimalMark[language];
    }
    return seconds + kDelaySuffix[language];
}

}  // namespace app::recorder_texts
