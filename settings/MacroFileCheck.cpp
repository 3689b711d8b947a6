#include "settings/MacroFileCheck.h"

#include "settings/ButtonFunctions.h"
#include "settings/KeyNameTable.h"
#include "settings/MacroEvent.h"
#include "settings/MacroText.h"

#include <algorithm>
#include <array>
#include <string>

namespace settings {
namespace {

constexpr size_t kListSize = 4 + layout::store::kWorkingSlots * layout::macro::kSize;
constexpr MouseAction kMouseActions[] = {MouseAction::Left,           MouseAction::Right,   MouseAction::Middle,
                                         MouseAction::BrowserForward, MouseAction::BrowserBackward,
                                         MouseAction::WheelUp,        MouseAction::WheelDown};

// Reads only; the view never writes through the pointer.
FieldView ReadView(const uint8_t* bytes, size_t size) { return FieldView(const_cast<uint8_t*>(bytes), size); }

bool Terminated(const FieldView& view, TextField field)
{
    const uint8_t* start = view.Bytes() + field.offset;
    return std::find(start, start + field.size, uint8_t{0}) != start + field.size;
}

bool IsMouseName(const std::string& name)
{
    return std::any_of(std::begin(kMouseActions), std::end(kMouseActions), [&](MouseAction action) {
        return name == ProgramMouseName(action) || name == DeviceMouseName(action);
    });
}

bool ValidPress(const std::string& direction)
{
    return direction == kDirectionDown || direction == kDirectionUp || direction == kDirectionUnknown;
}

bool ValidEvent(const FieldView& event)
{
    namespace ev = layout::event;
    if (!Terminated(event, ev::kKind) || !Terminated(event, ev::kName) || !Terminated(event, ev::kDirection))
        return false;
    const std::string kind = event.Text(ev::kKind);
    const std::string name = event.Text(ev::kName);
    const std::string direction = event.Text(ev::kDirection);
    if (kind == kKindDelay)
        return direction.empty() && ParseDelayText(name).has_value();
    if (kind != kKindKey && kind != kKindMouse)
        return false;
    // "unknown" names what a read from the mouse could not name.
    const bool known = name == kDirectionUnknown || (kind == kKindKey ? FindKeyByName(name) != nullptr : IsMouseName(name));
    return known && ValidPress(direction);
}

// `covered`: how many of the macro's bytes came from the file. Events the
// file does not cover whole are zero or cut and are not checked, as a
// shorter file loads with the rest zero.
FileProblem CheckMacro(const FieldView& macro, size_t covered)
{
    namespace mac = layout::macro;
    const int32_t number = macro.Get(mac::kNumber);
    if (number < 0 || number > kMacrosInList)
        return FileProblem::MacroNumber;
    if (!Terminated(macro, mac::kName))
        return FileProblem::MacroName;
    const int32_t count = macro.Get(mac::kEventCount);
    if (count < 0 || count > static_cast<int32_t>(mac::kEventCapacity))
        return FileProblem::EventCount;
    for (size_t k = 0; k < static_cast<size_t>(count) && mac::kEvents + (k + 1) * layout::event::kSize <= covered;
         ++k) {
        if (!ValidEvent(macro.Sub(mac::kEvents + k * layout::event::kSize, layout::event::kSize)))
            return FileProblem::MacroEvent;
    }
    return FileProblem::None;
}

}  // namespace

FileCheck MacroFileCheck::CheckMacroList(const uint8_t* bytes, size_t size, size_t fileSize)
{
    if (fileSize > kListSize)
        return {FileProblem::TooLong};
    if (size != kListSize)
        return {FileProblem::TooShort};
    const FieldView list = ReadView(bytes, size);
    const int32_t count = list.Get(Field<int32_t>{0});
    if (count < 0 || count > kMacrosInList)
        return {FileProblem::MacroCount};
    for (size_t slot = 0; slot < layout::store::kWorkingSlots; ++slot) {
        const size_t start = 4 + slot * layout::macro::kSize;
        const size_t covered = fileSize > start ? fileSize - start : 0;
        const FileProblem problem = CheckMacro(list.Sub(start, layout::macro::kSize), covered);
        if (problem != FileProblem::None)
            return {problem, -1, static_cast<int>(slot)};
    }
    return {};
}

}  // namespace settings
