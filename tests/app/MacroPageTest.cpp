// The macro page's edits of the working macro list over a real store and a
// stand-in file system: names, the ten-macro limit, deleting with the
// assignments that follow, rows of events the page cannot show, delays and
// their checks, the insert menu and full macros.
#include "app/MacroPage.h"
#include "app/MacroPageModel.h"
#include "platform/FakeFileSystem.h"
#include "settings/ButtonFunctions.h"
#include "settings/CodePage.h"
#include "settings/MacroFiles.h"
#include "settings/SettingsLayout.h"
#include "settings/SettingsStore.h"
#include "tests/ui/LayoutWindowFixture.h"
#include "ui/EditUI.h"
#include "ui/ListUI.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

using namespace NeritApp;
using settings::MacroRecord;
namespace field = settings::layout::profile;

constexpr const char* kDefaultFile = "/data/profile/Macros";

class MacroPageTest : public ::testing::Test {
protected:
    MacroPageTest() { files.AddDirectory("/data/profile"); }

    MacroRecord Working(int k) const { return store->WorkingMacro(static_cast<size_t>(k)); }
    MacroRecord ProfileCopy(int profile, int k) const
    {
        return store->Profile(static_cast<size_t>(profile)).Macro(static_cast<size_t>(k));
    }
    void AddMacros(int n)
    {
        for (int i = 0; i < n; ++i)
            ASSERT_EQ(model.NewMacro(), MacroEditResult::kDone);
    }

    std::unique_ptr<settings::SettingsStore> store = std::make_unique<settings::SettingsStore>();
    NeritMainState state;
    platform::FakeFileSystem files;
    int language = 0;
    MacroPageModel model{*store, state, files, kDefaultFile, language};
};

TEST_F(MacroPageTest, NamesStayUniqueAndFitTheirField)
{
    AddMacros(2);
    EXPECT_EQ(Working(0).Name(), "Macro_1");
    EXPECT_EQ(Working(1).Name(), "Macro_2");
    EXPECT_EQ(model.Rename(0, u"Macro_2"), MacroEditResult::kDone);
    EXPECT_EQ(Working(0).Name(), "Macro_2*");
    EXPECT_EQ(ProfileCopy(0, 0).Name(), "Macro_2*");

    ASSERT_EQ(model.DeleteMacro(0), MacroEditResult::kDone);
    AddMacros(1);
    EXPECT_EQ(Working(1).Name(), "Macro_2*");

    // A full-length name taken already stays as it is: nothing spills past
    // the name field into the event count.
    const std::u16string longName(255, u'a');
    model.Rename(0, longName);
    model.Rename(1, longName);
    EXPECT_EQ(Working(1).Name(), std::string(255, 'a'));
    EXPECT_EQ(Working(1).StoredEventCount(), 0);
    EXPECT_EQ(model.Rename(2, u"x"), MacroEditResult::kNothing);
}

TEST_F(MacroPageTest, TheEleventhMacroIsRefusedAndSlotsStartEmpty)
{
    // Leftovers in the slots a new macro takes.
    for (int k = 0; k < 12; ++k)
        Working(k).AddEvent("t", "9.999", "");
    AddMacros(10);
    EXPECT_EQ(Working(3).EventCount(), 0);
    EXPECT_EQ(model.NewMacro(), MacroEditResult::kMacroLimit);
    EXPECT_EQ(store->WorkingMacroCount(), 10);
    EXPECT_EQ(Working(10).Name(), "");

    model.SetCurrentMacro(9);
    ASSERT_EQ(model.AddEvent(RowKind::kKeyDown, " A ", -1), MacroEditResult::kDone);
    ASSERT_EQ(model.DeleteMacro(2), MacroEditResult::kDone);
    EXPECT_EQ(Working(8).EventCount(), 1);  // moved down
    const MacroRecord freed = Working(9);
    for (size_t i = 0; i < settings::layout::macro::kSize; ++i)
        ASSERT_EQ(freed.Bytes()[i], 0) << i;
    EXPECT_EQ(store->Profile(0).Get(field::kMacroCount), 9);
    EXPECT_EQ(files.Contents(kDefaultFile)->size(), settings::kMacroFileSize);
}

