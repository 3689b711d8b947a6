// Full program write of five profiles (seven 81-event macros each) and a full
// read back, against the simulated mouse with the real clock. Prints the wall
// time against the protocol's own pacing floor: the sum of the pauses the
// protocol asks for, and against the same pauses slept with nothing else
// done. Our code should add almost nothing to either.
// Then the program's start-up load of the five profiles from a fresh mouse,
// through the same settings code the main window runs, against its floor.
//
//   transfer_bench [--quick]    (--quick moves one profile each way)
#include "app/MouseConnection.h"
#include "app/ProgramSettings.h"
#include "device/CommandSet.h"
#include "device/DeviceLink.h"
#include "device/ProfileTransfer.h"
#include "platform/clock.h"
#include "sim/SimHidBackend.h"
#include "sim/SimulatedMouse.h"
#include "tests/TempFolder.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

// The real clock, adding up the pauses that were asked for.
class PacingClock final : public platform::Clock {
public:
    uint64_t NowMicros() override { return platform::SystemClock().NowMicros(); }
    void SleepMs(unsigned ms) override
    {
        askedMs += ms;
        pauses.push_back(ms);
        platform::SystemClock().SleepMs(ms);
    }
    uint64_t askedMs = 0;
    std::vector<unsigned> pauses;
};

device::DeviceProfileRecord FullRecord(uint8_t p)
{
    device::DeviceProfileRecord record{};
    device::RecordView view(record.data(), device::kProgramLayout);
    view.SetU8(1, 1);
    view.SetU8(8, 1);
    for (int j = 0; j < device::kButtonCount; ++j) {
        view.SetButton(j, {device::category::Macro, 1, static_cast<uint8_t>(j + p)});
        for (int k = 0; k < 81; ++k)
            view.SetMacroEventIn(j, k, {device::kEventKey, static_cast<uint16_t>(4 + k % 30), uint8_t(k & 1), 60});
        view.SetMacroEventCount(j, 81);
    }
    return record;
}

struct Figures {
    double wallMs;
    double floorMs;
    double sleepsOnlyMs;  // the same pauses slept back to back, nothing else
    size_t reports;
};

// The peer: the operating system sleeping the same pauses with no protocol
// work in between, so that timer overshoot is not counted against our code.
double SleepsOnly(const std::vector<unsigned>& pauses)
{
    const uint64_t start = platform::SystemClock().NowMicros();
    for (unsigned ms : pauses)
        platform::SystemClock().SleepMs(ms);
    return static_cast<double>(platform::SystemClock().NowMicros() - start) / 1000.0;
}

template <typename Step>
Figures Measure(PacingClock& clock, sim::SimulatedMouse& mouse, Step step)
{
    mouse.ClearLog();
    clock.askedMs = 0;
    clock.pauses.clear();
    const uint64_t start = clock.NowMicros();
    step();
    const uint64_t end = clock.NowMicros();
    return {static_cast<double>(end - start) / 1000.0, static_cast<double>(clock.askedMs), SleepsOnly(clock.pauses),
            mouse.Log().size()};
}

void Print(const char* name, const Figures& f)
{
    std::printf("%-26s %5zu reports  wall %8.1f ms  floor %8.1f ms  ratio %.4f  | sleeps only %8.1f ms  ratio %.4f\n",
                name, f.reports, f.wallMs, f.floorMs, f.wallMs / f.floorMs, f.sleepsOnlyMs, f.wallMs / f.sleepsOnlyMs);
}

// The program's first connection: the defaults, then profiles 5 down to 1
// read from a fresh simulated mouse into the settings store.
std::optional<Figures> StartupLoad(PacingClock& clock)
{
    const testsupport::TempFolder folder("transfer-bench");
    if (folder.Path().empty())
        return std::nullopt;
    NeritApp::MouseConnection connection(std::string(), clock);
    if (!connection.Prepare())
        return std::nullopt;
    settings::NoPageRefresh pages;
    NeritApp::ProgramSettings program(connection, folder.Path().string(), true, pages, clock);
    if (program.Open() != NeritApp::ProgramSettings::OpenResult::Ready)
        return std::nullopt;
    bool loaded = false;
    const Figures figures = Measure(clock, *connection.Simulated(), [&] {
        int shown = 0;
        loaded = program.Commands().LoadFromMouse(shown).Empty();
    });
    if (!loaded)
        return std::nullopt;
    return figures;
}

}  // namespace

int main(int argc, char** argv)
{
    const bool quick = argc > 1 && std::strcmp(argv[1], "--quick") == 0;
    const uint8_t profiles = quick ? 1 : 5;
    PacingClock clock;
    sim::SimulatedMouse mouse;
    sim::SimHidBackend backend(mouse);
    device::DeviceLink link(backend, clock);
    device::CommandSet commands(link, device::ProtocolVariant::Program);
    device::ProfileTransfer transfer(commands);
    if (!link.OpenDevice()) {
        std::fprintf(stderr, "transfer_bench: cannot open the simulated mouse\n");
        return 1;
    }

    auto records = std::make_unique<std::array<device::DeviceProfileRecord, 5>>();
    for (uint8_t p = 0; p < profiles; ++p)
        (*records)[p] = FullRecord(p);

    bool ok = true;
    const Figures write = Measure(clock, mouse, [&] {
        for (uint8_t p = 0; p < profiles; ++p)
            ok = transfer.WriteProfileRecord(p, (*records)[p]) && ok;
    });
    const Figures read = Measure(clock, mouse, [&] {
        for (int p = profiles - 1; p >= 0; --p) {
            device::DeviceProfileRecord out{};
            ok = transfer.ReadProfileRecord(static_cast<uint8_t>(p), out) && ok;
        }
    });
    link.CloseDevice();

    const std::string count = std::to_string(profiles) + (profiles == 1 ? " profile" : " profiles");
    Print(("write " + count + " (7x81 ev)").c_str(), write);
    Print(("read " + count).c_str(), read);
    Print("total", {write.wallMs + read.wallMs, write.floorMs + read.floorMs, write.sleepsOnlyMs + read.sleepsOnlyMs,
                    write.reports + read.reports});
    if (!ok) {
        std::fprintf(stderr, "transfer_bench: a transfer failed\n");
        return 1;
    }
    const std::optional<Figures> startup = StartupLoad(clock);
    if (!startup) {
        std::fprintf(stderr, "transfer_bench: the start-up load failed\n");
        return 1;
    }
    Print("start-up load (5 profiles)", *startup);
    return 0;
}
