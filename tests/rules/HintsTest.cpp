#include "CardsForTest.h"

#include "rules/CardRulesState.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace tessaroc::rules {
namespace {

using Rows = std::vector<std::string>;

// Rows 1 to HintCount as "kind: faces".
Rows listed(const CardRulesState &state)
{
    Rows rows;
    for (int r = 1; r <= state.HintCount; ++r) {
        const HintRow &row = state.HintCandidates[r];
        rows.push_back(std::to_string(row.kind) + ": " + test::faces(row.cards, row.count));
    }
    return rows;
}

// Every row is made of distinct cards of the own hand, so the hint button can
// raise it.
void expectRowsFromHand(const CardRulesState &state)
{
    const HandRecord &own = state.ownHand();
    for (int r = 1; r <= state.HintCount; ++r) {
        const HintRow &row = state.HintCandidates[r];
        std::vector<bool> used(kMaxHandCards, false);
        for (int j = 0; j < row.count; ++j) {
            int slot = 0;
            while (slot < own.cardCount && (used[slot] || own.slots[slot].code != row.cards[j]))
                ++slot;
            ASSERT_LT(slot, own.cardCount) << "row " << r << " card " << j << " is not in the hand";
            used[slot] = true;
        }
    }
}

class Hints : public ::testing::Test
{
protected:
    void deal(const char *text) { state.HandRecords[0] = test::hand(text); }
    Rows lead()
    {
        PromptLead(state);
        expectRowsFromHand(state);
        return listed(state);
    }
    Rows against(PlayKind kind, const char *play)
    {
        state.HintCount = 0;
        const std::vector<CardCode> cards = test::cards(play, 100);
        PromptBeat(state, kind, static_cast<int>(cards.size()), test::cardArray(cards));
        expectRowsFromHand(state);
        return listed(state);
    }

