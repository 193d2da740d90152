#pragma once

#include "rules/BitIndex.h"

#include <cstdint>

namespace tessaroc::rules {

// Where a seat sits on this table, counted from the own seat round the table:
// 0 the own seat at the bottom, then 1 left, 2 top, 3 right. Seats are one-hot
// bits 1, 2, 4, 8, and the table turns so that the own seat comes to the
// bottom; a byte that is no one-hot bit counts by its BitIndex, so the answer
// is always one of the four places. The hand records, the card rows and the
// seat panels are all indexed by this position.
constexpr int DisplayPos(std::uint8_t seatBit, std::uint8_t ownSeatBit)
{
    return (BitIndex(seatBit) - BitIndex(ownSeatBit)) & 3;
}

} // namespace tessaroc::rules
