// Resources compiled into the program: layouts of type "xml" by numeric id.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace SkinUI {

// The bytes of resource `id` of `type`, or nothing.
std::optional<std::span<const uint8_t>> FindResource(unsigned id, std::string_view type);

}  // namespace SkinUI
