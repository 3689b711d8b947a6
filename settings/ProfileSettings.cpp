#include "settings/ProfileSettings.h"

namespace settings {

MacroRecord ProfileSettings::Macro(size_t k) const
{
    if (k >= layout::profile::kMacroSlots)
        return MacroRecord(FieldView());
    return MacroRecord(view_.Sub(layout::profile::kMacros + k * layout::macro::kSize, layout::macro::kSize));
}

}  // namespace settings
