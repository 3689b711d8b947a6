// The four interface languages: the skin folder each reads its images from
// and the font of the main frame that becomes its default font.
#pragma once

#include <string_view>

namespace NeritApp {

struct SkinLanguage {
    std::string_view folder;  // beside the program
    int defaultFont;          // index into the main frame's fonts
    std::string_view tag;     // short name for file names
};

// By language index: English, Traditional Chinese, Simplified Chinese, German.
inline constexpr SkinLanguage kSkinLanguages[] = {
    {"VimoSkin", 1, "en"},
    {"VimoSkin1", 2, "zh_TW"},
    {"VimoSkin2", 3, "zh_CN"},
    {"VimoSkin3", 1, "de"},
};

}  // namespace NeritApp
