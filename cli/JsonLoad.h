// neritctl load-json: settings described as show --json prints them become
// the store's values. Every key is checked before anything changes; the
// first refused key is named by its path ("profiles[2].reportRate: ...").
#pragma once

#include "cli/SettingsSession.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <string>
#include <vector>

namespace cli {

class JsonLoad {
public:
    // Reads FILE and applies it to the session's store; false with a one-line
    // error (and the store untouched) when anything is refused.
    static bool LoadFile(SettingsSession& settings, const std::string& path, std::string& error);
    // The same for bytes read elsewhere (standard input), named `name` in errors.
    static bool LoadBytes(SettingsSession& settings, const std::string& name, const std::vector<uint8_t>& bytes,
                          std::string& error);
    // Files larger than this are refused.
    static constexpr size_t kMaxBytes = size_t{64} << 20;
    // Parses a file's bytes, refusing duplicate keys and deep nesting; false
    // with the reason (line and column where the text is not JSON).
    static bool Parse(const std::vector<uint8_t>& bytes, nlohmann::json& parsed, std::string& error);
    // Applies `json` to `store`, profile `shown` being the one whose macro
    // copy is the working list; false with the error and the store untouched.
    static bool Apply(settings::SettingsStore& store, const nlohmann::json& json, int shown, std::string& error);
};

}  // namespace cli
