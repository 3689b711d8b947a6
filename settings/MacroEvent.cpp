#include "settings/MacroEvent.h"

#include <algorithm>

namespace settings {

void MacroEvent::Set(std::string_view kind, std::string_view name, std::string_view direction)
{
    Clear();
    view_.SetText(layout::event::kKind, kind);
    view_.SetText(layout::event::kName, name);
    view_.SetText(layout::event::kDirection, direction);
}

void MacroEvent::Clear()
{
    std::fill_n(view_.Bytes(), view_.Size(), uint8_t{0});
}

}  // namespace settings
