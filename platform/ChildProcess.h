// A program started with an argument vector (never through a shell), its
// standard input on /dev/null and, when asked, its standard output read
// through a pipe. The process is not waited for on destruction: the owner
// decides whether to wait, reap or leave it.
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace platform {

class ChildProcess {
public:
    enum class StartResult { Started, NotFound, Failed };
    // Exit code of a process killed by a signal.
    static constexpr int kKilled = -1;

    ChildProcess() = default;
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // argv[0] is looked up on PATH unless it holds a '/'. NotFound: there is
    // no such program (or it cannot be executed).
    StartResult Start(const std::vector<std::string>& argv, bool captureOutput);
    // Everything the program writes to its standard output until it closes
    // it, at most `limit` bytes (the rest is read and dropped).
    std::string ReadOutput(size_t limit);
    // Blocks until the process has ended, leaving it unreaped so that its id
    // cannot be taken by another process meanwhile.
    void WaitUntilEnded();
    // Collects an ended process; its exit code or kKilled. Without `block`
    // false is returned for a process still running.
    bool Reap(bool block, int& exitCode);
    // Asks a started, unreaped process to end (SIGTERM).
    void Terminate();
    pid_t Pid() const { return pid_; }

private:
    pid_t pid_ = -1;
    int outputFd_ = -1;
};

}  // namespace platform
