// The settings store as text for people, and as JSON for programs.
#pragma once

#include "settings/SettingsStore.h"

#include <nlohmann/json.hpp>

#include <string>

namespace cli {

// All profiles, or only `profileIndex` (0..4) when it is not negative.
std::string StoreAsText(const settings::SettingsStore& store, int profileIndex);
nlohmann::json StoreAsJson(const settings::SettingsStore& store, int profileIndex);

}  // namespace cli
