// The column header row of a list; its children are CListHeaderItemUI.
#pragma once

#include "ui/HorizontalLayoutUI.h"

namespace SkinUI {

class CListHeaderUI : public CHorizontalLayoutUI {
public:
    std::u16string_view GetClass() const override;
};

}  // namespace SkinUI
