#include "app/MacroPageModel.h"

#include "app/RecorderTexts.h"
#include "settings/CodePage.h"
#include "settings/MacroFiles.h"
#include "settings/MacroText.h"
#include "settings/WorkingMacros.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <limits>

namespace NeritApp {

namespace recorder_texts = ::app::recorder_texts;

namespace {


// What a row kind stores: kind letter and direction.
struct StoredKind {
    int kind;
    const char* letter;
    const char* direction;
};
constexpr std::array<StoredKind, 9> kStoredKinds = {{
    {RowKind::kDelay, settings::kKindDelay, ""},
    {RowKind::kKeyDown, settings::kKindKey, settings::kDirectionDown},
    {RowKind::kKeyUp, settings::kKindKey, settings::kDirectionUp},
    {RowKind::kMouseDown, settings::kKindMouse, settings::kDirectionDown},
    {RowKind::kMouseUp, settings::kKindMouse, settings::kDirectionUp},
    {RowKind::kWheelDownPress, settings::kKindMouse, settings::kDirectionDown},
    {RowKind::kWheelUpPress, settings::kKindMouse, settings::kDirectionDown},
    {RowKind::kWheelDownRelease, settings::kKindMouse, settings::kDirectionUp},
    {RowKind::kWheelUpRelease, settings::kKindMouse, settings::kDirectionUp},
}};

const StoredKind* FindStoredKind(int kind)
{
    for (const StoredKind& stored : kStoredKinds) {
        if (stored.kind == kind)
            return &stored;
    }
    return nullptr;
}

bool SameIgnoringCase(std::u16string_view a, std::u16string_view b)
{
    auto lower = [](char16_t c) { return c < 128 ? static_cast<char16_t>(std::tolower(c)) : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char16_t x, char16_t y) { return lower(x) == lower(y); });
}

// A mouse event's text in the current language: a known button's name
// (English or Chinese, or the shorter name an event read from the mouse
// carries), else the text itself.
std::u16string MouseName(const std::u16string& text, size_t language)
{
    for (size_t button = 0; button < recorder_texts::kButtonNames.size(); ++button) {
        const recorder_texts::PerLanguage& names = recorder_texts::kButtonNames[button];
        const auto action = static_cast<settings::MouseAction>(button);
        bool known = SameIgnoringCase(text, settings::ToUtf16(settings::DeviceMouseName(action)));
        for (size_t form = 0; form < 3 && !known; ++form)
            known = SameIgnoringCase(text, settings::ToUtf16(names[form]));
        if (known)
            return settings::ToUtf16(names[language]);
    }
    return text;
}

}  // namespace

MacroPageModel::MacroPageModel(settings::SettingsStore& store, const NeritMainState& state,
                               platform::FileSystem& files, std::string defaultFile, const int& language)
    : store_(store), edits_(store), state_(state), files_(files), defaultFile_(std::move(defaultFile)), language_(language)
{
}

int MacroPageModel::MacroCount() const
{
    return edits_.MacroCount();
}

std::string MacroPageModel::MacroName(int k) const
{
    return store_.WorkingMacro(static_cast<size_t>(k)).Name();
}

int MacroPageModel::CurrentSlot() const
{
    return std::clamp(current_, 0, kMaxMacros - 1);
}

settings::MacroRecord MacroPageModel::Current() const
{
    return store_.WorkingMacro(static_cast<size_t>(CurrentSlot()));
}

// ---- rows ----

std::vector<MacroRow> MacroPageModel::Rows(int k) const
{
    std::vector<MacroRow> rows;
    if (k < 0 || k >= settings::kWorkingListMacros)
        return rows;
    const size_t language = static_cast<size_t>(std::clamp(language_, 0, 3));
    const settings::MacroRecord macro = store_.WorkingMacro(static_cast<size_t>(k));
    for (int i = 0; i < macro.EventCount(); ++i) {
        const settings::MacroEvent event = macro.Event(static_cast<size_t>(i));
        const std::string kind = event.Kind();
        const std::string direction = event.Direction();
        const std::u16string text = settings::ToUtf16(event.Name());
        const bool down = direction == settings::kDirectionDown;
        const bool up = direction == settings::kDirectionUp;
        if (kind == settings::kKindDelay) {
            rows.push_back({RowKind::kDelay, i, settings::ToUtf16(recorder_texts::DelayLabel(event.Name(), language))});
        } else if (kind == settings::kKindKey && (down || up)) {
            rows.push_back({down ? RowKind::kKeyDown : RowKind::kKeyUp, i, text});
        } else if (kind == settings::kKindMouse && (down || up)) {
            const std::u16string word = settings::ToUtf16(down ? recorder_texts::kPressWord[language]
                                                                : recorder_texts::kReleaseWord[language]);
            rows.push_back({down ? RowKind::kMouseDown : RowKind::kMouseUp, i, MouseName(text, language) + word});
        }
    }
    return rows;
}

// ---- macros ----

MacroEditResult MacroPageModel::NewMacro()
{
    int slot = 0;
    const MacroEditResult result = edits_.NewMacro(slot);
    if (result == MacroEditResult::kDone)
        Commit();
    return result;
}

MacroEditResult MacroPageModel::Rename(int k, std::u16string_view text)
{
    const MacroEditResult result = edits_.Rename(k, settings::ToNarrow(text));
    if (result != MacroEditResult::kDone)
        return result;
    current_ = k;
    Commit();
    return result;
}

