#include "platform/HeadlessWindowSystem.h"
#include "platform/SdlWindowSystem.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <map>
#include <thread>
#include <vector>

namespace platform {
namespace {

using Numbers = std::vector<unsigned>;

class WindowSystemTest : public ::testing::Test {
protected:
    // A window whose handler records every message it gets.
    WindowId Make(Rect rect = {100, 50, 300, 200}, WindowKind kind = WindowKind::Normal,
                  WindowId owner = WindowId::None)
    {
        WindowOptions options;
        options.rect = rect;
        options.kind = kind;
        options.owner = owner;
        return ws.CreateWindow(options, [this](const Message& m) {
            log.push_back(m);
            auto answer = answers.find(m.message);
            return answer == answers.end() ? intptr_t{0} : answer->second;
        });
    }
    // Dispatches what is queued and returns what the handlers saw.
    std::vector<Message> Run()
    {
        ws.RunPending();
        return Take();
    }
    std::vector<Message> Take() { return std::exchange(log, {}); }
    static Numbers NumbersOf(const std::vector<Message>& messages)
    {
        Numbers numbers;
        for (const Message& m : messages)
            numbers.push_back(m.message);
        return numbers;
    }
    static std::vector<Message> Only(const std::vector<Message>& messages, unsigned number)
    {
        std::vector<Message> found;
        for (const Message& m : messages) {
            if (m.message == number)
                found.push_back(m);
        }
        return found;
    }

