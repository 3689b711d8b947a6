#include "app/MacroRecorder.h"

#include "app/RecorderTexts.h"
#include "settings/KeyNameTable.h"

#include <algorithm>
#include <cstdlib>

namespace app {
namespace {

using platform::RawButton;
using platform::RawInputEvent;
using platform::RawInputKind;
namespace texts = recorder_texts;

const texts::PerLanguage& ButtonNames(RawButton button) {
    switch (button) {
    case RawButton::Left: return texts::kLeftButton;
    case RawButton::Right: return texts::kRightButton;
    case RawButton::Middle: return texts::kMiddleButton;
    case RawButton::Back: return texts::kBackwardButton;
    case RawButton::Forward: break;
    }
    return texts::kForwardButton;
}

}  // namespace

std::string FormatDelay(uint64_t milliseconds) {
    const uint64_t fraction = milliseconds % 1000;
    std::string text = std::to_string(milliseconds / 1000) + ".";
    text += char('0' + fraction / 100);
    text += char('0' + fraction / 10 % 10);
    text += char('0' + fraction % 10);
    return text;
}

StartResult MacroRecorder::Start(DelayMode mode, int64_t fixedDelayMs, int language) {
    if (recording_)
        return StartResult::AlreadyRecording;
    if (mode == DelayMode::Fixed && (fixedDelayMs < 1 || fixedDelayMs > kMaxFixedDelayMs))
        return StartResult::BadFixedDelay;
    windowOnly_ = !desktop_.Start();
    active_ = windowOnly_ ? &window_ : &desktop_;
    if (windowOnly_)
        window_.Start();
    mode_ = mode;
    fixedDelayMs_ = fixedDelayMs;
    language_ = std::clamp(language, 0, 3);
    rows_.clear();
    firstSeen_ = false;
    recording_ = true;
    return StartResult::Started;
}

void MacroRecorder::Stop() {
    if (!recording_)
        return;
    active_->Stop();
    recording_ = false;
}

PollResult MacroRecorder::Poll() {
    if (!recording_)
        return PollResult::Nothing;
    std::vector<RawInputEvent> events;
    active_->Poll(events);
    PollResult result = PollResult::Nothing;
    for (const RawInputEvent& event : events) {
        const PollResult one = Record(event);
        if (one == PollResult::LimitReached)
            return one;
        if (one == PollResult::Added)
            result = one;
    }
    return result;
}

PollResult MacroRecorder::Record(const RawInputEvent& event) {
    std::optional<Group> group = Describe(event);
    if (!group)
        return PollResult::Nothing;
    if (!firstSeen_) {
        firstSeen_ = true;
        referenceMicros_ = event.timeMicros;
        if (group->dropWhenFirst)
            return PollResult::Nothing;
    } else if (std::optional<RecordedRow> delay = DelayRow(event.timeMicros)) {
        group->rows.insert(group->rows.begin(), *delay);
    }
    if (rows_.size() + group->rows.size() > kMaxEvents) {
        Stop();
        return PollResult::LimitReached;
    }
    rows_.insert(rows_.end(), group->rows.begin(), group->rows.end());
    if (rows_.size() == kMaxEvents) {
        Stop();
        return PollResult::LimitReached;
    }
    return PollResult::Added;
}

std::optional<MacroRecorder::Group> MacroRecorder::Describe(const RawInputEvent& event) const {
    switch (event.kind) {
    case RawInputKind::Key: return DescribeKey(event);
    case RawInputKind::Button: return DescribeButton(event);
    case RawInputKind::Wheel: break;
    }
    if (event.wheelNotches == 0)
        return std::nullopt;
    return DescribeWheel(event);
}

// A key missing from the key table is ignored completely, so the next delay
// covers the time since the last recorded event. A first key event may be
// a release.
std::optional<MacroRecorder::Group> MacroRecorder::DescribeKey(const RawInputEvent& event) const {
    const settings::KeyName* key = settings::FindKeyByVirtualKey(event.virtualKey);
    if (!key)
        return std::nullopt;
    const uint8_t kind = event.down ? event_kind::kKeyDown : event_kind::kKeyUp;
    return Group{{RecordedRow{key->name, kind, key->name}}, false};
}

// A release is always a release; a first release (the end of the click that
// started the recording) is dropped.
std::optional<MacroRecorder::Group> MacroRecorder::DescribeButton(const RawInputEvent& event) const {
    if (event.button == RawButton::Left && OnStopButton())
        return std::nullopt;
    const texts::PerLanguage& names = ButtonNames(event.button);
    const texts::PerLanguage& word = event.down ? texts::kPressWord : texts::kReleaseWord;
    const uint8_t kind = event.down ? event_kind::kButtonDown : event_kind::kButtonUp;
    std::string label = std::string(names[language_]) + word[language_];
    return Group{{RecordedRow{names[0], kind, std::move(label)}}, !event.down};
}

// Each notch is a press and a release row; several notches in one event
// give several pairs.
MacroRecorder::Group MacroRecorder::DescribeWheel(const RawInputEvent& event) const {
    const bool up = event.wheelNotches > 0;
    const texts::PerLanguage& names = up ? texts::kWheelUp : texts::kWheelDown;
    const uint8_t press = up ? event_kind::kWheelUp : event_kind::kWheelDown;
    const int notches = std::min(std::abs(event.wheelNotches), int(kMaxEvents));
    Group group;
    for (int i = 0; i < notches; ++i) {
        group.rows.push_back({names[0], press, std::string(names[language_]) + texts::kPressWord[language_]});
        group.rows.push_back({names[0], uint8_t(press + event_kind::kWheelRelease),
                              std::string(names[language_]) + texts::kReleaseWord[language_]});
    }
    return group;
}

bool MacroRecorder::OnStopButton() const {
    return pointer_ && stopButton_.Contains(pointer_->x, pointer_->y);
}

std::optional<RecordedRow> MacroRecorder::DelayRow(uint64_t nowMicros) {
    const uint64_t elapsed = nowMicros > referenceMicros_ ? nowMicros - referenceMicros_ : 0;
    referenceMicros_ = nowMicros;
    std::string text;
    if (mode_ == DelayMode::Measured)
        text = FormatDelay(elapsed / 1000);
    else if (mode_ == DelayMode::Fixed)
        text = FormatDelay(uint64_t(fixedDelayMs_));
    else
        return std::nullopt;
    return RecordedRow{text, event_kind::kDelay, texts::DelayLabel(text, static_cast<size_t>(language_))};
}

}  // namespace app
