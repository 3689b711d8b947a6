#include "app/StopSignalWatch.h"

#include "platform/StopSignals.h"

namespace NeritApp {

void StopSignalWatch::Check()
{
    const platform::StopSignals::Counts counts = platform::StopSignals::Take();
    if (counts.count > 0) {
        const bool further = signal_ != 0 || counts.count > 1;
        if (further && !told_ && host_.DeviceBusyNow() && waiting_) {
            told_ = true;
            waiting_();
        }
        if (signal_ == 0)
            signal_ = counts.last;
    }
    if (signal_ != 0 && !ended_ && !host_.DeviceBusyNow()) {
        ended_ = true;
        host_.EndForSignal(signal_);
    }
}

}  // namespace NeritApp
