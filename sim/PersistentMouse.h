// A simulated mouse whose state lives in a file between processes (the
// --simulate=FILE and VIMO_SIMULATE switch), with an optional text log of its
// traffic (VIMO_SIMULATE_LOG). Without a file it is a fresh mouse in memory.
//
// Like the real mouse it serves one program at a time, and only for a
// command sequence: from the opening of its first handle to the closing of
// its last one (or from Hold to Release). A sequence holds the lock of
// "<state>.lock" beside the file a link leads to, with the holder's name in
// "<state>.lock-holder", and starts from the state the file has then
// (another program may have changed it). When the mouse changed, the end of
// the sequence writes the file at once, so what was sent is kept even when
// the program is killed afterwards; a file that cannot be written fails the
// closing of the last handle.
#pragma once

#include "platform/file_lock.h"
#include "platform/file_system.h"
#include "sim/SimHidBackend.h"
#include "sim/SimStateFile.h"
#include "sim/SimulatedMouse.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace sim {

class PersistentMouse final : public platform::HidBackend {
public:
    // How long a sequence waits for another program to let go of the mouse.
    static constexpr unsigned kLockWaitMs = 3000;
    static constexpr const char* kLockSuffix = ".lock";
    static constexpr const char* kHolderSuffix = ".lock-holder";
    // The longest holder's name read back.
    static constexpr size_t kMaxHolderName = 64;

    // statePath may be empty (no file); logPath may be empty (no log);
    // holder names this program to others that wait for the mouse.
    PersistentMouse(std::string statePath, std::string logPath, std::string holder,
                    platform::FileSystem& files = platform::RealFileSystem(),
                    platform::LockService& locks = platform::RealLockService());
    ~PersistentMouse() override;
    PersistentMouse(const PersistentMouse&) = delete;
    PersistentMouse& operator=(const PersistentMouse&) = delete;

    // Whether the state file can be used (Loaded, or FreshMouse when there is
    // none yet), without holding the mouse; the mouse is plugged in or not as
    // the file says. A damaged file is left as it is.
    StateFileResult Check();

    // Enumeration shows the mouse as the file has it now; the first Open
    // starts a sequence (LastOpenError Busy when another program held the
    // mouse for the whole wait), the last handle's Close ends it.
    std::vector<platform::HidCollectionInfo> Enumerate() override;
    std::unique_ptr<platform::HidDevice> Open(const std::string& path) override;
    platform::HidOpenError LastOpenError() const override { return openError_; }
    platform::HidBackend& Backend() { return *this; }

    // A sequence over several opens and closes (one call of a library whose
    // handles stay open between calls). Hold starts it unless one runs;
    // Release ends it even while handles are open, whose reports then fail
    // until the next sequence. Release gives Saved when the file holds the
    // mouse afterwards (also when nothing had to be written).
    StateFileResult Hold();
    StateFileResult Release();
    // Whether a sequence runs (reports reach the mouse only then).
    bool Held() const { return held_; }
    // Runs a change of the mouse (a plug or unplug) within the running
    // sequence, or as a sequence of its own; the change is made even when
    // the mouse cannot be held, but is then not kept.
    StateFileResult Change(const std::function<void(SimulatedMouse&)>& change);

    SimulatedMouse& Mouse() { return mouse_; }
    bool HasFile() const { return !statePath_.empty(); }
    const std::string& StatePath() const { return statePath_; }
    const std::string& LogPath() const { return logPath_; }
    // How the last sequence began or ended (or Check went): a failure, or
    // Loaded, FreshMouse or Saved.
    StateFileResult LastResult() const { return lastResult_; }
    // After Busy: the name the holder left (printable ASCII, others as '?'),
    // empty when there is none.
    const std::string& BusyHolder() const { return busyHolder_; }
    // Why the state file could not be read or written (after IoError), or
    // why its lock file could not be used (after LockFailed).
    platform::FileError StateError() const { return stateError_; }
    // Why the log of the last sequence could not be written (None when it was).
    platform::FileError LogError() const { return logError_; }

    // For the handles: one of them closed; false when it ended the sequence
    // and the state could not be written.
    bool HandleClosed();

private:
    StateFileResult Begin();
    StateFileResult End();
    StateFileResult TakeLock();
    StateFileResult LoadState();
    bool MustWrite() const;
    void NoteHolder();
    void ReadHolder();
    void AppendLog();
    std::string LockBase() { return files_.ResolvedPath(statePath_); }

    std::string statePath_;
    std::string logPath_;
    std::string holder_;
    platform::FileSystem& files_;
    platform::LockService& locks_;
    std::unique_ptr<platform::FileLock> lock_;
    SimulatedMouse mouse_;
    SimHidBackend backend_{mouse_};
    bool held_ = false;
    bool holdCalled_ = false;  // held by Hold, not only by open handles
    unsigned openHandles_ = 0;
    std::vector<uint8_t> loaded_;  // the file's bytes at the start of the sequence
    bool fileMissing_ = false;     // the sequence began without a file
    platform::HidOpenError openError_ = platform::HidOpenError::None;
    StateFileResult beginResult_ = StateFileResult::FreshMouse;
    StateFileResult lastResult_ = StateFileResult::FreshMouse;
    std::string busyHolder_;
    platform::FileError logError_ = platform::FileError::None;
    platform::FileError stateError_ = platform::FileError::None;
};

}  // namespace sim
