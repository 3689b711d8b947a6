#include "app/MacroRecorder.h"
#include "platform/QueuedRawInput.h"

#include <gtest/gtest.h>

namespace app {
namespace {

using platform::RawButton;
using platform::RawInputEvent;
using platform::RawInputKind;

class StepClock final : public platform::Clock {
public:
    uint64_t NowMicros() override { return micros; }
    void SleepMs(unsigned ms) override { micros += uint64_t(ms) * 1000; }
    uint64_t micros = 1000000;
};

// A desktop source that cannot start, as in a session without X.
class UnreachableInput final : public platform::RawInput {
public:
    bool Start() override { return false; }
    void Stop() override {}
    void Poll(std::vector<RawInputEvent>&) override { ADD_FAILURE() << "polled a source that did not start"; }
};

RawInputEvent Key(uint8_t virtualKey, bool down) {
    return {RawInputKind::Key, virtualKey, RawButton::Left, down, 0, 0};
}
RawInputEvent Button(RawButton button, bool down) {
    return {RawInputKind::Button, 0, button, down, 0, 0};
}
RawInputEvent Wheel(int notches) {
    return {RawInputKind::Wheel, 0, RawButton::Left, false, notches, 0};
}

constexpr uint8_t kVkA = 0x41;
constexpr uint8_t kVkF13 = 0x7C;

struct Rig {
    StepClock clock;
    platform::QueuedRawInput desktop{clock};
    platform::QueuedRawInput window{clock};
    MacroRecorder recorder{desktop, window};

