// One instance in memory, for tests: the lock is held while a guard of this
// service lives; a later start raises it at once, unless the holder was made
// deaf, when the later start waits the whole answer wait on the clock.
#pragma once

#include "platform/clock.h"
#include "platform/single_instance.h"

#include <map>
#include <memory>

namespace platform {

class FakeSingleInstance final : public SingleInstance {
public:
    explicit FakeSingleInstance(Clock& clock) : clock_(clock) {}

    InstanceResult Start(const std::string& folder, const std::string& name,
                         std::unique_ptr<InstanceGuard>& guard) override;
    FileError LastError() const override { return lastError_; }

    bool IsHeld(const std::string& folder, const std::string& name) const;
    // While false, the holder never answers (it hangs, or its socket is gone).
    void SetAnswering(bool answering) { state_->answering = answering; }
    // While not Primary, every Start ends with this result (Error with Other).
    void SetFailure(InstanceResult failure) { failure_ = failure; }

    struct State {
        // Lock name to the raise requests not yet taken by its holder.
        std::map<std::string, unsigned> held;
        bool answering = true;
    };

private:
    Clock& clock_;
    // Shared with the guards, which may outlive the service.
    std::shared_ptr<State> state_ = std::make_shared<State>();
    InstanceResult failure_ = InstanceResult::Primary;
    FileError lastError_ = FileError::None;
};

}  // namespace platform
