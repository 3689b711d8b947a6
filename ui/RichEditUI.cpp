#include "ui/RichEditUI.h"

namespace SkinUI {

// Defined here so that the class's virtual table lives in one object file.
std::u16string_view CRichEditUI::GetClass() const { return u"RichEditUI"; }

}  // namespace SkinUI
