// The macro page's edits of the working macro list: new, rename and delete
// macros, insert and change delays, insert mouse events, delete events, and
// the rows the page shows for a macro. Every change is committed to the
// shown profile; deleting a macro also writes the default macro file.
#pragma once

#include "app/NeritMainState.h"
#include "platform/file_system.h"
#include "settings/MacroEdits.h"
#include "settings/SettingsStore.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace NeritApp {

using MacroEditResult = settings::MacroEditResult;

// Row kinds of the event list.
namespace RowKind {
inline constexpr int kDelay = 0;
inline constexpr int kKeyDown = 1;
inline constexpr int kKeyUp = 2;
inline constexpr int kMouseDown = 3;
inline constexpr int kMouseUp = 4;
inline constexpr int kWheelDownPress = 5;
inline constexpr int kWheelUpPress = 6;
inline constexpr int kWheelDownRelease = 133;
inline constexpr int kWheelUpRelease = 134;
}  // namespace RowKind

// One row of the event list and the event it shows.
struct MacroRow {
    int kind = 0;
    int event = 0;
    std::u16string label;
};

class MacroPageModel {
public:
    static constexpr int kMaxMacros = settings::MacroEdits::kMaxMacros;
    // Key and button events a macro keeps on the mouse.
    static constexpr int kMouseEvents = 80;
    static constexpr int kFirstInsertCommand = 2200;
    static constexpr int kLastInsertCommand = 2214;

    MacroPageModel(settings::SettingsStore& store, const NeritMainState& state, platform::FileSystem& files,
                   std::string defaultFile, const int& language);

    int MacroCount() const;
    int CurrentMacro() const { return current_; }
    void SetCurrentMacro(int k) { current_ = k; }
    std::string MacroName(int k) const;
    // The rows of macro k; events the page cannot show get none.
    std::vector<MacroRow> Rows(int k) const;

    MacroEditResult NewMacro();
    // The name stored may carry "*" appended to keep it unique.
    MacroEditResult Rename(int k, std::u16string_view text);
    MacroEditResult DeleteMacro(int k);

    // Event positions: the event index to insert at; the event count appends.
    MacroEditResult InsertDelay(std::u16string_view text, int position);
    MacroEditResult EditDelay(std::u16string_view text, int event);
    MacroEditResult InsertMouseEvent(int command, int position);
    MacroEditResult DeleteEvent(int event);
    // The events of macro k the mouse plays (keys and buttons; a delay
    // travels with the event before it).
    int MouseEventCount(int k) const;
    // Macro k loses all its events (a recording starts over); not committed.
    void ClearEvents(int k);
    // Stores one event of row kind `kind` at `position` (-1 appends).
    MacroEditResult AddEvent(int kind, std::string_view text, int position);

    // A delay in milliseconds: a whole number 1 .. 2^31-1.
    static MacroEditResult ReadDelay(std::u16string_view text, int32_t& ms);
    // "1.500" for 1500 ms.
    static std::string DelayText(int32_t ms);
    static bool IsInsertCommand(int command) { return command >= kFirstInsertCommand && command <= kLastInsertCommand; }

    void Commit();
    bool WriteDefaultFile();

private:
    int CurrentSlot() const;
    settings::MacroRecord Current() const;

    settings::SettingsStore& store_;
    settings::MacroEdits edits_;
    const NeritMainState& state_;
    platform::FileSystem& files_;
    std::string defaultFile_;
    const int& language_;
    int current_ = 0;
};

}  // namespace NeritApp
