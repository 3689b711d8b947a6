// A list item that holds other controls.
#pragma once

#include "ui/ContainerUI.h"

namespace SkinUI {

class CListContainerElementUI : public CContainerUI {
public:
    std::u16string_view GetClass() const override;
};

}  // namespace SkinUI
