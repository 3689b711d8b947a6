// The macro page's edits of the working macro list over a real store and a
// stand-in file system: names, the ten-macro limit, deleting with the
// assignments that follow, rows of events the page cannot show, delays and
// their checks, the insert menu and full macros.
#include "app/MacroPageModel.h"
#include "platform/FakeFileSystem.h"
#include "settings/ButtonFunctions.h"
#include "settings/CodePage.h"
#include "settings/MacroFiles.h"
#include "settings/SettingsLayout.h"
#include "settings/SettingsStore.h"

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
    EXPECT_EQ(model.Rows(0)[1].label, u"0.250 Sec einfügen   ");
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

}  // namespace
