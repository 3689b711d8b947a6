// The four interface languages: the skin folder each reads its images from
// and the font of the main frame that becomes its default font.
#pragma once

#include <string_view>

namespace NeritApp {

struct SkinLanguage {
    std::string_view folder;  // beside the program
    int defaultFont;          // index into the main frame's fonts
    std::string_view tag;     // short name for file names
    std::u16string_view name; // the language combo's item
};

// By language index: English, Traditional Chinese, Simplified Chinese, German.
inline constexpr SkinLanguage kSkinLanguages[] = {
    {"VimoSkin", 1, "en", u" English "},
    {"VimoSkin1", 2, "zh_TW", u" 繁體中文 "},
    {"VimoSkin2", 3, "zh_CN", u" 简体中文 "},
    {"VimoSkin3", 1, "de", u" Deutsch "},
};

}  // namespace NeritApp
