#include "platform/DesktopFileDialog.h"

#include "platform/ZenityCommand.h"

#include <system_error>

namespace platform {

DesktopFileDialog::~DesktopFileDialog()
{
    for (const auto& job : jobs_) {
        {
            std::lock_guard lock(job->mutex);
            job->closing = true;
            if (job->zenityRunning)
                job->zenity.Terminate();
        }
        job->portal.Cancel();
    }
    for (const auto& job : jobs_)
        job->worker.join();
}

FileDialog::RequestId DesktopFileDialog::Start(const FileDialogRequest& request, WindowId notify, unsigned message)
{
    JoinFinished();
    const RequestId id = mailbox_.Open(request, notify, message);
    auto job = std::make_unique<Job>(id, request, options_);
    try {
        job->worker = std::thread([this, raw = job.get()] { Run(*raw); });
    } catch (const std::system_error&) {
        mailbox_.Drop(id);
        return kNoRequest;
    }
    jobs_.push_back(std::move(job));
    return id;
}

void DesktopFileDialog::Run(Job& job)
{
    PortalFileChooser::Outcome outcome;
    if (options_.usePortal)
        outcome = job.portal.Run(job.request, job.id);
    const FileDialogAnswer answer = outcome.answered ? outcome.answer : RunZenity(job);
    bool closing;
    {
        std::lock_guard lock(job.mutex);
        closing = job.closing;
    }
    if (!closing)
        mailbox_.Deliver(job.id, answer);
    job.finished = true;
}

FileDialogAnswer DesktopFileDialog::RunZenity(Job& job)
{
    std::unique_lock lock(job.mutex);
    if (job.closing)
        return {FileDialogStatus::Cancelled, {}};
    const auto argv = ZenityCommand::Arguments(options_.zenityProgram, job.request);
    if (job.zenity.Start(argv, true) != ChildProcess::StartResult::Started)
        return {FileDialogStatus::Failed, {}};
    job.zenityRunning = true;
    lock.unlock();
    const std::string output = job.zenity.ReadOutput(ZenityCommand::kMaxOutput);
    job.zenity.WaitUntilEnded();
    lock.lock();
    int exitCode = ChildProcess::kKilled;
    job.zenity.Reap(true, exitCode);
    job.zenityRunning = false;
    return ZenityCommand::Answer(exitCode, output);
}

void DesktopFileDialog::JoinFinished()
{
    for (auto job = jobs_.begin(); job != jobs_.end();) {
        if ((*job)->finished) {
            (*job)->worker.join();
            job = jobs_.erase(job);
        } else {
            ++job;
        }
    }
}

}  // namespace platform
