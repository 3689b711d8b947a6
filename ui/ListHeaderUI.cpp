#include "ui/ListHeaderUI.h"

namespace SkinUI {

// Defined here so that the class's virtual table lives in one object file.
std::u16string_view CListHeaderUI::GetClass() const { return u"ListHeaderUI"; }

}  // namespace SkinUI
