#pragma once

#include <cstdint>

namespace tessaroc::tableserver {

// Seats are one-hot bits on the wire (1, 2, 4, 8) and indexes 0..3 inside
// the server.
inline constexpr int kSeats = 4;

constexpr std::uint8_t seatBit(int index)
{
    return static_cast<std::uint8_t>(1u << index);
}

// The index of a one-hot seat bit, or -1 for any other value.
constexpr int seatIndex(unsigned bit)
{
    switch (bit) {
    case 1:
        return 0;
    case 2:
        return 1;
    case 4:
        return 2;
    case 8:
        return 3;
    default:
        return -1;
    }
}

// Turn order runs the way the deal animation does: from a seat bit to the
// next lower bit, cyclically (1 -> 8 -> 4 -> 2 -> 1). Every client then sees
// the next player on its right.
constexpr int nextSeat(int index)
{
    return (index + kSeats - 1) % kSeats;
}

} // namespace tessaroc::tableserver
