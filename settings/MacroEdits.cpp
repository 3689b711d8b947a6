#include "settings/MacroEdits.h"

#include "settings/ButtonFunctions.h"
#include "settings/WorkingMacros.h"

#include <algorithm>

namespace settings {
namespace {

namespace field = layout::profile;
constexpr int kEventCapacity = static_cast<int>(layout::macro::kEventCapacity);
constexpr size_t kNameBytes = layout::macro::kName.size - 1;

}  // namespace

int MacroEdits::MacroCount() const
{
    return std::clamp(store_.WorkingMacroCount(), 0, kMaxMacros);
}

int MacroEdits::FindMacro(std::string_view name) const
{
    for (int k = 0; k < MacroCount(); ++k) {
        if (store_.WorkingMacro(static_cast<size_t>(k)).Name() == name)
            return k;
    }
    return -1;
}

MacroEditResult MacroEdits::NewMacro(int& slot)
{
    const int count = MacroCount();
    if (count >= kMaxMacros)
        return MacroEditResult::kMacroLimit;
    MacroRecord macro = store_.WorkingMacro(static_cast<size_t>(count));
    macro.Clear();
    const std::string name = "Macro_" + std::to_string(count + 1);
    macro.SetName(name);
    store_.SetWorkingMacroCount(count + 1);
    if (IsMacroNameTaken(store_, count, false))
        macro.SetName(name + "*");
    slot = count;
    return MacroEditResult::kDone;
}

MacroEditResult MacroEdits::Rename(int k, std::string_view name)
{
    if (k < 0 || k >= MacroCount())
        return MacroEditResult::kNothing;
    MacroRecord macro = store_.WorkingMacro(static_cast<size_t>(k));
    macro.SetName(name);
    for (int stars = 0; !name.empty() && stars < kWorkingListMacros; ++stars) {
        const std::string stored = macro.Name();
        if (!IsMacroNameTaken(store_, k, true) || stored.size() >= kNameBytes)
            break;
        macro.SetName(stored + "*");
    }
    return MacroEditResult::kDone;
}

void MacroEdits::RenumberAssignments(int deleted, int shownProfile)
{
    ProfileSettings profile = store_.Profile(static_cast<size_t>(shownProfile));
    if (profile.Bytes() == nullptr)
        return;
    for (size_t button = 0; button < static_cast<size_t>(kButtons); ++button) {
        if (profile.Get(field::kButtonFunction, button) != function::Macro)
            continue;
        const int32_t number = profile.Get(field::kButtonParam, button);
        if (number <= 0)
            continue;
        if (deleted < number - 1) {
            profile.Set(field::kButtonParam, button, number - 1);
        } else if (deleted == number - 1) {
            profile.Set(field::kButtonFunction, button, kDefaultButtonFunctions[button]);
            profile.Set(field::kButtonParam, button, int32_t{0});
        }
    }
}

MacroEditResult MacroEdits::DeleteMacro(int k, int shownProfile)
{
    const int count = MacroCount();
    if (k < 0 || k >= count)
        return MacroEditResult::kNothing;
    RenumberAssignments(k, shownProfile);
    for (int slot = k; slot + 1 < count; ++slot)
        store_.WorkingMacro(static_cast<size_t>(slot)).CopyFrom(store_.WorkingMacro(static_cast<size_t>(slot + 1)));
    store_.WorkingMacro(static_cast<size_t>(count - 1)).Clear();
    store_.SetWorkingMacroCount(count - 1);
    return MacroEditResult::kDone;
}

bool MacroEdits::MakeRoom(int k, int position, int places)
{
    if (k < 0 || k >= kMaxMacros)
        return false;
    MacroRecord macro = store_.WorkingMacro(static_cast<size_t>(k));
    const int count = macro.EventCount();
    if (position < 0 || position > count || count + places > kEventCapacity)
        return false;
    for (int i = count - 1; i >= position; --i) {
        const MacroEvent from = macro.Event(static_cast<size_t>(i));
        macro.Event(static_cast<size_t>(i + places)).Set(from.Kind(), from.Name(), from.Direction());
    }
    macro.SetEventCount(count + places);
    return true;
}

MacroEditResult MacroEdits::AddEvent(int k, std::string_view kind, std::string_view name,
                                     std::string_view direction, int position)
{
    if (k < 0 || k >= kMaxMacros)
        return MacroEditResult::kNothing;
    MacroRecord macro = store_.WorkingMacro(static_cast<size_t>(k));
    const int at = position < 0 ? macro.EventCount() : position;
    if (at > macro.EventCount())
        return MacroEditResult::kNothing;
    if (!MakeRoom(k, at, 1))
        return MacroEditResult::kMacroFull;
    macro.Event(static_cast<size_t>(at)).Set(kind, name, direction);
    return MacroEditResult::kDone;
}

}  // namespace settings
