#include "cli/FolderLock.h"

#include <algorithm>
#include <vector>

namespace cli {
namespace {

constexpr std::string_view kHolderName = "neritctl";

}  // namespace

FolderLock::Result FolderLock::Take(const settings::DataFolder& folder)
{
    switch (locks_.Acquire(folder.Path(settings::DataFolder::kLockFile), kWaitMs, lock_)) {
    case platform::LockResult::Acquired:
        break;
    case platform::LockResult::Busy:
        return folder.HolderIsProgram() ? Result::ProgramOpen : Result::Busy;
    case platform::LockResult::Error:
        return Result::Error;
    }
    // Only a note; a command that cannot leave it still runs.
    const std::string_view name = kHolderName;
    files_.WriteFileAtomic(folder.Path(settings::DataFolder::kHolderNote),
                           reinterpret_cast<const uint8_t*>(name.data()), name.size());
    return Result::Held;
}

}  // namespace cli
