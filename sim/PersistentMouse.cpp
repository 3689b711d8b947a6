#include "sim/PersistentMouse.h"

#include "sim/ReportLogText.h"

namespace sim {

PersistentMouse::PersistentMouse(std::string statePath, std::string logPath, platform::FileSystem& files,
                                 platform::LockService& locks)
    : statePath_(std::move(statePath)), logPath_(std::move(logPath)), files_(files), locks_(locks)
{
}

bool PersistentMouse::Lock(StateFileResult& failure)
{
    if (lock_)
        return true;
    // Beside the file itself, so that a link to it and the file share a lock.
    switch (locks_.Acquire(files_.ResolvedPath(statePath_) + ".lock", kLockWaitMs, lock_)) {
    case platform::LockResult::Acquired: return true;
    case platform::LockResult::Busy: failure = StateFileResult::Busy; return false;
    case platform::LockResult::Error: break;
    }
    failure = StateFileResult::LockFailed;
    return false;
}

StateFileResult PersistentMouse::Load()
{
    if (!HasFile())
        return StateFileResult::FreshMouse;
    StateFileResult result = StateFileResult::IoError;
    if (Lock(result))
        result = SimStateFile(statePath_, files_).Load(mouse_);
    if (result == StateFileResult::IoError)
        stateError_ = files_.LastError();
    fileUsable_ = result == StateFileResult::Loaded || result == StateFileResult::FreshMouse;
    return result;
}

StateFileResult PersistentMouse::Save()
{
    const bool logged = logPath_.empty() || AppendReportLog(files_, logPath_, mouse_.Log(), 0);
    logError_ = logged ? platform::FileError::None : files_.LastError();
    // A long-lived process keeps no growing log in memory.
    mouse_.ClearLog();
    const StateFileResult saved = SaveState();
    return saved == StateFileResult::Saved && !logged ? StateFileResult::LogFailed : saved;
}

StateFileResult PersistentMouse::SaveState()
{
    if (!HasFile())
        return StateFileResult::Saved;
    if (!fileUsable_)
        return StateFileResult::IoError;
    // Without a Load first, the lock still keeps the write whole.
    if (StateFileResult failure{}; !Lock(failure))
        return failure;
    const StateFileResult result = SimStateFile(statePath_, files_).Save(mouse_);
    if (result == StateFileResult::IoError)
        stateError_ = files_.LastError();
    return result;
}

}  // namespace sim
