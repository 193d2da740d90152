#pragma once

#include <cstdint>
#include <span>

namespace tessaroc::support {

// The smallest wealth above 0 among the four display positions, 0 when no
// player has any; the table shows it as the wealth caption.
constexpr std::int32_t MinPositiveWealth(std::span<const std::int32_t, 4> wealth)
{
    std::int32_t smallest = 0;
    for (const std::int32_t w : wealth) {
        if (w > 0 && (smallest == 0 || w < smallest))
            smallest = w;
    }
    return smallest;
}

} // namespace tessaroc::support
