#include "settings/MacroRecord.h"

#include <algorithm>

namespace settings {

int MacroRecord::EventCount() const
{
    return std::clamp<int32_t>(StoredEventCount(), 0, layout::macro::kEventCapacity);
}

MacroEvent MacroRecord::Event(size_t k) const
{
    if (k >= layout::macro::kEventCapacity)
        return MacroEvent(FieldView());
    return MacroEvent(view_.Sub(layout::macro::kEvents + k * layout::event::kSize, layout::event::kSize));
}

bool MacroRecord::AddEvent(std::string_view kind, std::string_view name, std::string_view direction)
{
    const int count = EventCount();
    if (count >= static_cast<int>(layout::macro::kEventCapacity))
        return false;
    Event(count).Set(kind, name, direction);
    SetEventCount(count + 1);
    return true;
}

void MacroRecord::Clear()
{
    std::fill_n(view_.Bytes(), view_.Size(), uint8_t{0});
}

void MacroRecord::CopyFrom(const MacroRecord& other)
{
    if (view_.Size() == other.view_.Size() && view_.Bytes() != other.view_.Bytes())
        std::copy_n(other.view_.Bytes(), view_.Size(), view_.Bytes());
}

}  // namespace settings
