// One profile of the store (1,027,137 bytes). Fields are read and written
// through Get/Set with the field constants of SettingsLayout.h.
#pragma once

#include "settings/MacroRecord.h"

namespace settings {

class ProfileSettings {
public:
    explicit ProfileSettings(FieldView view) : view_(view) {}

    template <typename F>
    auto Get(F field) const
    {
        return view_.Get(field);
    }
    template <typename F, typename T>
    void Set(F field, T value)
    {
        view_.Set(field, value);
    }
    template <typename T, size_t N>
    T Get(ArrayField<T, N> field, size_t i) const
    {
        return view_.Get(field, i);
    }
    template <typename T, size_t N>
    void Set(ArrayField<T, N> field, size_t i, T value)
    {
        view_.Set(field, i, value);
    }

    std::string Name() const { return view_.Text(layout::profile::kName); }
    void SetName(std::string_view name) { view_.SetText(layout::profile::kName, name); }

    // The profile's own copy of macro slot k, 0..9.
    MacroRecord Macro(size_t k) const;

    uint8_t* Bytes() const { return view_.Bytes(); }

private:
    FieldView view_;
};

}  // namespace settings
