#include "ScopedEnvironment.h"
#include "TempFolder.h"

#include "platform/FakeUrlOpener.h"
#include "platform/XdgUrlOpener.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include <sys/stat.h>
#include <sys/wait.h>

using namespace platform;
using testsupport::ScopedEnvironment;
using testsupport::TempFolder;

namespace {

// A bound for waits on other processes, never reached when things work.
constexpr auto kLongWait = std::chrono::seconds(30);

template <typename Done>
bool WaitFor(Done done)
{
    const auto until = std::chrono::steady_clock::now() + kLongWait;
    while (!done() && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return done();
}

// True while a child of ours has ended and not been collected.
bool UncollectedChild()
{
    siginfo_t info{};
    return ::waitid(P_ALL, 0, &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid != 0;
}

bool NoChildLeft()
{
    siginfo_t info{};
    return ::waitid(P_ALL, 0, &info, WEXITED | WNOHANG | WNOWAIT) < 0 && errno == ECHILD;
}

std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

TEST(XdgUrlOpenerTest, TheTrimmedAddressIsTheOneArgumentAndTheOpenerIsCollected)
{
    TempFolder folder{"nerit-urlopener"};
    ASSERT_FALSE(folder.Path().empty());
    const std::string out = folder.File("argv.txt");
    // Writes its argument count and arguments, then renames the file into
    // place so that the test never reads it half written.
    std::ofstream(folder.File("xdg-open")) << "#!/bin/sh\n{ echo \"$#\"; for a in \"$@\"; do printf '[%s]\\n' \"$a\"; "
                                              "done; } > '"
                                           << out << ".part'\nmv '" << out << ".part' '" << out << "'\n";
    ::chmod(folder.File("xdg-open").c_str(), 0755);
    ScopedEnvironment path("PATH", ScopedEnvironment::PathWithFirst(folder.Path().string()));

    XdgUrlOpener opener;
    const std::string address = " \thttps://example.org/a b;touch '" + folder.File("pwned") + "' $(id) \r\n";
    ASSERT_EQ(opener.Open(address), UrlOpenResult::Started);
    ASSERT_TRUE(WaitFor([&] { return std::filesystem::exists(out); }));
    EXPECT_EQ(ReadFile(out), "1\n[https://example.org/a b;touch '" + folder.File("pwned") + "' $(id)]\n");
    EXPECT_FALSE(std::filesystem::exists(folder.File("pwned")));
    EXPECT_TRUE(WaitFor(NoChildLeft)) << "the ended opener was not collected";
    EXPECT_FALSE(UncollectedChild());

    EXPECT_EQ(opener.Open(" \t\n"), UrlOpenResult::Failed);
    EXPECT_EQ(opener.Open(" --help"), UrlOpenResult::Failed) << "an address must not pass for an option";
}

TEST(XdgUrlOpenerTest, AMissingOpenerIsReported)
{
    TempFolder empty{"nerit-urlopener-empty"};
    ASSERT_FALSE(empty.Path().empty());
    ScopedEnvironment path("PATH", empty.Path().string());
    EXPECT_EQ(XdgUrlOpener().Open("https://example.org/"), UrlOpenResult::NoOpener);
    EXPECT_EQ(XdgUrlOpener(empty.File("xdg-open")).Open("https://example.org/"), UrlOpenResult::NoOpener);
}

TEST(FakeUrlOpenerTest, RecordsTrimmedAddressesAndAnswersAsTold)
{
    FakeUrlOpener opener;
    EXPECT_EQ(opener.Open(" https://example.org/de "), UrlOpenResult::Started);
    opener.SetResult(UrlOpenResult::NoOpener);
    EXPECT_EQ(opener.Open("https://example.org/support"), UrlOpenResult::NoOpener);
    EXPECT_EQ(opener.Opened(), (std::vector<std::string>{"https://example.org/de", "https://example.org/support"}));
}
