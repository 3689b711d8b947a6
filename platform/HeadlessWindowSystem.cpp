#include "platform/HeadlessWindowSystem.h"

#include "platform/CairoPainter.h"

#include <algorithm>
#include <cstring>

namespace platform {

HeadlessWindowSystem::~HeadlessWindowSystem() { DestroyAllWindows(); }

Rect HeadlessWindowSystem::GetWorkArea(WindowId) const { return workArea_; }

std::unique_ptr<Painter> HeadlessWindowSystem::CreatePainter(int width, int height)
{
    return std::make_unique<CairoPainter>(width, height);
}

void HeadlessWindowSystem::Present(WindowId window, const uint32_t* pixels, int width, int height, int stride)
{
    if (!IsWindow(window) || width < 0 || height < 0)
        return;
    Frame& frame = frames_[window];
    frame.width = width;
    frame.height = height;
    frame.pixels.resize(static_cast<size_t>(width) * height);
    const auto* row = reinterpret_cast<const unsigned char*>(pixels);
    for (int y = 0; y < height; ++y, row += stride)
        std::memcpy(&frame.pixels[static_cast<size_t>(y) * width], row, static_cast<size_t>(width) * 4);
}

const HeadlessWindowSystem::Frame* HeadlessWindowSystem::LastFrame(WindowId window) const
{
    auto it = frames_.find(window);
    return it == frames_.end() ? nullptr : &it->second;
}

void HeadlessWindowSystem::NativeDestroy(WindowId window)
{
    frames_.erase(window);
    if (textInputWindow_ == window)
        StopTextInput();
}

void HeadlessWindowSystem::StartTextInput(WindowId window, const Rect& caret)
{
    textInputWindow_ = window;
    textInputCaret_ = caret;
}

void HeadlessWindowSystem::StopTextInput()
{
    ClearComposition();
    textInputWindow_ = WindowId::None;
    textInputCaret_ = {};
}

int HeadlessWindowSystem::MessageBox(WindowId owner, const std::string& text, const std::string& caption,
                                     unsigned flags)
{
    int answer = (flags & 0x0F) == MB_OKCANCEL ? IDCANCEL : IDOK;
    if (!answers_.empty()) {
        answer = answers_.front();
        answers_.pop_front();
    }
    messageBoxes_.push_back({owner, text, caption, flags, answer});
    return answer;
}

void HeadlessWindowSystem::InjectMouse(WindowId window, unsigned message, int x, int y, unsigned flags)
{
    if (message == WM_MOUSELEAVE)
        OnMouseLeave(window);
    else
        OnMouse(window, message, x, y, flags);
}

void HeadlessWindowSystem::InjectWheel(WindowId window, int x, int y, int delta, unsigned flags)
{
    OnWheel(window, x, y, delta, flags);
}

void HeadlessWindowSystem::InjectKey(WindowId window, int virtualKey, bool down, bool rightHand)
{
    OnKey(window, virtualKey, down, rightHand);
}

void HeadlessWindowSystem::InjectText(WindowId window, std::u16string_view text) { OnText(window, text); }

void HeadlessWindowSystem::StartNativeTimer(uint64_t serial, unsigned intervalMs)
{
    timers_[serial] = {std::max(intervalMs, 1u), now_ + intervalMs};
}

void HeadlessWindowSystem::AdvanceTime(unsigned ms)
{
    const uint64_t end = now_ + ms;
    for (;;) {
        auto next = timers_.end();
        for (auto it = timers_.begin(); it != timers_.end(); ++it) {
            if (it->second.due <= end && (next == timers_.end() || it->second.due < next->second.due))
                next = it;
        }
        if (next == timers_.end())
            break;
        now_ = next->second.due;
        next->second.due += next->second.interval;
        OnTimer(next->first);  // may stop this timer or others
    }
    now_ = end;
}

int HeadlessWindowSystem::RunPending()
{
    int count = 0;
    Message message;
    while (GetMessage(message)) {
        DispatchMessage(message);
        ++count;
    }
    return count;
}

}  // namespace platform
