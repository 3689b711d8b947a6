// A list item with one text per column of the list's header.
#pragma once

#include "ui/ListLabelElementUI.h"

namespace SkinUI {

class CListTextElementUI : public CListLabelElementUI {
public:
    std::u16string_view GetClass() const override;
};

}  // namespace SkinUI
