// The macro page in the real main window, headless over a simulated mouse:
// a recorded macro reaches the mouse byte for byte, an edited one reads back
// as edited, export and import keep the macros, and the page stays inert
// while it records.
#include "app/MacroWorkflow.h"
#include "device/Protocol.h"
#include "platform/QueuedRawInput.h"
#include "settings/WorkingMacros.h"
#include "tests/app/MainWindowFixture.h"
#include "ui/ButtonUI.h"
#include "ui/EditUI.h"
#include "ui/ListUI.h"

#include <algorithm>
#include <array>

namespace {

using namespace maintest;
using platform::RawButton;
using platform::RawInputEvent;
using platform::RawInputKind;

class MacroWorkflowTest : public MainWindowFixture {
protected:
    void StartOnMacroPage(bool desktopInput = true)
    {
        window.UseRecorderInput(desktopInput ? &desktop : nullptr, clock);
        Start();
        Click(u"macromanagebtn");
        ASSERT_EQ(CurrentTab(), 2);
    }

    SkinUI::CListUI* List(std::u16string_view name) { return dynamic_cast<SkinUI::CListUI*>(Find(name)); }

    void ClickRow(std::u16string_view list, int row)
    {
        SkinUI::CControlUI* item = List(list)->GetItemAt(row);
        ASSERT_NE(item, nullptr);
        const SkinUI::UIRect rect = item->GetItemRect();
        ClickAt((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    }

    void ClickAt(int x, int y)
    {
        system.InjectMouse(window.GetHWND(), platform::WM_MOUSEMOVE, x, y);
        system.InjectMouse(window.GetHWND(), platform::WM_LBUTTONDOWN, x, y, platform::MK_LBUTTON);
        system.InjectMouse(window.GetHWND(), platform::WM_LBUTTONUP, x, y);
        Run();
    }

    // A new macro, selected.
    void NewMacro()
    {
        Click(u"macro_new_btn");
        ClickRow(u"macro_name_list", List(u"macro_name_list")->GetCount() - 1);
    }

    void Key(uint8_t virtualKey, bool down)
    {
        RawInputEvent event;
        event.kind = RawInputKind::Key;
        event.virtualKey = virtualKey;
        event.down = down;
        desktop.Push(event);
    }

    void Button(RawButton button, bool down)
    {
        RawInputEvent event;
        event.kind = RawInputKind::Button;
        event.button = button;
        event.down = down;
        desktop.Push(event);
    }

    // The stop button's click, seen by the window and by the desktop.
    void ClickStop()
    {
        const SkinUI::UIRect rect = Find(u"macro_record_stop_btn")->GetItemRect();
        const int x = (rect.left + rect.right) / 2, y = (rect.top + rect.bottom) / 2;
        system.InjectMouse(window.GetHWND(), platform::WM_MOUSEMOVE, x, y);
        Run();
        Button(RawButton::Left, true);
        Button(RawButton::Left, false);
        system.InjectMouse(window.GetHWND(), platform::WM_LBUTTONDOWN, x, y, platform::MK_LBUTTON);
        system.InjectMouse(window.GetHWND(), platform::WM_LBUTTONUP, x, y);
        Run();
    }

    // The first macro on button 6, played once, saved to profile 1.
    void AssignToButtonSixAndSave()
    {
        Click(u"maincontrolbtn");
        Click(u"button_6_btn");
        system.PostMessage(window.GetHWND(), platform::WM_COMMAND, 2041, 0);
        Run();
        ASSERT_TRUE(PopupState::IsOpen());
        popup = PopupState::Top();
        Answer(platform::VK_RETURN);
        Confirm(u"profile1savebtn");
    }

    std::vector<std::string> Events(const settings::MacroRecord& macro)
    {
        std::vector<std::string> events;
        for (int k = 0; k < macro.EventCount(); ++k) {
            const settings::MacroEvent event = macro.Event(static_cast<size_t>(k));
            events.push_back(event.Kind() + "|" + event.Name() + "|" + event.Direction());
        }
        return events;
    }

    std::vector<std::u16string> RowLabels()
    {
        std::vector<std::u16string> labels;
        SkinUI::CListUI* list = List(u"macro_item_list");
        for (int row = 0; row < list->GetCount(); ++row) {
            auto* box = dynamic_cast<SkinUI::CContainerUI*>(list->GetItemAt(row));
            auto* layout = box != nullptr ? dynamic_cast<SkinUI::CContainerUI*>(box->GetItemAt(0)) : nullptr;
            labels.push_back(layout != nullptr ? layout->GetItemAt(1)->GetText() : u"?");
        }
        return labels;
    }

    // What the window last showed inside `rect`.
    std::vector<uint32_t> Shown(const SkinUI::UIRect& rect)
    {
        const platform::HeadlessWindowSystem::Frame* frame = system.LastFrame(window.GetHWND());
        std::vector<uint32_t> pixels;
        for (int y = rect.top; frame != nullptr && y < std::min(rect.bottom, frame->height); ++y) {
            for (int x = rect.left; x < std::min(rect.right, frame->width); ++x)
                pixels.push_back(frame->At(x, y));
        }
        return pixels;
    }

    size_t Boxes() const { return system.MessageBoxCalls().size(); }
    std::string LastBox() const { return system.MessageBoxCalls().empty() ? "" : system.MessageBoxCalls().back().text; }

    platform::QueuedRawInput desktop{clock};
};

TEST_F(MacroWorkflowTest, ARecordedMacroReachesTheMouseByteForByte)
{
    StartOnMacroPage();
    NewMacro();
    Click(u"macro_record_btn");
    ASSERT_TRUE(window.State().recording);
    EXPECT_EQ(dynamic_cast<SkinUI::CButtonUI*>(Find(u"macro_record_btn"))->GetNormalImage(),
              u"file='MacroRecord1.png' mask='0xffffffff' ");
    // The release of the click that started the recording comes first and
    // is dropped.
    Button(RawButton::Left, false);
    clock.SleepMs(400);
    Key(0x41, true);
    clock.SleepMs(250);
    Key(0x41, false);
    clock.SleepMs(1000);
    Button(RawButton::Left, true);
    clock.SleepMs(100);
    Button(RawButton::Left, false);
    // The poll timer brings them in while the button blinks.
    system.AdvanceTime(600);
    Run();
    EXPECT_EQ(dynamic_cast<SkinUI::CButtonUI*>(Find(u"macro_record_btn"))->GetNormalImage(),
              u"file='MacroRecord2.png' mask='0xffffffff' ");
    EXPECT_EQ(List(u"macro_item_list")->GetCount(), 8);
    clock.SleepMs(3000);
    ClickStop();
    EXPECT_FALSE(window.State().recording);

    // The time before the first key is kept too (the mouse has no place
    // for it: a delay follows its event there).
    const std::vector<std::string> expected = {"t|0.400|",
                                               "k| A |down",
                                               "t|0.250|",
                                               "k| A |up",
                                               "t|1.000|",
                                               "m|Left Click        |down",
                                               "t|0.100|",
                                               "m|Left Click        |up"};
    EXPECT_EQ(Events(settings::Store().WorkingMacro(0)), expected);
    EXPECT_EQ(Events(settings::Store().Profile(0).Macro(0)), expected) << "committed to the shown profile";
    EXPECT_EQ(RowLabels()[2], u"0.250 Sec Delay ");
    EXPECT_EQ(RowLabels()[7], u"Left Click         Up   ");
    // The default macro file holds the recording.
    settings::SettingsStore fromFile;
    ASSERT_EQ(settings::LoadMacrosFile(fromFile, settings.Files(), folder.File("profile/Macros")),
              settings::kMacroFileLoaded);
    EXPECT_EQ(Events(fromFile.WorkingMacro(0)), expected);

    AssignToButtonSixAndSave();
    const sim::MacroSlot& slot = Mouse().profiles[0].macros[device::kButtonSlot[5]];
    sim::MacroSlot want{};
    const std::array<uint8_t, 14> head = {0x00, 0x01,          // played once
                                          0x80, 0x0C, 0x04,    // A down, 250 ms
                                          0x00, 0x32, 0x04,    // A up, 1000 ms
                                          0x80, 0x05, 0xB7,    // left down, 100 ms
                                          0x00, 0x00, 0xB7};   // left up
    std::copy(head.begin(), head.end(), want.begin());
    EXPECT_EQ(slot, want);
    // The blinking ends with the first picture at the next tick.
    system.AdvanceTime(600);
    Run();
    EXPECT_EQ(dynamic_cast<SkinUI::CButtonUI*>(Find(u"macro_record_btn"))->GetNormalImage(),
              u"file='MacroRecord1.png' mask='0xffffffff' ");
}

TEST_F(MacroWorkflowTest, AnEditedMacroReadsBackFromTheMouseAsEdited)
{
    StartOnMacroPage();
    NewMacro();
    // A right click from the insert menu into the empty list.
    Click(u"insert_mouse_event_btn");
    system.PostMessage(window.GetHWND(), platform::WM_COMMAND, 2205, 0);
    Run();
    ASSERT_EQ(List(u"macro_item_list")->GetCount(), 2);
    // A delay after the press, then changed.
    ClickRow(u"macro_item_list", 0);
    Find(u"insert_delay_time_edit")->SetText(u"300");
    Click(u"insert_delay_time_btn");
    ClickRow(u"macro_item_list", 1);
    Find(u"edit_delay_time_edit")->SetText(u"500");
    Click(u"edit_delay_time_btn");
    // A left click after the last row; its press deleted again.
    List(u"macro_item_list")->SelectItem(-1);
    Click(u"insert_mouse_event_btn");
    system.PostMessage(window.GetHWND(), platform::WM_COMMAND, 2202, 0);
    Run();
    ClickRow(u"macro_item_list", 3);
    Click(u"delete_mouse_event_btn");
    const std::vector<std::string> edited = {"m|Right Click       |down", "t|0.500|", "m|Right Click       |up",
                                             "m|Left Click        |up"};
    ASSERT_EQ(Events(settings::Store().WorkingMacro(0)), edited);
    EXPECT_EQ(RowLabels(), (std::vector<std::u16string>{u"Right Click        Down ", u"0.500 Sec Delay ",
                                                        u"Right Click        Up   ", u"Left Click         Up   "}));
    // A tab switch keeps what was inserted.
    Click(u"performancebtn");
    Click(u"macromanagebtn");
    EXPECT_EQ(Events(settings::Store().WorkingMacro(0)), edited);

    const std::vector<std::u16string> rows = RowLabels();
    AssignToButtonSixAndSave();
    // Read back, the events carry the mouse's own shorter names and show
    // as they did.
    settings::Store().Profile(0).Macro(0).Clear();
    int remembered = 0;
    ASSERT_TRUE(settings.Commands().LoadFromMouse(remembered).Empty());
    EXPECT_EQ(Events(settings::Store().Profile(0).Macro(0)),
              (std::vector<std::string>{"m|Right Click    |down", "t|0.500|", "m|Right Click    |up",
                                        "m|Left Click     |up"}));
    Click(u"macromanagebtn");
    ClickRow(u"macro_name_list", 0);
    EXPECT_EQ(RowLabels(), rows);
}

TEST_F(MacroWorkflowTest, ExportThenImportKeepsTheMacros)
{
    StartOnMacroPage();
    for (int i = 0; i < 2; ++i) {
        NewMacro();
        Click(u"insert_mouse_event_btn");
        system.PostMessage(window.GetHWND(), platform::WM_COMMAND, 2200 + 3 * i + 2, 0);
        Run();
    }
    const std::vector<std::string> first = Events(settings::Store().WorkingMacro(0));
    const std::vector<std::string> second = Events(settings::Store().WorkingMacro(1));
    ASSERT_EQ(second.size(), 2u);

    // A name without extension gets ".vqm", in the macro folder.
    const std::string exported = folder.File("macro_files/mine");
    dialog.QueueChosen(exported);
    Click(u"macro_export_btn");
    ASSERT_EQ(dialog.Requests().size(), 1u);
    EXPECT_EQ(dialog.Requests()[0].folder, folder.File("macro_files"));
    EXPECT_EQ(dialog.Requests()[0].filters[0].name, "Macro File (*.vqm)");
    ASSERT_TRUE(std::filesystem::exists(exported + ".vqm"));

    ClickRow(u"macro_name_list", 0);
    Click(u"macro_delete_btn");
    ClickRow(u"macro_name_list", 0);
    Click(u"macro_delete_btn");
    ASSERT_EQ(List(u"macro_name_list")->GetCount(), 0);

    // A file that is no macro list changes nothing and says so.
    std::ofstream(folder.File("macro_files/broken.vqm")) << "not macros";
    const size_t boxes = Boxes();
    dialog.QueueChosen(folder.File("macro_files/broken.vqm"));
    Click(u"macro_import_btn");
    ASSERT_EQ(Boxes(), boxes + 1);
    EXPECT_NE(LastBox().find("broken.vqm"), std::string::npos);
    EXPECT_EQ(settings::Store().WorkingMacroCount(), 0);

    dialog.QueueChosen(exported + ".vqm");
    Click(u"macro_import_btn");
    ASSERT_EQ(List(u"macro_name_list")->GetCount(), 2);
    EXPECT_EQ(Events(settings::Store().WorkingMacro(0)), first);
    EXPECT_EQ(Events(settings::Store().Profile(0).Macro(1)), second) << "committed";
    settings::SettingsStore fromFile;
    ASSERT_EQ(settings::LoadMacrosFile(fromFile, settings.Files(), folder.File("profile/Macros")),
              settings::kMacroFileLoaded);
    EXPECT_EQ(Events(fromFile.WorkingMacro(1)), second) << "the default file follows the import";

    // A list of twelve keeps its first ten and says so.
    settings::SettingsStore twelve;
    twelve.SetWorkingMacroCount(12);
    for (int k = 0; k < 12; ++k)
        twelve.WorkingMacro(static_cast<size_t>(k)).SetName("M" + std::to_string(k + 1));
    ASSERT_TRUE(settings::SaveMacrosFile(twelve, settings.Files(), folder.File("macro_files/twelve.vqm")));
    dialog.QueueChosen(folder.File("macro_files/twelve.vqm"));
    Click(u"macro_import_btn");
    EXPECT_EQ(List(u"macro_name_list")->GetCount(), 10);
    EXPECT_EQ(settings::Store().WorkingMacroCount(), 10);
    EXPECT_EQ(settings::Store().WorkingMacro(9).Name(), "M10");
    EXPECT_NE(LastBox().find("12"), std::string::npos);
}

// The blinking reaches the screen, not only the button's attributes.
TEST_F(MacroWorkflowTest, TheRecordButtonBlinksOnTheScreen)
{
    StartOnMacroPage();
    NewMacro();
    Click(u"macro_record_btn");
    ASSERT_TRUE(window.State().recording);
    // Off the button, which then shows its normal picture.
    const SkinUI::UIRect rect = Find(u"macro_record_btn")->GetItemRect();
    system.InjectMouse(window.GetHWND(), platform::WM_MOUSEMOVE, rect.left, rect.bottom + 100);
    Run();
    const std::vector<uint32_t> first = Shown(rect);
    ASSERT_FALSE(first.empty());
    system.AdvanceTime(600);
    Run();
    EXPECT_TRUE(Shown(rect) != first) << "the second picture is shown";
    system.AdvanceTime(600);
    Run();
    EXPECT_TRUE(Shown(rect) == first);
    system.AdvanceTime(600);
    Run();
    ClickStop();
    system.InjectMouse(window.GetHWND(), platform::WM_MOUSEMOVE, rect.left, rect.bottom + 100);
    Run();
    EXPECT_TRUE(Shown(rect) == first) << "the first picture after the stop";
}

TEST_F(MacroWorkflowTest, ThePageIsInertWhileRecordingAndAFullMacroEndsIt)
{
    StartOnMacroPage();
    NewMacro();
    auto* ignore = dynamic_cast<SkinUI::COptionUI*>(Find(u"ignore_delay_option"));
    ASSERT_NE(ignore, nullptr);
    ignore->Selected(true, false);
    Click(u"macro_record_btn");
    ASSERT_TRUE(window.State().recording);
    Click(u"macro_new_btn");
    EXPECT_EQ(List(u"macro_name_list")->GetCount(), 1) << "a click off the stop button is swallowed";

    const size_t boxes = Boxes();
    for (int i = 0; i < 200; ++i) {
        Key(0x41, true);
        Key(0x41, false);
    }
    system.AdvanceTime(20);
    Run();
    EXPECT_FALSE(window.State().recording);
    EXPECT_EQ(settings::Store().WorkingMacro(0).EventCount(), 256);
    EXPECT_EQ(settings::Store().Profile(0).Macro(0).EventCount(), 256) << "committed";
    EXPECT_EQ(List(u"macro_item_list")->GetCount(), 256);
    // The list keeps the newest row in sight.
    const SkinUI::UIRect list = List(u"macro_item_list")->GetItemRect();
    const SkinUI::UIRect last = List(u"macro_item_list")->GetItemAt(255)->GetItemRect();
    EXPECT_GT(last.top, list.top);
    EXPECT_LE(last.bottom, list.bottom);
    // Said: the macro is full, and the mouse keeps only the first 80.
    ASSERT_EQ(Boxes(), boxes + 2);
    EXPECT_EQ(system.MessageBoxCalls()[boxes].text, std::string(kMacroFullRecordingText[0]));
    EXPECT_NE(LastBox().find("256 key and button events"), std::string::npos);
    // The page works again.
    Click(u"macro_new_btn");
    EXPECT_EQ(List(u"macro_name_list")->GetCount(), 2);
}

TEST_F(MacroWorkflowTest, WithoutDesktopInputTheWindowsOwnKeysAreRecorded)
{
    StartOnMacroPage(false);
    NewMacro();
    const size_t boxes = Boxes();
    Click(u"macro_record_btn");
    ASSERT_EQ(Boxes(), boxes + 1);
    EXPECT_EQ(LastBox(), std::string(kWindowOnlyRecordingText[0]));
    system.InjectKey(window.GetHWND(), 'B', true);
    system.InjectKey(window.GetHWND(), 'B', false);
    Run();
    ClickStop();
    EXPECT_EQ(Events(settings::Store().WorkingMacro(0)),
              (std::vector<std::string>{"k| B |down", "t|0.000|", "k| B |up"}));
    // Said once only.
    Click(u"macro_record_btn");
    EXPECT_EQ(Boxes(), boxes + 1);
    ClickStop();
}

TEST_F(MacroWorkflowTest, LimitsAndBadNumbersAreToldAndChangeNothing)
{
    StartOnMacroPage();
    for (int i = 0; i < 10; ++i)
        Click(u"macro_new_btn");
    Click(u"macro_new_btn");
    EXPECT_EQ(List(u"macro_name_list")->GetCount(), 10);
    ASSERT_TRUE(PopupState::IsOpen()) << "the macro-limit box";
    EXPECT_NE(window.State().popupFlags & PopupFlag::kMessageBox, 0u);
    popup = PopupState::Top();
    Answer(platform::VK_RETURN);
    EXPECT_EQ(window.State().popupFlags & PopupFlag::kMessageBox, 0u);

    ClickRow(u"macro_name_list", 0);
    const size_t boxes = Boxes();
    Find(u"insert_delay_time_edit")->SetText(u"abc");
    Click(u"insert_delay_time_btn");
    Find(u"insert_delay_time_edit")->SetText(u"0");
    Click(u"insert_delay_time_btn");
    ASSERT_EQ(Boxes(), boxes + 2);
    EXPECT_EQ(system.MessageBoxCalls()[boxes].text, "Please input the number of the delay time .");
    EXPECT_EQ(system.MessageBoxCalls()[boxes + 1].text, "The delay time number should not be 0 .");
    EXPECT_EQ(settings::Store().WorkingMacro(0).EventCount(), 0);

    // Clicks past the 80 events the mouse keeps are told once.
    for (int i = 0; i < 42; ++i)
        system.PostMessage(window.GetHWND(), platform::WM_COMMAND, 2202, 0);
    Run();
    EXPECT_EQ(settings::Store().WorkingMacro(0).EventCount(), 84);
    ASSERT_EQ(Boxes(), boxes + 3);
    EXPECT_NE(LastBox().find("82 key and button events"), std::string::npos);

    // A fixed recording delay below 1 starts nothing.
    auto* fixed = dynamic_cast<SkinUI::COptionUI*>(Find(u"insert_default_delay_option"));
    ASSERT_NE(fixed, nullptr);
    fixed->Selected(true, false);
    Find(u"default_delay_time_edit")->SetText(u"-5");
    Click(u"macro_record_btn");
    EXPECT_FALSE(window.State().recording);
    EXPECT_EQ(LastBox(), "Please input the correct number word .");
}

}  // namespace
