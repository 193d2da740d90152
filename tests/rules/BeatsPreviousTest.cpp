#include "CardsForTest.h"

#include "rules/PrevPlay.h"

#include <gtest/gtest.h>

#include <ostream>

namespace tessaroc::rules {
namespace {

using test::cardArray;
using test::cards;

int countOf(const char *text)
{
    return static_cast<int>(cards(text).size());
}

struct KeyCase
{
    const char *play; // as held: group order or judged order
    PlayKind kind;
    int key;
};

void PrintTo(const KeyCase &c, std::ostream *os)
{
    *os << '"' << c.play << "\" kind " << c.kind;
}

class Keys : public ::testing::TestWithParam<KeyCase>
{
};

TEST_P(Keys, TopOfTheChainInEitherOrder)
{
    const KeyCase &c = GetParam();
    EXPECT_EQ(PlayKey(cardArray(c.play), countOf(c.play), c.kind), c.key);
}

INSTANTIATE_TEST_SUITE_P(
        Plays, Keys,
        ::testing::Values(
                KeyCase{"9", KindSingle, 9}, KeyCase{"8 8 8 3 3", KindTripleWithPair, 8},
                KeyCase{"2 2 2 2", KindBomb4, 15}, KeyCase{"2 2 A A 3 3", KindPairChain, 3},
                KeyCase{"3 3 2 2 A A", KindPairChain, 3}, KeyCase{"2 2 4 4 3 3", KindPairChain, 4},
                KeyCase{"4 4 3 3 2 2", KindPairChain, 4}, KeyCase{"A A K K Q Q", KindPairChain, 14},
                KeyCase{"2 2 2 A A A", KindTripleChain, 2},
                KeyCase{"2 2 2 3 3 3", KindTripleChain, 3},
                KeyCase{"2 2 2 A A A 3 3 3", KindTripleChain, 3},
                KeyCase{"3 3 3 2 2 2 A A A", KindTripleChain, 3},
                KeyCase{"2 2 2 A A A 9 9 8 8", KindPlaneWithPairs, 2},
                KeyCase{"2 2 2 A A A 9 9 8 8", KindPlaneWithPairsAlt, 2},
                KeyCase{"2 2 2 3 3 3 9 9 8 8", KindPlaneWithPairs, 3},
                KeyCase{"2 2 2 A A A 3 3 3 9 9 8 8 7 7", KindPlaneWithPairs, 3},
                KeyCase{"5 5 5 4 4 4 7 7 6 6", KindPlaneWithPairs, 5}));

struct BeatCase
{
    const char *mine; // judged order
    PlayKind myKind;
    const char *prev; // as stored: group order for another seat's play
    PlayKind prevKind;
    bool beats;
};

void PrintTo(const BeatCase &c, std::ostream *os)
{
    *os << '"' << c.mine << "\" (" << c.myKind << ") against \"" << c.prev << "\" (" << c.prevKind
        << ')';
}

class Beats : public ::testing::TestWithParam<BeatCase>
{
};

TEST_P(Beats, SameKindAndCountByKeyElseBiggerBomb)
{
    const BeatCase &c = GetParam();
    EXPECT_EQ(BeatsPrevious(cardArray(c.mine), countOf(c.mine), c.myKind, cardArray(c.prev, 50),
                            countOf(c.prev), c.prevKind),
              c.beats);
}

INSTANTIATE_TEST_SUITE_P(SinglesAndGroups, Beats,
                         ::testing::Values(BeatCase{"9", KindSingle, "8", KindSingle, true},
                                           BeatCase{"8", KindSingle, "8", KindSingle, false},
                                           BeatCase{"2", KindSingle, "A", KindSingle, true},
                                           BeatCase{"sj", KindSingle, "2", KindSingle, true},
                                           BeatCase{"BJ", KindSingle, "sj", KindSingle, true},
                                           BeatCase{"9 9", KindPair, "8", KindSingle, false},
                                           BeatCase{"8 8 8 3 3", KindTripleWithPair, "7 7 7 A A",
                                                    KindTripleWithPair, true},
                                           BeatCase{"7 7 7 A A", KindTripleWithPair, "8 8 8 3 3",
                                                    KindTripleWithPair, false}));

INSTANTIATE_TEST_SUITE_P(
        Bombs, Beats,
        ::testing::Values(
                BeatCase{"7 7 7 7", KindBomb4, "8 8 8 8", KindBomb4, false},
                BeatCase{"9 9 9 9", KindBomb4, "8 8 8 8", KindBomb4, true},
                BeatCase{"3 3 3 3 3", KindBomb5, "2 2 2 2", KindBomb4, true},
                BeatCase{"2 2 2 2", KindBomb4, "3 3 3 3 3", KindBomb5, false},
                BeatCase{"4 4 4 4 4 4", KindBomb6, "3 3 3 3 3", KindBomb5, true},
                BeatCase{"BJ BJ sj sj", KindFourJokers, "6 6 6 6 6 6 6 6", KindBomb8, true},
                BeatCase{"6 6 6 6 6 6 6 6", KindBomb8, "BJ BJ sj sj", KindFourJokers, false},
                BeatCase{"3 3 3 3", KindBomb4, "A A K K Q Q", KindPairChain, true},
                BeatCase{"3 3 3 4 4 4", KindTripleChain, "9 9", KindPair, false}));

INSTANTIATE_TEST_SUITE_P(
        Chains, Beats,
        ::testing::Values(
                BeatCase{"4 4 3 3 2 2", KindPairChain, "2 2 A A 3 3", KindPairChain, true},
                BeatCase{"3 3 2 2 A A", KindPairChain, "2 2 4 4 3 3", KindPairChain, false},
                BeatCase{"A A K K Q Q", KindPairChain, "K K Q Q J J", KindPairChain, true},
                BeatCase{"4 4 3 3 2 2 A A", KindPairChain, "2 2 A A 4 4 3 3", KindPairChain, false},
                BeatCase{"3 3 3 2 2 2", KindTripleChain, "2 2 2 A A A", KindTripleChain, true},
                BeatCase{"2 2 2 A A A", KindTripleChain, "2 2 2 A A A", KindTripleChain, false},
                BeatCase{"4 4 4 3 3 3 2 2 2", KindTripleChain, "2 2 2 A A A 3 3 3", KindTripleChain,
                         true},
                BeatCase{"6 6 5 5 4 4 3 3", KindPairChain, "A A K K Q Q", KindPairChain, false},
                BeatCase{"A A K K Q Q", KindPairChain, "6 6 5 5 4 4 3 3", KindPairChain, false}));

INSTANTIATE_TEST_SUITE_P(
        Planes, Beats,
        ::testing::Values(BeatCase{"2 2 2 A A A 9 9 8 8", KindPlaneWithPairs, "5 5 5 4 4 4 7 7 6 6",
                                   KindPlaneWithPairs, false},
                          BeatCase{"2 2 2 A A A 9 9 8 8", KindPlaneWithPairs, "2 2 2 A A A 5 5 4 4",
                                   KindPlaneWithPairs, false},
                          BeatCase{"3 3 3 2 2 2 9 9 8 8", KindPlaneWithPairs, "2 2 2 A A A 9 9 8 8",
                                   KindPlaneWithPairs, true},
                          BeatCase{"6 6 6 5 5 5 9 9 8 8", KindPlaneWithPairs, "5 5 5 4 4 4 7 7 6 6",
                                   KindPlaneWithPairsAlt, true},
                          BeatCase{"5 5 5 4 4 4 7 7 6 6", KindPlaneWithPairsAlt,
                                   "6 6 6 5 5 5 9 9 8 8", KindPlaneWithPairs, false}));

} // namespace
} // namespace tessaroc::rules