TEST_F(MacroPageTest, DeleteRenumbersOnlyTheShownProfile)
{
    AddMacros(3);
    state.shownProfile = 2;
    settings::ProfileSettings shown = store->Profile(2);
    settings::ProfileSettings other = store->Profile(0);
    shown.Set(field::kButtonFunction, 0, settings::function::Macro);
    shown.Set(field::kButtonParam, 0, int32_t{3});
    shown.Set(field::kButtonFunction, 5, settings::function::Macro);
    shown.Set(field::kButtonParam, 5, int32_t{2});
    shown.Set(field::kButtonFunction, 6, settings::function::Macro);
    shown.Set(field::kButtonParam, 6, int32_t{1});
    other.Set(field::kButtonFunction, 0, settings::function::Macro);
    other.Set(field::kButtonParam, 0, int32_t{3});

    ASSERT_EQ(model.DeleteMacro(1), MacroEditResult::kDone);
    EXPECT_EQ(shown.Get(field::kButtonParam, 0), 2);
    EXPECT_EQ(shown.Get(field::kButtonFunction, 5), settings::kDefaultButtonFunctions[5]);
    EXPECT_EQ(shown.Get(field::kButtonParam, 5), 0);
    EXPECT_EQ(shown.Get(field::kButtonParam, 6), 1);
    EXPECT_EQ(other.Get(field::kButtonParam, 0), 3);
    EXPECT_EQ(Working(1).Name(), "Macro_3");
    EXPECT_EQ(ProfileCopy(2, 1).Name(), "Macro_3");

    EXPECT_EQ(model.DeleteMacro(2), MacroEditResult::kNothing);
    files.SetWritesFail(true);
    EXPECT_EQ(model.DeleteMacro(0), MacroEditResult::kWriteFailed);
    EXPECT_EQ(store->WorkingMacroCount(), 1);
}

TEST_F(MacroPageTest, RowsKeepTheIndexOfTheirEvent)
{
    AddMacros(1);
    MacroRecord macro = Working(0);
    macro.AddEvent("k", " A ", "down");
    macro.AddEvent("x", "what", "down");  // a kind the page cannot show
    macro.AddEvent("m", "left click        ", "up");
    macro.AddEvent("k", " A ", "sideways");
    macro.AddEvent("t", "0.250", "");

    std::vector<MacroRow> rows = model.Rows(0);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].kind, RowKind::kKeyDown);
    EXPECT_EQ(rows[0].label, u" A ");
    EXPECT_EQ(rows[1].kind, RowKind::kMouseUp);
    EXPECT_EQ(rows[1].event, 2);
    EXPECT_EQ(rows[1].label, u"Left Click         Up   ");
    EXPECT_EQ(rows[2].event, 4);
    EXPECT_EQ(rows[2].label, u"0.250 Sec Delay ");

    // Deleting the mouse row deletes the mouse event, not the unknown one.
    ASSERT_EQ(model.DeleteEvent(rows[1].event), MacroEditResult::kDone);
    EXPECT_EQ(macro.EventCount(), 4);
    EXPECT_EQ(macro.Event(1).Kind(), "x");
    EXPECT_EQ(macro.Event(2).Direction(), "sideways");
    EXPECT_EQ(macro.Event(4).Kind(), "");  // the freed place is empty
    EXPECT_EQ(ProfileCopy(0, 0).EventCount(), 4);
    EXPECT_EQ(model.DeleteEvent(4), MacroEditResult::kNothing);

    language = 3;
    ASSERT_EQ(model.Rows(0).size(), 2u);
    EXPECT_EQ(model.Rows(0)[1].label, u"0,250 s einfügen   ");
}

