#include "platform/FakeClock.h"
#include "platform/FakeLockService.h"
#include "platform/FlockLockService.h"
#include "tests/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <numeric>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using platform::FileError;
using platform::FileLock;
using platform::LockResult;

struct TempFolder {
    testsupport::TempFolder folder{"neritmice-lock"};
    std::string path = folder.Path().string();
};

uint64_t Sum(const std::vector<unsigned>& pauses) { return std::accumulate(pauses.begin(), pauses.end(), uint64_t{0}); }

// A second holder waits through the clock, in steps, then hears Busy; once
// the first lets go the lock is free again.
TEST(FlockLockService, WaitsThenReportsBusyAndFreesOnRelease)
{
    TempFolder folder;
    platform::FakeClock clock;
    platform::FlockLockService locks(clock);
    const std::string path = folder.path + "/.lock";
    std::unique_ptr<FileLock> first;
    ASSERT_EQ(locks.Acquire(path, 1000, first), LockResult::Acquired);
    ASSERT_TRUE(first);
    EXPECT_TRUE(clock.Pauses().empty());

    std::unique_ptr<FileLock> second;
    EXPECT_EQ(locks.Acquire(path, 120, second), LockResult::Busy);
    EXPECT_FALSE(second);
    EXPECT_EQ(clock.Pauses(), (std::vector<unsigned>{50, 50, 20}));

    first.reset();
    clock.ClearPauses();
    EXPECT_EQ(locks.Acquire(path, 0, second), LockResult::Acquired);
    EXPECT_TRUE(clock.Pauses().empty());
}

// The lock holds between processes, and a process that ends without letting
// go (killed, or _exit) loses it.
TEST(FlockLockService, HoldsAcrossProcessesUntilTheHolderEnds)
{
    TempFolder folder;
    const std::string path = folder.path + "/state.lock";
    int toChild[2];
    int fromChild[2];
    ASSERT_EQ(::pipe(toChild), 0);
    ASSERT_EQ(::pipe(fromChild), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        platform::FakeClock childClock;
        platform::FlockLockService childLocks(childClock);
        std::unique_ptr<FileLock> held;
        const char taken = childLocks.Acquire(path, 0, held) == LockResult::Acquired ? 'y' : 'n';
        char go = 0;
        if (::write(fromChild[1], &taken, 1) != 1 || ::read(toChild[0], &go, 1) != 1)
            ::_exit(2);
        ::_exit(0);  // the lock is never released by hand
    }
    char taken = 0;
    ASSERT_EQ(::read(fromChild[0], &taken, 1), 1);
    ASSERT_EQ(taken, 'y');

    platform::FakeClock clock;
    platform::FlockLockService locks(clock);
    std::unique_ptr<FileLock> lock;
    EXPECT_EQ(locks.Acquire(path, 200, lock), LockResult::Busy);
    EXPECT_EQ(Sum(clock.Pauses()), 200u);

    ASSERT_EQ(::write(toChild[1], "x", 1), 1);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(locks.Acquire(path, 0, lock), LockResult::Acquired);
    for (int fd : {toChild[0], toChild[1], fromChild[0], fromChild[1]})
        ::close(fd);
}

// Only a regular lock file is used: a planted link is not followed (its
// target is not created), a pipe does not stall, a missing folder is told.
TEST(FlockLockService, RefusesLinksPipesAndMissingFolders)
{
    TempFolder folder;
    platform::FakeClock clock;
    platform::FlockLockService locks(clock);
    std::unique_ptr<FileLock> lock;

    const std::string link = folder.path + "/link.lock";
    fs::create_symlink(folder.path + "/victim", link);
    EXPECT_EQ(locks.Acquire(link, 0, lock), LockResult::Error);
    EXPECT_EQ(locks.LastError(), FileError::NotRegular);
    EXPECT_FALSE(fs::exists(folder.path + "/victim"));

    const std::string pipe = folder.path + "/pipe.lock";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(locks.Acquire(pipe, 0, lock), LockResult::Error);
    EXPECT_EQ(locks.LastError(), FileError::NotRegular);

    EXPECT_EQ(locks.Acquire(folder.path, 0, lock), LockResult::Error);
    EXPECT_EQ(locks.LastError(), FileError::IsFolder);
    EXPECT_EQ(locks.Acquire(folder.path + "/no/such.lock", 0, lock), LockResult::Error);
    EXPECT_EQ(locks.LastError(), FileError::Missing);
    EXPECT_FALSE(lock);
    EXPECT_TRUE(clock.Pauses().empty());
}

TEST(FakeLockService, BusyWhileHeldAndFailsOnRequest)
{
    platform::FakeClock clock;
    platform::FakeLockService locks(clock);
    std::unique_ptr<FileLock> first;
    std::unique_ptr<FileLock> second;
    ASSERT_EQ(locks.Acquire("/data/.lock", 100, first), LockResult::Acquired);
    EXPECT_TRUE(locks.IsHeld("/data/.lock"));
    EXPECT_EQ(locks.Acquire("/data/.lock", 120, second), LockResult::Busy);
    EXPECT_EQ(Sum(clock.Pauses()), 120u);
    EXPECT_EQ(locks.Acquire("/other/.lock", 100, second), LockResult::Acquired);
    first.reset();
    EXPECT_FALSE(locks.IsHeld("/data/.lock"));

    locks.SetFailure(FileError::ReadOnlyFileSystem);
    EXPECT_EQ(locks.Acquire("/data/.lock", 100, first), LockResult::Error);
    EXPECT_EQ(locks.LastError(), FileError::ReadOnlyFileSystem);
    EXPECT_FALSE(first);
}

}  // namespace
