// Watches every report the link exchanges (for --trace and diagnostics).
#pragma once

#include <cstdint>

namespace device {

enum class ReportKind : uint8_t { FeatureOut, FeatureIn, Output, Input };
enum class CollectionId : uint8_t { Command, Data };

struct ReportEvent {
    ReportKind kind;
    CollectionId collection;
    const uint8_t* bytes;  // 8 bytes: what was sent, or what was received
    int attempt;           // 1..3 for retried reports, 1 otherwise
    bool ok;
};

class ReportObserver {
public:
    virtual ~ReportObserver() = default;
    virtual void OnReport(const ReportEvent& event) = 0;
};

}  // namespace device
