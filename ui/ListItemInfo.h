// How a list or a combo box draws its items ("item…" attributes). The list
// and the combo share this record and its one attribute table.
#pragma once

#include "ui/AttributeValues.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace SkinUI {

struct ListItemInfo {
    int font = -1;  // index into the manager's fonts; -1: default
    unsigned textStyle = TextStyle::Left | TextStyle::VCenter | TextStyle::SingleLine;
    UIRect textPadding;
    uint32_t textColor = 0xFF000000;
    uint32_t bkColor = 0;
    std::u16string bkImage;
    bool alternateBk = false;
    uint32_t selectedTextColor = 0xFF000000;
    uint32_t selectedBkColor = 0xFFC1E3FF;
    std::u16string selectedImage;
    uint32_t hotTextColor = 0xFF000000;
    uint32_t hotBkColor = 0xFFE9F5FF;
    std::u16string hotImage;
    uint32_t disabledTextColor = 0xFFCCCCCC;
    uint32_t disabledBkColor = 0xFFFFFFFF;
    std::u16string disabledImage;
    uint32_t lineColor = 0;
    bool showHtml = false;
};

// Applies an "item…" attribute; false for any other name.
bool ApplyListItemAttribute(ListItemInfo& info, std::u16string_view name, std::u16string_view value);

}  // namespace SkinUI
