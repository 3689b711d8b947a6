// Pointer settings kept in a small text file of our own, one "key=value" a
// line. Stands in for desktop settings that have no key of their own (and for
// all three when there is no desktop schema). Every call reads or replaces the
// whole file; a missing file, and each missing or garbled line, gives the
// default for that value.
#pragma once

#include "platform/file_system.h"
#include "platform/pointer_settings.h"

#include <string>

namespace platform {

class FilePointerSettings final : public PointerSettings {
public:
    static constexpr unsigned kDefaultWheelScrollLines = 3;
    static constexpr unsigned kDefaultDoubleClickTime = 400;  // ms
    static constexpr unsigned kDefaultMouseSpeed = 10;

    // Read and written through `files`, whose LastError tells why a change
    // was not kept.
    explicit FilePointerSettings(std::string path, FileSystem& files = RealFileSystem());

    void SetDoubleClickTime(unsigned milliseconds) override;
    void SetWheelScrollLines(unsigned lines) override;
    void SetMouseSpeed(unsigned speed) override;  // clamped to 1..20

    unsigned DoubleClickTime() override;
    unsigned WheelScrollLines() override;
    unsigned MouseSpeed() override;

    const std::string& Path() const { return path_; }

private:
    std::string path_;
    FileSystem& files_;
};

}  // namespace platform
