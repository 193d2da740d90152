#include "CardsForTest.h"

#include "rules/SortByGroup.h"

#include <gtest/gtest.h>

#include <ostream>

namespace tessaroc::rules {
namespace {

using test::cardArray;
using test::cards;
using test::faces;

struct SortCase
{
    const char *raised;
    const char *grouped;
};

void PrintTo(const SortCase &c, std::ostream *os)
{
    *os << '"' << c.raised << '"';
}

class GroupOrder : public ::testing::TestWithParam<SortCase>
{
};

TEST_P(GroupOrder, LargerGroupsFirstThenHigherFaces)
{
    const std::vector<CardCode> play = cards(GetParam().raised);
    CardArray sorted = cardArray(play);
    SortByGroup(sorted, static_cast<int>(play.size()));
    EXPECT_EQ(faces(sorted, static_cast<int>(play.size())), GetParam().grouped);
}

INSTANTIATE_TEST_SUITE_P(Plays, GroupOrder,
                         ::testing::Values(SortCase{"3 3 8 8 8", "8 8 8 3 3"},
                                           SortCase{"8 8 8 9 9", "8 8 8 9 9"},
                                           SortCase{"7 7 7 5 5 5 6 6 6", "7 7 7 6 6 6 5 5 5"},
                                           SortCase{"5 5 5 4 4 4 9 9 9 9", "9 9 9 9 5 5 5 4 4 4"},
                                           SortCase{"sj BJ BJ", "BJ BJ sj"},
                                           SortCase{"BJ sj 2", "BJ sj 2"},
                                           SortCase{"3 A 2 A 3 2", "2 2 A A 3 3"},
                                           SortCase{"3 4 5 6 7 8 9 10 J Q K A 2 sj BJ",
                                                    "BJ sj 2 A K Q J 10 9 8 7 6 5 4 3"},
                                           SortCase{"7", "7"}));

TEST(SortByGroup, KeepsTheOrderOfCardsOfOneFace)
{
    CardArray play{makeCard(9, 4, 1), makeCard(3, 1, 2), makeCard(9, 1, 3)};
    SortByGroup(play, 3);
    EXPECT_EQ(play[0], makeCard(9, 4, 1));
    EXPECT_EQ(play[1], makeCard(9, 1, 3));
    EXPECT_EQ(play[2], makeCard(3, 1, 2));
}

TEST(SortByGroup, LeavesEntriesFromTheCountOnAlone)
{
    const CardArray before = cardArray("3 5 5 K 9 9 9");
    for (int n : {0, 1, 3}) {
        CardArray play = before;
        SortByGroup(play, n);
        for (int i = n; i < kMaxHandCards; ++i)
            EXPECT_EQ(play[i], before[i]) << "n " << n << " entry " << i;
        if (n < 2) {
            EXPECT_EQ(play, before);
        }
    }
}

TEST(SortByGroup, KeepsCardsWithImpossibleFacesBehindTheGroups)
{
    CardArray play{makeCard(0, 1, 1), makeCard(5, 1, 2), makeCard(200, 1, 3), makeCard(5, 2, 4)};
    SortByGroup(play, 4);
    EXPECT_EQ(faces(play, 4), "5 5 ?0 ?200");
    CardArray clamped = cardArray("3 4 5");
    SortByGroup(clamped, 1000); // a count from a frame: clamped to the table
    EXPECT_EQ(faces(clamped, 3), "5 4 3");
}

TEST(SortPrevPlayByGroup, SortsThePlayToBeat)
{
    PrevPlay prev;
    prev.set(KindPairChain, 6, cards("3 3 A A 2 2"));
    SortPrevPlayByGroup(prev);
    EXPECT_EQ(faces(prev.cards, prev.count), "2 2 A A 3 3");

    PrevPlay empty;
    empty.cards = cardArray("3 K");
    SortPrevPlayByGroup(empty);
    EXPECT_EQ(faces(empty.cards, 2), "3 K");
}

TEST(PrevPlay, ClampsAnAnnouncedCount)
{
    const std::vector<CardCode> many(40, makeCard(9, 1, 7));
    PrevPlay prev;
    prev.set(200, 255, many);
    EXPECT_EQ(prev.count, kMaxHandCards);
    EXPECT_EQ(prev.kind, 200);
    prev.set(KindPair, 5, cards("8 8"));
    EXPECT_EQ(prev.count, 2); // no more cards than were given
    prev.set(KindPair, -3, cards("8 8"));
    EXPECT_EQ(prev.count, 0);
}

} // namespace
} // namespace tessaroc::rules
