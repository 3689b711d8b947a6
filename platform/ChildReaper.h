// Collects the processes handed to it once they end, on one thread of its own
// that ends with the reaper: no thread of ours outlives its owner, and none
// is left running while the program exits. Processes still running when the
// reaper goes are left to the system, which collects them once we are gone.
#pragma once

#include <mutex>
#include <sys/types.h>
#include <thread>
#include <vector>

namespace platform {

class ChildReaper {
public:
    ChildReaper() = default;
    ~ChildReaper();
    ChildReaper(const ChildReaper&) = delete;
    ChildReaper& operator=(const ChildReaper&) = delete;

    // Watches a started, uncollected child. False when it cannot be
    // watched; it is then collected now if it has ended already.
    bool Add(pid_t pid);
    // How many children are still watched.
    size_t Watched();

private:
    struct Child {
        pid_t pid;
        int pidfd;
    };

    bool Start();
    void Run();
    // Collects the watched children that have ended; false once stopping.
    bool CollectEnded(const std::vector<Child>& ready);

    std::mutex mutex_;
    std::vector<Child> children_;  // guarded by mutex_
    bool stopping_ = false;        // guarded by mutex_
    int wake_ = -1;                // an eventfd: the list changed, or stop
    std::thread thread_;
};

}  // namespace platform
