#pragma once

#include "rules/CardCode.h"

#include <array>
#include <cstdint>
#include <string>

namespace tessaroc::rules {

// One card of a hand and the picture that shows it in the seat's row.
struct HandSlot
{
    CardCode code = 0;
    std::int16_t picIndex = -1; // -1: no picture

    bool operator==(const HandSlot &) const = default;
};

// One seat's hand, indexed by display position in HandRecords (0 is the own
// seat at the bottom). Slots 0 to cardCount - 1 hold the cards in display
// order; the slots past the count keep leftovers that nothing reads.
struct HandRecord
{
    std::string name; // the player's account name
    std::uint8_t seatBit = 0; // the own record's seat bit goes into byte 6 of every frame sent
    std::int16_t rowX = 0; // Left origin of the card row, window units
    std::int16_t rowY = 0; // Top origin of the played cards, window units
    std::array<HandSlot, kMaxHandCards> slots{};
    std::int16_t cardCount = 0;

    // The count as the rules use it: a value outside 0..33 written by a
    // faulty caller never lets a loop leave the slots.
    int validCount() const { return clampCardCount(cardCount); }
    void setCardCount(int count) { cardCount = static_cast<std::int16_t>(clampCardCount(count)); }

    bool operator==(const HandRecord &) const = default;
};

} // namespace tessaroc::rules
