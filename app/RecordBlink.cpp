#include "app/RecordBlink.h"

namespace app {

const char* RecordBlink::Start() {
    state_ = State::ShowingFirst;
    return kFirstImage;
}

const char* RecordBlink::RequestStop() {
    state_ = State::Stopping;
    return kFirstImage;
}

RecordBlink::Tick RecordBlink::OnTimer() {
    switch (state_) {
    case State::ShowingFirst: state_ = State::ShowingSecond; return {kSecondImage, false};
    case State::ShowingSecond: state_ = State::ShowingFirst; return {kFirstImage, false};
    case State::Stopping:
    case State::Idle: break;
    }
    // A tick after a stop, or a stray one while idle, ends the timer.
    state_ = State::Idle;
    return {kFirstImage, true};
}

}  // namespace app
