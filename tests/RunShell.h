// Running a program from tests through the shell, output captured.
#pragma once

#include <array>
#include <cstdio>
#include <string>

#include <sys/wait.h>

namespace testsupport {

struct RunResult {
    int status;
    std::string out;
};

// Runs a shell command line; standard error goes with standard output.
inline RunResult RunShell(const std::string& line)
{
    RunResult result{-1, {}};
    FILE* pipe = popen((line + " 2>&1").c_str(), "r");
    if (pipe == nullptr)
        return result;
    std::array<char, 4096> chunk;
    size_t got;
    while ((got = fread(chunk.data(), 1, chunk.size(), pipe)) > 0)
        result.out.append(chunk.data(), got);
    const int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

}  // namespace testsupport
