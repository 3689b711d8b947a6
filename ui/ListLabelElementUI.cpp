#include "ui/ListLabelElementUI.h"

namespace SkinUI {

// Defined here so that the class's virtual table lives in one object file.
std::u16string_view CListLabelElementUI::GetClass() const { return u"ListLabelElementUI"; }

}  // namespace SkinUI