TEST_F(MacroPageTest, DelaysAreWholeNumbersFromOne)
{
    int32_t ms = 0;
    for (const char16_t* text : {u"", u"abc", u"12a", u" 5", u"-", u"1.5"})
        EXPECT_EQ(MacroPageModel::ReadDelay(text, ms), MacroEditResult::kNotANumber) << settings::ToNarrow(text);
    for (const char16_t* text : {u"0", u"-5", u"2147483648", u"99999999999999999999999"})
        EXPECT_EQ(MacroPageModel::ReadDelay(text, ms), MacroEditResult::kNotCorrectNumber) << settings::ToNarrow(text);
    EXPECT_EQ(MacroPageModel::ReadDelay(u"2147483647", ms), MacroEditResult::kDone);
    EXPECT_EQ(ms, 2147483647);
    EXPECT_EQ(MacroPageModel::DelayText(1500), "1.500");
    EXPECT_EQ(MacroPageModel::DelayText(250), "0.250");
    EXPECT_EQ(MacroPageModel::DelayText(2147483647), "2147483.647");

    AddMacros(1);
    EXPECT_EQ(model.InsertDelay(u"0", -1), MacroEditResult::kNotCorrectNumber);
    EXPECT_EQ(model.InsertDelay(u"abc", -1), MacroEditResult::kNotANumber);
    EXPECT_EQ(Working(0).EventCount(), 0);
    ASSERT_EQ(model.InsertDelay(u"250", -1), MacroEditResult::kDone);
    EXPECT_EQ(ProfileCopy(0, 0).Event(0).Name(), "0.250");
    EXPECT_EQ(model.InsertDelay(u"7", 5), MacroEditResult::kNothing);

    // A key event keeps its text; the delay changes.
    Working(0).AddEvent("k", " A ", "down");
    ASSERT_EQ(model.EditDelay(u"80", 1), MacroEditResult::kDone);
    EXPECT_EQ(Working(0).Event(1).Name(), " A ");
    EXPECT_EQ(ProfileCopy(0, 0).EventCount(), 2);  // committed all the same
    EXPECT_EQ(model.EditDelay(u"-80", 0), MacroEditResult::kNotCorrectNumber);
    ASSERT_EQ(model.EditDelay(u"1500", 0), MacroEditResult::kDone);
    EXPECT_EQ(Working(0).Event(0).Name(), "1.500");
    EXPECT_EQ(model.Rows(0)[0].label, u"1.500 Sec Delay ");
}

TEST_F(MacroPageTest, InsertMenuEventsAreCommittedInPlace)
{
    AddMacros(2);
    model.SetCurrentMacro(1);
    ASSERT_EQ(model.InsertMouseEvent(2205, -1), MacroEditResult::kDone);  // right click
    ASSERT_EQ(model.InsertMouseEvent(2210, 1), MacroEditResult::kDone);   // forward press between
    EXPECT_EQ(model.InsertMouseEvent(2199, -1), MacroEditResult::kNothing);
    EXPECT_EQ(model.InsertMouseEvent(2215, -1), MacroEditResult::kNothing);

    const MacroRecord copy = ProfileCopy(0, 1);
    ASSERT_EQ(copy.EventCount(), 3);
    EXPECT_EQ(copy.Event(0).Name(), "Right Click       ");
    EXPECT_EQ(copy.Event(0).Direction(), "down");
    EXPECT_EQ(copy.Event(1).Name(), "Browser Forward   ");
    EXPECT_EQ(copy.Event(2).Direction(), "up");
    EXPECT_EQ(model.Rows(1)[0].label, u"Right Click        Down ");
    EXPECT_EQ(Working(0).EventCount(), 0);

    ASSERT_EQ(model.InsertMouseEvent(2200, 0), MacroEditResult::kDone);  // left release first
    EXPECT_EQ(Working(1).Event(0).Name(), "Left Click        ");
    EXPECT_EQ(Working(1).Event(0).Direction(), "up");
    EXPECT_EQ(Working(1).Event(1).Name(), "Right Click       ");
}

TEST_F(MacroPageTest, AFullMacroTakesNoMoreEvents)
{
    AddMacros(2);
    for (int i = 0; i < 255; ++i)
        ASSERT_EQ(model.AddEvent(RowKind::kKeyDown, " A ", -1), MacroEditResult::kDone);
    EXPECT_EQ(model.InsertMouseEvent(2202, -1), MacroEditResult::kMacroFull);
    EXPECT_EQ(Working(0).EventCount(), 255);
    EXPECT_EQ(model.InsertMouseEvent(2201, 0), MacroEditResult::kDone);
    EXPECT_EQ(model.InsertDelay(u"10", -1), MacroEditResult::kMacroFull);
    EXPECT_EQ(model.AddEvent(RowKind::kWheelUpPress, "Scroll Wheel Up   ", -1), MacroEditResult::kMacroFull);
    EXPECT_EQ(Working(0).EventCount(), 256);
    EXPECT_EQ(Working(0).Event(0).Kind(), "m");
    EXPECT_EQ(Working(0).Event(255).Name(), " A ");
    EXPECT_EQ(Working(1).EventCount(), 0);
    EXPECT_EQ(Working(1).Event(0).Kind(), "");
    EXPECT_EQ(model.AddEvent(77, "", -1), MacroEditResult::kNothing);
}

