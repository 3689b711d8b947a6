// The desktop's pointer settings that a profile carries: wheel scroll lines,
// double-click time and pointer speed (on a 1..20 scale). Failures are
// ignored by the callers, so the setters return nothing.
#pragma once

namespace platform {

class PointerSettings {
public:
    virtual ~PointerSettings() = default;

    virtual void SetDoubleClickTime(unsigned milliseconds) = 0;
    virtual void SetWheelScrollLines(unsigned lines) = 0;
    virtual void SetMouseSpeed(unsigned speed) = 0;  // 1..20

    virtual unsigned DoubleClickTime() = 0;  // milliseconds
    // Lines per wheel notch; 0xFFFFFFFF means one screen per notch.
    virtual unsigned WheelScrollLines() = 0;
    virtual unsigned MouseSpeed() = 0;  // 1..20
};

}  // namespace platform
