#include "platform/ChildProcess.h"

#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace platform {
namespace {

constexpr int kFirstInheritedFd = 3;

// Closes the descriptor and forgets it.
void CloseFd(int& fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

std::vector<char*> ArgumentPointers(const std::vector<std::string>& argv)
{
    std::vector<char*> pointers;
    pointers.reserve(argv.size() + 1);
    for (const std::string& argument : argv)
        pointers.push_back(const_cast<char*>(argument.c_str()));
    pointers.push_back(nullptr);
    return pointers;
}

// Standard input from /dev/null, standard output into the pipe when there is
// one, nothing else of ours inherited.
bool PrepareActions(posix_spawn_file_actions_t& actions, int outputWriteFd)
{
    if (posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0) != 0)
        return false;
    if (outputWriteFd >= 0 && posix_spawn_file_actions_adddup2(&actions, outputWriteFd, STDOUT_FILENO) != 0)
        return false;
    return posix_spawn_file_actions_addclosefrom_np(&actions, kFirstInheritedFd) == 0;
}

}  // namespace

ChildProcess::~ChildProcess() { CloseFd(outputFd_); }

ChildProcess::StartResult ChildProcess::Start(const std::vector<std::string>& argv, bool captureOutput)
{
    if (argv.empty() || argv[0].empty() || pid_ >= 0)
        return StartResult::Failed;
    int pipeFds[2] = {-1, -1};
    if (captureOutput && ::pipe2(pipeFds, O_CLOEXEC) != 0)
        return StartResult::Failed;
    posix_spawn_file_actions_t actions;
    if (posix_spawn_file_actions_init(&actions) != 0) {
        CloseFd(pipeFds[0]);
        CloseFd(pipeFds[1]);
        return StartResult::Failed;
    }
    int error = PrepareActions(actions, pipeFds[1]) ? 0 : EINVAL;
    if (error == 0) {
        std::vector<char*> pointers = ArgumentPointers(argv);
        error = posix_spawnp(&pid_, argv[0].c_str(), &actions, nullptr, pointers.data(), environ);
    }
    posix_spawn_file_actions_destroy(&actions);
    CloseFd(pipeFds[1]);
    if (error != 0) {
        pid_ = -1;
        CloseFd(pipeFds[0]);
        return error == ENOENT || error == EACCES || error == ENOEXEC || error == ENOTDIR ? StartResult::NotFound
                                                                                         : StartResult::Failed;
    }
    outputFd_ = pipeFds[0];
    return StartResult::Started;
}

std::string ChildProcess::ReadOutput(size_t limit)
{
    std::string output;
    char chunk[4096];
    while (outputFd_ >= 0) {
        const ssize_t got = ::read(outputFd_, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        const size_t room = limit - output.size();
        output.append(chunk, static_cast<size_t>(got) < room ? static_cast<size_t>(got) : room);
    }
    CloseFd(outputFd_);
    return output;
}

void ChildProcess::WaitUntilEnded()
{
    if (pid_ < 0)
        return;
    siginfo_t info{};
    while (::waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOWAIT) != 0 && errno == EINTR) {
    }
}

bool ChildProcess::Reap(bool block, int& exitCode)
{
    if (pid_ < 0)
        return false;
    int status = 0;
    pid_t got;
    while ((got = ::waitpid(pid_, &status, block ? 0 : WNOHANG)) < 0 && errno == EINTR) {
    }
    if (got == 0)
        return false;
    pid_ = -1;
    exitCode = got > 0 && WIFEXITED(status) ? WEXITSTATUS(status) : kKilled;
    return true;
}

void ChildProcess::Terminate()
{
    if (pid_ > 0)
        ::kill(pid_, SIGTERM);
}

}  // namespace platform
