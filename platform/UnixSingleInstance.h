// One instance through flock on a lock file and a Unix stream socket beside
// it. A later start connects, sends kRaiseRequest and waits for kRaiseAnswer,
// trying again in small steps on the clock until the wait is over (the
// running one may still be setting up its socket).
#pragma once

#include "platform/clock.h"
#include "platform/single_instance.h"

#include <string_view>

namespace platform {

class UnixSingleInstance final : public SingleInstance {
public:
    static constexpr std::string_view kRaiseRequest = "raise\n";
    static constexpr std::string_view kRaiseAnswer = "ok\n";
    // The pause between two tries of a waiting later start.
    static constexpr unsigned kStepMs = 10;

    explicit UnixSingleInstance(Clock& clock, unsigned answerWaitMs = kAnswerWaitMs)
        : clock_(clock), answerWaitMs_(answerWaitMs) {}

    InstanceResult Start(const std::string& folder, const std::string& name,
                         std::unique_ptr<InstanceGuard>& guard) override;
    FileError LastError() const override { return lastError_; }

private:
    // True when the lock was taken; false when busy or on error (lastError_).
    bool TryLock(int fd, bool& busy);
    InstanceResult BecomePrimary(int lockFd, const std::string& socketPath, std::unique_ptr<InstanceGuard>& guard);
    InstanceResult AskRunning(const std::string& socketPath);
    // Removes what a crashed holder left at the socket's path; false when
    // something other than a socket stands there.
    bool RemoveStaleSocket(const std::string& socketPath);

    Clock& clock_;
    unsigned answerWaitMs_;
    FileError lastError_ = FileError::None;
};

}  // namespace platform
