#pragma once

#include <cstdint>

namespace tessaroc::rules {

// Turns a one-hot seat or suit bit into its index: 1 -> 0, 2 -> 1, 4 -> 2,
// 8 -> 3. Other values give the number of halvings while above 1 (3 -> 1),
// 0 and negatives give 0; a 16-bit value gives at most 14.
constexpr std::uint8_t BitIndex(std::int16_t x)
{
    std::uint8_t index = 0;
    while (x > 1) {
        x = static_cast<std::int16_t>(x / 2);
        ++index;
    }
    return index;
}

} // namespace tessaroc::rules
