#include "Cards.h"

#include <limits>

namespace tessaroc::tableserver {

std::uint64_t SeededRandom::below(std::uint64_t bound)
{
    // Rejection keeps every value equally likely: draws from the incomplete
    // last block of the 64-bit range are thrown away.
    const std::uint64_t limit = std::numeric_limits<std::uint64_t>::max()
            - std::numeric_limits<std::uint64_t>::max() % bound;
    std::uint64_t value = engine_();
    while (value >= limit)
        value = engine_();
    return value % bound;
}

std::int64_t SeededRandom::between(std::int64_t low, std::int64_t high)
{
    if (high <= low)
        return low;
    const auto span = static_cast<std::uint64_t>(high - low) + 1;
    return low + static_cast<std::int64_t>(below(span));
}

} // namespace tessaroc::tableserver
