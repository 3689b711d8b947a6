// Prints every report the link exchanges, one line each, for --trace.
#pragma once

#include "device/ReportObserver.h"

#include <cstdio>
#include <string>

namespace cli {

class TraceWriter final : public device::ReportObserver {
public:
    explicit TraceWriter(std::FILE* out) : out_(out) {}
    void OnReport(const device::ReportEvent& event) override;

    static std::string Format(const device::ReportEvent& event);

private:
    std::FILE* out_;
};

}  // namespace cli
