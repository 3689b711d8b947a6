// neritctl: the command-line front end of the Vimo's configuration.
#include "cli/MouseSession.h"
#include "cli/ProfileDump.h"
#include "cli/TraceWriter.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kExitDeviceError = 1;

struct Options {
    bool simulateGiven = false;
    std::string simulate;
    bool trace = false;
};

int Fail(const std::string& message)
{
    std::fprintf(stderr, "neritctl: %s\n", message.c_str());
    return kExitDeviceError;
}

int RunInfo(cli::MouseSession& session)
{
    int version = 0;
    if (!session.Commands().GetFirmwareVersion(version))
        return Fail(session.Link().IsOpen() ? "the mouse did not answer the firmware query" : session.OpenFailureText());
    std::printf("firmware:        %s\n", cli::FirmwareText(version).c_str());
    uint8_t current = 0;
    if (!session.Commands().GetCurrentProfile(current))
        return Fail("the mouse did not answer the current-profile query");
    std::printf("current profile: %d\n", current);
    return 0;
}

int RunDump(cli::MouseSession& session)
{
    if (!session.Link().EnsureOpen())
        return Fail(session.OpenFailureText());
    uint8_t current = 0;
    const bool knowCurrent = session.Commands().GetCurrentProfile(current);
    for (uint8_t p = 0; p < device::kProfileCount; ++p) {
        device::DeviceProfileRecord record{};
        if (!session.Transfer().ReadProfileRecord(p, record))
            return Fail("reading profile " + std::to_string(p + 1) + " from the mouse failed");
        std::printf("%s", cli::DumpProfile(p + 1, record).c_str());
    }
    // Reading moves the mouse's current profile; put it back.
    if (knowCurrent && current >= 1 && current <= device::kProfileCount)
        session.Commands().SetCurrentProfile(static_cast<uint8_t>(current - 1));
    return 0;
}

std::optional<std::string> SimulationChoice(const Options& options)
{
    if (options.simulateGiven)
        return options.simulate == "-" ? std::string() : options.simulate;
    if (const char* env = std::getenv("VIMO_SIMULATE"); env != nullptr)
        return std::string(env);
    return std::nullopt;
}

int Run(const Options& options, int (*command)(cli::MouseSession&))
{
    cli::MouseSession session(SimulationChoice(options));
    std::string error;
    if (!session.Prepare(error))
        return Fail(error);
    cli::TraceWriter trace(stderr);
    if (options.trace)
        session.Link().SetObserver(&trace);
    const int result = command(session);
    session.Link().CloseDevice();
    if (!session.Finish(error))
        return Fail(error);
    return result;
}

}  // namespace

int main(int argc, char** argv)
{
    CLI::App app{"neritctl - configure the Vimo gaming mouse"};
    app.require_subcommand(1);
    Options options;
    app.add_flag("--simulate{-}", options.simulate,
                 "Use the simulated mouse; --simulate=FILE keeps its state in FILE between runs");
    app.add_flag("--trace", options.trace, "Print every report exchanged with the mouse to standard error");
    auto* info = app.add_subcommand("info", "Firmware version and the mouse's current profile");
    auto* dump = app.add_subcommand("dump", "Read the five profiles from the mouse and print them");
    CLI11_PARSE(app, argc, argv);
    options.simulateGiven = app.count("--simulate") > 0;

    if (info->parsed())
        return Run(options, RunInfo);
    if (dump->parsed())
        return Run(options, RunDump);
    return 0;
}
