// HID access: enumerate top-level collections, open them, exchange reports.
//
// One interface, one Linux implementation (HidapiBackend, on hidapi's hidraw
// backend) and the simulated mouse (sim/SimHidBackend). The device layer sees
// only this header.
//
// Reports are passed as whole buffers with the report id in byte 0, exactly
// as they travel; the protocol always uses 8-byte reports.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {

// One HID top-level collection as enumeration reports it.
struct HidCollectionInfo {
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint16_t usagePage = 0;
    uint16_t usage = 0;
    std::string path;  // what HidBackend::Open takes
    // False when the collection was listed but its attributes or capabilities
    // could not be read; such an entry never matches.
    bool attributesValid = true;
};

// Why the last HidBackend::Open failed.
enum class HidOpenError {
    None,
    NotFound,      // the path is gone (unplugged)
    AccessDenied,  // the node exists but this user may not open it
    Busy,          // another program holds the device for its command sequence
    Other,
};

// An open collection. Every call is synchronous; a failed call returns false
// (or -1) and leaves the handle usable for another try.
class HidDevice {
public:
    virtual ~HidDevice() = default;

    // Feature report out; data[0] is the report id.
    virtual bool SendFeatureReport(const uint8_t* data, size_t length) = 0;
    // Feature report in; data[0] holds the wanted report id on entry and the
    // whole answer (report id included) on return.
    virtual bool GetFeatureReport(uint8_t* data, size_t length) = 0;
    // Output report on the interrupt/control pipe; data[0] is the report id.
    virtual bool WriteOutputReport(const uint8_t* data, size_t length) = 0;
    // One input report into data (report id in byte 0). Returns the number of
    // bytes read, 0 when nothing arrived within timeoutMs, -1 on error.
    virtual int ReadInputReport(uint8_t* data, size_t length, int timeoutMs) = 0;
    // How many input reports the host keeps queued for this handle.
    virtual bool SetInputQueueLength(unsigned count) = 0;
    // Ends the use of the handle (destroying it closes it as well). Like a
    // file's close, it may report that what was sent could not be kept: the
    // simulated mouse writes its state file when its last handle closes.
    virtual bool Close() { return true; }
};

class HidBackend {
public:
    virtual ~HidBackend() = default;

    // Every top-level collection of every present HID interface.
    virtual std::vector<HidCollectionInfo> Enumerate() = 0;
    // Opens a collection by its path; null on failure (see LastOpenError).
    virtual std::unique_ptr<HidDevice> Open(const std::string& path) = 0;
    virtual HidOpenError LastOpenError() const = 0;
};

}  // namespace platform
