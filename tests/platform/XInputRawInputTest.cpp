#include "app/MacroRecorder.h"
#include "platform/EvdevKeyTable.h"
#include "platform/QueuedRawInput.h"
#include "platform/XInputRawInput.h"
#include "settings/KeyNameTable.h"
#include "tests/RunShell.h"
#include "tests/platform/XGrab.h"

#include <X11/extensions/XI2.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <unistd.h>

namespace platform {
namespace {

std::string Describe(std::optional<RawInputEvent> event) {
    if (!event)
        return "-";
    switch (event->kind) {
    case RawInputKind::Key: return "key " + std::to_string(event->virtualKey) + (event->down ? " down" : " up");
    case RawInputKind::Button:
        return "button " + std::to_string(int(event->button)) + (event->down ? " down" : " up");
    case RawInputKind::Wheel: break;
    }
    return "wheel " + std::to_string(event->wheelNotches);
}

TEST(XInputRawInputTest, ServerTimesCarryOnPastTheWrap) {
    EXPECT_EQ(ExtendServerTime(1000, 0), 1000u);
    EXPECT_EQ(ExtendServerTime(1250, 1000), 1250u);
    // Events polled together may come slightly out of order.
    EXPECT_EQ(ExtendServerTime(990, 1000), 990u);
    const uint64_t beforeWrap = 0xFFFFFF00u;
    EXPECT_EQ(ExtendServerTime(0x10, beforeWrap), 0x100000010u);
    EXPECT_EQ(ExtendServerTime(0x20, 0x100000010u), 0x100000020u);
}

TEST(XInputRawInputTest, RawEventsBecomeTransitions) {
    EXPECT_EQ(Describe(TranslateXiRawEvent(XI_RawKeyPress, 38)), "key 65 down");
    EXPECT_EQ(Describe(TranslateXiRawEvent(XI_RawKeyRelease, 38)), "key 65 up");
    EXPECT_EQ(Describe(TranslateXiRawEvent(XI_RawKeyPress, 191)), "key 124 down");  // F13
    EXPECT_EQ(Describe(TranslateXiRawEvent(XI_RawKeyPress, 7)), "-");
    EXPECT_EQ(Describe(TranslateXiRawEvent(XI_RawKeyPress, -3)), "-");
    EXPECT_EQ(Describe(TranslateXiRawEvent(XI_RawKeyPress, 100000)), "-");
    EXPECT_EQ(Describe(TranslateXiRawEvent(XI_RawButtonPress, 1)), "button 0 down");
    EXPECT_EQ(Describe(TranslateXiRawEvent(XI_RawButtonRelease, 3)), "button 1 up");
    EXPECT_EQ(Describe(TranslateXiRawEvent(XI_RawButtonPress, 2)), "button 2 down");
    EXPECT_EQ(Describe(TranslateXiRawEvent(XI_RawButtonRelease, 8)), "button 3 up");
    EXPECT_EQ(Describe(TranslateXiRawEvent(XI_RawButtonRelease, 9)), "button 4 up");
    EXPECT_EQ(Describe(TranslateXiRawEvent(XI_RawButtonPress, 4)), "wheel 1");
    EXPECT_EQ(Describe(TranslateXiRawEvent(XI_RawButtonPress, 5)), "wheel -1");
    EXPECT_EQ(Describe(TranslateXiRawEvent(XI_RawButtonRelease, 5)), "-");
    EXPECT_EQ(Describe(TranslateXiRawEvent(XI_RawButtonPress, 6)), "-");
    EXPECT_EQ(Describe(TranslateXiRawEvent(XI_RawButtonPress, 7)), "-");
    EXPECT_EQ(Describe(TranslateXiRawEvent(XI_RawMotion, 0)), "-");
}

// Every key of the key table can be typed, except the two that PC
// keyboards lack (Execute and the keypad separator).
TEST(XInputRawInputTest, EveryTableKeyIsReachableFromALinuxKeyCode) {
    std::set<int> reached;
    for (unsigned code = 0; code < 1024; ++code)
        reached.insert(VirtualKeyForEvdev(code));
    std::vector<int> missing;
    for (const settings::KeyName& key : settings::KeyNames()) {
        if (!reached.count(key.virtualKey))
            missing.push_back(key.virtualKey);
    }
    EXPECT_EQ(missing, (std::vector<int>{43, 108}));
}

// Runs under Xvfb: input sent with xdotool reaches us with no window of
// ours at all, as it would while the program is in the background.
TEST(XInputRawInputTest, ReadsInputSentToTheDesktop) {
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display)
        GTEST_SKIP() << "no X display";
    XInputRawInput input(SystemClock());
    ASSERT_TRUE(input.Start());
    const auto sent = testsupport::RunShell("xdotool key a click 1 click 5 key space");
    ASSERT_EQ(sent.status, 0) << sent.out;
    std::vector<RawInputEvent> events;
    for (int tries = 0; tries < 500 && events.size() < 7; ++tries) {
        input.Poll(events);
        usleep(10000);
    }
    std::vector<std::string> seen;
    for (const RawInputEvent& event : events)
        seen.push_back(Describe(event));
    EXPECT_EQ(seen, (std::vector<std::string>{"key 65 down", "key 65 up", "button 0 down", "button 0 up",
                                              "wheel -1", "key 32 down", "key 32 up"}));
    for (size_t i = 1; i < events.size(); ++i)
        EXPECT_GE(events[i].timeMicros, events[i - 1].timeMicros);
    input.Stop();
}

// Another client holding the keyboard and the pointer (a game, an open
// menu) keeps neither the keys nor the clicks from us.
TEST(XInputRawInputTest, ReadsInputWhileAnotherClientHoldsAGrab) {
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display)
        GTEST_SKIP() << "no X display";
    testsupport::XGrab grab;
    ASSERT_TRUE(grab.Take());

