// One event of a macro (400 bytes): three texts, kind "k", "m" or "t", the
// key, mouse or delay name, and "down"/"up" (empty for a delay).
#pragma once

#include "settings/SettingsLayout.h"

namespace settings {

inline constexpr const char* kKindKey = "k";
inline constexpr const char* kKindMouse = "m";
inline constexpr const char* kKindDelay = "t";
inline constexpr const char* kDirectionDown = "down";
inline constexpr const char* kDirectionUp = "up";
inline constexpr const char* kDirectionUnknown = "unknown";

class MacroEvent {
public:
    explicit MacroEvent(FieldView view) : view_(view) {}

    std::string Kind() const { return view_.Text(layout::event::kKind); }
    std::string Name() const { return view_.Text(layout::event::kName); }
    std::string Direction() const { return view_.Text(layout::event::kDirection); }
    void Set(std::string_view kind, std::string_view name, std::string_view direction);
    void Clear();

private:
    FieldView view_;
};

}  // namespace settings
