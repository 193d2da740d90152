#include "rules/DisplayPos.h"

#include <gtest/gtest.h>

namespace tessaroc::rules {
namespace {

TEST(DisplayPos, TheTableTurnsTheOwnSeatToTheBottom)
{
    constexpr std::uint8_t kSeatBits[4] = {1, 2, 4, 8};
    // Rows: the own seat; columns: the seat seen from it (bottom 0, left 1,
    // top 2, right 3).
    constexpr int kPlaces[4][4] = {{0, 1, 2, 3}, {3, 0, 1, 2}, {2, 3, 0, 1}, {1, 2, 3, 0}};
    for (int own = 0; own < 4; ++own) {
        for (int seat = 0; seat < 4; ++seat)
            EXPECT_EQ(DisplayPos(kSeatBits[seat], kSeatBits[own]), kPlaces[own][seat])
                    << int(kSeatBits[own]) << " sees " << int(kSeatBits[seat]);
    }
    // Before the own seat is known it counts as the first seat.
    EXPECT_EQ(DisplayPos(1, 0), 0);
    EXPECT_EQ(DisplayPos(8, 0), 3);
}

// A seat byte from a faulty frame still names one of the four places, so it
// can index every table kept per place.
TEST(DisplayPos, AnyByteLandsOnOneOfTheFourPlaces)
{
    for (int own = 0; own <= 255; ++own) {
        for (int seat = 0; seat <= 255; ++seat) {
            const int pos
                    = DisplayPos(static_cast<std::uint8_t>(seat), static_cast<std::uint8_t>(own));
            ASSERT_TRUE(pos >= 0 && pos <= 3) << own << " sees " << seat << ": " << pos;
        }
    }
}

} // namespace
} // namespace tessaroc::rules
