// A list item that shows its text as the list's ListItemInfo says.
#pragma once

#include "ui/ControlUI.h"

namespace SkinUI {

class CListLabelElementUI : public CControlUI {
public:
    std::u16string_view GetClass() const override;
};

}  // namespace SkinUI