// The page's lists in a headless window over the same model.
class MacroListsTest : public SkinUI::LayoutWindowFixture, public SkinUI::INotifyUI {
protected:
    void SetUp() override
    {
        LayoutWindowFixture::SetUp();
        files.AddDirectory("/data/profile");
        Open(u"<Window><VerticalLayout>"
             u"<List name=\"macro_name_list\" height=\"200\"/><List name=\"macro_item_list\" height=\"300\"/>"
             u"<Edit name=\"default_delay_time_edit\" text=\"-1\"/><Edit name=\"insert_delay_time_edit\" text=\"50\"/><Edit name=\"edit_delay_time_edit\" text=\"50\"/>"
             u"</VerticalLayout></Window>",
             *this, 0, 0, 400, 700);
    }
    void Notify(SkinUI::NotifyMessage&) override {}

    SkinUI::CListUI& List(std::u16string_view name)
    {
        return *static_cast<SkinUI::CListUI*>(window.manager.FindControl(name));
    }
    SkinUI::CControlUI* Find(std::u16string_view name) { return window.manager.FindControl(name); }
    // The control named `name` in row `row` of the event list.
    SkinUI::CControlUI* InRow(int row, std::u16string_view name)
    {
        auto* element = dynamic_cast<SkinUI::CContainerUI*>(List(u"macro_item_list").GetItemAt(row));
        auto* box = element != nullptr ? dynamic_cast<SkinUI::CContainerUI*>(element->GetItemAt(0)) : nullptr;
        for (int i = 0; box != nullptr && i < box->GetCount(); ++i) {
            if (box->GetItemAt(i)->GetName() == name)
                return box->GetItemAt(i);
        }
        return nullptr;
    }
    std::u16string Label(int row)
    {
        SkinUI::CControlUI* label = InRow(row, u"macro_type_name");
        return label != nullptr ? label->GetText() : u"(none)";
    }

    std::unique_ptr<settings::SettingsStore> store = std::make_unique<settings::SettingsStore>();
    NeritMainState state;
    platform::FakeFileSystem files;
    int language = 0;
    MacroPageModel model{*store, state, files, kDefaultFile, language};
    MacroPage page{window.manager, model};
};

TEST_F(MacroListsTest, RowsShowMacrosAndTheEventsTheyCanShow)
{
    ASSERT_EQ(page.OnNew(), MacroEditResult::kDone);
    ASSERT_EQ(page.OnNew(), MacroEditResult::kDone);
    MacroRecord macro = store->WorkingMacro(0);
    macro.AddEvent("t", "0.250", "");
    macro.AddEvent("x", "what", "");
    macro.AddEvent("k", " A ", "up");
    page.FillNameList();

    ASSERT_EQ(List(u"macro_name_list").GetCount(), 2);
    auto* edit = dynamic_cast<SkinUI::CEditUI*>(Find(u"macro_file_name_2"));
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->GetText(), u"Macro_2");
    EXPECT_TRUE(edit->IsReadOnly());
    EXPECT_EQ(List(u"macro_name_list").GetItemAt(1)->GetFixedHeight(), 18);

    ASSERT_EQ(List(u"macro_item_list").GetCount(), 2);
    EXPECT_EQ(page.RowEvents(), (std::vector<int>{0, 2}));
    EXPECT_EQ(List(u"macro_item_list").GetItemAt(0)->GetFixedHeight(), 20);
    EXPECT_EQ(InRow(0, u"macro_type_icon")->GetBkImage(), u"file='MacroSignTimer.bmp' mask='0xff000000'");
    EXPECT_EQ(InRow(1, u"macro_type_icon")->GetBkImage(), u"MacroSignUp.bmp");
    EXPECT_EQ(Label(0), u"0.250 Sec Delay ");

    // A click on the second name row shows the second macro.
    page.OnNameRowClick(List(u"macro_name_list").GetItemAt(1));
    EXPECT_EQ(List(u"macro_name_list").GetCurSel(), 1);
    EXPECT_EQ(model.CurrentMacro(), 1);
    EXPECT_EQ(List(u"macro_item_list").GetCount(), 0);

    // Renamed through its edit.
    page.OnRenameClick();
    EXPECT_FALSE(edit->IsReadOnly());
    edit->SetText(u"Macro_1");
    ASSERT_EQ(page.OnEditReturn(2), MacroEditResult::kDone);
    EXPECT_EQ(edit->GetText(), u"Macro_1*");
    EXPECT_TRUE(edit->IsReadOnly());
    EXPECT_EQ(store->Profile(0).Macro(1).Name(), "Macro_1*");
}

