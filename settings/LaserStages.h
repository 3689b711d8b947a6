// The DPI that each laser stage index (`yIndex` 0..9) stands for.
#pragma once

#include <array>
#include <cstdint>

namespace settings {

inline constexpr std::array<int32_t, 10> kLaserStageDpi = {250, 500, 1000, 1250, 1500, 1750, 2000, 2500, 3000, 3500};

// The DPI of a stage index; 0 for an index outside 0..9.
inline constexpr int32_t LaserStageDpi(int32_t index)
{
    return index >= 0 && index < static_cast<int32_t>(kLaserStageDpi.size()) ? kLaserStageDpi[index] : 0;
}

// The stage index whose DPI is nearest to `dpi`; of two as near, the lower.
inline constexpr int32_t NearestLaserStage(int32_t dpi)
{
    int32_t best = 0;
    for (int32_t k = 1; k < static_cast<int32_t>(kLaserStageDpi.size()); ++k) {
        const int64_t distance = int64_t{dpi} - kLaserStageDpi[k];
        const int64_t bestDistance = int64_t{dpi} - kLaserStageDpi[best];
        if ((distance < 0 ? -distance : distance) < (bestDistance < 0 ? -bestDistance : bestDistance))
            best = k;
    }
    return best;
}

}  // namespace settings
