#include "platform/FakeClock.h"
#include "platform/FakeSingleInstance.h"
#include "platform/FlockLockService.h"
#include "platform/UnixInstanceGuard.h"
#include "platform/UnixSingleInstance.h"
#include "tests/TempFolder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using platform::InstanceGuard;
using platform::InstanceResult;
using platform::UnixSingleInstance;

const std::string kName = "NeritMice";

struct Folder {
    testsupport::TempFolder folder{"neritmice-instance"};
    std::string path = folder.Path().string();
    std::string Socket() const { return path + "/NeritMice.sock"; }
    std::string Lock() const { return path + "/NeritMice.lock"; }
};

// The first start's message loop: sleeps on the guard's descriptor and takes
// the requests only when it is woken, until `done` says the callers ended.
template <typename Done>
unsigned ServeUntil(InstanceGuard& guard, Done done)
{
    unsigned raised = 0;
    while (!done()) {
        pollfd wait{guard.WaitHandle(), POLLIN, 0};
        if (::poll(&wait, 1, 20) > 0 && guard.TakeRaiseRequests())
            ++raised;
    }
    return raised;
}

// A socket of our own at `path`: bound, and listening when asked. -1 on failure.
int BindAt(const std::string& path, bool listening)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        (listening && ::listen(fd, 4) != 0)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

int ConnectTo(const std::string& path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

bool IsSocket(const std::string& path)
{
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISSOCK(info.st_mode);
}

// A later start in another process is answered by the first, which its
// descriptor woke, and ends with RaisedOther; the socket is the owner's only.
// Ending the first frees the name and removes its socket, but a socket
// someone else put in its place stays.
TEST(UnixSingleInstance, SecondStartInAnotherProcessRaisesTheFirst)
{
    Folder folder;
    UnixSingleInstance instances(platform::SystemClock());
    std::unique_ptr<InstanceGuard> guard;
    ASSERT_EQ(instances.Start(folder.path, kName, guard), InstanceResult::Primary);
    ASSERT_TRUE(guard);
    struct stat info {};
    ASSERT_EQ(::lstat(folder.Socket().c_str(), &info), 0);
    EXPECT_TRUE(S_ISSOCK(info.st_mode));
    EXPECT_EQ(info.st_mode & 077, 0u);
    EXPECT_FALSE(guard->TakeRaiseRequests());

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        UnixSingleInstance second(platform::SystemClock());
        std::unique_ptr<InstanceGuard> none;
        const InstanceResult result = second.Start(folder.path, kName, none);
        ::_exit(result == InstanceResult::RaisedOther && !none ? 0 : 10 + static_cast<int>(result));
    }
    int status = 0;
    const unsigned raised = ServeUntil(*guard, [&] { return ::waitpid(child, &status, WNOHANG) == child; });
    EXPECT_EQ(raised, 1u);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);

    guard.reset();
    EXPECT_FALSE(fs::exists(folder.Socket()));
    ASSERT_EQ(instances.Start(folder.path, kName, guard), InstanceResult::Primary);

    // Another socket now stands at the name: the guard leaves it alone.
    ASSERT_EQ(::unlink(folder.Socket().c_str()), 0);
    const int other = BindAt(folder.Socket(), false);
    ASSERT_GE(other, 0);
    guard.reset();
    EXPECT_TRUE(IsSocket(folder.Socket()));
    ::close(other);
}

// A socket file left by a crashed run, with nobody holding the lock, is
// replaced; something other than a socket at the name is never removed.
TEST(UnixSingleInstance, StaleSocketIsReplacedButOtherFilesAreKept)
{
    Folder folder;
    const int stale = BindAt(folder.Socket(), true);
    ASSERT_GE(stale, 0);
    ::close(stale);
    ASSERT_TRUE(IsSocket(folder.Socket()));

    UnixSingleInstance instances(platform::SystemClock());
    std::unique_ptr<InstanceGuard> guard;
    ASSERT_EQ(instances.Start(folder.path, kName, guard), InstanceResult::Primary);
    std::atomic<bool> done{false};
    InstanceResult second = InstanceResult::Error;
    std::thread later([&] {
        UnixSingleInstance instance(platform::SystemClock());
        std::unique_ptr<InstanceGuard> none;
        second = instance.Start(folder.path, kName, none);
        done = true;
    });
    EXPECT_EQ(ServeUntil(*guard, [&] { return done.load(); }), 1u);
    later.join();
    EXPECT_EQ(second, InstanceResult::RaisedOther);

    Folder planted;
    { std::ofstream(planted.Socket()) << "mine"; }
    std::unique_ptr<InstanceGuard> none;
    EXPECT_EQ(instances.Start(planted.path, kName, none), InstanceResult::Error);
    EXPECT_FALSE(none);
    std::ifstream kept(planted.Socket());
    std::string text;
    kept >> text;
    EXPECT_EQ(text, "mine");
    // The lock was let go with the failure.
    std::unique_ptr<platform::FileLock> lock;
    platform::FakeClock clock;
    EXPECT_EQ(platform::FlockLockService(clock).Acquire(planted.Lock(), 0, lock), platform::LockResult::Acquired);
}

