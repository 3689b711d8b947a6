// A small initialisation file: "[Section]" lines and "key=value" lines.
// Section and key names match without regard to ASCII case, and blanks
// around names and values do not count. Reading takes the first matching
// section and, in it, the first matching key. Writing changes only the line
// of the key (or adds one), so other lines and ";" comments stay as they are.
#pragma once

#include "platform/file_system.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace settings {

class IniFile {
public:
    // Files are small; a larger one is refused whole (TooLong), so that a
    // later save cannot cut it.
    static constexpr size_t kMaxFileSize = 1024 * 1024;

    // Replaces the contents with the file's. A missing, unreadable or too
    // long file gives an empty file and false; LoadError() tells why.
    bool Load(platform::FileSystem& files, const std::string& path);
    platform::FileError LoadError() const { return loadError_; }
    // Replaces the file atomically; lines end in "\n". On false the file
    // system's LastError() tells why.
    bool Save(platform::FileSystem& files, const std::string& path) const;

    // The value, without surrounding blanks and without one pair of matching
    // quotes around it; `fallback` when the key is missing.
    std::string GetString(std::string_view section, std::string_view key, std::string_view fallback = {}) const;
    // The optionally signed decimal number at the start of the value ("12abc"
    // gives 12, wrapping like a 32-bit integer); 0 when the value does not
    // start with one; `fallback` when the key is missing or its value empty.
    int GetInt(std::string_view section, std::string_view key, int fallback) const;
    // Changes the key's line, or adds the key at the end of its section, or
    // adds the section at the end of the file. Line breaks in the names or
    // the value end them, so one call never writes more than one line.
    void SetString(std::string_view section, std::string_view key, std::string_view value);

    std::string Text() const;

private:
    // The line index of the section's header.
    std::optional<size_t> FindSection(std::string_view section) const;
    // The index after the section's last line (the next header or the end).
    size_t SectionEnd(size_t header) const;
    std::optional<size_t> FindKey(std::string_view section, std::string_view key) const;
    void AddKey(size_t header, const std::string& line);
    void AddSection(std::string_view section, const std::string& line);

    std::vector<std::string> lines_;
    platform::FileError loadError_ = platform::FileError::None;
};

}  // namespace settings
