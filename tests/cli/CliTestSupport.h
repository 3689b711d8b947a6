// Running neritctl from tests, each test in a folder of its own.
#pragma once

#include "tests/TempFolder.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

namespace clitest {

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

inline RunResult Neritctl(const std::string& args)
{
    return RunShell(std::string(NERITCTL_PATH) + " " + args);
}

// A fresh folder of its own (mkdtemp), removed afterwards.
struct TempFolder {
    testsupport::TempFolder folder{"neritctl-test"};
    std::filesystem::path path = folder.Path();
};

inline bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

}  // namespace clitest
