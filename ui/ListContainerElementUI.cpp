#include "ui/ListContainerElementUI.h"

namespace SkinUI {

// Defined here so that the class's virtual table lives in one object file.
std::u16string_view CListContainerElementUI::GetClass() const { return u"ListContainerElementUI"; }

}  // namespace SkinUI
