// Control timers of a window: one record per (control, timer id) with its
// native timer id. Native ids come from a counter that runs modulo 255 and
// skips ids held by other records and the ids the program's windows run their
// own timers under; a killed timer that is set again restarts with the same
// native id unless a new timer needed that id in the meantime.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace SkinUI {

class CControlUI;

class CControlTimers {
public:
    // Starts or stops a native timer of the window.
    struct Native {
        std::function<bool(unsigned nativeId, unsigned intervalMs)> start;
        std::function<void(unsigned nativeId)> stop;
    };

    explicit CControlTimers(Native native) : native_(std::move(native)) {}

    // False when the timer exists and runs (it is left alone).
    bool Set(CControlUI* control, unsigned id, unsigned intervalMs);
    bool Kill(CControlUI* control, unsigned id);
    // Kills and forgets every timer of a control that goes away.
    void Forget(const CControlUI* control);
    // The control and timer id a native timer belongs to (null when none or
    // killed).
    CControlUI* Owner(unsigned nativeId, unsigned& id) const;
    // The native id of a control timer; -1 when there is none.
    int NativeId(const CControlUI* control, unsigned id) const;

private:
    struct Record {
        CControlUI* control;
        unsigned id;
        unsigned nativeId;
        bool killed;
    };
    Record* Find(const CControlUI* control, unsigned id);
    // The next free native id: one no record holds, else that of a killed
    // record (which is dropped); false when all of them run.
    bool TakeNativeId(unsigned& nativeId);
    bool IsHeld(unsigned nativeId) const;

    Native native_;
    std::vector<Record> records_;
    unsigned nextNativeId_ = 0;
};

}  // namespace SkinUI
