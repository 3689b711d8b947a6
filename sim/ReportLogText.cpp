#include "sim/ReportLogText.h"

#include <cstdio>

namespace sim {
namespace {

const char* KindName(ReportKind kind)
{
    switch (kind) {
    case ReportKind::FeatureSet: return "feature-set command";
    case ReportKind::FeatureGet: return "feature-get command";
    case ReportKind::Output: return "output data";
    case ReportKind::Input: return "input data";
    }
    return "?";
}

std::string Hex(const Report& report)
{
    std::string text;
    char byte[4];
    for (uint8_t value : report) {
        std::snprintf(byte, sizeof byte, " %02X", value);
        text += byte;
    }
    return text;
}

}  // namespace

std::string FormatLoggedReport(const LoggedReport& entry)
{
    std::string line = KindName(entry.kind) + Hex(entry.bytes);
    if (entry.kind == ReportKind::FeatureGet && !entry.failed)
        line += " ->" + Hex(entry.answer);
    if (entry.failed)
        line += " failed";
    return line;
}

bool AppendReportLog(platform::FileSystem& files, const std::string& path, const std::vector<LoggedReport>& log,
                     size_t from)
{
    std::string text;
    for (size_t i = from; i < log.size(); ++i)
        text += FormatLoggedReport(log[i]) + '\n';
    return files.AppendFile(path, reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

}  // namespace sim
