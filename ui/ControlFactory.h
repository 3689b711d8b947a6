// Creates the control for a layout element tag.
#pragma once

#include "ui/ControlUI.h"

#include <memory>
#include <string_view>

namespace SkinUI {

// The control of a built-in tag ("Button" → CButtonUI, …); the match is exact
// and case-sensitive. nullptr for any other tag.
std::unique_ptr<CControlUI> CreateControl(std::u16string_view tag);

}  // namespace SkinUI