// With the lock held but nobody answering (no socket, or a socket nobody
// accepts on), a later start waits exactly its answer wait on the clock.
TEST(UnixSingleInstance, HeldLockWithoutAnswerGivesNoAnswerAfterTheWait)
{
    Folder folder;
    platform::FakeClock clock;
    std::unique_ptr<platform::FileLock> lock;
    ASSERT_EQ(platform::FlockLockService(clock).Acquire(folder.Lock(), 0, lock), platform::LockResult::Acquired);

    UnixSingleInstance instances(clock);
    std::unique_ptr<InstanceGuard> guard;
    EXPECT_EQ(instances.Start(folder.path, kName, guard), InstanceResult::NoAnswer);
    EXPECT_FALSE(guard);
    EXPECT_EQ(clock.TotalPausedMs(), 1000u);
    EXPECT_FALSE(fs::exists(folder.Socket()));

    const int deaf = BindAt(folder.Socket(), true);
    ASSERT_GE(deaf, 0);
    clock.ClearPauses();
    UnixSingleInstance shortWait(clock, 300);
    EXPECT_EQ(shortWait.Start(folder.path, kName, guard), InstanceResult::NoAnswer);
    EXPECT_EQ(clock.TotalPausedMs(), 300u);
    EXPECT_TRUE(IsSocket(folder.Socket()));
    ::close(deaf);
}

// A socket path that does not fit an address is refused before anything is
// made; the longest that fits works.
TEST(UnixSingleInstance, SocketPathTooLongIsRefused)
{
    Folder folder;
    const size_t room = sizeof(sockaddr_un{}.sun_path) - 1;  // the zero ends it
    const size_t fixed = folder.path.size() + 1 + std::strlen("/NeritMice.sock");
    ASSERT_LT(fixed, room);
    const std::string fits = folder.path + "/" + std::string(room - fixed, 'f');
    const std::string tooLong = folder.path + "/" + std::string(room - fixed + 1, 't');
    fs::create_directory(fits);
    fs::create_directory(tooLong);

    UnixSingleInstance instances(platform::SystemClock());
    std::unique_ptr<InstanceGuard> guard;
    EXPECT_EQ(instances.Start(tooLong, kName, guard), InstanceResult::PathTooLong);
    EXPECT_FALSE(guard);
    EXPECT_TRUE(fs::is_empty(tooLong));
    EXPECT_EQ(instances.Start(fits, kName, guard), InstanceResult::Primary);
    EXPECT_TRUE(IsSocket(fits + "/NeritMice.sock"));
}

// Two later starts at once are both answered.
TEST(UnixSingleInstance, TwoRapidSecondStartsAreBothAnswered)
{
    Folder folder;
    UnixSingleInstance instances(platform::SystemClock());
    std::unique_ptr<InstanceGuard> guard;
    ASSERT_EQ(instances.Start(folder.path, kName, guard), InstanceResult::Primary);
    std::atomic<int> done{0};
    InstanceResult results[2] = {InstanceResult::Error, InstanceResult::Error};
    auto later = [&](int index) {
        UnixSingleInstance instance(platform::SystemClock());
        std::unique_ptr<InstanceGuard> none;
        results[index] = instance.Start(folder.path, kName, none);
        ++done;
    };
    std::thread first(later, 0);
    std::thread second(later, 1);
    EXPECT_GE(ServeUntil(*guard, [&] { return done.load() == 2; }), 1u);
    first.join();
    second.join();
    EXPECT_EQ(results[0], InstanceResult::RaisedOther);
    EXPECT_EQ(results[1], InstanceResult::RaisedOther);
}

