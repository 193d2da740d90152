#include "CardsForTest.h"

#include "rules/PlayKind.h"
#include "rules/SortByGroup.h"

#include <gtest/gtest.h>

#include <ostream>

namespace tessaroc::rules {
namespace {

using test::cardArray;
using test::cards;
using test::faces;

struct KindCase
{
    const char *raised;
    PlayKind kind;
    const char *judged; // the judged order of a legal play
};

void PrintTo(const KindCase &c, std::ostream *os)
{
    *os << '"' << c.raised << "\" as kind " << c.kind;
}

// Judges the cards the way the own play does: group order first.
PlayKind judge(const std::vector<CardCode> &play, CardArray &judged, JudgeResultTable &result)
{
    judged = cardArray(play);
    SortByGroup(judged, static_cast<int>(play.size()));
    return JudgeKind(KindNone, static_cast<int>(play.size()), judged, result);
}

class Kinds : public ::testing::TestWithParam<KindCase>
{
};

TEST_P(Kinds, KindAndJudgedOrder)
{
    const KindCase &c = GetParam();
    const std::vector<CardCode> play = cards(c.raised);
    CardArray judged;
    JudgeResultTable result{};
    EXPECT_EQ(judge(play, judged, result), c.kind);
    EXPECT_EQ(result[0], c.kind);
    if (c.kind != KindNone) {
        const int n = static_cast<int>(play.size());
        EXPECT_EQ(faces(judged, n), c.judged);
        for (int i = 0; i < n; ++i)
            EXPECT_EQ(result[kJudgeResultCards + i], judged[i]) << "entry " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(SinglesPairsTriples, Kinds,
                         ::testing::Values(KindCase{"7", KindSingle, "7"},
                                           KindCase{"BJ", KindSingle, "BJ"},
                                           KindCase{"BJ BJ", KindPair, "BJ BJ"},
                                           KindCase{"sj sj", KindPair, "sj sj"},
                                           KindCase{"sj BJ", KindNone, nullptr},
                                           KindCase{"9 9 9", KindTriple, "9 9 9"},
                                           KindCase{"9 9 8", KindNone, nullptr},
                                           KindCase{"3 4 5 6 7", KindNone, nullptr}));

INSTANTIATE_TEST_SUITE_P(Bombs, Kinds,
                         ::testing::Values(KindCase{"2 2 2 2", KindBomb4, "2 2 2 2"},
                                           KindCase{"3 3 3 3 3", KindBomb5, "3 3 3 3 3"},
                                           KindCase{"6 6 6 6 6 6", KindBomb6, "6 6 6 6 6 6"},
                                           KindCase{"6 6 6 6 6 6 6", KindBomb7, "6 6 6 6 6 6 6"},
                                           KindCase{"6 6 6 6 6 6 6 6", KindBomb8,
                                                    "6 6 6 6 6 6 6 6"},
                                           KindCase{"sj BJ sj BJ", KindFourJokers, "BJ BJ sj sj"},
                                           KindCase{"sj sj BJ 2", KindNone, nullptr}));

INSTANTIATE_TEST_SUITE_P(TriplesWithPair, Kinds,
                         ::testing::Values(KindCase{"3 3 8 8 8", KindTripleWithPair, "8 8 8 3 3"},
                                           KindCase{"8 8 8 sj sj", KindTripleWithPair,
                                                    "8 8 8 sj sj"},
                                           KindCase{"2 2 2 A A", KindTripleWithPair, "2 2 2 A A"},
                                           KindCase{"8 8 8 4 3", KindNone, nullptr},
                                           KindCase{"8 8 8 8 3", KindNone, nullptr},
                                           KindCase{"8 8 8 sj BJ", KindNone, nullptr}));

INSTANTIATE_TEST_SUITE_P(
        PairChains, Kinds,
        ::testing::Values(
                KindCase{"3 3 4 4 5 5", KindPairChain, "5 5 4 4 3 3"},
                KindCase{"Q Q K K A A", KindPairChain, "A A K K Q Q"},
                KindCase{"2 2 A A 3 3", KindPairChain, "3 3 2 2 A A"},
                KindCase{"2 2 4 4 3 3", KindPairChain, "4 4 3 3 2 2"},
                KindCase{"A A 2 2 3 3 4 4", KindPairChain, "4 4 3 3 2 2 A A"},
                KindCase{"2 2 A A K K", KindNone, nullptr},
                KindCase{"sj sj 2 2 A A", KindNone, nullptr},
                KindCase{"10 10 9 9 7 7", KindNone, nullptr},
                KindCase{"8 8 8 8 7 7", KindNone, nullptr},
                KindCase{"7 7 6 6 5 5 4 4 3 3", KindPairChain, "7 7 6 6 5 5 4 4 3 3"},
                KindCase{"3 3 4 4 5 5 6 6 7 7 8 8", KindPairChain, "8 8 7 7 6 6 5 5 4 4 3 3"},
                KindCase{"3 3 4 4 5 5 6 6 7 7 8 8 9 9 10 10 J J Q Q K K A A", KindPairChain,
                         "A A K K Q Q J J 10 10 9 9 8 8 7 7 6 6 5 5 4 4 3 3"},
                KindCase{"2 2 3 3 4 4 5 5 6 6 7 7 8 8 9 9 10 10 J J Q Q K K", KindPairChain,
                         "K K Q Q J J 10 10 9 9 8 8 7 7 6 6 5 5 4 4 3 3 2 2"},
                KindCase{"3 3 4 4 5 5 6 6 7 7 8 8 9", KindNone, nullptr}));

INSTANTIATE_TEST_SUITE_P(
        TripleChains, Kinds,
        ::testing::Values(KindCase{"2 2 2 A A A", KindTripleChain, "2 2 2 A A A"},
                          KindCase{"2 2 2 3 3 3", KindTripleChain, "3 3 3 2 2 2"},
                          KindCase{"2 2 2 A A A 3 3 3", KindTripleChain, "3 3 3 2 2 2 A A A"},
                          KindCase{"2 2 2 A A A K K K", KindNone, nullptr},
                          KindCase{"Q Q Q K K K A A A 2 2 2", KindNone, nullptr},
                          KindCase{"A A A K K K", KindTripleChain, "A A A K K K"},
                          KindCase{"7 7 7 7 6 6 6 5 5", KindNone, nullptr},
                          KindCase{"3 3 3 4 4 4 5 5 5 6 6 6", KindTripleChain,
                                   "6 6 6 5 5 5 4 4 4 3 3 3"},
                          KindCase{"3 3 3 4 4 4 5 5 5 6 6 6 7 7 7 8 8 8 9 9 9 10 10 10 J J J Q Q Q "
                                   "K K K",
                                   KindTripleChain,
                                   "K K K Q Q Q J J J 10 10 10 9 9 9 8 8 8 7 7 7 6 6 6 5 5 5 4 4 4 "
                                   "3 3 3"}));

INSTANTIATE_TEST_SUITE_P(
        Planes, Kinds,
        ::testing::Values(
                KindCase{"5 5 5 4 4 4 9 9 8 8", KindPlaneWithPairs, "5 5 5 4 4 4 9 9 8 8"},
                KindCase{"3 3 4 4 4 BJ 5 5 BJ 5", KindPlaneWithPairs, "5 5 5 4 4 4 BJ BJ 3 3"},
                KindCase{"5 5 5 4 4 4 BJ BJ sj sj", KindNone, nullptr},
                KindCase{"5 5 5 4 4 4 2 2 A A", KindPlaneWithPairs, "5 5 5 4 4 4 2 2 A A"},
                KindCase{"2 2 2 A A A 9 9 8 8", KindPlaneWithPairs, "2 2 2 A A A 9 9 8 8"},
                KindCase{"2 2 2 3 3 3 9 9 8 8", KindPlaneWithPairs, "3 3 3 2 2 2 9 9 8 8"},
                KindCase{"3 3 3 2 2 2 A A A 9 9 8 8 7 7", KindPlaneWithPairs,
                         "3 3 3 2 2 2 A A A 9 9 8 8 7 7"},
                KindCase{"5 5 5 3 3 3 9 9 8 8", KindNone, nullptr},
                KindCase{"5 5 5 4 4 4 9 9 8 8 3 6 7 10 J", KindNone, nullptr},
                KindCase{"9 9 9 9 5 5 4 4 3 3", KindNone, nullptr},
                KindCase{"5 5 5 4 4 4 9 9 9 9", KindNone, nullptr},
                KindCase{"3 3 3 4 4 4 5 5 5 6 6 6 7 7 7 8 8 8 9 9 10 10 J J Q Q K K A A",
                         KindPlaneWithPairs,
                         "8 8 8 7 7 7 6 6 6 5 5 5 4 4 4 3 3 3 A A K K Q Q J J 10 10 9 9"},
                KindCase{"3 3 3 4 4 4 5 5 5 6 6 6 9 9 10 10 J J Q Q", KindPlaneWithPairs,
                         "6 6 6 5 5 5 4 4 4 3 3 3 Q Q J J 10 10 9 9"}));

INSTANTIATE_TEST_SUITE_P(Counts, Kinds,
                         ::testing::Values(KindCase{"3 3 4 4 5 5 6 6 7 7 8", KindNone, nullptr},
                                           KindCase{"", KindNone, nullptr}));

TEST(JudgeKind, RecordsTheKindOfEveryCallButCardsOnlyOfALegalPlay)
{
    JudgeResultTable result{};
    result.fill(-7);
    CardArray legal = cardArray("9 9");
    EXPECT_EQ(JudgeKind(KindNone, 2, legal, result), KindPair);
    EXPECT_EQ(result[kJudgeResultCards], legal[0]);
    EXPECT_EQ(result[kJudgeResultCards + 1], legal[1]);
    EXPECT_EQ(result[kJudgeResultCards + 2], -7);

    CardArray illegal = cardArray("9 8 8");
    const CardArray before = illegal;
    EXPECT_EQ(JudgeKind(KindPair, 3, illegal, result), KindNone);
    EXPECT_EQ(result[0], KindNone);
    EXPECT_EQ(result[kJudgeResultCards], legal[0]); // the older play stays
    EXPECT_EQ(illegal, before); // a failed test leaves the cards alone
}

TEST(JudgeKind, RefusesCardsOfImpossibleFacesAndCounts)
{
    JudgeResultTable result{};
    CardArray play{makeCard(2, 1, 1), makeCard(2, 2, 2)}; // "face 2" is no face
    EXPECT_EQ(JudgeKind(KindNone, 2, play, result), KindNone);
    CardArray chain{makeCard(5, 1), makeCard(5, 2), makeCard(4, 1),
                    makeCard(4, 2), makeCard(0, 1), makeCard(0, 2)};
    EXPECT_EQ(JudgeKind(KindNone, 6, chain, result), KindNone);
    CardArray any = cardArray("3");
    EXPECT_EQ(JudgeKind(KindNone, 34, any, result), KindNone);
    EXPECT_EQ(JudgeKind(KindNone, -1, any, result), KindNone);
}

TEST(HasFourJokers, NeedsBothSmallAndBothBigJokers)
{
    EXPECT_TRUE(HasFourJokers(test::hand("3 sj 5 BJ sj BJ")));
    EXPECT_FALSE(HasFourJokers(test::hand("3 sj 5 BJ BJ")));
    EXPECT_FALSE(HasFourJokers(test::hand("3 4 5 2 2")));
    EXPECT_FALSE(HasFourJokers(test::hand("")));
}

} // namespace
} // namespace tessaroc::rules
