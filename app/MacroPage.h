// The macro page's two lists: one name row per macro, one event row per
// event the page can show. Every event row keeps the index of its event, so
// that deleting, changing and inserting act on the event the user sees.
// The edits themselves are the model's; the page reads the edits' texts,
// the lists' selections and shows the outcome.
#pragma once

#include "app/MacroPageModel.h"
#include "ui/ControlUI.h"
#include "ui/ListUI.h"
#include "ui/WindowUIManager.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace NeritApp {

// Which delay edit a delay came from; each has its own messages.
enum class DelayEdit : int { kInsert = 0, kEdit = 1, kRecord = 2 };

class MacroPage {
public:
    static constexpr std::u16string_view kNoticeCaption = u"Notice by App";

    MacroPage(SkinUI::CWindowUIManager& manager, MacroPageModel& model);

    static std::unique_ptr<SkinUI::CControlUI> NameRow(std::u16string_view name, int number);
    static std::unique_ptr<SkinUI::CControlUI> EventRow(int kind, std::u16string_view label);
    // The text of the notice an edit's result asks for; empty for none.
    static std::u16string_view Notice(MacroEditResult result, DelayEdit edit);

    void FillNameList();
    void FillEventList(int k);
    // Adds the rows of the current macro's events from `firstEvent` on.
    void AppendRows(int firstEvent);
    // "itemclick" from a name row.
    void OnNameRowClick(SkinUI::CControlUI* row);

    MacroEditResult OnNew();
    void OnRenameClick();
    // "edit_return" of the name edit `number` (1-based).
    MacroEditResult OnEditReturn(int number);
    MacroEditResult OnDelete();
    MacroEditResult OnInsertDelay();
    MacroEditResult OnEditDelay();
    MacroEditResult OnDeleteEvent();
    MacroEditResult OnInsertCommand(int command);
    // The fixed recording delay of "default_delay_time_edit", by the rule
    // of the other delay edits.
    MacroEditResult ReadFixedDelay(int32_t& ms) const;

    // The event index of every row of the event list.
    const std::vector<int>& RowEvents() const { return rowEvents_; }

private:
    SkinUI::CListUI* List(std::u16string_view name) const;
    SkinUI::CControlUI* NameEdit(int row) const;
    std::u16string EditText(std::u16string_view name) const;
    // The event a new one goes to: after the selected row, else at the end.
    int InsertPosition() const;
    int SelectedEvent() const;
    int SelectedMacro() const;
    bool TakeSelectedMacro();
    void Refresh(int event);

    SkinUI::CWindowUIManager& manager_;
    MacroPageModel& model_;
    std::vector<int> rowEvents_;
};

}  // namespace NeritApp
