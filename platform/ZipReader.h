// Entries of a zip package (skin packages), read whole.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

enum class ZipResult { Ok, CannotOpen, NoEntry, TooLarge, Corrupt };

// Reads the entry `name` of the package at `zipPath`, at most maxBytes.
ZipResult ReadZipEntry(const std::string& zipPath, std::string_view name, size_t maxBytes,
                       std::vector<uint8_t>& bytes);

}  // namespace platform
