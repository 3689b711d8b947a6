#include "cli/TraceWriter.h"

#include "device/Protocol.h"

namespace cli {
namespace {

struct KindText {
    const char* arrow;
    const char* name;
};

KindText TextOf(device::ReportKind kind)
{
    switch (kind) {
    case device::ReportKind::FeatureOut: return {">", "set-feature"};
    case device::ReportKind::FeatureIn: return {"<", "get-feature"};
    case device::ReportKind::Output: return {">", "output     "};
    case device::ReportKind::Input: return {"<", "input      "};
    }
    return {"?", "?"};
}

}  // namespace

std::string TraceWriter::Format(const device::ReportEvent& event)
{
    const KindText text = TextOf(event.kind);
    std::string line = std::string(text.arrow) + " " + text.name + " "
                     + (event.collection == device::CollectionId::Command ? "command" : "data   ");
    char hex[4];
    for (size_t i = 0; i < device::kReportSize; ++i) {
        std::snprintf(hex, sizeof hex, " %02X", event.bytes[i]);
        line += hex;
    }
    if (event.attempt > 1)
        line += "  attempt " + std::to_string(event.attempt);
    if (!event.ok)
        line += "  FAILED";
    return line;
}

void TraceWriter::OnReport(const device::ReportEvent& event)
{
    std::fprintf(out_, "%s\n", Format(event).c_str());
}

}  // namespace cli
