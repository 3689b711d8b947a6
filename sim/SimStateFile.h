// Keeps the simulated mouse's firmware state in a file between runs.
//
// Format (little-endian, fixed offsets, kFileSize bytes):
//   0  "VIMOSIM"   7  version    8  current profile   9  LED switch
//   10 ambient     11 firmware major   12 firmware minor   13 unplugged   14..15 zero
//   16 five profile records of kProfileRecordSize bytes (layout in the .cpp)
//   then a 32-bit FNV-1a checksum of everything before it.
// Fault-injection settings, the log and queued reports are not kept.
#pragma once

#include "platform/file_system.h"
#include "sim/FirmwareState.h"
#include "sim/SimulatedMouse.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace sim {

enum class StateFileResult {
    Saved,
    Loaded,
    FreshMouse,   // no file: the mouse was reset to a new one
    TooShort,
    TooLong,
    BadMagic,
    BadVersion,
    BadChecksum,
    IoError,      // cannot be read or written, or not a regular file
    Busy,         // another process kept the state file's lock
    LockFailed,   // the state file's lock file cannot be used
};

// Whether a load left a mouse to use: Loaded, or FreshMouse.
inline bool StateUsable(StateFileResult result)
{
    return result == StateFileResult::Loaded || result == StateFileResult::FreshMouse;
}

class SimStateFile {
public:
    static constexpr uint8_t kVersion = 1;
    static constexpr size_t kHeaderSize = 16;
    static constexpr size_t kProfileRecordSize = 2328;
    static constexpr size_t kChecksumSize = 4;
    static constexpr size_t kFileSize = kHeaderSize + kProfileCount * kProfileRecordSize + kChecksumSize;

    explicit SimStateFile(std::string path, platform::FileSystem& files = platform::RealFileSystem())
        : path_(std::move(path)), files_(files)
    {
    }

    // Replaces the file atomically, as every file of ours.
    StateFileResult Save(const SimulatedMouse& mouse) const;
    // Changes the mouse only on Loaded or FreshMouse; plugs or unplugs it as
    // the file says.
    StateFileResult Load(SimulatedMouse& mouse) const;
    // Only plugs or unplugs the mouse as the file says (a missing file: a
    // new mouse, plugged in).
    StateFileResult LoadPlugState(SimulatedMouse& mouse) const;

    static std::vector<uint8_t> Encode(FirmwareState state, bool plugged = true);
    // Fills out (and *plugged) only when the bytes are a valid state file.
    static StateFileResult Decode(std::span<const uint8_t> bytes, FirmwareState& out, bool* plugged = nullptr);

private:
    // The file's state; FreshMouse when there is no file.
    StateFileResult Read(FirmwareState& state, bool& plugged) const;
    static void SetPlugged(SimulatedMouse& mouse, bool plugged);

    std::string path_;
    platform::FileSystem& files_;
};

}  // namespace sim
