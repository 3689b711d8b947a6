// A multi-line rich text box; its native editing comes with the message
// handling. The program's layouts do not use it.
#pragma once

#include "ui/ContainerUI.h"

namespace SkinUI {

class CRichEditUI : public CContainerUI {
public:
    std::u16string_view GetClass() const override;
};

}  // namespace SkinUI
