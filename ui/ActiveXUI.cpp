#include "ui/ActiveXUI.h"

namespace SkinUI {

// Defined here so that the class's virtual table lives in one object file.
std::u16string_view CActiveXUI::GetClass() const { return u"ActiveXUI"; }

}  // namespace SkinUI