// A request may come in pieces, and a caller may connect before it sends:
// it is kept until its request is whole. A wrong request is dropped unanswered.
TEST(UnixSingleInstance, RequestsInPiecesAreAnsweredAndWrongOnesDropped)
{
    Folder folder;
    UnixSingleInstance instances(platform::SystemClock());
    std::unique_ptr<InstanceGuard> guard;
    ASSERT_EQ(instances.Start(folder.path, kName, guard), InstanceResult::Primary);

    const int caller = ConnectTo(folder.Socket());
    const int wrong = ConnectTo(folder.Socket());
    ASSERT_GE(caller, 0);
    ASSERT_GE(wrong, 0);
    EXPECT_FALSE(guard->TakeRaiseRequests());
    ASSERT_EQ(::send(caller, "rai", 3, MSG_NOSIGNAL), 3);
    ASSERT_EQ(::send(wrong, "rise\n", 5, MSG_NOSIGNAL), 5);
    EXPECT_FALSE(guard->TakeRaiseRequests());
    char answer[8] = {};
    EXPECT_EQ(::recv(wrong, answer, sizeof answer, MSG_DONTWAIT), 0);  // closed, no answer

    ASSERT_EQ(::send(caller, "se\n", 3, MSG_NOSIGNAL), 3);
    EXPECT_TRUE(guard->TakeRaiseRequests());
    // The answer went out before TakeRaiseRequests returned.
    EXPECT_EQ(::recv(caller, answer, sizeof answer, MSG_DONTWAIT), 3);
    EXPECT_STREQ(answer, "ok\n");
    EXPECT_FALSE(guard->TakeRaiseRequests());
    ::close(caller);
    ::close(wrong);
}

// Callers that connect and never send are not kept without bound: beyond
// the limit the oldest is dropped, and the newest is still answered.
TEST(UnixSingleInstance, SilentCallersAreDroppedOldestFirst)
{
    Folder folder;
    UnixSingleInstance instances(platform::SystemClock());
    std::unique_ptr<InstanceGuard> guard;
    ASSERT_EQ(instances.Start(folder.path, kName, guard), InstanceResult::Primary);
    std::vector<int> callers;
    for (size_t i = 0; i <= platform::UnixInstanceGuard::kMaxPending; ++i) {
        callers.push_back(ConnectTo(folder.Socket()));
        ASSERT_GE(callers.back(), 0);
        EXPECT_FALSE(guard->TakeRaiseRequests());
    }
    char answer[8] = {};
    EXPECT_EQ(::recv(callers.front(), answer, sizeof answer, MSG_DONTWAIT), 0);
    EXPECT_EQ(::recv(callers[1], answer, sizeof answer, MSG_DONTWAIT), -1);  // still waited for
    ASSERT_EQ(::send(callers.back(), "raise\n", 6, MSG_NOSIGNAL), 6);
    EXPECT_TRUE(guard->TakeRaiseRequests());
    EXPECT_EQ(::recv(callers.back(), answer, sizeof answer, MSG_DONTWAIT), 3);
    for (const int fd : callers)
        ::close(fd);
}

TEST(SingleInstanceFolder, RuntimeFolderWhenAbsoluteElseTheFallback)
{
    EXPECT_EQ(platform::InstanceFolderFrom("/run/user/1000", "/data"), "/run/user/1000");
    EXPECT_EQ(platform::InstanceFolderFrom("run/user", "/data"), "/data");
    EXPECT_EQ(platform::InstanceFolderFrom("", "/data"), "/data");
    EXPECT_EQ(platform::InstanceFolderFrom(nullptr, "/data"), "/data");
}

// The fake: a later start raises the holder once per start, a deaf holder
// costs the whole wait, and the name is free once the guard is gone.
TEST(FakeSingleInstance, RaisesWaitsAndFrees)
{
    platform::FakeClock clock;
    platform::FakeSingleInstance instances(clock);
    std::unique_ptr<InstanceGuard> guard;
    ASSERT_EQ(instances.Start("/run", kName, guard), InstanceResult::Primary);
    EXPECT_EQ(guard->WaitHandle(), -1);
    EXPECT_FALSE(guard->TakeRaiseRequests());
    std::unique_ptr<InstanceGuard> none;
    EXPECT_EQ(instances.Start("/run", kName, none), InstanceResult::RaisedOther);
    EXPECT_EQ(instances.Start("/other", kName, none), InstanceResult::Primary);
    none.reset();
    EXPECT_TRUE(guard->TakeRaiseRequests());
    EXPECT_FALSE(guard->TakeRaiseRequests());

    instances.SetAnswering(false);
    EXPECT_EQ(instances.Start("/run", kName, none), InstanceResult::NoAnswer);
    EXPECT_EQ(clock.TotalPausedMs(), 1000u);
    guard.reset();
    EXPECT_FALSE(instances.IsHeld("/run", kName));
    EXPECT_EQ(instances.Start("/run", kName, guard), InstanceResult::Primary);
}

}  // namespace
