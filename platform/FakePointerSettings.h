// Pointer settings kept in memory. Setters store values as given, without
// clamping, so tests can also stage odd desktop values; each set is logged so
// tests can check the order in which a profile's values were applied.
#pragma once

#include "platform/pointer_settings.h"

#include <vector>

namespace platform {

class FakePointerSettings final : public PointerSettings {
public:
    enum class Call { DoubleClickTime, WheelScrollLines, MouseSpeed };

    void SetDoubleClickTime(unsigned milliseconds) override;
    void SetWheelScrollLines(unsigned lines) override;
    void SetMouseSpeed(unsigned speed) override;

    unsigned DoubleClickTime() override { return doubleClickTime_; }
    unsigned WheelScrollLines() override { return wheelScrollLines_; }
    unsigned MouseSpeed() override { return mouseSpeed_; }

    const std::vector<Call>& SetCalls() const { return calls_; }
    void ClearSetCalls() { calls_.clear(); }

private:
    unsigned doubleClickTime_ = 400;
    unsigned wheelScrollLines_ = 3;
    unsigned mouseSpeed_ = 10;
    std::vector<Call> calls_;
};

}  // namespace platform
