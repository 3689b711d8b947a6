// A label for longer text: top-left aligned and wrapped at word breaks.
#pragma once

#include "ui/LabelUI.h"

namespace SkinUI {

class CTextUI : public CLabelUI {
public:
    CTextUI();

    std::u16string_view GetClass() const override { return u"TextUI"; }
};

}  // namespace SkinUI
