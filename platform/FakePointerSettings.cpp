#include "platform/FakePointerSettings.h"

namespace platform {

void FakePointerSettings::SetDoubleClickTime(unsigned milliseconds)
{
    doubleClickTime_ = milliseconds;
    calls_.push_back(Call::DoubleClickTime);
}

void FakePointerSettings::SetWheelScrollLines(unsigned lines)
{
    wheelScrollLines_ = lines;
    calls_.push_back(Call::WheelScrollLines);
}

void FakePointerSettings::SetMouseSpeed(unsigned speed)
{
    mouseSpeed_ = speed;
    calls_.push_back(Call::MouseSpeed);
}

}  // namespace platform
