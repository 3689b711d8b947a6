// Edits of the working macro list shared by the macro page and neritctl:
// new, rename and delete macros, and events stored at a place in a macro.
// The callers commit the list to the shown profile afterwards.
#pragma once

#include "settings/SettingsStore.h"

#include <string>
#include <string_view>

namespace settings {

enum class MacroEditResult : int {
    kDone = 0,
    kNothing,           // no macro or event at that place: nothing changed
    kMacroLimit,        // the profile already keeps its ten macros
    kNotANumber,        // a delay text that is not a whole number
    kNotCorrectNumber,  // a delay outside 1 .. 2^31-1
    kMacroFull,         // the events would not fit into the macro
    kWriteFailed,       // committed, but the default macro file was not written
};

class MacroEdits {
public:
    static constexpr int kMaxMacros = 10;
    static constexpr int32_t kMaxDelayMs = 2147483647;

    explicit MacroEdits(SettingsStore& store) : store_(store) {}

    int MacroCount() const;
    // Slot of the macro named exactly `name`, -1 when there is none.
    int FindMacro(std::string_view name) const;

    // Appends "Macro_N" (with "*" when taken); the new slot in `slot`.
    MacroEditResult NewMacro(int& slot);
    // The name stored gets "*" appended while another macro has it.
    MacroEditResult Rename(int k, std::string_view name);
    // Removes macro k; the shown profile's buttons follow their macros, a
    // button whose macro is gone gets its default function back.
    MacroEditResult DeleteMacro(int k, int shownProfile);

    // Slot k may be any of the ten, counted or not (the page records into its
    // current slot). Moves the events of macro k from `position` on up by `places`; false
    // when they would not fit or the position lies beyond the end.
    bool MakeRoom(int k, int position, int places);
    // Stores one event at `position` (-1 appends).
    MacroEditResult AddEvent(int k, std::string_view kind, std::string_view name, std::string_view direction,
                             int position);

private:
    void RenumberAssignments(int deleted, int shownProfile);

    SettingsStore& store_;
};

}  // namespace settings
