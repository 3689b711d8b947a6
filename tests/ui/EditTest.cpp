#include "LayoutWindowFixture.h"
#include "ui/EditUI.h"
#include "ui/ListContainerElementUI.h"
#include "ui/ListUI.h"
#include "ui/PaintSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace SkinUI {
namespace {

using namespace platform;

// "type sender" of every notification but focus and window set-up.
struct Log final : INotifyUI {
    void Notify(NotifyMessage& message) override
    {
        if (message.type == u"setfocus" || message.type == u"killfocus" || message.type == u"windowinit")
            return;
        const std::u16string name = message.sender != nullptr ? message.sender->GetName() : u"-";
        std::string line(message.type.begin(), message.type.end());
        lines.push_back(line + " " + std::string(name.begin(), name.end()));
    }
    std::vector<std::string> lines;
};

// Rows of 30 pixels: e1 0, e2 30, pw 60, short 90, btn 120, then a list
// whose first row (150..180) holds a read-only name edit, and "dark" at 210.
constexpr std::u16string_view kLayout =
    u"<Window><VerticalLayout>"
    u"<Edit name=\"e1\" height=\"30\" text=\"hello world\"/>"
    u"<Edit name=\"e2\" height=\"30\" text=\"paste:\"/>"
    u"<Edit name=\"pw\" height=\"30\" password=\"true\" text=\"a\U0001F600b\"/>"
    u"<Edit name=\"short\" height=\"30\" maxchar=\"5\" text=\"ab\"/>"
    u"<Button name=\"btn\" height=\"30\" text=\"ok\"/>"
    u"<List name=\"list\" height=\"60\">"
    u"<ListContainerElement name=\"row\" height=\"30\"><Edit name=\"ro\" readonly=\"true\" text=\"macro 1\"/>"
    u"</ListContainerElement><ListContainerElement name=\"row2\" height=\"30\"/></List>"
    u"<Edit name=\"dark\" height=\"30\" text=\"MMMM\" nativebkcolor=\"#FF000000\" textcolor=\"#00FFFFFF\"/>"
    u"<Label name=\"label\" height=\"30\" text=\"label\"/>"
    u"</VerticalLayout></Window>";

class EditTest : public LayoutWindowFixture {
protected:
    Log log;

