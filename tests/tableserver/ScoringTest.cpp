#include "Scoring.h"

#include <gtest/gtest.h>

using namespace tessaroc::tableserver::scoring;

namespace {

struct Case
{
    const char *name;
    bool landlordWon;
    std::array<std::uint64_t, 4> coins;
    Bombs bombs;
    // Seat 0 is the landlord.
    std::array<std::uint64_t, 4> totals;
    std::array<std::uint64_t, 4> subtotals;
    std::array<bool, 4> capped;
};

void PrintTo(const Case &c, std::ostream *os)
{
    *os << c.name << ": " << (c.landlordWon ? "landlord wins" : "farmers win") << ", coins";
    for (const auto coins : c.coins)
        *os << ' ' << coins;
    *os << ", bombs of six " << c.bombs.sixCard << ", bigger " << c.bombs.bigOnes;
}

class Settlements : public ::testing::TestWithParam<Case>
{
};

} // namespace

TEST_P(Settlements, FollowTheTableRule)
{
    const Case &c = GetParam();
    const auto settled = settle(0, c.landlordWon, c.coins, kStake, c.bombs);
    std::uint64_t won = 0, lost = 0;
    for (std::size_t seat = 0; seat < 4; ++seat) {
        SCOPED_TRACE(seat);
        EXPECT_EQ(settled[seat].total, c.totals[seat]);
        EXPECT_EQ(settled[seat].subtotal, c.subtotals[seat]);
        EXPECT_EQ(settled[seat].capped, c.capped[seat]);
        EXPECT_EQ(settled[seat].won, (seat == 0) == c.landlordWon);
        (settled[seat].won ? won : lost) += settled[seat].total;
    }
    EXPECT_EQ(won, lost);
}

INSTANTIATE_TEST_SUITE_P(Scoring, Settlements,
                         ::testing::Values(Case{"LandlordWinsPlainHand",
                                                true,
                                                {5000, 5000, 5000, 5000},
                                                {},
                                                {300, 100, 100, 100},
                                                {300, 100, 100, 100},
                                                {}},
                                           Case{"FarmersWinPlainHand",
                                                false,
                                                {5000, 5000, 5000, 5000},
                                                {},
                                                {300, 100, 100, 100},
                                                {300, 100, 100, 100},
                                                {}},
                                           Case{"SixCardBombsDoubleTheUnit",
                                                true,
                                                {5000, 5000, 5000, 5000},
                                                {2, 0},
                                                {1200, 400, 400, 400},
                                                {1200, 400, 400, 400},
                                                {}},
                                           Case{"BigBombsQuadrupleIt",
                                                false,
                                                {9000, 9000, 9000, 9000},
                                                {1, 1},
                                                {2400, 800, 800, 800},
                                                {2400, 800, 800, 800},
                                                {}},
                                           Case{"AFarmerPaysNoMoreThanItHolds",
                                                true,
                                                {5000, 40, 5000, 0},
                                                {},
                                                {140, 40, 100, 0},
                                                {300, 100, 100, 100},
                                                {false, true, false, true}},
                                           Case{"TheLandlordPaysWholeThirds",
                                                false,
                                                {250, 5000, 5000, 5000},
                                                {},
                                                {249, 83, 83, 83},
                                                {300, 100, 100, 100},
                                                {true, false, false, false}},
                                           Case{"ALandlordWithNothingPaysNothing",
                                                false,
                                                {2, 5000, 5000, 5000},
                                                {},
                                                {0, 0, 0, 0},
                                                {300, 100, 100, 100},
                                                {true, false, false, false}}),
                         [](const auto &p) { return std::string(p.param.name); });

TEST(Scoring, TheUnitStaysFarBelowWhatAClientHoldsExactly)
{
    EXPECT_EQ(handUnit(kStake, {}), 100u);
    EXPECT_EQ(handUnit(kStake, {3, 2}), 100u * 8 * 16);
    const auto huge = handUnit(kStake, {40, 40});
    EXPECT_LE(3 * huge, std::uint64_t{1} << 53);
}

TEST(Scoring, LevelsRiseEveryFiveWinsUpToForty)
{
    EXPECT_EQ(levelForWins(0), 1);
    EXPECT_EQ(levelForWins(4), 1);
    EXPECT_EQ(levelForWins(5), 2);
    EXPECT_EQ(levelForWins(194), 39);
    EXPECT_EQ(levelForWins(195), 40);
    EXPECT_EQ(levelForWins(100000), 40);
}