    XInputRawInput input(SystemClock());
    ASSERT_TRUE(input.Start());
    const auto sent = testsupport::RunShell("xdotool key a click 1");
    ASSERT_EQ(sent.status, 0) << sent.out;
    std::vector<RawInputEvent> events;
    for (int tries = 0; tries < 300 && events.size() < 4; ++tries) {
        input.Poll(events);
        usleep(10000);
    }
    std::vector<std::string> seen;
    for (const RawInputEvent& event : events)
        seen.push_back(Describe(event));
    EXPECT_EQ(seen, (std::vector<std::string>{"key 65 down", "key 65 up", "button 0 down", "button 0 up"}));
    input.Stop();
}

// A whole recording from the desktop: the recorder chooses the X source
// and reads what xdotool sends.
TEST(XInputRawInputTest, RecordsAMacroFromDesktopInput) {
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display)
        GTEST_SKIP() << "no X display";
    XInputRawInput desktop(SystemClock());
    QueuedRawInput window(SystemClock());
    app::MacroRecorder recorder(desktop, window);
    ASSERT_EQ(recorder.Start(app::DelayMode::Fixed, 20, 0), app::StartResult::Started);
    EXPECT_FALSE(recorder.WindowOnly());
    const auto sent = testsupport::RunShell("xdotool click 1 key b click 4");
    ASSERT_EQ(sent.status, 0) << sent.out;
    for (int tries = 0; tries < 500 && recorder.Rows().size() < 8; ++tries) {
        recorder.Poll();
        usleep(10000);
    }
    std::vector<std::string> rows;
    for (const app::RecordedRow& row : recorder.Rows())
        rows.push_back(row.eventText + "|" + std::to_string(row.kind));
    EXPECT_EQ(rows, (std::vector<std::string>{"Left Click        |3", "0.020|0", "Left Click        |4", "0.020|0",
                                              " B |1", "0.020|0", " B |2", "0.020|0", "Scroll Wheel Up   |6",
                                              "Scroll Wheel Up   |134"}));
    recorder.Stop();
}

TEST(XInputRawInputTest, UnreachableServerDoesNotStart) {
    XInputRawInput input(SystemClock(), ":98765");
    EXPECT_FALSE(input.Start());
    std::vector<RawInputEvent> events;
    input.Poll(events);
    EXPECT_TRUE(events.empty());
}

}  // namespace
}  // namespace platform
