#include "sim/PersistentMouse.h"

#include "sim/PersistentHandle.h"
#include "sim/ReportLogText.h"

#include <algorithm>

namespace sim {

PersistentMouse::PersistentMouse(std::string statePath, std::string logPath, std::string holder,
                                 platform::FileSystem& files, platform::LockService& locks)
    : statePath_(std::move(statePath)),
      logPath_(std::move(logPath)),
      holder_(std::move(holder)),
      files_(files),
      locks_(locks)
{
}

PersistentMouse::~PersistentMouse()
{
    if (held_)
        End();
}

StateFileResult PersistentMouse::Check()
{
    lastResult_ = HasFile() ? SimStateFile(statePath_, files_).LoadPlugState(mouse_) : StateFileResult::FreshMouse;
    if (lastResult_ == StateFileResult::IoError)
        stateError_ = files_.LastError();
    return lastResult_;
}

std::vector<platform::HidCollectionInfo> PersistentMouse::Enumerate()
{
    // Outside a sequence another program may have pulled or plugged the mouse.
    if (!held_ && !StateUsable(Check()))
        return {};
    return backend_.Enumerate();
}

std::unique_ptr<platform::HidDevice> PersistentMouse::Open(const std::string& path)
{
    if (!held_) {
        // Within a Hold that failed, the mouse is not waited for again.
        const StateFileResult began = holdCalled_ ? beginResult_ : Begin();
        if (!StateUsable(began)) {
            openError_ = began == StateFileResult::Busy ? platform::HidOpenError::Busy : platform::HidOpenError::Other;
            return nullptr;
        }
    }
    std::unique_ptr<platform::HidDevice> handle = backend_.Open(path);
    openError_ = backend_.LastOpenError();
    if (!handle) {
        if (openHandles_ == 0 && !holdCalled_)
            End();
        return nullptr;
    }
    ++openHandles_;
    return std::make_unique<PersistentHandle>(*this, std::move(handle));
}

bool PersistentMouse::HandleClosed()
{
    if (openHandles_ > 0)
        --openHandles_;
    if (openHandles_ > 0 || holdCalled_ || !held_)
        return true;
    return End() == StateFileResult::Saved;
}

StateFileResult PersistentMouse::Hold()
{
    holdCalled_ = true;
    return held_ ? beginResult_ : Begin();
}

StateFileResult PersistentMouse::Release()
{
    holdCalled_ = false;
    return held_ ? End() : StateFileResult::Saved;
}

StateFileResult PersistentMouse::Change(const std::function<void(SimulatedMouse&)>& change)
{
    if (held_) {
        change(mouse_);
        return StateFileResult::Saved;
    }
    const StateFileResult began = Begin();
    change(mouse_);
    return StateUsable(began) ? End() : began;
}

StateFileResult PersistentMouse::Begin()
{
    StateFileResult result = StateFileResult::FreshMouse;
    if (HasFile()) {
        result = TakeLock();
        if (result == StateFileResult::Loaded)
            result = LoadState();
        if (!StateUsable(result))
            lock_.reset();
    }
    held_ = StateUsable(result);
    beginResult_ = lastResult_ = result;
    return result;
}

StateFileResult PersistentMouse::TakeLock()
{
    switch (locks_.Acquire(LockBase() + kLockSuffix, kLockWaitMs, lock_)) {
    case platform::LockResult::Acquired:
        NoteHolder();
        return StateFileResult::Loaded;
    case platform::LockResult::Busy:
        ReadHolder();
        return StateFileResult::Busy;
    case platform::LockResult::Error:
        break;
    }
    stateError_ = locks_.LastError();
    return StateFileResult::LockFailed;
}

StateFileResult PersistentMouse::LoadState()
{
    const StateFileResult result = SimStateFile(statePath_, files_).Load(mouse_);
    if (result == StateFileResult::IoError)
        stateError_ = files_.LastError();
    fileMissing_ = result == StateFileResult::FreshMouse;
    loaded_ = SimStateFile::Encode(mouse_.State(), mouse_.Plugged());
    return result;
}

bool PersistentMouse::MustWrite() const
{
    return HasFile() && (fileMissing_ || SimStateFile::Encode(mouse_.State(), mouse_.Plugged()) != loaded_);
}

StateFileResult PersistentMouse::End()
{
    AppendLog();
    StateFileResult result = StateFileResult::Saved;
    if (MustWrite())
        result = SimStateFile(statePath_, files_).Save(mouse_);
    if (result == StateFileResult::IoError)
        stateError_ = files_.LastError();
    lock_.reset();
    held_ = false;
    lastResult_ = result;
    return result;
}

// Only a note for those who wait; one that cannot be written is no failure.
void PersistentMouse::NoteHolder()
{
    const std::string path = LockBase() + kHolderSuffix;
    std::vector<uint8_t> note;
    if (files_.ReadFile(path, kMaxHolderName, note) == platform::ReadResult::Ok
        && std::equal(note.begin(), note.end(), holder_.begin(), holder_.end()))
        return;
    files_.WriteFileAtomic(path, reinterpret_cast<const uint8_t*>(holder_.data()), holder_.size());
}

void PersistentMouse::ReadHolder()
{
    std::vector<uint8_t> note;
    busyHolder_.clear();
    if (files_.ReadFile(LockBase() + kHolderSuffix, kMaxHolderName, note) != platform::ReadResult::Ok)
        return;
    // Whoever wrote the note, it names a program in plain characters.
    for (const uint8_t byte : note)
        busyHolder_ += byte >= 0x20 && byte < 0x7F ? static_cast<char>(byte) : '?';
}

// What went into the log file is not kept in memory as well.
void PersistentMouse::AppendLog()
{
    if (logPath_.empty())
        return;
    logError_ = AppendReportLog(files_, logPath_, mouse_.Log(), 0) ? platform::FileError::None : files_.LastError();
    mouse_.ForgetLog();
}

}  // namespace sim
