// A host for an embedded component. This platform has none to host, so the
// control keeps only the common attributes.
#pragma once

#include "ui/ControlUI.h"

namespace SkinUI {

class CActiveXUI : public CControlUI {
public:
    std::u16string_view GetClass() const override;
};

}  // namespace SkinUI
