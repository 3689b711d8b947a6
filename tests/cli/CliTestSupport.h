// Running neritctl from tests, each test in a folder of its own.
#pragma once

#include "tests/RunShell.h"
#include "tests/TempFolder.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
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

}  // namespace clitest
