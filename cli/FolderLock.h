// The data folder's lock, held by a changing command for its whole
// read-modify-write, so that two writers never interleave.
#pragma once

#include "platform/file_lock.h"
#include "settings/DataFolder.h"

#include <memory>
#include <string>

namespace cli {

class FolderLock {
public:
    enum class Result { Held, Busy, ProgramOpen, Error };
    static constexpr unsigned kWaitMs = 5000;

    FolderLock(platform::LockService& locks, platform::FileSystem& files) : locks_(locks), files_(files) {}

    // Waits up to kWaitMs; then Busy, or ProgramOpen when NeritMice holds it.
    Result Take(const settings::DataFolder& folder);
    platform::FileError LastError() const { return locks_.LastError(); }

private:
    platform::LockService& locks_;
    platform::FileSystem& files_;
    std::unique_ptr<platform::FileLock> lock_;
};

}  // namespace cli
