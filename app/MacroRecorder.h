// Turns desktop input into the rows of the macro being recorded: one row per
// key or button transition, two per wheel notch, and delay rows between them
// by the chosen delay mode. Polled from the main loop; it never shows
// anything itself, the caller reads the result of each poll.
#pragma once

#include "platform/raw_input.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace app {

enum class DelayMode : uint8_t { Measured = 0, None = 1, Fixed = 2 };

// Kinds handed to the macro list: the releasing half of a wheel notch is
// the pressing kind + 128.
namespace event_kind {
inline constexpr uint8_t kDelay = 0;
inline constexpr uint8_t kKeyDown = 1;
inline constexpr uint8_t kKeyUp = 2;
inline constexpr uint8_t kButtonDown = 3;
inline constexpr uint8_t kButtonUp = 4;
inline constexpr uint8_t kWheelDown = 5;
inline constexpr uint8_t kWheelUp = 6;
inline constexpr uint8_t kWheelRelease = 128;
}  // namespace event_kind

struct RecordedRow {
    std::string eventText;
    uint8_t kind = 0;
    std::string label;
};

struct RecorderRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

enum class StartResult { Started, BadFixedDelay, AlreadyRecording };
enum class PollResult { Nothing, Added, LimitReached };

class MacroRecorder {
public:
    static constexpr size_t kMaxEvents = 256;
    static constexpr int64_t kMaxFixedDelayMs = 2147483647;

    // `desktop` is tried first; when it cannot start, `window` (fed with the
    // window's own key and button events) is used and WindowOnly() is set.
    MacroRecorder(platform::RawInput& desktop, platform::RawInput& window) : desktop_(desktop), window_(window) {}

    // Clears the rows and starts listening.
    StartResult Start(DelayMode mode, int64_t fixedDelayMs, int language);
    void Stop();
    bool Recording() const { return recording_; }
    bool WindowOnly() const { return windowOnly_; }

    // Reads the source and records what arrived. LimitReached: the macro is
    // full, recording has stopped and the caller tells the user.
    PollResult Poll();

    // The stop button's rectangle and the pointer in client coordinates;
    // a left click while the pointer is on the stop button is the click that
    // ends the recording and is not recorded.
    void SetStopButton(RecorderRect rect) { stopButton_ = rect; }
    void PointerMoved(int x, int y) { pointer_ = Point{x, y}; }
    void PointerLeftWindow() { pointer_.reset(); }

    const std::vector<RecordedRow>& Rows() const { return rows_; }

private:
    struct Point {
        int x, y;
    };
    struct Group {
        std::vector<RecordedRow> rows;
        bool dropWhenFirst = false;
    };

    PollResult Record(const platform::RawInputEvent& event);
    std::optional<Group> Describe(const platform::RawInputEvent& event) const;
    std::optional<Group> DescribeKey(const platform::RawInputEvent& event) const;
    std::optional<Group> DescribeButton(const platform::RawInputEvent& event) const;
    Group DescribeWheel(const platform::RawInputEvent& event) const;
    bool OnStopButton() const;
    std::optional<RecordedRow> DelayRow(uint64_t nowMicros);

    platform::RawInput& desktop_;
    platform::RawInput& window_;
    platform::RawInput* active_ = nullptr;
    bool recording_ = false;
    bool windowOnly_ = false;
    bool firstSeen_ = false;
    uint64_t referenceMicros_ = 0;
    DelayMode mode_ = DelayMode::Measured;
    int64_t fixedDelayMs_ = 0;
    int language_ = 0;
    RecorderRect stopButton_;
    std::optional<Point> pointer_;
    std::vector<RecordedRow> rows_;
};

// "%d.%d%d%d": whole seconds and three truncated decimals.
std::string FormatDelay(uint64_t milliseconds);

}  // namespace app