    // Declared first: the windows left at the end still send to the log.
    std::vector<Message> log;
    std::map<unsigned, intptr_t> answers;  // handler results by message
    HeadlessWindowSystem ws;
};

TEST_F(WindowSystemTest, SendCallsAtOncePostWaitsAndDestroyCleansUp)
{
    const WindowId owner = Make();
    EXPECT_EQ(NumbersOf(Take()), (Numbers{WM_CREATE, WM_SIZE}));
    const WindowId popup = Make({0, 0, 10, 10}, WindowKind::Popup, owner);
    Take();

    EXPECT_TRUE(ws.PostMessage(owner, WM_APP + 1, 11, 12));
    answers[WM_APP + 2] = 42;
    EXPECT_EQ(ws.SendMessage(owner, WM_APP + 2, 0, 0), 42);
    EXPECT_EQ(NumbersOf(Take()), (Numbers{WM_APP + 2}));
    std::thread([&] { ws.PostMessage(owner, WM_APP + 3, 0, 0); }).join();
    const auto run = Run();
    ASSERT_EQ(NumbersOf(run), (Numbers{WM_APP + 1, WM_APP + 3}));
    EXPECT_EQ(run[0].window, owner);
    EXPECT_EQ(run[0].wParam, 11u);
    EXPECT_EQ(run[0].lParam, 12);

    // Owned windows go first; what was queued for the owner is dropped.
    ws.PostMessage(owner, WM_APP + 4, 0, 0);
    ws.DestroyWindow(owner);
    const auto destroyed = Take();
    ASSERT_EQ(NumbersOf(destroyed), (Numbers{WM_DESTROY, WM_NCDESTROY, WM_DESTROY, WM_NCDESTROY}));
    EXPECT_EQ(destroyed[0].window, popup);
    EXPECT_EQ(destroyed[2].window, owner);
    EXPECT_FALSE(ws.IsWindow(owner));
    EXPECT_FALSE(ws.IsWindow(popup));
    EXPECT_TRUE(Run().empty());
    EXPECT_EQ(ws.SendMessage(owner, WM_APP, 0, 0), 0);

    // A window whose WM_CREATE answers -1 is not created.
    answers[WM_CREATE] = -1;
    EXPECT_EQ(Make(), WindowId::None);
    EXPECT_EQ(NumbersOf(Take()), (Numbers{WM_CREATE, WM_DESTROY, WM_NCDESTROY}));
}

TEST_F(WindowSystemTest, QuitComesAfterQueuedMessagesAndBeforePaint)
{
    const WindowId window = Make();
    ws.ShowWindow(window, true, false);
    ws.PostMessage(window, WM_APP, 0, 0);
    ws.PostQuitMessage(3);

    Message m;
    ASSERT_TRUE(ws.GetMessage(m));
    EXPECT_EQ(m.message, WM_APP);
    ASSERT_FALSE(ws.GetMessage(m));
    EXPECT_EQ(m.message, WM_QUIT);
    EXPECT_EQ(m.wParam, 3u);
    // The quit is taken once; the paint that waited comes next, once.
    ASSERT_TRUE(ws.GetMessage(m));
    EXPECT_EQ(m.message, WM_PAINT);
    EXPECT_EQ(m.window, window);
    ASSERT_FALSE(ws.GetMessage(m));
    EXPECT_EQ(m.message, WM_NULL);

    // Hidden windows are not painted until shown; several invalidations, one paint.
    ws.ShowWindow(window, false, false);
    ws.Invalidate(window);
    EXPECT_TRUE(Only(Run(), WM_PAINT).empty());
    ws.Invalidate(window);
    ws.ShowWindow(window, true, false);
    EXPECT_EQ(Only(Run(), WM_PAINT).size(), 1u);
}

TEST_F(WindowSystemTest, PeekTakesWhatIsWaitingButLeavesTheQuit)
{
    const WindowId window = Make();
    ws.ShowWindow(window, true, false);
    Run();
    Message m;
    EXPECT_FALSE(ws.PeekMessage(m));
    ws.Invalidate(window);
    ws.PostMessage(window, WM_APP, 0, 0);
    ws.PostQuitMessage(5);
    ws.SetTimer(window, 7, 20);
    ws.AdvanceTime(20);
    ws.InjectWheel(window, 3, 4, WHEEL_DELTA);

    Numbers taken;
    while (ws.PeekMessage(m))
        taken.push_back(m.message);
    EXPECT_EQ(taken, (Numbers{WM_APP, WM_TIMER, WM_MOUSEWHEEL, WM_PAINT}));
    EXPECT_FALSE(ws.PeekMessage(m));
    // The quit waited for the loop, and came only once.
    ASSERT_FALSE(ws.GetMessage(m));
    EXPECT_EQ(m.message, WM_QUIT);
    EXPECT_EQ(m.wParam, 5u);
    ASSERT_FALSE(ws.GetMessage(m));
    EXPECT_EQ(m.message, WM_NULL);
    EXPECT_TRUE(Take().empty());  // peeking dispatches nothing
}

TEST_F(WindowSystemTest, TimersFollowVirtualTime)
{
    const WindowId window = Make();
    Take();
    ASSERT_TRUE(ws.SetTimer(window, 7, 100));
    ws.AdvanceTime(99);
    EXPECT_TRUE(Run().empty());
    ws.AdvanceTime(1);
    auto fired = Run();
    ASSERT_EQ(NumbersOf(fired), (Numbers{WM_TIMER}));
    EXPECT_EQ(fired[0].wParam, 7u);
    EXPECT_EQ(fired[0].time, 100u);

    // A timer never has two WM_TIMER waiting.
    ws.AdvanceTime(350);
    EXPECT_EQ(Run().size(), 1u);

    // Setting it again restarts the interval.
    ws.AdvanceTime(60);  // 510: it ticked at 500
    ASSERT_TRUE(ws.SetTimer(window, 7, 100));  // drops that tick, next at 610
    ws.AdvanceTime(60);
    EXPECT_TRUE(Run().empty());
    ws.AdvanceTime(40);
    EXPECT_EQ(Run().size(), 1u);

    // Killing drops the one that waits; a destroyed window's timers stop.
    ws.AdvanceTime(100);
    EXPECT_TRUE(ws.KillTimer(window, 7));
    EXPECT_FALSE(ws.KillTimer(window, 7));
    EXPECT_TRUE(Run().empty());
    ws.SetTimer(window, 8, 1);  // runs at 10 ms
    ws.AdvanceTime(9);
    EXPECT_TRUE(Run().empty());
    ws.AdvanceTime(1);
    EXPECT_EQ(Run().size(), 1u);
    ws.DestroyWindow(window);
    Take();
    ws.AdvanceTime(1000);
    EXPECT_TRUE(Run().empty());
    EXPECT_FALSE(ws.SetTimer(window, 1, 10));
}

TEST_F(WindowSystemTest, MouseInputBecomesWindowMessages)
{
    const WindowId window = Make({100, 50, 300, 200});
    const WindowId other = Make({400, 50, 500, 150});
    Take();

    ws.InjectMouse(window, WM_MOUSEMOVE, 20, 30);
    ws.InjectMouse(window, WM_LBUTTONDOWN, 20, 30, MK_LBUTTON | MK_SHIFT);
    ws.InjectMouse(window, WM_LBUTTONUP, 21, 31, MK_SHIFT);
    auto clicks = Run();
    // The press gives the focus at once (sent, not queued).
    ASSERT_EQ(NumbersOf(clicks), (Numbers{WM_SETFOCUS, WM_SETCURSOR, WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP}));
    EXPECT_EQ(clicks[1].lParam, MakeLParam(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(clicks[2].lParam, 20 | 30 << 16);
    EXPECT_EQ(clicks[3].wParam, MK_LBUTTON | MK_SHIFT);
    EXPECT_EQ(LowSigned(clicks[4].lParam), 21);
    EXPECT_EQ(HighSigned(clicks[4].lParam), 31);
    EXPECT_EQ(ws.GetFocus(), window);
    EXPECT_FALSE(ws.IsKeyDown(VK_LBUTTON));

    // A handler that sets no cursor gets the arrow.
    ws.SetCursor(Cursor::Hand);
    ws.InjectMouse(window, WM_MOUSEMOVE, 1, 1);
    Run();
    EXPECT_EQ(ws.CurrentCursor(), Cursor::Arrow);

    // Captured: input over another window arrives in the capturing window's
    // coordinates, negative ones included, and without WM_SETCURSOR.
    ws.SetCapture(window);
    ws.InjectMouse(other, WM_MOUSEMOVE, 5, 5);
    ws.InjectMouse(other, WM_MOUSEMOVE, -305, 0);
    auto captured = Run();
    ASSERT_EQ(NumbersOf(captured), (Numbers{WM_MOUSEMOVE, WM_MOUSEMOVE}));
    EXPECT_EQ(captured[0].window, window);
    EXPECT_EQ(LowSigned(captured[0].lParam), 305);
    EXPECT_EQ(LowSigned(captured[1].lParam), -5);
    ws.ReleaseCapture();

    // Right button up asks for the context menu at the screen point; the
    // wheel carries its signed delta and the screen point.
    ws.InjectMouse(window, WM_RBUTTONUP, 10, 20);
    ws.InjectWheel(window, 10, 20, -2 * WHEEL_DELTA, MK_CONTROL);
    auto menu = Run();
    ASSERT_EQ(NumbersOf(menu), (Numbers{WM_RBUTTONUP, WM_CONTEXTMENU, WM_MOUSEWHEEL}));
    EXPECT_EQ(menu[1].lParam, MakeLParam(110, 70));
    EXPECT_EQ(HighSigned(static_cast<intptr_t>(menu[2].wParam)), -240);
    EXPECT_EQ(menu[2].wParam & 0xFFFF, MK_CONTROL);
    EXPECT_EQ(menu[2].lParam, MakeLParam(110, 70));

    // Outside the region the window gets nothing.
    ws.SetWindowRegion(window, RoundRectRegion({0, 0, 200, 150}, 40, 40));
    ws.InjectMouse(window, WM_LBUTTONDOWN, 1, 1);
    ws.InjectMouse(window, WM_LBUTTONDOWN, 100, 1);
    EXPECT_EQ(NumbersOf(Only(Run(), WM_LBUTTONDOWN)).size(), 1u);
}

TEST_F(WindowSystemTest, HoverAfterRestAndLeaveEndTracking)
{
    const WindowId window = Make();
    const WindowId other = Make({400, 50, 500, 150});
    ws.InjectMouse(window, WM_MOUSEMOVE, 5, 6);
    ws.TrackMouse(window, 1000);
    ws.AdvanceTime(900);
    ws.InjectMouse(window, WM_MOUSEMOVE, 7, 8, MK_RBUTTON);  // starts the wait again
    ws.AdvanceTime(999);
    Run();
    ws.AdvanceTime(1);
    auto hover = Only(Run(), WM_MOUSEHOVER);
    ASSERT_EQ(hover.size(), 1u);
    EXPECT_EQ(hover[0].lParam, MakeLParam(7, 8));
    EXPECT_EQ(hover[0].wParam, MK_RBUTTON);
    ws.AdvanceTime(5000);
    EXPECT_TRUE(Only(Run(), WM_MOUSEHOVER).empty());

    // Moving into another window leaves this one, once.
    ws.InjectMouse(other, WM_MOUSEMOVE, 1, 1);
    ws.InjectMouse(window, WM_MOUSEMOVE, 1, 1);
    ws.InjectMouse(other, WM_MOUSEMOVE, 1, 1);
    auto leaves = Only(Run(), WM_MOUSELEAVE);
    ASSERT_EQ(leaves.size(), 1u);
    EXPECT_EQ(leaves[0].window, window);

    // Leaving ends the hover that was not due yet.
    ws.TrackMouse(other, 1000);
    ws.InjectMouse(other, WM_MOUSELEAVE, 0, 0);
    ws.AdvanceTime(2000);
    EXPECT_EQ(NumbersOf(Run()), (Numbers{WM_MOUSELEAVE}));
}

TEST_F(WindowSystemTest, KeysAndTextGoToTheFocus)
{
    const WindowId window = Make();
    Take();
    ws.SetFocus(window);
    EXPECT_EQ(NumbersOf(Take()), (Numbers{WM_SETFOCUS}));

    ws.InjectKey(window, VK_CONTROL, true);
    ws.InjectKey(window, 'A', true);
    ws.InjectKey(window, 'A', true);
    ws.InjectKey(window, 'A', false);
    ws.InjectKey(window, VK_CONTROL, false);
    auto ctrl = Run();
    ASSERT_EQ(NumbersOf(ctrl), (Numbers{WM_KEYDOWN, WM_KEYDOWN, WM_CHAR, WM_KEYDOWN, WM_CHAR, WM_KEYUP, WM_KEYUP}));
    EXPECT_EQ(ctrl[1].wParam, static_cast<uintptr_t>('A'));
    EXPECT_EQ(ctrl[2].wParam, 1u);  // Ctrl+A
    EXPECT_EQ(ctrl[1].lParam, 1);
    EXPECT_EQ(ctrl[3].lParam, 1 | 1 << 30);  // repeat
    EXPECT_EQ(ctrl[5].lParam, 1 | intptr_t{1} << 30 | intptr_t{1} << 31);

    ws.InjectKey(window, VK_MENU, true);
    ws.InjectKey(window, 'F', true);
    ws.InjectText(window, u"f");  // what the desktop may type as well
    ws.InjectKey(window, VK_MENU, false);
    ws.InjectKey(window, VK_BACK, true);
    auto alt = Run();
    ASSERT_EQ(NumbersOf(alt), (Numbers{WM_SYSKEYDOWN, WM_SYSKEYDOWN, WM_SYSCHAR, WM_SYSKEYUP, WM_KEYDOWN, WM_CHAR}));
    EXPECT_EQ(alt[2].wParam, static_cast<uintptr_t>('f'));
    EXPECT_TRUE(alt[1].lParam & 1 << 29);
    EXPECT_EQ(alt[5].wParam, 8u);
    EXPECT_TRUE(ws.IsKeyDown(VK_BACK));
    EXPECT_FALSE(ws.IsKeyDown(VK_MENU));

    // Keys held when another program takes the focus are forgotten.
    ws.InjectKey(window, VK_MENU, true);
    ws.InjectDesktopFocus(window, false);
    EXPECT_FALSE(ws.IsKeyDown(VK_MENU));
    EXPECT_FALSE(ws.IsKeyDown(VK_BACK));
    ws.InjectDesktopFocus(window, true);
    Run();

    // Text: UTF-16 units one by one; control characters only come from keys.
    ws.InjectText(window, u"\u00E9\U0001D11E\r");
    auto text = Run();
    ASSERT_EQ(NumbersOf(text), (Numbers{WM_CHAR, WM_CHAR, WM_CHAR}));
    EXPECT_EQ(text[0].wParam, 0xE9u);
    EXPECT_EQ(text[1].wParam, 0xD834u);
    EXPECT_EQ(text[2].wParam, 0xDD1Eu);
}

TEST_F(WindowSystemTest, KeysOnTheRightTellTheirSide)
{
    const WindowId window = Make();
    ws.SetFocus(window);
    Take();
    ws.InjectKey(window, VK_CONTROL, true, true);
    ws.InjectKey(window, VK_SHIFT, true);
    ws.InjectKey(window, VK_SHIFT, true, true);
    auto down = Run();
    ASSERT_EQ(NumbersOf(down), (Numbers{WM_KEYDOWN, WM_KEYDOWN, WM_KEYDOWN}));
    EXPECT_EQ(down[0].lParam, 1 | 1 << 24);
    EXPECT_EQ(down[1].lParam, 1);
    EXPECT_TRUE(ws.IsKeyDown(VK_CONTROL));
    EXPECT_TRUE(ws.IsKeyDown(VK_RCONTROL));
    EXPECT_FALSE(ws.IsKeyDown(VK_LCONTROL));
    EXPECT_TRUE(ws.IsKeyDown(VK_LSHIFT));
    EXPECT_TRUE(ws.IsKeyDown(VK_RSHIFT));
    // Letting go of one Shift leaves the other held.
    ws.InjectKey(window, VK_SHIFT, false);
    EXPECT_TRUE(ws.IsKeyDown(VK_SHIFT));
    EXPECT_FALSE(ws.IsKeyDown(VK_LSHIFT));
    ws.InjectKey(window, VK_SHIFT, false, true);
    ws.InjectKey(window, VK_CONTROL, false, true);
    EXPECT_FALSE(ws.IsKeyDown(VK_SHIFT));
    EXPECT_FALSE(ws.IsKeyDown(VK_RSHIFT));
    EXPECT_FALSE(ws.IsKeyDown(VK_RCONTROL));
    // The keypad Enter is Enter with a code of its own while held.
    ws.InjectKey(window, VK_RETURN, true, true);
    EXPECT_TRUE(ws.IsKeyDown(VK_RETURN));
    EXPECT_TRUE(ws.IsKeyDown(VK_SEPARATOR));
    ws.InjectKey(window, VK_RETURN, false, true);
    EXPECT_FALSE(ws.IsKeyDown(VK_RETURN));
    EXPECT_FALSE(ws.IsKeyDown(VK_SEPARATOR));
    Run();
}

TEST_F(WindowSystemTest, CompositionIsAnnouncedToTheFocusAndEndsBeforeCommittedText)
{
    const WindowId window = Make();
    const WindowId other = Make({400, 50, 500, 200});
    ws.SetFocus(window);
    ws.StartTextInput(window, {10, 2, 11, 20});
    Take();

    // Pending text goes to the focus, whichever window reported it.
    ws.InjectComposition(other, "\xE3\x81\x8B\xE3\x81\x8D", 1);
    ws.InjectComposition(other, "\xE3\x81\x8B\xE3\x81\x8D", 1);  // unchanged: no second message
    auto pending = Run();
    ASSERT_EQ(NumbersOf(pending), (Numbers{WM_IME_COMPOSITION}));
    EXPECT_EQ(pending[0].window, window);
    EXPECT_EQ(ws.GetCompositionText(), (Composition{"\xE3\x81\x8B\xE3\x81\x8D", 1}));

    // Committing ends the composition first, then the text arrives.
    ws.InjectText(window, u"\u304B");
    EXPECT_EQ(NumbersOf(Run()), (Numbers{WM_IME_COMPOSITION, WM_CHAR}));
    EXPECT_EQ(ws.GetCompositionText(), Composition{});

    // Stopping text input drops a pending composition.
    ws.InjectComposition(window, "x", 1);
    Run();
    ws.StopTextInput();
    EXPECT_EQ(ws.GetCompositionText(), Composition{});
    EXPECT_EQ(ws.TextInputWindow(), WindowId::None);

    // The headless clipboard keeps UTF-8 text in memory.
    EXPECT_EQ(ws.GetClipboardText(), "");
    EXPECT_TRUE(ws.SetClipboardText("caf\xC3\xA9"));
    EXPECT_EQ(ws.GetClipboardText(), "caf\xC3\xA9");
}

TEST_F(WindowSystemTest, PopupsTakeTheFocusUntilTheOwnerGetsItBack)
{
    const WindowId owner = Make();
    const WindowId popup = Make({0, 0, 50, 50}, WindowKind::Popup, owner);
    const WindowId tip = Make({0, 0, 50, 20}, WindowKind::Tooltip, owner);
    ws.ShowWindow(owner, true, true);
    ws.ShowWindow(tip, true, true);
    EXPECT_EQ(ws.GetFocus(), owner);
    ws.ShowWindow(popup, true, true);
    Take();

    // Keys the desktop gives the owner reach the pop-up.
    ws.InjectKey(owner, VK_DOWN, true);
    EXPECT_EQ(Run().at(0).window, popup);
    // The owner's desktop focus coming back, or a tooltip click, changes nothing.
    ws.InjectDesktopFocus(owner, true);
    ws.InjectMouse(tip, WM_LBUTTONDOWN, 1, 1);
    Run();
    EXPECT_EQ(ws.GetFocus(), popup);
    // A click in the owner closes the pop-up's focus.
    ws.InjectMouse(owner, WM_LBUTTONDOWN, 1, 1);
    auto click = Take();
    ASSERT_EQ(NumbersOf(click), (Numbers{WM_KILLFOCUS, WM_SETFOCUS}));
    EXPECT_EQ(click[0].window, popup);
    EXPECT_EQ(click[0].wParam, static_cast<uintptr_t>(owner));
    EXPECT_EQ(click[1].wParam, static_cast<uintptr_t>(popup));

    // Another program taking the focus takes it from the pop-up too.
    ws.SetFocus(popup);
    Take();
    ws.InjectDesktopFocus(owner, false);
    EXPECT_EQ(NumbersOf(Take()), (Numbers{WM_KILLFOCUS}));
    EXPECT_EQ(ws.GetFocus(), WindowId::None);

    // A hidden or destroyed focus passes to the owner.
    ws.SetFocus(popup);
    ws.ShowWindow(popup, false, false);
    EXPECT_EQ(ws.GetFocus(), owner);
    ws.SetFocus(popup);
    ws.DestroyWindow(popup);
    EXPECT_EQ(ws.GetFocus(), owner);
}

TEST_F(WindowSystemTest, GeometryRegionsFramesAndWorkArea)
{
    const WindowId window = Make({100, 50, 300, 200});
    Take();
    ws.MoveWindow(window, {120, 50, 320, 250});
    auto moved = Take();
    ASSERT_EQ(NumbersOf(moved), (Numbers{WM_MOVE, WM_SIZE}));
    EXPECT_EQ(moved[0].lParam, MakeLParam(120, 50));
    EXPECT_EQ(moved[1].lParam, MakeLParam(200, 200));
    ws.MoveWindow(window, {0, 0, 200, 200});
    EXPECT_EQ(NumbersOf(Take()), (Numbers{WM_MOVE}));
    EXPECT_EQ(ws.GetWindowRect(window), (Rect{0, 0, 200, 200}));

    // Rounded corners: pixels whose centre is outside the ellipse are cut,
    // and the region is symmetric.
    const Region round = RoundRectRegion({0, 0, 100, 50}, 20, 20);
    EXPECT_FALSE(round.Contains(0, 0));
    EXPECT_FALSE(round.Contains(6, 0));
    EXPECT_TRUE(round.Contains(7, 0));
    EXPECT_TRUE(round.Contains(0, 10));
    EXPECT_TRUE(round.Contains(50, 25));
    EXPECT_FALSE(round.Contains(100, 25));
    for (int y = 0; y < 50; ++y) {
        for (int x = 0; x < 100; ++x)
            ASSERT_EQ(round.Contains(x, y), round.Contains(99 - x, 49 - y)) << x << "," << y;
    }
    EXPECT_EQ(RoundRectRegion({0, 0, 10, 10}, 0, 0).rects, (std::vector<Rect>{{0, 0, 10, 10}}));
    ws.SetWindowRegion(window, round);
    ws.MoveWindow(window, {0, 0, 300, 300});
    ASSERT_NE(ws.RegionOf(window), nullptr);
    EXPECT_EQ(ws.RegionOf(window)->rects, round.rects);
    ws.SetWindowRegion(window, std::nullopt);
    EXPECT_EQ(ws.RegionOf(window), nullptr);

    // Opacity: 255 until set; a window that does not exist takes none.
    EXPECT_EQ(ws.OpacityOf(window), 255);
    EXPECT_TRUE(ws.SetWindowOpacity(window, 200));
    EXPECT_EQ(ws.OpacityOf(window), 200);
    EXPECT_FALSE(ws.SetWindowOpacity(WindowId{999}, 10));
    EXPECT_EQ(ws.OpacityOf(WindowId{999}), -1);

    // The last frame is kept without the row padding.
    const uint32_t pixels[] = {1, 2, 0xDEAD, 3, 4, 0xDEAD};
    ws.Present(window, pixels, 2, 2, 3 * 4);
    const auto* frame = ws.LastFrame(window);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->pixels, (std::vector<uint32_t>{1, 2, 3, 4}));
    EXPECT_EQ(frame->At(1, 1), 4u);

    ws.SetWorkArea({0, 30, 1280, 800});
    EXPECT_EQ(ws.GetWorkArea(WindowId::None), (Rect{0, 30, 1280, 800}));
}

TEST_F(WindowSystemTest, MinimisedWindowsStayVisibleUntilRestoredAndLoseTheFocus)
{
    const WindowId window = Make();
    ws.MinimizeWindow(window);
    EXPECT_FALSE(ws.IsMinimized(window));  // a hidden window has nothing to iconify
    ws.ShowWindow(window, true, true);
    ASSERT_EQ(ws.GetFocus(), window);
    ws.MinimizeWindow(window);
    EXPECT_TRUE(ws.IsMinimized(window));
    EXPECT_TRUE(ws.IsWindowVisible(window));
    EXPECT_EQ(ws.GetFocus(), WindowId::None);
    // Showing without activation leaves it on the task bar; activation
    // (a later start raising the program) brings it back with the focus.
    ws.ShowWindow(window, true, false);
    EXPECT_TRUE(ws.IsMinimized(window));
    ws.ShowWindow(window, true, true);
    EXPECT_FALSE(ws.IsMinimized(window));
    EXPECT_EQ(ws.GetFocus(), window);
    // The desktop restoring it asks for a fresh frame.
    ws.MinimizeWindow(window);
    Run();
    ws.InjectMinimized(window, false);
    EXPECT_FALSE(ws.IsMinimized(window));
    EXPECT_EQ(NumbersOf(Only(Run(), WM_PAINT)), (Numbers{WM_PAINT}));
    EXPECT_FALSE(ws.IsMinimized(WindowId{999}));
}

TEST_F(WindowSystemTest, MessageBoxesAreAnsweredFromTheScript)
{
    ws.QueueMessageBoxAnswer(IDOK);
    EXPECT_EQ(ws.MessageBox(WindowId::None, "Delete?", "Macro", MB_OKCANCEL | MB_ICONQUESTION), IDOK);
    EXPECT_EQ(ws.MessageBox(WindowId::None, "Again?", "Macro", MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(ws.MessageBox(WindowId::None, "Done", "Macro", MB_OK), IDOK);
    const auto& calls = ws.MessageBoxCalls();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].text, "Delete?");
    EXPECT_EQ(calls[0].caption, "Macro");
    EXPECT_EQ(calls[0].flags, MB_OKCANCEL | MB_ICONQUESTION);
    EXPECT_EQ(calls[1].answer, IDCANCEL);
}

// Needs a display; skipped without one, except where NERIT_REQUIRE_DISPLAY is
// set (the test run gives it a private Xvfb).
TEST(SdlWindowSystemTest, PresentsAndReceivesPostedMessagesAndTimers)
{
    std::string error;
    auto ws = SdlWindowSystem::Create(&error);
    if (!ws && std::getenv("NERIT_REQUIRE_DISPLAY"))
        FAIL() << "no video: " << error;
    if (!ws)
        GTEST_SKIP() << "no video: " << error;
    EXPECT_EQ(SdlWindowSystem::Create(), nullptr);  // one at a time
    std::vector<unsigned> seen;
    WindowOptions options;
    options.title = "test";
    options.rect = {40, 40, 200, 140};
    const WindowId window = ws->CreateWindow(options, [&](const Message& m) {
        seen.push_back(m.message);
        return intptr_t{0};
    });
    ASSERT_NE(window, WindowId::None);
    ws->ShowWindow(window, true, true);
    ws->SetWindowRegion(window, RoundRectRegion({0, 0, 160, 100}, 16, 16));
    // A shaped window moved (a popup dragged by its caption) lands where it
    // was sent, not where SDL parks shaped windows it resizes.
    ws->MoveWindow(window, {52, 61, 212, 161});
    EXPECT_EQ(ws->NativeRectOf(window), (Rect{52, 61, 212, 161}));
    // Unshaped and grown (maximised), then back with its shape.
    ws->SetWindowRegion(window, std::nullopt);
    ws->MoveWindow(window, {10, 20, 330, 260});
    EXPECT_EQ(ws->NativeRectOf(window), (Rect{10, 20, 330, 260}));
    ws->MoveWindow(window, {52, 61, 212, 161});
    ws->SetWindowRegion(window, RoundRectRegion({0, 0, 160, 100}, 16, 16));
    EXPECT_EQ(ws->NativeRectOf(window), (Rect{52, 61, 212, 161}));
    const std::vector<uint32_t> frame(160 * 100, 0xFF3366CC);
    ws->Present(window, frame.data(), 160, 100, 160 * 4);
    EXPECT_GT(ws->GetWorkArea(window).Width(), 0);
    // The clipboard holds what we put there (this process owns it now).
    EXPECT_TRUE(ws->SetClipboardText("clip \xC3\xA9"));
    EXPECT_EQ(ws->GetClipboardText(), "clip \xC3\xA9");
    // Without a compositor the desktop refuses; either way it is recorded.
    ws->SetWindowOpacity(window, 128);
    EXPECT_EQ(ws->OpacityOf(window), 128);

    ws->SetTimer(window, 1, 30);
    ws->SetTimer(window, 2, 5000);  // gives up if the others never come
    std::thread([&] { ws->PostMessage(window, WM_APP + 5, 123, -7); }).join();
    Message m;
    Message posted;
    bool ticked = false;
    while (ws->GetMessage(m) && !(m.message == WM_TIMER && m.wParam == 2)) {
        if (m.message == WM_PAINT)
            ws->Present(window, frame.data(), 160, 100, 160 * 4);
        if (m.message == WM_APP + 5)
            posted = m;
        ticked = ticked || (m.message == WM_TIMER && m.wParam == 1);
        ws->DispatchMessage(m);
        if (ticked && posted.message != WM_NULL)
            break;
    }
    EXPECT_TRUE(ticked);
    EXPECT_EQ(posted.message, WM_APP + 5);
    EXPECT_EQ(posted.window, window);
    EXPECT_EQ(posted.wParam, 123u);
    EXPECT_EQ(posted.lParam, -7);
    ASSERT_GE(seen.size(), 2u);
    EXPECT_EQ(seen[0], WM_CREATE);
    // Peeking never waits: a posted message is there, then nothing is.
    ws->PostMessage(window, WM_APP + 6, 0, 0);
    bool peeked = false;
    while (ws->PeekMessage(m))
        peeked = peeked || m.message == WM_APP + 6;
    EXPECT_TRUE(peeked);
    ws->MoveWindow(window, {60, 60, 260, 200});  // the region follows the new size
    EXPECT_EQ(ws->GetWindowRect(window), (Rect{60, 60, 260, 200}));

    WindowOptions popupOptions;
    popupOptions.rect = {60, 200, 160, 300};
    popupOptions.owner = window;
    for (WindowKind kind : {WindowKind::Popup, WindowKind::Tooltip}) {
        popupOptions.kind = kind;
        const WindowId popup = ws->CreateWindow(popupOptions, [](const Message&) { return intptr_t{0}; });
        EXPECT_NE(popup, WindowId::None);
        ws->ShowWindow(popup, true, true);
    }
    ws->DestroyWindow(window);  // and the pop-ups it owns
    EXPECT_FALSE(ws->IsWindow(window));
    EXPECT_EQ(seen.back(), WM_NCDESTROY);
}

// Without a window manager the desktop gives its focus to every window that
// is shown, pop-ups included: the owner's loss that comes with it must not
// take our focus away from the pop-up (an open drop-down or menu would close).
TEST(SdlWindowSystemTest, FocusMovingToOurOwnPopupIsNoLoss)
{
    std::string error;
    auto ws = SdlWindowSystem::Create(&error);
    if (!ws && std::getenv("NERIT_REQUIRE_DISPLAY"))
        FAIL() << "no video: " << error;
    if (!ws)
        GTEST_SKIP() << "no video: " << error;
    WindowOptions options;
    options.title = "owner";
    options.rect = {40, 40, 240, 200};
    const WindowId owner = ws->CreateWindow(options, [](const Message&) { return intptr_t{0}; });
    ws->ShowWindow(owner, true, true);
    WindowOptions popupOptions;
    popupOptions.kind = WindowKind::Popup;
    popupOptions.owner = owner;
    popupOptions.rect = {60, 120, 160, 180};
    std::vector<unsigned> seen;
    const WindowId popup = ws->CreateWindow(popupOptions, [&](const Message& m) {
        seen.push_back(m.message);
        return intptr_t{0};
    });
    ws->ShowWindow(popup, true, true);
    EXPECT_EQ(ws->GetFocus(), popup);
    // The desktop's focus events arrive within the pump; the timer only bounds it.
    ws->SetTimer(owner, 1, 1000);
    Message m;
    while (ws->GetMessage(m) && !(m.message == WM_TIMER && m.wParam == 1))
        ws->DispatchMessage(m);
    EXPECT_EQ(ws->GetFocus(), popup);
    EXPECT_EQ(std::count(seen.begin(), seen.end(), WM_KILLFOCUS), 0);
    ws->DestroyWindow(owner);
}

// The SDL id of the newest window still open.
Uint32 NewestSdlWindowId()
{
    Uint32 newest = 0;
    for (Uint32 id = 1; id < 4096; ++id)
        newest = SDL_GetWindowFromID(id) != nullptr ? id : newest;
    return newest;
}

// Pumps until the owner's timer 1 fires, dispatching everything else.
void PumpUntilTimer(SdlWindowSystem& ws, WindowId owner)
{
    ws.SetTimer(owner, 1, 1000);
    Message m;
    while (ws.GetMessage(m) && !(m.message == WM_TIMER && m.wParam == 1))
        ws.DispatchMessage(m);
    ws.KillTimer(owner, 1);
}

// A tooltip never takes the focus, even where the desktop hands it to every
// window shown (no window manager): the owner keeps it, and a press on the
// owner that destroys the tooltip still gets its release. Sideways wheel
// turns post nothing; the wheel's delta is 120 a notch.
TEST(SdlWindowSystemTest, TooltipsLeaveTheFocusAndSidewaysWheelPostsNothing)
{
    std::string error;
    auto ws = SdlWindowSystem::Create(&error);
    if (!ws && std::getenv("NERIT_REQUIRE_DISPLAY"))
        FAIL() << "no video: " << error;
    if (!ws)
        GTEST_SKIP() << "no video: " << error;
    WindowOptions options;
    options.title = "owner";
    options.rect = {40, 40, 240, 200};
    std::vector<Message> seen;
    const WindowId owner = ws->CreateWindow(options, [&](const Message& m) {
        seen.push_back(m);
        return intptr_t{0};
    });
    ws->ShowWindow(owner, true, true);
    const Uint32 ownerId = NewestSdlWindowId();
    PumpUntilTimer(*ws, owner);
    ASSERT_EQ(ws->GetFocus(), owner);
    WindowOptions tipOptions;
    tipOptions.kind = WindowKind::Tooltip;
    tipOptions.owner = owner;
    tipOptions.toolWindow = true;
    tipOptions.rect = {60, 120, 160, 140};
    const WindowId tip = ws->CreateWindow(tipOptions, [](const Message&) { return intptr_t{0}; });
    ws->ShowWindow(tip, true, false);
    seen.clear();
    PumpUntilTimer(*ws, owner);
    EXPECT_EQ(ws->GetFocus(), owner);
    EXPECT_EQ(SDL_GetWindowID(SDL_GetKeyboardFocus()), ownerId);
    auto count = [&](unsigned message) {
        return std::count_if(seen.begin(), seen.end(), [&](const Message& m) { return m.message == message; });
    };
    EXPECT_EQ(count(WM_KILLFOCUS), 0);

    ws->DestroyWindow(tip);
    EXPECT_EQ(SDL_GetWindowID(SDL_GetKeyboardFocus()), ownerId);
    SDL_Event wheel{};
    wheel.wheel.type = SDL_MOUSEWHEEL;
    wheel.wheel.windowID = ownerId;
    wheel.wheel.x = 1;
    wheel.wheel.preciseX = 1.0f;
    SDL_PushEvent(&wheel);
    wheel.wheel.x = 0;
    wheel.wheel.preciseX = 0.0f;
    wheel.wheel.y = 1;
    wheel.wheel.preciseY = 1.0f;
    SDL_PushEvent(&wheel);
    seen.clear();
    PumpUntilTimer(*ws, owner);
    ASSERT_EQ(count(WM_MOUSEWHEEL), 1);
    const auto at = std::find_if(seen.begin(), seen.end(), [](const Message& m) { return m.message == WM_MOUSEWHEEL; });
    EXPECT_EQ(static_cast<int16_t>(at->wParam >> 16), WHEEL_DELTA);
    ws->DestroyWindow(owner);
}

// A menu that opens a dialog and then goes (the assignment menu's "Single
// Key" entry) leaves the keyboard with the dialog, though the desktop's
// focus change to the dialog has not reached SDL when the menu is destroyed.
TEST(SdlWindowSystemTest, AMenuGoneAfterItsDialogLeavesTheKeysWithTheDialog)
{
    std::string error;
    auto ws = SdlWindowSystem::Create(&error);
    if (!ws && std::getenv("NERIT_REQUIRE_DISPLAY"))
        FAIL() << "no video: " << error;
    if (!ws)
        GTEST_SKIP() << "no video: " << error;
    WindowOptions options;
    options.title = "owner";
    options.rect = {40, 40, 440, 400};
    const auto ignore = [](const Message&) { return intptr_t{0}; };
    const WindowId owner = ws->CreateWindow(options, ignore);
    ws->ShowWindow(owner, true, true);
    WindowOptions menuOptions;
    menuOptions.kind = WindowKind::Popup;
    menuOptions.owner = owner;
    menuOptions.rect = {60, 120, 160, 220};
    const WindowId menu = ws->CreateWindow(menuOptions, ignore);
    ws->ShowWindow(menu, true, true);
    PumpUntilTimer(*ws, owner);
    ASSERT_EQ(ws->GetFocus(), menu);

    WindowOptions dialogOptions;
    dialogOptions.title = "dialog";
    dialogOptions.owner = owner;
    dialogOptions.rect = {100, 100, 300, 200};
    const WindowId dialog = ws->CreateWindow(dialogOptions, ignore);
    ws->ShowWindow(dialog, true, true);
    const Uint32 dialogId = NewestSdlWindowId();
    ws->DestroyWindow(menu);
    PumpUntilTimer(*ws, owner);
    EXPECT_EQ(ws->GetFocus(), dialog);
    EXPECT_EQ(SDL_GetWindowID(SDL_GetKeyboardFocus()), dialogId);
    ws->DestroyWindow(owner);
}

// The window class is handed to SDL while video starts only: the class the
// program was started with is back afterwards, and none is left where there
// was none, so that programs started from here do not inherit it.
TEST(SdlWindowSystemTest, WindowClassLeavesTheEnvironmentAsItWas)
{
    constexpr const char* kVariable = "SDL_VIDEO_X11_WMCLASS";
    setenv(kVariable, "Inherited", 1);
    std::string error;
    auto ws = SdlWindowSystem::Create(&error, "OurClass");
    if (!ws && std::getenv("NERIT_REQUIRE_DISPLAY"))
        FAIL() << "no video: " << error;
    if (!ws)
        GTEST_SKIP() << "no video: " << error;
    const char* after = std::getenv(kVariable);
    EXPECT_STREQ(after, "Inherited");
    ws.reset();

    unsetenv(kVariable);
    ws = SdlWindowSystem::Create(&error, "OurClass");
    ASSERT_NE(ws, nullptr) << error;
    EXPECT_EQ(std::getenv(kVariable), nullptr);
}

}  // namespace
}  // namespace platform
