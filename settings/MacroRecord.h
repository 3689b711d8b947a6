// One macro (102,664 bytes): device number, name, event count and up to 256
// events.
#pragma once

#include "settings/MacroEvent.h"

namespace settings {

class MacroRecord {
public:
    explicit MacroRecord(FieldView view) : view_(view) {}

    int32_t Number() const { return view_.Get(layout::macro::kNumber); }
    void SetNumber(int32_t number) { view_.Set(layout::macro::kNumber, number); }
    std::string Name() const { return view_.Text(layout::macro::kName); }
    void SetName(std::string_view name) { view_.SetText(layout::macro::kName, name); }
    // The stored count, as it is (a file may hold anything here).
    int32_t StoredEventCount() const { return view_.Get(layout::macro::kEventCount); }
    void SetEventCount(int32_t count) { view_.Set(layout::macro::kEventCount, count); }
    // The count limited to the events that exist.
    int EventCount() const;

    // Event k, 0..255; an index beyond gives an event that holds nothing.
    MacroEvent Event(size_t k) const;
    // Appends an event; false (nothing stored) when the macro is full.
    bool AddEvent(std::string_view kind, std::string_view name, std::string_view direction);
    void Clear();
    void CopyFrom(const MacroRecord& other);

    uint8_t* Bytes() const { return view_.Bytes(); }

private:
    FieldView view_;
};

}  // namespace settings
