#include "ui/ListTextElementUI.h"

namespace SkinUI {

// Defined here so that the class's virtual table lives in one object file.
std::u16string_view CListTextElementUI::GetClass() const { return u"ListTextElementUI"; }

}  // namespace SkinUI
