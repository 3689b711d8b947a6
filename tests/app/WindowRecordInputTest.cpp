#include "app/WindowRecordInput.h"
#include "platform/window_system.h"

#include <gtest/gtest.h>

namespace app {
namespace {

class StillClock final : public platform::Clock {
public:
    uint64_t NowMicros() override { return 0; }
    void SleepMs(unsigned) override {}
};

class UnreachableInput final : public platform::RawInput {
public:
    bool Start() override { return false; }
    void Stop() override {}
    void Poll(std::vector<platform::RawInputEvent>&) override {}
};

intptr_t Point(int x, int y) {
    return intptr_t(uint16_t(int16_t(x))) | intptr_t(uint16_t(int16_t(y))) << 16;
}

uintptr_t WheelDelta(int delta) {
    return uintptr_t(uint16_t(int16_t(delta))) << 16;
}

std::vector<std::string> Rows(const MacroRecorder& recorder) {
    std::vector<std::string> rows;
    for (const RecordedRow& row : recorder.Rows())
        rows.push_back(row.eventText + "|" + std::to_string(row.kind));
    return rows;
}

TEST(WindowRecordInputTest, WindowMessagesAreRecordedWithoutADesktopSource) {
    StillClock clock;
    UnreachableInput desktop;
    platform::QueuedRawInput window(clock);
    MacroRecorder recorder(desktop, window);
    WindowRecordInput feed(recorder, window);
    recorder.SetStopButton({100, 200, 140, 230});
    ASSERT_EQ(recorder.Start(DelayMode::None, 0, 0), StartResult::Started);

    feed.OnMessage(platform::WM_KEYDOWN, 'A', 1);
    feed.OnMessage(platform::WM_SYSKEYUP, 'A', 1);
    feed.OnMessage(platform::WM_LBUTTONDOWN, platform::MK_LBUTTON, Point(110, 210));  // the stop button
    feed.OnMessage(platform::WM_LBUTTONUP, 0, Point(110, 210));
    feed.OnMessage(platform::WM_MOUSEMOVE, 0, Point(-5, 210));
    feed.OnMessage(platform::WM_RBUTTONDOWN, platform::MK_RBUTTON, Point(-5, 210));
    feed.OnMessage(platform::WM_MOUSEWHEEL, WheelDelta(-240), Point(500, 500));
    feed.OnMessage(platform::WM_MOUSEWHEEL, WheelDelta(30), Point(500, 500));
    feed.OnMessage(platform::WM_MOUSEWHEEL, WheelDelta(0), Point(500, 500));
    feed.OnMessage(platform::WM_CHAR, 'a', 0);
    // The extra buttons: a release stays a release while the other is held.
    feed.OnMessage(platform::WM_XBUTTONDOWN, platform::XBUTTON1 << 16, Point(5, 5));
    feed.OnMessage(platform::WM_XBUTTONDOWN, platform::XBUTTON2 << 16 | 0x0020, Point(5, 5));
    feed.OnMessage(platform::WM_XBUTTONUP, platform::XBUTTON1 << 16 | 0x0040, Point(5, 5));
    feed.OnMessage(platform::WM_XBUTTONUP, 3u << 16, Point(5, 5));
    recorder.Poll();
    EXPECT_EQ(Rows(recorder), (std::vector<std::string>{
                                  " A |1", " A |2", "Right Click       |3",
                                  "Scroll Wheel Down |5", "Scroll Wheel Down |133",
                                  "Scroll Wheel Down |5", "Scroll Wheel Down |133",
                                  "Scroll Wheel Up   |6", "Scroll Wheel Up   |134",
                                  "Browser Backward  |3", "Browser Forward   |3", "Browser Backward  |4",
                              }));

    // After the pointer left over the stop button, a click elsewhere on the
    // desktop is no stop click.
    feed.OnMessage(platform::WM_MOUSEMOVE, 0, Point(120, 220));
    feed.OnMessage(platform::WM_MOUSELEAVE, 0, 0);
    recorder.Poll();
    EXPECT_EQ(recorder.Rows().size(), 12u);

    // The message that fills the macro says so.
    recorder.Stop();
    recorder.Start(DelayMode::None, 0, 0);
    for (int i = 0; i < 255; ++i)
        ASSERT_EQ(feed.OnMessage(platform::WM_KEYDOWN, 'A', 1), PollResult::Added);
    EXPECT_EQ(feed.OnMessage(platform::WM_MOUSEMOVE, 0, Point(1, 1)), PollResult::Nothing);
    EXPECT_EQ(feed.OnMessage(platform::WM_KEYUP, 'A', 1), PollResult::LimitReached);
    EXPECT_FALSE(recorder.Recording());
    EXPECT_EQ(feed.OnMessage(platform::WM_KEYUP, 'A', 1), PollResult::Nothing);
}

}  // namespace
}  // namespace app
