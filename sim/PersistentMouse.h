// A simulated mouse whose state lives in a file between processes (the
// --simulate=FILE and VIMO_SIMULATE switch), with an optional text log of its
// traffic (VIMO_SIMULATE_LOG). Without a file it is a fresh mouse in memory.
//
// The state file is locked (through "<state>.lock" beside the file a link
// leads to) from Load until Release or destruction, so that processes sharing the file take turns for a whole
// command instead of overwriting each other's changes.
#pragma once

#include "platform/file_lock.h"
#include "platform/file_system.h"
#include "sim/SimHidBackend.h"
#include "sim/SimStateFile.h"
#include "sim/SimulatedMouse.h"

#include <memory>
#include <string>

namespace sim {

class PersistentMouse {
public:
    // How long Load waits for another process to let go of the file.
    static constexpr unsigned kLockWaitMs = 30000;

    // statePath may be empty (no file); logPath may be empty (no log).
    PersistentMouse(std::string statePath, std::string logPath,
                    platform::FileSystem& files = platform::RealFileSystem(),
                    platform::LockService& locks = platform::RealLockService());

    // Takes the state file's lock (unless held already), then the mouse's
    // state from the file. A file that exists but cannot be used is never
    // written over; the result tells why.
    StateFileResult Load();
    // Writes the state back (when the file is usable), appends the reports
    // exchanged since the last call to the log file and forgets them. A log
    // that cannot be written gives LogFailed once the state is saved;
    // LogError() tells why.
    StateFileResult Save();
    // Lets other processes use the state file; the next Load takes it again.
    void Release() { lock_.reset(); }

    SimulatedMouse& Mouse() { return mouse_; }
    platform::HidBackend& Backend() { return backend_; }
    bool HasFile() const { return !statePath_.empty(); }
    bool HoldsFile() const { return lock_ != nullptr; }
    const std::string& StatePath() const { return statePath_; }
    const std::string& LogPath() const { return logPath_; }
    platform::FileError LogError() const { return logError_; }
    // Why the state file could not be read or written (after IoError).
    platform::FileError StateError() const { return stateError_; }

private:
    // True when the lock is held; otherwise `failure` tells why not.
    bool Lock(StateFileResult& failure);
    StateFileResult SaveState();

    std::string statePath_;
    std::string logPath_;
    platform::FileSystem& files_;
    platform::LockService& locks_;
    std::unique_ptr<platform::FileLock> lock_;
    SimulatedMouse mouse_;
    SimHidBackend backend_{mouse_};
    bool fileUsable_ = true;
    platform::FileError logError_ = platform::FileError::None;
    platform::FileError stateError_ = platform::FileError::None;
};

}  // namespace sim