    CardRulesState state;
};

TEST_F(Hints, LeadListsSinglesThenPairsThenTriples)
{
    deal("9 5 5 5 3 3");
    EXPECT_EQ(lead(), (Rows{"1: 9", "2: 3 3", "3: 5 5 5"}));
}

TEST_F(Hints, LeadNeverSplitsABomb)
{
    deal("7 7 7 7");
    EXPECT_EQ(lead(), (Rows{"9: 7 7 7 7"}));
    deal("2 2 2 2 2 2 2 2");
    EXPECT_EQ(lead(), (Rows{"13: 2 2 2 2 2 2 2 2"}));
}

TEST_F(Hints, LeadOffersTheFourJokersLast)
{
    deal("BJ BJ sj sj 3");
    EXPECT_EQ(lead(), (Rows{"1: 3", "2: sj sj", "2: BJ BJ", "14: sj sj BJ BJ"}));
    deal("BJ BJ sj");
    EXPECT_EQ(lead(), (Rows{"1: sj", "2: BJ BJ"}));
}

TEST_F(Hints, LeadStopsAfterTriplesWhileTheLeadStateIsSet)
{
    deal("BJ BJ sj sj 9 9 9 9 4");
    state.PromptLeadState = true;
    EXPECT_EQ(lead(), (Rows{"1: 4", "2: sj sj", "2: BJ BJ"}));
}

TEST_F(Hints, ListingLeavesOlderRowsBehindTheCount)
{
    deal("3 4 5 6 7 8 9 10 J Q");
    EXPECT_EQ(lead().size(), 10u);
    deal("K 6 6 9 9 9");
    EXPECT_EQ(lead(), (Rows{"1: K", "2: 6 6", "3: 9 9 9"}));
    EXPECT_EQ(test::faces(state.HintCandidates[4].cards, state.HintCandidates[4].count), "6");
    deal("");
    EXPECT_TRUE(lead().empty());
}

TEST_F(Hints, SinglesFromExactGroupsBeforeSplitOnes)
{
    deal("BJ BJ Q Q J 5 5 5 5");
    EXPECT_EQ(against(KindSingle, "10"), (Rows{"1: J", "1: Q", "1: BJ", "9: 5 5 5 5"}));
}

TEST_F(Hints, PairsAboveAces)
{
    deal("BJ BJ sj sj 2 2 2 K K 6 6 6 6");
    EXPECT_EQ(against(KindPair, "A A"),
              (Rows{"2: sj sj", "2: BJ BJ", "2: 2 2", "9: 6 6 6 6", "14: sj sj BJ BJ"}));
}

TEST_F(Hints, TriplesAboveKings)
{
    deal("2 2 2 2 A A A");
    EXPECT_EQ(against(KindTriple, "K K K"), (Rows{"3: A A A", "3: 2 2 2", "9: 2 2 2 2"}));
}

TEST_F(Hints, PairChainsAboveAChainEndingInAces)
{
    deal("5 5 4 4 3 3 2 2");
    EXPECT_EQ(against(KindPairChain, "4 4 3 3 2 2 A A"), (Rows{"4: 5 5 4 4 3 3 2 2"}));
    // The same chain played by another seat arrives in group order.
    EXPECT_EQ(against(KindPairChain, "2 2 A A 4 4 3 3"), (Rows{"4: 5 5 4 4 3 3 2 2"}));
}

TEST_F(Hints, PairChainsAboveALowChainInGroupOrder)
{
    // Read from its last card (a three) this chain would seem to start at
    // the three, and the hand would get no hint at all.
    deal("5 5 4 4 3 3 2 2");
    EXPECT_EQ(against(KindPairChain, "2 2 A A 3 3"), (Rows{"4: 4 4 3 3 2 2", "4: 5 5 4 4 3 3"}));
    deal("4 4 4 3 3 3 9");
    EXPECT_EQ(against(KindTripleChain, "2 2 2 3 3 3"), (Rows{"5: 4 4 4 3 3 3"}));
    deal("3 3 3 2 2 2 9");
    EXPECT_EQ(against(KindTripleChain, "2 2 2 A A A"), (Rows{"5: 3 3 3 2 2 2"}));
}

TEST_F(Hints, PairChainWindowsOverlap)
{
    deal("A A K K Q Q J J");
    EXPECT_EQ(against(KindPairChain, "Q Q J J 10 10"), (Rows{"4: K K Q Q J J", "4: A A K K Q Q"}));
    deal("2 2 A A K K");
    EXPECT_TRUE(against(KindPairChain, "Q Q J J 10 10").empty()); // A and 2 never follow the K
}

TEST_F(Hints, TripleWithTheLowestPair)
{
    deal("K K K 10 10 10 3 3");
    EXPECT_EQ(against(KindTripleWithPair, "9 9 9 4 4"), (Rows{"6: 10 10 10 3 3", "6: K K K 3 3"}));
    deal("K K K 5");
    EXPECT_TRUE(against(KindTripleWithPair, "9 9 9 4 4").empty());
    deal("BJ BJ 2 2 2");
    EXPECT_EQ(against(KindTripleWithPair, "9 9 9 4 4"), (Rows{"6: 2 2 2 BJ BJ"}));
}

TEST_F(Hints, BombsAgainstBombs)
{
    deal("J J J J J J 4 4 4 4 4 4 4 A A A A A");
    EXPECT_EQ(against(KindBomb6, "9 9 9 9 9 9"), (Rows{"11: J J J J J J", "12: 4 4 4 4 4 4 4"}));
    deal("3 3 3 3 3 3 3 3 K K K K K K K K");
    EXPECT_EQ(against(KindBomb8, "10 10 10 10 10 10 10 10"), (Rows{"13: K K K K K K K K"}));
}

TEST_F(Hints, NothingAnswersTheFourJokers)
{
    deal("9 9 9 9 3");
    state.HintCount = 7;
    PromptBeat(state, KindFourJokers, 4, test::cardArray("BJ BJ sj sj", 100));
    EXPECT_EQ(state.HintCount, 0);
}

TEST_F(Hints, FourJokersAnswerAnyPlayLast)
{
    deal("BJ BJ sj sj 9 9 9 9");
    EXPECT_EQ(against(KindBomb8, "10 10 10 10 10 10 10 10"), (Rows{"14: sj sj BJ BJ"}));
    EXPECT_EQ(against(toPlayKind(99), "3"), (Rows{"14: sj sj BJ BJ"}));
}

TEST_F(Hints, PlanesWithFreePairs)
{
    deal("8 8 8 7 7 7 6 6 6 3 3");
    EXPECT_EQ(against(KindPlaneWithPairs, "5 5 5 4 4 4 7 7 6 6"),
              (Rows{"7: 7 7 7 6 6 6 8 8 3 3", "7: 8 8 8 7 7 7 6 6 3 3"}));
    // Without pairs outside the window no plane is offered.
    deal("8 8 8 7 7 7 6 6 6");
    EXPECT_TRUE(against(KindPlaneWithPairs, "5 5 5 4 4 4 7 7 6 6").empty());
}

TEST_F(Hints, APlaneMayTakeBothJokerPairsThoughThatIsNoPlane)
{
    // The free pairs are the lowest the hand holds, jokers included; when they
    // are the small and the big jokers the row holds the four jokers, which the
    // judge refuses as a plane. The row stays: the hint only proposes.
    deal("BJ BJ sj sj 6 6 6 5 5 5");
    EXPECT_EQ(against(KindPlaneWithPairs, "4 4 4 3 3 3 9 9 8 8"),
              (Rows{"7: 6 6 6 5 5 5 BJ BJ sj sj", "14: sj sj BJ BJ"}));
}

TEST_F(Hints, PlanesAboveALowPlane)
{
    deal("3 3 3 2 2 2 5 5 4 4");
    EXPECT_EQ(against(KindPlaneWithPairs, "2 2 2 A A A 9 9 8 8"), (Rows{"7: 3 3 3 2 2 2 5 5 4 4"}));
    deal("4 4 4 3 3 3 2 2 2 K K Q Q J J");
    EXPECT_EQ(against(KindPlaneWithPairs, "2 2 2 A A A 3 3 3 9 9 8 8 7 7"),
              (Rows{"7: 4 4 4 3 3 3 2 2 2 K K Q Q J J"}));
    // The twos of the window are no free pair: the big jokers are taken instead.
    deal("BJ BJ 2 2 2 2 3 3 3 9 9");
    EXPECT_EQ(against(KindPlaneWithPairs, "2 2 2 A A A 8 8 7 7"),
              (Rows{"7: 3 3 3 2 2 2 BJ BJ 9 9", "9: 2 2 2 2"}));
}

TEST_F(Hints, PlanesWithARunOfPairs)
{
    deal("8 8 8 7 7 7 J J 10 10");
    EXPECT_EQ(against(KindPlaneWithPairsAlt, "6 6 6 5 5 5 4 4 3 3"),
              (Rows{"8: 8 8 8 7 7 7 J J 10 10"}));
    deal("8 8 8 7 7 7 Q Q 10 10");
    EXPECT_TRUE(against(KindPlaneWithPairsAlt, "6 6 6 5 5 5 4 4 3 3").empty());
    // The windows start above the lowest triple to beat.
    deal("7 7 7 6 6 6 5 5 5 J J 10 10");
    EXPECT_EQ(against(KindPlaneWithPairsAlt, "6 6 6 5 5 5 4 4 3 3"),
              (Rows{"8: 7 7 7 6 6 6 J J 10 10"}));
    // A face held four times breaks the run of pairs.
    deal("8 8 8 7 7 7 J J 10 10 10 10");
    EXPECT_EQ(against(KindPlaneWithPairsAlt, "6 6 6 5 5 5 4 4 3 3"), (Rows{"9: 10 10 10 10"}));
    // After a window without its pairs the run of triples grows past the
    // plane, so the window one higher (which would find 7 7 6 6) is not tried.
    deal("9 9 9 8 8 8 7 7 7 6 6");
    EXPECT_TRUE(against(KindPlaneWithPairsAlt, "7 7 7 6 6 6 4 4 3 3").empty());
    // Triples reaching below the three: the faces there hold no cards.
    deal("9 9 9 8 8 8 7 7 7 6 6 6 5 5 5 4 4 4 3 3 3");
    EXPECT_TRUE(against(KindPlaneWithPairsAlt,
                        "4 4 4 3 3 3 2 2 2 A A A K K K Q Q Q 5 5 6 6 7 7 8 8 9 9 10 10")
                        .empty());
}

TEST_F(Hints, RowsHoldTheLongestCandidatesWhole)
{
    deal("A A A K K K Q Q Q J J J 10 10 10 9 9 9 8 8 8 7 7 7 6 6 6 5 5 5 4 4 4");
    const Rows chain = against(KindTripleChain,
                               "K K K Q Q Q J J J 10 10 10 9 9 9 8 8 8 7 7 7 6 6 6 "
                               "5 5 5 4 4 4 3 3 3");
    ASSERT_EQ(chain.size(), 1u);
    EXPECT_EQ(state.HintCandidates[1].count, 33);
    EXPECT_EQ(chain[0], "5: A A A K K K Q Q Q J J J 10 10 10 9 9 9 8 8 8 7 7 7 6 6 6 5 5 5 4 4 4");

    deal("9 9 9 8 8 8 7 7 7 6 6 6 5 5 5 4 4 4 2 2 A A K K Q Q J J 10 10");
    const Rows plane = against(KindPlaneWithPairs,
                               "8 8 8 7 7 7 6 6 6 5 5 5 4 4 4 3 3 3 A A K K Q Q "
                               "J J 10 10 9 9");
    ASSERT_EQ(plane.size(), 1u);
    EXPECT_EQ(plane[0], "7: 9 9 9 8 8 8 7 7 7 6 6 6 5 5 5 4 4 4 2 2 A A K K Q Q J J 10 10");
}

TEST_F(Hints, AFullTableEndsTheListingWithoutCountingAnUnwrittenRow)
{
    deal("4 5 6 7 8");
    state.HintCount = 27; // rows listed earlier in the turn
    state.HintCandidates[kMaxHintRows].count = 0;
    PromptBeat(state, KindSingle, 1, test::cardArray("3"));
    // The listing ends when its count would reach the last row of the table:
    // rows 28 and 29 take the 4 and the 5, the other singles are dropped and
    // the last row is neither written nor counted.
    EXPECT_EQ(state.HintCount, kMaxHintRows - 1);
    EXPECT_EQ(test::faces(state.HintCandidates[28].cards, state.HintCandidates[28].count), "4");
    EXPECT_EQ(test::faces(state.HintCandidates[29].cards, state.HintCandidates[29].count), "5");
    EXPECT_EQ(state.HintCandidates[kMaxHintRows].count, 0);

    for (const std::int16_t corrupt : {std::int16_t{500}, std::int16_t{-5}}) {
        state.HintCount = corrupt;
        PromptBeat(state, KindSingle, 1, test::cardArray("3"));
        EXPECT_GE(state.HintCount, 0);
        EXPECT_LE(state.HintCount, kMaxHintsListed);
    }
}

TEST_F(Hints, CardsOfAFaceNeedNotSitSideBySide)
{
    // The play flow keeps faces together; a hand that is not still gives
    // rows of the right cards.
    deal("9 3 9 5 9");
    EXPECT_EQ(against(KindTriple, "8 8 8"), (Rows{"3: 9 9 9"}));
}

} // namespace
} // namespace tessaroc::rules