TEST_F(MacroListsTest, EditsActOnTheEventOfTheSelectedRow)
{
    ASSERT_EQ(page.OnNew(), MacroEditResult::kDone);
    MacroRecord macro = store->WorkingMacro(0);
    macro.AddEvent("k", " A ", "down");
    macro.AddEvent("x", "what", "");
    macro.AddEvent("m", "Left Click        ", "up");
    macro.AddEvent("k", " A ", "up");
    page.FillNameList();
    List(u"macro_name_list").SelectItem(0);
    ASSERT_EQ(List(u"macro_item_list").GetCount(), 3);

    // Row 1 shows event 2.
    List(u"macro_item_list").SelectItem(1);
    ASSERT_EQ(page.OnDeleteEvent(), MacroEditResult::kDone);
    ASSERT_EQ(macro.EventCount(), 3);
    EXPECT_EQ(macro.Event(1).Kind(), "x");
    EXPECT_EQ(macro.Event(2).Direction(), "up");
    EXPECT_EQ(Label(1), u" A ");

    // A click after row 0 lands after event 0, committed.
    List(u"macro_item_list").SelectItem(0);
    ASSERT_EQ(page.OnInsertCommand(2205), MacroEditResult::kDone);
    EXPECT_EQ(store->Profile(0).Macro(0).EventCount(), 5);
    EXPECT_EQ(macro.Event(1).Name(), "Right Click       ");
    EXPECT_EQ(macro.Event(3).Kind(), "x");
    EXPECT_EQ(Label(1), u"Right Click        Down ");
    EXPECT_EQ(Label(2), u"Right Click        Up   ");

    // A delay after the last row, then changed through its row.
    List(u"macro_item_list").SelectItem(3);
    Find(u"insert_delay_time_edit")->SetText(u"1500");
    ASSERT_EQ(page.OnInsertDelay(), MacroEditResult::kDone);
    EXPECT_EQ(macro.Event(5).Name(), "1.500");
    EXPECT_EQ(Label(4), u"1.500 Sec Delay ");
    EXPECT_EQ(List(u"macro_item_list").GetCurSel(), 4);
    Find(u"edit_delay_time_edit")->SetText(u"x1");
    EXPECT_EQ(page.OnEditDelay(), MacroEditResult::kNotANumber);
    EXPECT_EQ(MacroPage::Notice(MacroEditResult::kNotANumber, DelayEdit::kEdit),
              u"Please input the number of the editing delay time .");
    Find(u"edit_delay_time_edit")->SetText(u"20");
    ASSERT_EQ(page.OnEditDelay(), MacroEditResult::kDone);
    EXPECT_EQ(macro.Event(5).Name(), "0.020");
    EXPECT_EQ(Label(4), u"0.020 Sec Delay ");
    int32_t fixed = 0;
    EXPECT_EQ(page.ReadFixedDelay(fixed), MacroEditResult::kNotCorrectNumber);
    EXPECT_EQ(MacroPage::Notice(MacroEditResult::kNotCorrectNumber, DelayEdit::kRecord),
              u"Please input the correct number word .");
    Find(u"default_delay_time_edit")->SetText(u"1500");
    EXPECT_EQ(page.ReadFixedDelay(fixed), MacroEditResult::kDone);
    EXPECT_EQ(fixed, 1500);

    // No row selected: after the last row, before the row-less event after it.
    ASSERT_EQ(page.OnNew(), MacroEditResult::kDone);
    MacroRecord second = store->WorkingMacro(1);
    second.AddEvent("k", " B ", "down");
    second.AddEvent("x", "what", "");
    page.OnNameRowClick(List(u"macro_name_list").GetItemAt(1));
    ASSERT_EQ(List(u"macro_item_list").GetCurSel(), -1);
    ASSERT_EQ(page.OnInsertCommand(2201), MacroEditResult::kDone);
    EXPECT_EQ(second.Event(1).Name(), "Left Click        ");
    EXPECT_EQ(second.Event(2).Kind(), "x");
    EXPECT_EQ(macro.EventCount(), 6);

    // The insert menu acts on the selected macro, as the delay insert does,
    // even when the selection moved without a click.
    List(u"macro_name_list").SelectItem(0);
    ASSERT_EQ(page.OnInsertCommand(2200), MacroEditResult::kDone);
    EXPECT_EQ(macro.EventCount(), 7);
    EXPECT_EQ(second.EventCount(), 3);
}

}  // namespace
