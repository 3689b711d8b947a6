// Our markup parser against pugixml on the same skin layouts, in one run:
// MB/s of both and the ratio. Also the time to build a control tree.
#include "bench/SkinLayouts.h"
#include "ui/LabelUI.h"
#include "ui/LayoutBuilder.h"
#include "ui/MarkupDocument.h"
#include "platform/Utf16.h"
#include "ui/VerticalLayoutUI.h"
#include "ui/WindowUIManager.h"

#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

const std::vector<std::string>& Layouts()
{
    static const std::vector<std::string> layouts = {
        bench::MakeSkinLayout(120, 1), bench::MakeSkinLayout(300, 2), bench::MakeSkinLayout(600, 3)};
    return layouts;
}

size_t TotalBytes()
{
    size_t total = 0;
    for (const std::string& layout : Layouts())
        total += layout.size();
    return total;
}

void OurParser(benchmark::State& state)
{
    SkinUI::CMarkupDocument doc;
    for (auto _ : state) {
        for (const std::string& layout : Layouts()) {
            const bool ok = doc.LoadBytes(reinterpret_cast<const uint8_t*>(layout.data()), layout.size());
            benchmark::DoNotOptimize(ok);
            if (!ok)
                state.SkipWithError("layout did not parse");
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * TotalBytes()));
}
BENCHMARK(OurParser);

void Pugixml(benchmark::State& state)
{
    pugi::xml_document doc;
    for (auto _ : state) {
        for (const std::string& layout : Layouts()) {
            const pugi::xml_parse_result result = doc.load_buffer(layout.data(), layout.size());
            benchmark::DoNotOptimize(result);
            if (!result)
                state.SkipWithError("layout did not parse");
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * TotalBytes()));
}
BENCHMARK(Pugixml);

void BuildControlTree300(benchmark::State& state)
{
    const std::u16string layout = platform::Utf8ToUtf16(bench::MakeSkinLayout(300, 2));
    for (auto _ : state) {
        SkinUI::CWindowUIManager manager;
        SkinUI::CLayoutBuilder builder;
        auto root = builder.CreateDetached(layout, nullptr, &manager);
        benchmark::DoNotOptimize(root.get());
        if (!root)
            state.SkipWithError("layout did not build");
    }
}
BENCHMARK(BuildControlTree300)->Unit(benchmark::kMicrosecond);

// Destroying a tree of uniquely named labels: each one leaves the window's
// name index; the time per label should not grow with the tree.
void DestroyNamedLabels(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        SkinUI::CWindowUIManager manager;
        auto root = std::make_unique<SkinUI::CVerticalLayoutUI>();
        for (int i = 0; i < count; ++i) {
            auto label = std::make_unique<SkinUI::CLabelUI>();
            label->SetName(platform::Utf8ToUtf16("label" + std::to_string(i)));
            root->Add(std::move(label));
        }
        manager.InitControls(root.get());
        state.ResumeTiming();
        root.reset();
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(DestroyNamedLabels)->Arg(20000)->Arg(40000)->Unit(benchmark::kMillisecond);

// Keeps the throughput of each run to print the ratio at the end.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const auto bytes = run.counters.find("bytes_per_second");
            if (bytes != run.counters.end())
                throughput[run.benchmark_name()] = bytes->second.value;
        }
    }
    std::map<std::string, double> throughput;
};

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double ours = reporter.throughput["OurParser"];
    const double pugi = reporter.throughput["Pugixml"];
    if (ours > 0 && pugi > 0) {
        std::printf("\nmarkup parser: ours %.1f MB/s, pugixml %.1f MB/s, ratio ours/pugixml %.3f (%zu bytes of layouts)\n",
                    ours / 1e6, pugi / 1e6, ours / pugi, TotalBytes());
    }
    benchmark::Shutdown();
    return 0;
}
