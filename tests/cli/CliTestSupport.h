// Running neritctl from tests, each test in a folder of its own.
#pragma once

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
    TempFolder()
    {
        std::string name = (std::filesystem::temp_directory_path() / "neritctl-test-XXXXXX").string();
        path = ::mkdtemp(name.data());
    }
    ~TempFolder() { std::filesystem::remove_all(path); }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    std::filesystem::path path;
};

inline bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

}  // namespace clitest
