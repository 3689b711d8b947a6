// Running neritctl from tests, each test in a folder of its own.
#pragma once

#include "tests/RunShell.h"
#include "tests/TempFolder.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <unistd.h>

namespace clitest {

using testsupport::RunResult;
using testsupport::RunShell;

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

// The whole file; empty when it cannot be read.
inline std::string ReadAll(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// neritctl over a simulated mouse kept in `dir`, with the data folder there.
inline RunResult NeritctlIn(const std::filesystem::path& dir, const std::string& args)
{
    return Neritctl("--simulate=" + (dir / "mouse").string() + " --data-dir " + (dir / "data").string() + " " + args);
}

// A test's own folder with its simulated mouse and data folder.
struct SimulatedSession {
    TempFolder temp;
    std::filesystem::path dir = temp.path;
    std::filesystem::path data = dir / "data";
    std::filesystem::path pending = data / "profile/PendingChanges";

    RunResult Run(const std::string& args) const { return NeritctlIn(dir, args); }
};

}  // namespace clitest
