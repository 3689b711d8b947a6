#include "settings/FieldView.h"

#include "device/LittleEndian.h"
#include "settings/CodePage.h"

#include <algorithm>
#include <cstring>

namespace settings {

template <typename T>
T FieldView::Get(Field<T> field) const
{
    static_assert(sizeof(T) == 1 || sizeof(T) == 4);
    if (!Holds(field.offset, sizeof(T)))
        return T{};
    if constexpr (sizeof(T) == 4)
        return static_cast<T>(device::ReadI32(base_ + field.offset));
    else
        return static_cast<T>(base_[field.offset]);
}

template <typename T>
void FieldView::Set(Field<T> field, T value)
{
    if (!Holds(field.offset, sizeof(T)))
        return;
    if constexpr (sizeof(T) == 4)
        device::WriteI32(base_ + field.offset, static_cast<int32_t>(value));
    else
        base_[field.offset] = static_cast<uint8_t>(value);
}

template int32_t FieldView::Get<int32_t>(Field<int32_t>) const;
template uint8_t FieldView::Get<uint8_t>(Field<uint8_t>) const;
template int8_t FieldView::Get<int8_t>(Field<int8_t>) const;
template void FieldView::Set<int32_t>(Field<int32_t>, int32_t);
template void FieldView::Set<uint8_t>(Field<uint8_t>, uint8_t);
template void FieldView::Set<int8_t>(Field<int8_t>, int8_t);

std::string FieldView::Text(TextField field) const
{
    if (!Holds(field.offset, field.size))
        return {};
    const char* start = reinterpret_cast<const char*>(base_ + field.offset);
    // A text that fills its field without a terminator ends at the field.
    return std::string(start, std::find(start, start + field.size, '\0'));
}

void FieldView::SetText(TextField field, std::string_view text)
{
    if (!Holds(field.offset, field.size) || field.size == 0)
        return;
    // The whole field is cleared: no part of a longer earlier text stays
    // behind the terminator.
    const std::string cut = CutToBytes(text, field.size - 1);
    std::memset(base_ + field.offset, 0, field.size);
    std::memcpy(base_ + field.offset, cut.data(), cut.size());
}

FieldView FieldView::Sub(size_t offset, size_t size) const
{
    return Holds(offset, size) ? FieldView(base_ + offset, size) : FieldView();
}

}  // namespace settings