MacroEditResult MacroPageModel::DeleteMacro(int k)
{
    const int count = MacroCount();
    if (edits_.DeleteMacro(k, state_.shownProfile) != MacroEditResult::kDone)
        return MacroEditResult::kNothing;
    if (current_ >= count - 1)
        current_ = std::max(0, count - 2);
    Commit();
    return WriteDefaultFile() ? MacroEditResult::kDone : MacroEditResult::kWriteFailed;
}

// ---- events ----

MacroEditResult MacroPageModel::AddEvent(int kind, std::string_view text, int position)
{
    const StoredKind* stored = FindStoredKind(kind);
    if (stored == nullptr)
        return MacroEditResult::kNothing;
    return edits_.AddEvent(CurrentSlot(), stored->letter, text, stored->direction, position);
}

MacroEditResult MacroPageModel::ReadDelay(std::u16string_view text, int32_t& ms)
{
    size_t i = (!text.empty() && (text[0] == u'-' || text[0] == u'+')) ? 1 : 0;
    if (i == text.size())
        return MacroEditResult::kNotANumber;
    int64_t value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < u'0' || text[i] > u'9')
            return MacroEditResult::kNotANumber;
        value = std::min<int64_t>(value * 10 + (text[i] - u'0'), int64_t{1} << 40);
    }
    if (text[0] == u'-' || value < 1 || value > std::numeric_limits<int32_t>::max())
        return MacroEditResult::kNotCorrectNumber;
    ms = static_cast<int32_t>(value);
    return MacroEditResult::kDone;
}

std::string MacroPageModel::DelayText(int32_t ms)
{
    const int32_t rest = ms % 1000;
    return std::to_string(ms / 1000) + "." + std::to_string(rest / 100) + std::to_string(rest / 10 % 10) +
           std::to_string(rest % 10);
}

MacroEditResult MacroPageModel::InsertDelay(std::u16string_view text, int position)
{
    int32_t ms = 0;
    const MacroEditResult read = ReadDelay(text, ms);
    if (read != MacroEditResult::kDone)
        return read;
    const MacroEditResult added = AddEvent(RowKind::kDelay, DelayText(ms), position);
    if (added == MacroEditResult::kDone)
        Commit();
    return added;
}

MacroEditResult MacroPageModel::EditDelay(std::u16string_view text, int event)
{
    int32_t ms = 0;
    const MacroEditResult read = ReadDelay(text, ms);
    if (read != MacroEditResult::kDone)
        return read;
    settings::MacroRecord macro = Current();
    if (event < 0 || event >= macro.EventCount())
        return MacroEditResult::kNothing;
    settings::MacroEvent stored = macro.Event(static_cast<size_t>(event));
    if (stored.Kind() == settings::kKindDelay)
        stored.Set(settings::kKindDelay, DelayText(ms), "");
    Commit();
    return MacroEditResult::kDone;
}

MacroEditResult MacroPageModel::InsertMouseEvent(int command, int position)
{
    if (!IsInsertCommand(command))
        return MacroEditResult::kNothing;
    const int offset = command - kFirstInsertCommand;
    const std::string name = recorder_texts::kButtonNames[static_cast<size_t>(offset / 3)][0];
    const int action = offset % 3;  // release, press, click
    settings::MacroRecord macro = Current();
    const int at = position < 0 ? macro.EventCount() : position;
    if (at > macro.EventCount())
        return MacroEditResult::kNothing;
    const int places = action == 2 ? 2 : 1;
    if (!edits_.MakeRoom(CurrentSlot(), at, places))
        return MacroEditResult::kMacroFull;
    const bool press = action != 0;
    macro.Event(static_cast<size_t>(at)).Set(settings::kKindMouse, name,
                                             press ? settings::kDirectionDown : settings::kDirectionUp);
    if (places == 2)
        macro.Event(static_cast<size_t>(at + 1)).Set(settings::kKindMouse, name, settings::kDirectionUp);
    Commit();
    return MacroEditResult::kDone;
}

MacroEditResult MacroPageModel::DeleteEvent(int event)
{
    settings::MacroRecord macro = Current();
    const int count = macro.EventCount();
    if (event < 0 || event >= count)
        return MacroEditResult::kNothing;
    for (int i = event; i + 1 < count; ++i) {
        const settings::MacroEvent from = macro.Event(static_cast<size_t>(i + 1));
        macro.Event(static_cast<size_t>(i)).Set(from.Kind(), from.Name(), from.Direction());
    }
    macro.Event(static_cast<size_t>(count - 1)).Clear();
    macro.SetEventCount(count - 1);
    Commit();
    return MacroEditResult::kDone;
}

int MacroPageModel::MouseEventCount(int k) const
{
    if (k < 0 || k >= MacroCount())
        return 0;
    const settings::MacroRecord macro = store_.WorkingMacro(static_cast<size_t>(k));
    int count = 0;
    for (int i = 0; i < macro.EventCount(); ++i) {
        const std::string kind = macro.Event(static_cast<size_t>(i)).Kind();
        count += kind == settings::kKindKey || kind == settings::kKindMouse ? 1 : 0;
    }
    return count;
}

void MacroPageModel::ClearEvents(int k)
{
    if (k < 0 || k >= MacroCount())
        return;
    settings::MacroRecord macro = store_.WorkingMacro(static_cast<size_t>(k));
    for (int i = 0; i < macro.EventCount(); ++i)
        macro.Event(static_cast<size_t>(i)).Clear();
    macro.SetEventCount(0);
}

// ---- storing ----

void MacroPageModel::Commit()
{
    settings::StoreWorkingMacros(store_, state_.shownProfile);
}

bool MacroPageModel::WriteDefaultFile()
{
    return settings::SaveMacrosFile(store_, files_, defaultFile_);
}

}  // namespace NeritApp
