#include "ui/ControlTimers.h"

#include <algorithm>
#include <iterator>

namespace SkinUI {
namespace {

constexpr unsigned kNativeIdModulus = 255;

// Timer ids the program's windows use for their own timers on the same
// native window (the record button's blinking, the end of the left-button
// warning).
constexpr unsigned kWindowOwnTimerIds[] = {13, 14};

bool IsWindowOwnId(unsigned nativeId)
{
    return std::find(std::begin(kWindowOwnTimerIds), std::end(kWindowOwnTimerIds), nativeId)
           != std::end(kWindowOwnTimerIds);
}

}  // namespace

bool CControlTimers::IsHeld(unsigned nativeId) const
{
    return std::any_of(records_.begin(), records_.end(), [nativeId](const Record& r) { return r.nativeId == nativeId; });
}

bool CControlTimers::TakeNativeId(unsigned& nativeId)
{
    for (unsigned step = 0; step < kNativeIdModulus; ++step) {
        const unsigned candidate = (nextNativeId_ + step) % kNativeIdModulus;
        if (!IsWindowOwnId(candidate) && !IsHeld(candidate)) {
            nativeId = candidate;
            return true;
        }
    }
    for (unsigned step = 0; step < kNativeIdModulus; ++step) {
        const unsigned candidate = (nextNativeId_ + step) % kNativeIdModulus;
        const auto killed = std::find_if(records_.begin(), records_.end(), [candidate](const Record& r) {
            return r.nativeId == candidate && r.killed;
        });
        if (!IsWindowOwnId(candidate) && killed != records_.end()) {
            records_.erase(killed);
            nativeId = candidate;
            return true;
        }
    }
    return false;
}

CControlTimers::Record* CControlTimers::Find(const CControlUI* control, unsigned id)
{
    for (Record& record : records_) {
        if (record.control == control && record.id == id)
            return &record;
    }
    return nullptr;
}

bool CControlTimers::Set(CControlUI* control, unsigned id, unsigned intervalMs)
{
    if (control == nullptr)
        return false;
    if (Record* record = Find(control, id)) {
        if (!record->killed)
            return false;
        if (native_.start && !native_.start(record->nativeId, intervalMs))
            return false;
        record->killed = false;
        return true;
    }
    unsigned nativeId = 0;
    if (!TakeNativeId(nativeId))
        return false;
    if (native_.start && !native_.start(nativeId, intervalMs))
        return false;
    nextNativeId_ = (nativeId + 1) % kNativeIdModulus;
    records_.push_back({control, id, nativeId, false});
    return true;
}

bool CControlTimers::Kill(CControlUI* control, unsigned id)
{
    Record* record = Find(control, id);
    if (record == nullptr || record->killed)
        return false;
    record->killed = true;
    if (native_.stop)
        native_.stop(record->nativeId);
    return true;
}

void CControlTimers::Forget(const CControlUI* control)
{
    for (Record& record : records_) {
        if (record.control == control && !record.killed && native_.stop)
            native_.stop(record.nativeId);
    }
    records_.erase(std::remove_if(records_.begin(), records_.end(),
                                  [control](const Record& r) { return r.control == control; }),
                   records_.end());
}

CControlUI* CControlTimers::Owner(unsigned nativeId, unsigned& id) const
{
    for (const Record& record : records_) {
        if (record.nativeId == nativeId && !record.killed) {
            id = record.id;
            return record.control;
        }
    }
    return nullptr;
}

int CControlTimers::NativeId(const CControlUI* control, unsigned id) const
{
    for (const Record& record : records_) {
        if (record.control == control && record.id == id)
            return static_cast<int>(record.nativeId);
    }
    return -1;
}

}  // namespace SkinUI
