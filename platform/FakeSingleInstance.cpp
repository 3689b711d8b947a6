#include "platform/FakeSingleInstance.h"

#include <utility>

namespace platform {
namespace {

class FakeInstanceGuard final : public InstanceGuard {
public:
    FakeInstanceGuard(std::shared_ptr<FakeSingleInstance::State> state, std::string key)
        : state_(std::move(state)), key_(std::move(key)) {}
    ~FakeInstanceGuard() override { state_->held.erase(key_); }
    FakeInstanceGuard(const FakeInstanceGuard&) = delete;
    FakeInstanceGuard& operator=(const FakeInstanceGuard&) = delete;

    int WaitHandle() const override { return -1; }
    bool TakeRaiseRequests() override
    {
        unsigned& pending = state_->held[key_];
        const bool raise = pending != 0;
        pending = 0;
        return raise;
    }

private:
    std::shared_ptr<FakeSingleInstance::State> state_;
    std::string key_;
};

std::string KeyOf(const std::string& folder, const std::string& name) { return folder + "/" + name; }

}  // namespace

InstanceResult FakeSingleInstance::Start(const std::string& folder, const std::string& name,
                                         std::unique_ptr<InstanceGuard>& guard)
{
    lastError_ = failure_ == InstanceResult::Error ? FileError::Other : FileError::None;
    if (failure_ != InstanceResult::Primary)
        return failure_;
    const std::string key = KeyOf(folder, name);
    const auto holder = state_->held.find(key);
    if (holder == state_->held.end()) {
        state_->held[key] = 0;
        guard = std::make_unique<FakeInstanceGuard>(state_, key);
        return InstanceResult::Primary;
    }
    if (!state_->answering) {
        clock_.SleepMs(kAnswerWaitMs);
        return InstanceResult::NoAnswer;
    }
    ++holder->second;
    return InstanceResult::RaisedOther;
}

bool FakeSingleInstance::IsHeld(const std::string& folder, const std::string& name) const
{
    return state_->held.count(KeyOf(folder, name)) != 0;
}

}  // namespace platform
