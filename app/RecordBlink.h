// The record button's blinking while a macro is recorded: timer 13 every
// 600 ms alternates its two pictures; after a stop the next tick puts the
// first picture back and ends the timer.
#pragma once

namespace app {

class RecordBlink {
public:
    static constexpr int kTimerId = 13;
    static constexpr unsigned kIntervalMs = 600;
    static constexpr const char* kFirstImage = "file='MacroRecord1.png' mask='0xffffffff' ";
    static constexpr const char* kSecondImage = "file='MacroRecord2.png' mask='0xffffffff' ";

    enum class State { Idle = 0, ShowingFirst = 1, ShowingSecond = 2, Stopping = 3 };

    struct Tick {
        const char* image;  // the button's new normal image
        bool stopTimer;
    };

    // Both return the picture to show at once; the caller starts timer 13
    // after Start.
    const char* Start();
    const char* RequestStop();
    Tick OnTimer();
    State Current() const { return state_; }

private:
    State state_ = State::Idle;
};

}  // namespace app
