#include "app/MacroPage.h"

#include "settings/CodePage.h"
#include "ui/EditUI.h"
#include "ui/HorizontalLayoutUI.h"
#include "ui/LabelUI.h"
#include "ui/ListContainerElementUI.h"
#include "ui/ScrollBarUI.h"

#include <array>
#include <limits>
#include <utility>

namespace NeritApp {

using SkinUI::CControlUI;
using SkinUI::CListUI;

namespace {

using Attributes = std::initializer_list<std::pair<std::u16string_view, std::u16string_view>>;

void Apply(CControlUI& control, Attributes attributes)
{
    for (const auto& [name, value] : attributes)
        control.SetAttribute(name, value);
}

constexpr std::u16string_view kNameEditPrefix = u"macro_file_name_";

// Row kind → icon picture; kinds not listed get a bare icon.
struct RowIcon {
    int kind;
    std::u16string_view image;
};
constexpr std::array<RowIcon, 9> kRowIcons = {{
    {RowKind::kDelay, u"file='MacroSignTimer.bmp' mask='0xff000000'"},
    {RowKind::kKeyDown, u"MacroSignDown.bmp"},
    {RowKind::kKeyUp, u"MacroSignUp.bmp"},
    {RowKind::kMouseDown, u"MacroSignMouse2.bmp"},
    {RowKind::kMouseUp, u"MacroSignMouse2.bmp"},
    {RowKind::kWheelDownPress, u"MacroSignMouse2.bmp"},
    {RowKind::kWheelUpPress, u"MacroSignMouse2.bmp"},
    {RowKind::kWheelDownRelease, u"MacroSignMouse2.bmp"},
    {RowKind::kWheelUpRelease, u"MacroSignMouse2.bmp"},
}};

// Messages of the three delay edits: not a number, not a correct number.
constexpr std::array<std::array<std::u16string_view, 2>, 3> kDelayMessages = {{
    {u"Please input the number of the delay time .", u"The delay time number should not be 0 ."},
    {u"Please input the number of the editing delay time .", u"The delay time number to be edit should not be 0 ."},
    {u"Please input the number word .", u"Please input the correct number word ."},
}};
constexpr std::u16string_view kMacroFullMessage = u"The macro is full: a macro holds at most 256 events .";
constexpr std::u16string_view kWriteFailedMessage = u"The macro file could not be written .";

// The control named `name` inside `control`, at any depth.
CControlUI* FindNamed(CControlUI* control, std::u16string_view name)
{
    if (control == nullptr || control->GetName() == name)
        return control;
    auto* container = dynamic_cast<SkinUI::CContainerUI*>(control);
    for (int i = 0; container != nullptr && i < container->GetCount(); ++i) {
        if (CControlUI* found = FindNamed(container->GetItemAt(i), name))
            return found;
    }
    return nullptr;
}

std::u16string NameEditName(int number)
{
    return std::u16string(kNameEditPrefix) + settings::ToUtf16(std::to_string(number));
}

std::unique_ptr<CControlUI> RowShell(std::u16string_view rowHeight, Attributes layout,
                                     CControlUI*& content)
{
    auto row = std::make_unique<SkinUI::CListContainerElementUI>();
    row->SetAttribute(u"height", rowHeight);
    auto box = std::make_unique<SkinUI::CHorizontalLayoutUI>();
    Apply(*box, layout);
    content = box.get();
    row->Add(std::move(box));
    return row;
}

}  // namespace

MacroPage::MacroPage(SkinUI::CWindowUIManager& manager, MacroPageModel& model) : manager_(manager), model_(model) {}

// ---- rows ----

std::unique_ptr<CControlUI> MacroPage::NameRow(std::u16string_view name, int number)
{
    CControlUI* box = nullptr;
    std::unique_ptr<CControlUI> row = RowShell(u"18", {{u"width", u"318"}, {u"height", u"18"}, {u"inset", u"3,5,3,5"}}, box);
    auto edit = std::make_unique<SkinUI::CEditUI>();
    edit->SetName(NameEditName(number));
    Apply(*edit, {{u"float", u"true"}, {u"pos", u"3,-2,0,0"}, {u"width", u"120"}, {u"height", u"18"},
                  {u"bkcolor", u"#00000000"}, {u"textcolor", u"#00FFFFFF"}, {u"readonly", u"true"}});
    edit->SetText(name);
    auto label = std::make_unique<SkinUI::CLabelUI>();
    Apply(*label, {{u"float", u"true"}, {u"pos", u"129,0,0,0"}, {u"width", u"190"}, {u"height", u"18"},
                   {u"bkcolor", u"#00000000"}, {u"textcolor", u"#00FFFFFF"},
                   {u"bkimage", u"file='MacroName_hot.png' source='123,0,318,18' "}});
    auto* container = static_cast<SkinUI::CContainerUI*>(box);
    container->Add(std::move(edit));
    container->Add(std::move(label));
    return row;
}

std::unique_ptr<CControlUI> MacroPage::EventRow(int kind, std::u16string_view label)
{
    CControlUI* box = nullptr;
    std::unique_ptr<CControlUI> row = RowShell(u"20", {{u"width", u"340"}, {u"height", u"17"}, {u"inset", u"3,5,3,5"}}, box);
    auto icon = std::make_unique<SkinUI::CLabelUI>();
    icon->SetName(u"macro_type_icon");
    Apply(*icon, {{u"float", u"true"}, {u"pos", u"12,4,26,18"}, {u"bordersize", u"0"}, {u"width", u"14"},
                  {u"height", u"14"}, {u"bkcolor2", u"#FF757676"}, {u"bordercolor", u"#FF000000"},
                  {u"maxheight", u"10"}, {u"textcolor", u"#FF000000"}, {u"disabledtextcolor", u"#FFA7A6AA"}});
    for (const RowIcon& known : kRowIcons) {
        if (known.kind == kind)
            icon->SetAttribute(u"bkimage", known.image);
    }
    auto text = std::make_unique<SkinUI::CLabelUI>();
    text->SetName(u"macro_type_name");
    Apply(*text, {{u"float", u"true"}, {u"pos", u"76,4,0,0"}, {u"width", u"200"}, {u"height", u"14"},
                  {u"bkcolor", u"#00000000"}, {u"textcolor", u"#00FFFFFF"}});
    text->SetText(label);
    auto* container = static_cast<SkinUI::CContainerUI*>(box);
    container->Add(std::move(icon));
    container->Add(std::move(text));
    return row;
}

std::u16string_view MacroPage::Notice(MacroEditResult result, DelayEdit edit)
{
    const auto& messages = kDelayMessages[static_cast<size_t>(edit)];
    switch (result) {
    case MacroEditResult::kNotANumber:
        return messages[0];
    case MacroEditResult::kNotCorrectNumber:
        return messages[1];
    case MacroEditResult::kMacroFull:
        return kMacroFullMessage;
    case MacroEditResult::kWriteFailed:
        return kWriteFailedMessage;
    default:
        return {};
    }
}

// ---- lists ----

CListUI* MacroPage::List(std::u16string_view name) const
{
    return dynamic_cast<CListUI*>(manager_.FindControl(name));
}

void MacroPage::FillNameList()
{
    CListUI* names = List(u"macro_name_list");
    if (names == nullptr)
        return;
    names->RemoveAll();
    for (int k = 0; k < model_.MacroCount(); ++k)
        names->Add(NameRow(settings::ToUtf16(model_.MacroName(k)), k + 1));
    model_.SetCurrentMacro(0);
    FillEventList(0);
}

void MacroPage::FillEventList(int k)
{
    CListUI* events = List(u"macro_item_list");
    if (events == nullptr)
        return;
    const std::u16string& scrollBar = manager_.GetDefaultAttributeList(u"VScrollBar");
    if (!scrollBar.empty() && events->GetVerticalScrollBar() != nullptr)
        events->GetVerticalScrollBar()->ApplyAttributeList(scrollBar);
    events->RemoveAll();
    rowEvents_.clear();
    for (const MacroRow& row : model_.Rows(k)) {
        events->Add(EventRow(row.kind, row.label));
        rowEvents_.push_back(row.event);
    }
}

void MacroPage::AppendRows(int firstEvent)
{
    CListUI* events = List(u"macro_item_list");
    if (events == nullptr)
        return;
    for (const MacroRow& row : model_.Rows(model_.CurrentMacro())) {
        if (row.event < firstEvent)
            continue;
        events->Add(EventRow(row.kind, row.label));
        rowEvents_.push_back(row.event);
    }
    // The newest rows stay in sight: placed at once, then scrolled to.
    events->SetItemRect(events->GetItemRect());
    events->SetVScrollPos(std::numeric_limits<int>::max() / 2);
}

// The event list shown again after an edit, the row of `event` selected.
void MacroPage::Refresh(int event)
{
    FillEventList(model_.CurrentMacro());
    CListUI* events = List(u"macro_item_list");
    for (size_t row = 0; events != nullptr && row < rowEvents_.size(); ++row) {
        if (rowEvents_[row] == event) {
            events->SelectItem(static_cast<int>(row));
            return;
        }
    }
}

void MacroPage::OnNameRowClick(CControlUI* row)
{
    CListUI* names = List(u"macro_name_list");
    if (row == nullptr || names == nullptr)
        return;
    for (int n = 1; n <= model_.MacroCount(); ++n) {
        if (FindNamed(row, NameEditName(n)) == nullptr)
            continue;
        if (names->GetCurSel() != n - 1)
            names->SelectItem(n - 1);
        model_.SetCurrentMacro(n - 1);
        FillEventList(n - 1);
        return;
    }
}

CControlUI* MacroPage::NameEdit(int row) const
{
    CListUI* names = List(u"macro_name_list");
    if (names == nullptr || row < 0 || row >= names->GetCount())
        return nullptr;
    return FindNamed(names->GetItemAt(row), NameEditName(row + 1));
}

std::u16string MacroPage::EditText(std::u16string_view name) const
{
    CControlUI* edit = manager_.FindControl(name);
    return edit != nullptr ? edit->GetText() : std::u16string();
}

int MacroPage::SelectedMacro() const
{
    CListUI* names = List(u"macro_name_list");
    return names != nullptr ? names->GetCurSel() : -1;
}

int MacroPage::SelectedEvent() const
{
    CListUI* events = List(u"macro_item_list");
    const int row = events != nullptr ? events->GetCurSel() : -1;
    return row >= 0 && row < static_cast<int>(rowEvents_.size()) ? rowEvents_[static_cast<size_t>(row)] : -1;
}

int MacroPage::InsertPosition() const
{
    const int event = SelectedEvent();
    if (event >= 0)
        return event + 1;
    return rowEvents_.empty() ? -1 : rowEvents_.back() + 1;
}

// ---- edits ----

MacroEditResult MacroPage::OnNew()
{
    const MacroEditResult result = model_.NewMacro();
    CListUI* names = List(u"macro_name_list");
    if (result == MacroEditResult::kDone && names != nullptr) {
        const int k = model_.MacroCount() - 1;
        names->Add(NameRow(settings::ToUtf16(model_.MacroName(k)), k + 1));
    }
    return result;
}

void MacroPage::OnRenameClick()
{
    CListUI* names = List(u"macro_name_list");
    if (names == nullptr || names->GetCount() == 0)
        return;
    auto* edit = dynamic_cast<SkinUI::CEditUI*>(NameEdit(std::max(names->GetCurSel(), 0)));
    if (edit == nullptr)
        return;
    edit->SetFont(4);
    edit->SetReadOnly(false);
    manager_.SetFocus(edit);
}

MacroEditResult MacroPage::OnEditReturn(int number)
{
    const int k = number - 1;
    auto* edit = dynamic_cast<SkinUI::CEditUI*>(NameEdit(k));
    if (edit == nullptr)
        return MacroEditResult::kNothing;
    const MacroEditResult result = model_.Rename(k, edit->GetText());
    edit->SetText(settings::ToUtf16(model_.MacroName(k)));
    edit->SetReadOnly(true);
    CListUI* names = List(u"macro_name_list");
    if (names != nullptr && names->GetCurSel() != k)
        names->SelectItem(k);
    if (result == MacroEditResult::kDone)
        FillEventList(k);
    return result;
}

MacroEditResult MacroPage::OnDelete()
{
    const int k = SelectedMacro();
    const MacroEditResult result = model_.DeleteMacro(k);
    if (result == MacroEditResult::kNothing)
        return result;
    CListUI* names = List(u"macro_name_list");
    if (names != nullptr) {
        names->RemoveAll();
        for (int i = 0; i < model_.MacroCount(); ++i)
            names->Add(NameRow(settings::ToUtf16(model_.MacroName(i)), i + 1));
    }
    CListUI* events = List(u"macro_item_list");
    if (events != nullptr)
        events->RemoveAll();
    rowEvents_.clear();
    return result;
}

// The selected macro becomes the one the event list shows; false without one.
bool MacroPage::TakeSelectedMacro()
{
    const int k = SelectedMacro();
    if (k < 0 || k >= model_.MacroCount())
        return false;
    if (k != model_.CurrentMacro()) {
        model_.SetCurrentMacro(k);
        FillEventList(k);
    }
    return true;
}

MacroEditResult MacroPage::OnInsertDelay()
{
    if (!TakeSelectedMacro())
        return MacroEditResult::kNothing;
    const int position = InsertPosition();
    const MacroEditResult result = model_.InsertDelay(EditText(u"insert_delay_time_edit"), position);
    if (result == MacroEditResult::kDone)
        Refresh(position);
    return result;
}

MacroEditResult MacroPage::OnEditDelay()
{
    const int event = SelectedEvent();
    const std::u16string text = EditText(u"edit_delay_time_edit");
    int32_t ms = 0;
    const MacroEditResult read = MacroPageModel::ReadDelay(text, ms);
    if (read != MacroEditResult::kDone)
        return read;
    if (event < 0)
        return MacroEditResult::kNothing;
    const MacroEditResult result = model_.EditDelay(text, event);
    Refresh(event);
    return result;
}

MacroEditResult MacroPage::OnDeleteEvent()
{
    const int event = SelectedEvent();
    const MacroEditResult result = model_.DeleteEvent(event);
    if (result == MacroEditResult::kDone)
        Refresh(event);
    return result;
}

MacroEditResult MacroPage::OnInsertCommand(int command)
{
    if (!MacroPageModel::IsInsertCommand(command) || !TakeSelectedMacro())
        return MacroEditResult::kNothing;
    const int position = InsertPosition();
    const MacroEditResult result = model_.InsertMouseEvent(command, position);
    if (result == MacroEditResult::kDone)
        Refresh(position);
    return result;
}

MacroEditResult MacroPage::ReadFixedDelay(int32_t& ms) const
{
    return MacroPageModel::ReadDelay(EditText(u"default_delay_time_edit"), ms);
}

}  // namespace NeritApp