    void At(uint64_t micros, RawInputEvent event) {
        clock.micros = micros;
        desktop.Push(event);
    }
    std::vector<std::string> Rows() const {
        std::vector<std::string> rows;
        for (const RecordedRow& row : recorder.Rows())
            rows.push_back(row.eventText + "|" + std::to_string(row.kind) + "|" + row.label);
        return rows;
    }
};

TEST(MacroRecorderTest, DelayModesBetweenAKeyPressAndRelease) {
    Rig rig;
    ASSERT_EQ(rig.recorder.Start(DelayMode::Measured, 0, 0), StartResult::Started);
    rig.At(5000000, Key(kVkA, true));
    rig.At(5250400, Key(kVkA, false));
    rig.At(5400000, Key(kVkA, true));  // each delay is measured from the event before
    rig.At(5450000, Key(kVkA, false));
    EXPECT_EQ(rig.recorder.Poll(), PollResult::Added);
    EXPECT_EQ(rig.Rows(), (std::vector<std::string>{" A |1| A ", "0.250|0|0.250 Sec Delay ", " A |2| A ",
                                                    "0.149|0|0.149 Sec Delay ", " A |1| A ", "0.050|0|0.050 Sec Delay ",
                                                    " A |2| A "}));
    rig.recorder.Stop();

    ASSERT_EQ(rig.recorder.Start(DelayMode::None, 0, 0), StartResult::Started);
    rig.At(6000000, Key(kVkA, true));
    rig.At(6250400, Key(kVkA, false));
    rig.recorder.Poll();
    EXPECT_EQ(rig.Rows(), (std::vector<std::string>{" A |1| A ", " A |2| A "}));
    rig.recorder.Stop();

    ASSERT_EQ(rig.recorder.Start(DelayMode::Fixed, 1500, 3), StartResult::Started);
    rig.At(7000000, Key(kVkA, true));
    rig.At(7250400, Key(kVkA, false));
    rig.recorder.Poll();
    EXPECT_EQ(rig.Rows(), (std::vector<std::string>{" A |1| A ", "1.500|0|1,500 s einfügen   ", " A |2| A "}));
    rig.recorder.Stop();

    // Long measured delays keep whole seconds and three truncated decimals.
    ASSERT_EQ(rig.recorder.Start(DelayMode::Measured, 0, 0), StartResult::Started);
    rig.At(8000000, Key(kVkA, true));
    rig.At(8000000 + 61234900, Key(kVkA, false));
    rig.recorder.Poll();
    EXPECT_EQ(rig.recorder.Rows().at(1).eventText, "61.234");
}

TEST(MacroRecorderTest, FixedDelayMustBeWithinItsRange) {
    Rig rig;
    EXPECT_EQ(rig.recorder.Start(DelayMode::Fixed, 0, 0), StartResult::BadFixedDelay);
    EXPECT_EQ(rig.recorder.Start(DelayMode::Fixed, 2147483648LL, 0), StartResult::BadFixedDelay);
    EXPECT_EQ(rig.recorder.Start(DelayMode::Fixed, -5, 0), StartResult::BadFixedDelay);
    EXPECT_FALSE(rig.recorder.Recording());
    EXPECT_EQ(rig.recorder.Start(DelayMode::Fixed, 2147483647LL, 0), StartResult::Started);
    EXPECT_EQ(rig.recorder.Start(DelayMode::Fixed, 1, 0), StartResult::AlreadyRecording);
    rig.At(1000, Key(kVkA, true));
    rig.At(2000, Key(kVkA, false));
    rig.recorder.Poll();
    EXPECT_EQ(rig.recorder.Rows().at(1).eventText, "2147483.647");
}

TEST(MacroRecorderTest, KeyMissingFromTheTableIsIgnoredWithoutMovingTheTimeReference) {
    Rig rig;
    rig.recorder.Start(DelayMode::Measured, 0, 0);
    rig.At(1000000, Key(kVkA, true));
    rig.At(1100000, Key(kVkF13, true));
    rig.At(1200000, Key(kVkF13, false));
    rig.At(1300000, Key(kVkA, false));
    rig.recorder.Poll();
    EXPECT_EQ(rig.Rows(), (std::vector<std::string>{" A |1| A ", "0.300|0|0.300 Sec Delay ", " A |2| A "}));
}

TEST(MacroRecorderTest, FirstEventRules) {
    Rig rig;
    rig.recorder.Start(DelayMode::Measured, 0, 0);
    // The release of the click on the record button is dropped, but the
    // next delay is measured from it.
    rig.At(1000000, Button(RawButton::Left, false));
    rig.At(1500000, Button(RawButton::Right, true));
    rig.recorder.Poll();
    EXPECT_EQ(rig.Rows(), (std::vector<std::string>{"0.500|0|0.500 Sec Delay ",
                                                    "Right Click       |3|Right Click        Down "}));
    rig.recorder.Stop();

    // A first key release is kept.
    rig.recorder.Start(DelayMode::None, 0, 0);
    rig.At(2000000, Key(kVkA, false));
    rig.recorder.Poll();
    EXPECT_EQ(rig.Rows(), (std::vector<std::string>{" A |2| A "}));
}

TEST(MacroRecorderTest, StopButtonClickIsExcludedOnlyWhileThePointerIsOnIt) {
    Rig rig;
    rig.recorder.Start(DelayMode::None, 0, 1);
    rig.recorder.SetStopButton({100, 200, 140, 230});
    rig.At(1000, Key(kVkA, true));
    rig.recorder.PointerMoved(120, 210);
    rig.At(2000, Button(RawButton::Left, true));
    rig.At(3000, Button(RawButton::Left, false));
    rig.At(3500, Button(RawButton::Right, true));
    rig.recorder.Poll();
    EXPECT_EQ(rig.Rows(), (std::vector<std::string>{" A |1| A ", "Right Click       |3|右鍵    向下   "}));

    // Once the pointer has left the window, left clicks elsewhere count.
    rig.recorder.PointerLeftWindow();
    rig.At(4000, Button(RawButton::Left, true));
    rig.At(5000, Button(RawButton::Left, false));
    rig.recorder.Poll();
    ASSERT_EQ(rig.recorder.Rows().size(), 4u);
    EXPECT_EQ(rig.recorder.Rows()[2].kind, event_kind::kButtonDown);
    EXPECT_EQ(rig.recorder.Rows()[3].kind, event_kind::kButtonUp);

    rig.recorder.PointerMoved(99, 210);
    rig.At(6000, Button(RawButton::Left, true));
    rig.recorder.Poll();
    EXPECT_EQ(rig.recorder.Rows().size(), 5u);
}

TEST(MacroRecorderTest, WheelNotchesBecomePressAndReleaseRows) {
    Rig rig;
    rig.recorder.Start(DelayMode::None, 0, 0);
    rig.At(1000, Wheel(-1));
    rig.At(2000, Wheel(0));
    rig.At(3000, Wheel(2));
    rig.recorder.Poll();
    EXPECT_EQ(rig.Rows(), (std::vector<std::string>{
                              "Scroll Wheel Down |5|Scroll Wheel Down  Down ",
                              "Scroll Wheel Down |133|Scroll Wheel Down  Up   ",
                              "Scroll Wheel Up   |6|Scroll Wheel Up    Down ",
                              "Scroll Wheel Up   |134|Scroll Wheel Up    Up   ",
                              "Scroll Wheel Up   |6|Scroll Wheel Up    Down ",
                              "Scroll Wheel Up   |134|Scroll Wheel Up    Up   ",
                          }));
}

TEST(MacroRecorderTest, ExtraButtonReleaseStaysAReleaseWhileTheOtherIsHeld) {
    Rig rig;
    rig.recorder.Start(DelayMode::None, 0, 0);
    rig.At(1000, Button(RawButton::Back, true));
    rig.At(2000, Button(RawButton::Forward, true));
    rig.At(3000, Button(RawButton::Back, false));
    rig.At(4000, Button(RawButton::Forward, false));
    rig.recorder.Poll();
    EXPECT_EQ(rig.Rows(), (std::vector<std::string>{
                              "Browser Backward  |3|Browser Backward   Down ",
                              "Browser Forward   |3|Browser Forward    Down ",
                              "Browser Backward  |4|Browser Backward   Up   ",
                              "Browser Forward   |4|Browser Forward    Up   ",
                          }));
}

TEST(MacroRecorderTest, TransitionsArrivingTogetherAreAllRecorded) {
    Rig rig;
    rig.recorder.Start(DelayMode::Measured, 0, 0);
    rig.At(1000, Button(RawButton::Left, true));
    rig.At(1000, Button(RawButton::Right, true));
    EXPECT_EQ(rig.recorder.Poll(), PollResult::Added);
    EXPECT_EQ(rig.Rows(), (std::vector<std::string>{"Left Click        |3|Left Click         Down ",
                                                    "0.000|0|0.000 Sec Delay ",
                                                    "Right Click       |3|Right Click        Down "}));
}

TEST(MacroRecorderTest, RecordingStopsWhenTheMacroIsFull) {
    Rig rig;
    rig.recorder.Start(DelayMode::None, 0, 0);
    for (int i = 0; i < 255; ++i)
        rig.At(1000 + i, Key(kVkA, i % 2 == 0));
    EXPECT_EQ(rig.recorder.Poll(), PollResult::Added);
    // A wheel notch needs two rows: it does not fit, nothing of it is kept.
    rig.At(5000, Wheel(1));
    rig.At(6000, Key(kVkA, true));
    EXPECT_EQ(rig.recorder.Poll(), PollResult::LimitReached);
    EXPECT_EQ(rig.recorder.Rows().size(), 255u);
    EXPECT_FALSE(rig.recorder.Recording());
    rig.At(7000, Key(kVkA, true));
    EXPECT_EQ(rig.recorder.Poll(), PollResult::Nothing);
    EXPECT_EQ(rig.recorder.Rows().size(), 255u);

    // Reaching exactly 256 rows also ends the recording.
    rig.recorder.Start(DelayMode::Measured, 0, 0);
    for (int i = 0; i < 128; ++i)
        rig.At(10000 + i, Key(kVkA, i % 2 == 0));
    rig.At(20000, Key(kVkA, true));
    EXPECT_EQ(rig.recorder.Poll(), PollResult::LimitReached);
    EXPECT_EQ(rig.recorder.Rows().size(), 255u);

    rig.recorder.Start(DelayMode::Measured, 0, 0);
    rig.At(30000, Wheel(-1));
    for (int i = 0; i < 127; ++i)
        rig.At(30001 + i, Key(kVkA, i % 2 == 0));
    EXPECT_EQ(rig.recorder.Poll(), PollResult::LimitReached);
    EXPECT_EQ(rig.recorder.Rows().size(), 256u);
    EXPECT_FALSE(rig.recorder.Recording());
}

TEST(MacroRecorderTest, FallsBackToTheWindowsOwnEventsWithoutADesktopSource) {
    StepClock clock;
    UnreachableInput desktop;
    platform::QueuedRawInput window(clock);
    MacroRecorder recorder(desktop, window);
    ASSERT_EQ(recorder.Start(DelayMode::None, 0, 0), StartResult::Started);
    EXPECT_TRUE(recorder.WindowOnly());
    window.Push(Key(kVkA, true));
    EXPECT_EQ(recorder.Poll(), PollResult::Added);
    EXPECT_EQ(recorder.Rows().size(), 1u);
    recorder.Stop();
    window.Push(Key(kVkA, false));
    EXPECT_FALSE(window.Started());
}

}  // namespace
}  // namespace app