    void SetUp() override
    {
        LayoutWindowFixture::SetUp();
        Open(kLayout, log, 0, 0, 300, 300);
    }
    CEditUI* Edit(std::u16string_view name) { return static_cast<CEditUI*>(window.manager.FindControl(name)); }
    WindowId Hwnd() { return window.GetHWND(); }
    void Click(int x, int y, unsigned flags = 0)
    {
        system.InjectMouse(Hwnd(), WM_MOUSEMOVE, x, y, flags);
        system.InjectMouse(Hwnd(), WM_LBUTTONDOWN, x, y, flags | MK_LBUTTON);
        system.InjectMouse(Hwnd(), WM_LBUTTONUP, x, y, flags);
        system.RunPending();
    }
    void Type(std::u16string_view text)
    {
        system.InjectText(Hwnd(), text);
        system.RunPending();
    }
    void Key(int vk, int times = 1)
    {
        for (int i = 0; i < times; ++i)
            LayoutWindowFixture::Key(Hwnd(), vk);
    }
    // `vk` pressed `times` while `modifier` is held.
    void Chord(int modifier, int vk, int times = 1)
    {
        system.InjectKey(Hwnd(), modifier, true);
        Key(vk, times);
        system.InjectKey(Hwnd(), modifier, false);
        system.RunPending();
    }
    void Focus(std::u16string_view name)
    {
        window.manager.SetFocus(Edit(name));
        system.RunPending();
    }
    // Where the text of an edit of the first row ends after `prefix`.
    int XAfter(std::u16string_view prefix)
    {
        const auto painter = system.CreatePainter(1, 1);
        const auto font = FontSpecFor(&window.manager, -1);
        return 4 + painter->MeasureText(prefix, font, 0, TextFlag::Left | TextFlag::VCenter | TextFlag::SingleLine).cx;
    }
    // The pixels of the window's rows [top, bottom) as last painted.
    std::vector<uint32_t> Rows(int top, int bottom)
    {
        window.manager.Invalidate();
        system.RunPending();
        const auto* frame = system.LastFrame(Hwnd());
        if (frame == nullptr)
            return {};
        return {frame->pixels.begin() + top * frame->width, frame->pixels.begin() + bottom * frame->width};
    }
};

TEST_F(EditTest, ComposedTextReplacesTheSelectionAtTheMovedCaret)
{
    CEditUI* e1 = Edit(u"e1");
    Click(296, 15);  // right of the text: the caret goes to the end
    ASSERT_TRUE(e1->IsEditing());
    EXPECT_EQ(e1->GetCaret(), 11u);
    EXPECT_EQ(system.TextInputWindow(), Hwnd());

    Key(VK_LEFT, 5);  // before "world"
    Chord(VK_SHIFT, VK_RIGHT, 5);
    EXPECT_EQ(e1->GetSelectionStart(), 6u);
    EXPECT_EQ(e1->GetSelectionEnd(), 11u);

    // Pending text shows without changing the text; the input method's
    // caret rectangle follows its cursor.
    system.InjectComposition(Hwnd(), "\xE3\x81\xAB\xE3\x81\xBB\xE3\x82\x93", 2);
    system.RunPending();
    EXPECT_EQ(e1->GetComposition(), u"\u306B\u307B\u3093");
    EXPECT_EQ(system.TextInputCaret().left, XAfter(u"hello \u306B\u307B"));
    EXPECT_EQ(e1->GetText(), u"hello world");
    EXPECT_TRUE(log.lines.empty());

    // The commit replaces the selection.
    Type(u"\u65E5\u672C");
    EXPECT_TRUE(e1->GetComposition().empty());
    EXPECT_EQ(e1->GetText(), u"hello \u65E5\u672C");
    EXPECT_EQ(e1->GetCaret(), 8u);

    // A surrogate pair is one character for typing and Backspace.
    Type(u"\U0001F600");
    EXPECT_EQ(e1->GetText(), u"hello \u65E5\u672C\U0001F600");
    Key(VK_BACK);
    EXPECT_EQ(e1->GetText(), u"hello \u65E5\u672C");

    // Ctrl+letter and other control characters are not text.
    Chord(VK_CONTROL, 'B');
    Type(u"\x7F");
    EXPECT_EQ(e1->GetText(), u"hello \u65E5\u672C");
    EXPECT_EQ(log.lines, std::vector<std::string>(4, "textchanged e1"));
}

TEST_F(EditTest, ShiftArrowsHomeEndAndDoubleClickSelectThenBackspaceDeletes)
{
    CEditUI* e1 = Edit(u"e1");
    Focus(u"e1");  // focus from code starts editing with everything selected
    ASSERT_TRUE(e1->IsEditing());
    EXPECT_EQ(e1->GetSelectionStart(), 0u);
    EXPECT_EQ(e1->GetSelectionEnd(), 11u);

    Key(VK_END);
    Chord(VK_SHIFT, VK_LEFT, 5);
    EXPECT_EQ(e1->GetSelectionStart(), 6u);
    Key(VK_BACK);
    EXPECT_EQ(e1->GetText(), u"hello ");

    // Ctrl+Left goes by words; Shift+End selects to the end.
    Chord(VK_CONTROL, VK_LEFT);
    EXPECT_EQ(e1->GetCaret(), 0u);
    Chord(VK_SHIFT, VK_END);
    EXPECT_EQ(e1->GetSelectionEnd(), 6u);
    Chord(VK_SHIFT, VK_HOME);
    EXPECT_EQ(e1->GetSelectionEnd(), 0u);
    Key(VK_DELETE);
    EXPECT_EQ(e1->GetText(), u"ello ");

    // A double click selects the word under it; Ctrl+A everything.
    e1->SetText(u"hello world");
    system.InjectMouse(Hwnd(), WM_LBUTTONDBLCLK, 296, 15, MK_LBUTTON);
    system.InjectMouse(Hwnd(), WM_LBUTTONUP, 296, 15, 0);
    system.RunPending();
    EXPECT_EQ(e1->GetSelectionStart(), 6u);
    EXPECT_EQ(e1->GetSelectionEnd(), 11u);
    Chord(VK_CONTROL, 'A');
    Key(VK_BACK);
    EXPECT_EQ(e1->GetText(), u"");
    Key(VK_BACK);  // nothing left: no change, no notification
    EXPECT_EQ(log.lines, std::vector<std::string>(3, "textchanged e1"));
}

TEST_F(EditTest, ClickDragAndShiftClickPlaceTheCaretAtTheNearestBoundary)
{
    CEditUI* e1 = Edit(u"e1");
    const int afterHello = XAfter(u"hello");
    const int afterHell = XAfter(u"hell");
    Click(afterHello - 1, 15);
    EXPECT_EQ(e1->GetCaret(), 5u);
    EXPECT_EQ(e1->GetSelectionStart(), 5u);
    Click(afterHell + (afterHello - afterHell) / 2 - 1, 15);  // nearer the left edge of the 'o'
    EXPECT_EQ(e1->GetCaret(), 4u);

    // Shift+click extends from the caret; a drag selects what it passes.
    Click(XAfter(u"hello wo"), 15, MK_SHIFT);
    EXPECT_EQ(e1->GetSelectionStart(), 4u);
    EXPECT_EQ(e1->GetSelectionEnd(), 8u);
    system.InjectMouse(Hwnd(), WM_LBUTTONDOWN, XAfter(u"h"), 15, MK_LBUTTON);
    system.InjectMouse(Hwnd(), WM_MOUSEMOVE, XAfter(u"hel"), 15, MK_LBUTTON);
    system.InjectMouse(Hwnd(), WM_LBUTTONUP, XAfter(u"hel"), 15, 0);
    system.InjectMouse(Hwnd(), WM_MOUSEMOVE, XAfter(u"hello"), 15, 0);  // released: no longer selecting
    system.RunPending();
    EXPECT_EQ(e1->GetSelectionStart(), 1u);
    EXPECT_EQ(e1->GetSelectionEnd(), 3u);
    EXPECT_TRUE(log.lines.empty());
}

TEST_F(EditTest, TheSurfaceIsOpaqueTextOnTheNativeBackground)
{
    // Not editing: the white background of an edit.
    EXPECT_EQ(Rows(210, 240)[15 * 300 + 290], 0xFFFFFFFFu);
    Focus(u"dark");
    const std::vector<uint32_t> rows = Rows(210, 240);
    EXPECT_EQ(rows[15 * 300 + 290], 0xFF000000u);
    // The text is white although its colour has no alpha.
    bool white = false;
    for (int y = 0; y < 30; ++y) {
        for (int x = 4; x < 40; ++x)
            white = white || rows[y * 300 + x] == 0xFFFFFFFFu;
    }
    EXPECT_TRUE(white);
}

TEST_F(EditTest, CutAndPasteGoThroughTheClipboardBetweenTwoEdits)
{
    Focus(u"e1");
    Chord(VK_CONTROL, 'X');
    EXPECT_EQ(Edit(u"e1")->GetText(), u"");
    EXPECT_EQ(system.GetClipboardText(), "hello world");

    Click(296, 45);
    Chord(VK_CONTROL, 'V');
    EXPECT_EQ(Edit(u"e2")->GetText(), u"paste:hello world");
    Chord(VK_SHIFT, VK_INSERT);
    EXPECT_EQ(Edit(u"e2")->GetText(), u"paste:hello worldhello world");

    Key(VK_HOME);
    Chord(VK_SHIFT, VK_RIGHT, 5);
    Chord(VK_CONTROL, VK_INSERT);
    EXPECT_EQ(system.GetClipboardText(), "paste");
    Chord(VK_SHIFT, VK_DELETE);
    EXPECT_EQ(Edit(u"e2")->GetText(), u":hello worldhello world");
    EXPECT_EQ(system.GetClipboardText(), "paste");
    EXPECT_EQ(log.lines, (std::vector<std::string>{"textchanged e1", "edit_return e1", "textchanged e2",
                                                   "textchanged e2", "textchanged e2"}));
}

TEST_F(EditTest, MaxCharCutsPastedAndTypedTextCountingPairsOnce)
{
    CEditUI* edit = Edit(u"short");
    system.SetClipboardText("1\r\n2\xF0\x9F\x98\x80" "345");
    Focus(u"short");
    Key(VK_END);
    Chord(VK_CONTROL, 'V');  // the line break goes, three characters fit
    EXPECT_EQ(edit->GetText(), u"ab12\U0001F600");
    Type(u"x");
    EXPECT_EQ(edit->GetText(), u"ab12\U0001F600");
    Key(VK_BACK);
    EXPECT_EQ(edit->GetText(), u"ab12");
    Chord(VK_CONTROL, 'V');
    EXPECT_EQ(edit->GetText(), u"ab121");

    // A selection makes room for what replaces it.
    Chord(VK_SHIFT, VK_LEFT, 2);
    Type(u"xyz");
    EXPECT_EQ(edit->GetText(), u"ab1xy");
    EXPECT_EQ(log.lines, std::vector<std::string>(5, "textchanged short"));

    // 0 is no limit of its own: only the cap every edit has.
    edit->SetMaxChar(0);
    Type(u"zw");
    EXPECT_EQ(edit->GetText(), u"ab1xyzw");
    system.SetClipboardText(std::string(40000, 'q'));
    Chord(VK_CONTROL, 'V');
    EXPECT_EQ(edit->GetText().size(), static_cast<size_t>(CEditUI::kCharCap));
}

TEST_F(EditTest, PasswordShowsStarsWhileEditingAndIsNeverCopied)
{
    CEditUI* pw = Edit(u"pw");
    system.SetClipboardText("before");
    Click(296, 75);
    ASSERT_TRUE(pw->IsEditing());
    EXPECT_EQ(pw->GetCaret(), 4u);  // after the pair
    Chord(VK_CONTROL, 'A');
    Chord(VK_CONTROL, 'C');
    Chord(VK_CONTROL, 'X');
    Chord(VK_CONTROL, VK_INSERT);
    EXPECT_EQ(system.GetClipboardText(), "before");
    EXPECT_EQ(pw->GetText(), u"a\U0001F600b");
    Key(VK_END);

    // The surface shows exactly what a plain edit holding "***" shows.
    const std::vector<uint32_t> masked = Rows(60, 90);
    pw->SetPasswordMode(false);
    pw->SetText(u"***");
    EXPECT_EQ(Rows(60, 90), masked);
    pw->SetText(u"a\U0001F600b");
    EXPECT_NE(Rows(60, 90), masked);
    EXPECT_TRUE(log.lines.empty());
}

TEST_F(EditTest, ReadOnlyEditLetsTheClickSelectItsRowAndTakesNoText)
{
    auto* list = static_cast<CListUI*>(window.manager.FindControl(u"list"));
    CEditUI* ro = Edit(u"ro");
    Click(40, 165);
    EXPECT_EQ(list->GetCurSel(), 0);
    EXPECT_FALSE(ro->IsEditing());
    EXPECT_NE(window.manager.GetFocus(), ro);
    EXPECT_EQ(system.TextInputWindow(), WindowId::None);
    Type(u"x");
    Key(VK_BACK);
    EXPECT_EQ(ro->GetText(), u"macro 1");
    // Focused by the program it still edits nothing, but its text can be copied.
    system.SetClipboardText("before");
    Chord(VK_CONTROL, 'C');
    EXPECT_EQ(system.GetClipboardText(), "before");  // not focused: nothing
    window.manager.SetFocus(ro);
    system.RunPending();
    EXPECT_FALSE(ro->IsEditing());
    Type(u"x");
    Chord(VK_CONTROL, 'X');
    Chord(VK_CONTROL, 'V');
    EXPECT_EQ(ro->GetText(), u"macro 1");
    EXPECT_EQ(system.GetClipboardText(), "before");
    Chord(VK_CONTROL, 'C');
    EXPECT_EQ(system.GetClipboardText(), "macro 1");

    // Rename: writable and focused from code, it edits.
    ro->SetReadOnly(false);
    window.manager.SetFocus(ro);
    system.RunPending();
    ASSERT_TRUE(ro->IsEditing());
    EXPECT_EQ(system.TextInputWindow(), Hwnd());
    Key(VK_END);
    Type(u"!");
    Key(VK_RETURN);
    EXPECT_EQ(ro->GetText(), u"macro 1!");
    EXPECT_EQ(log.lines,
              (std::vector<std::string>{"itemclick row", "itemselect list", "textchanged ro", "edit_return ro"}));
}

TEST_F(EditTest, EditReturnComesOncePerSessionOnEnterOrFocusLoss)
{
    CEditUI* e1 = Edit(u"e1");
    Click(296, 15);
    Key(VK_SPACE);  // typed text, not a button press
    Type(u" ");
    Key(VK_RETURN);
    EXPECT_FALSE(e1->IsEditing());
    EXPECT_EQ(system.TextInputWindow(), WindowId::None);
    Key(VK_RETURN);
    // Tab moves the focus on (the message loop's pre-translation): e2 edits,
    // e1 has nothing more to say.
    intptr_t result = 0;
    EXPECT_TRUE(window.manager.PreMessageHandler(WM_KEYDOWN, VK_TAB, 0, result));
    system.RunPending();
    EXPECT_TRUE(Edit(u"e2")->IsEditing());
    Click(50, 135);  // the button takes the focus from e2
    EXPECT_FALSE(Edit(u"e2")->IsEditing());
    Click(10, 15);
    system.InjectDesktopFocus(Hwnd(), false);
    system.RunPending();
    EXPECT_FALSE(e1->IsEditing());
    EXPECT_EQ(log.lines, (std::vector<std::string>{"textchanged e1", "edit_return e1", "edit_return e2", "click btn",
                                                   "edit_return e1"}));
}

// A press on a control that takes no focus (a label, empty space) ends the
// session too; Tab then starts again at the first edit.
TEST_F(EditTest, PressOnALabelOrEmptySpaceEndsEditing)
{
    CEditUI* e1 = Edit(u"e1");
    Click(296, 15);
    ASSERT_TRUE(e1->IsEditing());
    Click(40, 255);  // the label
    EXPECT_FALSE(e1->IsEditing());
    EXPECT_EQ(window.manager.GetFocus(), nullptr);
    EXPECT_EQ(system.TextInputWindow(), WindowId::None);
    Type(u"x");
    EXPECT_EQ(e1->GetText(), u"hello world");

    Click(296, 45);
    ASSERT_TRUE(Edit(u"e2")->IsEditing());
    Click(40, 285);  // below every control
    EXPECT_FALSE(Edit(u"e2")->IsEditing());
    intptr_t result = 0;
    EXPECT_TRUE(window.manager.PreMessageHandler(WM_KEYDOWN, VK_TAB, 0, result));
    system.RunPending();
    EXPECT_TRUE(e1->IsEditing());
    EXPECT_EQ(log.lines, (std::vector<std::string>{"edit_return e1", "edit_return e2"}));
}

TEST_F(EditTest, EscapeRestoresTheTextTheSessionStartedWith)
{
    CEditUI* e1 = Edit(u"e1");
    Focus(u"e1");
    Key(VK_END);
    Type(u"xy");
    Key(VK_ESCAPE);
    EXPECT_EQ(e1->GetText(), u"hello world");
    EXPECT_FALSE(e1->IsEditing());
    Focus(u"e2");
    Key(VK_ESCAPE);  // nothing changed: no notice of a change
    EXPECT_EQ(log.lines, (std::vector<std::string>{"textchanged e1", "textchanged e1", "textchanged e1",
                                                   "edit_return e1", "edit_return e2"}));
}

TEST_F(EditTest, TextSetByTheProgramIsNotAChangeAndKeepsTheCaretInside)
{
    CEditUI* e1 = Edit(u"e1");
    e1->SetText(u"from code");
    Focus(u"e1");
    Key(VK_END);
    e1->SetText(u"hi");
    system.RunPending();
    Type(u"!");
    EXPECT_EQ(e1->GetText(), u"hi!");
    EXPECT_EQ(log.lines, (std::vector<std::string>{"textchanged e1"}));
}

TEST_F(EditTest, CaretBlinksOnTheTimerAndTheTextScrollsToKeepItInView)
{
    CEditUI* e1 = Edit(u"e1");
    Focus(u"e1");
    EXPECT_TRUE(e1->IsCaretShown());
    system.AdvanceTime(CEditUI::kCaretBlinkMs);
    system.RunPending();
    EXPECT_FALSE(e1->IsCaretShown());
    system.AdvanceTime(CEditUI::kCaretBlinkMs);
    system.RunPending();
    EXPECT_TRUE(e1->IsCaretShown());
    system.AdvanceTime(CEditUI::kCaretBlinkMs);
    system.RunPending();
    EXPECT_FALSE(e1->IsCaretShown());
    Key(VK_SHIFT);  // any key shows it at once
    EXPECT_TRUE(e1->IsCaretShown());

    e1->SetText(std::u16string(80, u'W'));
    Key(VK_END);
    EXPECT_GT(e1->GetScrollX(), 0);
    Key(VK_HOME);
    EXPECT_EQ(e1->GetScrollX(), 0);
    Key(VK_RETURN);
    system.AdvanceTime(CEditUI::kCaretBlinkMs * 3);
    system.RunPending();
    EXPECT_FALSE(e1->IsCaretShown());  // no caret once editing ended
}

}  // namespace
}  // namespace SkinUI
