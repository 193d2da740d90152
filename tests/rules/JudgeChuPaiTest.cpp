#include "CardsForTest.h"

#include "rules/JudgeChuPai.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

namespace tessaroc::rules {
namespace {

using test::cards;
using test::faces;

constexpr std::uint8_t kOwnSeat = 4;

class OwnPlay : public ::testing::Test
{
protected:
    void deal(const char *text) { state.HandRecords[0] = test::hand(text, kOwnSeat); }
    void beat(PlayKind kind, const char *text)
    {
        const std::vector<CardCode> play = cards(text, 100);
        state.prevPlay.set(kind, static_cast<int>(play.size()), play);
    }
    OwnPlayInput raise(std::initializer_list<int> slots, bool maySend = true)
    {
        OwnPlayInput input;
        for (const int slot : slots)
            input.raised[slot] = true;
        input.maySendPlay = maySend;
        return input;
    }
    // The ids the play frame carries, in judged order.
    static std::vector<int> judgedIds(const OwnPlayDecision &d)
    {
        const auto ids = d.judgedIds();
        return {ids.begin(), ids.begin() + d.count};
    }

    CardRulesState state;
};

TEST_F(OwnPlay, TripleWithPairGoesOutTripleFirst)
{
    deal("3 3 8 8 8 K");
    beat(KindTripleWithPair, "7 7 7 4 4");
    const OwnPlayDecision d = JudgeChuPai(state, raise({0, 1, 2, 3, 4}));
    EXPECT_EQ(d.outcome, OwnPlayOutcome::Sent);
    EXPECT_TRUE(d.sendFrame);
    EXPECT_EQ(judgedIds(d), (std::vector<int>{2, 3, 4, 0, 1}));
    EXPECT_EQ(d.kind, KindTripleWithPair);
    ASSERT_EQ(d.count, 5);
    const std::int16_t pictures[] = {2, 3, 4, 0, 1};
    for (int j = 0; j < 5; ++j) {
        EXPECT_EQ(d.realOrder[j].picIndex, pictures[j]) << j;
        EXPECT_EQ(d.realOrder[j].slot, pictures[j]) << j;
    }
}

TEST_F(OwnPlay, LowChainLeadsWithTwosAndAcesLast)
{
    deal("2 2 A A 3 3 5");
    const OwnPlayDecision d = JudgeChuPai(state, raise({0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(d.outcome, OwnPlayOutcome::Sent);
    EXPECT_EQ(d.kind, KindPairChain);
    EXPECT_EQ(judgedIds(d), (std::vector<int>{4, 5, 0, 1, 2, 3}));
    EXPECT_EQ(faces(d.newPrevPlay.cards, d.newPrevPlay.count), "3 3 2 2 A A");
}

TEST_F(OwnPlay, NothingRaisedWhileLeadingDoesNothing)
{
    deal("3 4 5");
    const OwnPlayDecision d = JudgeChuPai(state, raise({}));
    EXPECT_EQ(d.outcome, OwnPlayOutcome::Nothing);
    EXPECT_FALSE(d.sendFrame);
}

TEST_F(OwnPlay, NothingRaisedWhileFollowingPasses)
{
    deal("3 4 5");
    beat(KindSingle, "K");
    for (const bool maySend : {true, false}) {
        const OwnPlayDecision d = JudgeChuPai(state, raise({}, maySend));
        EXPECT_EQ(d.outcome, OwnPlayOutcome::Pass);
        EXPECT_EQ(d.sendFrame, maySend);
        EXPECT_EQ(d.count, 0);

        // A pass leaves the turn flag to the next played command.
        CardRulesState after = state;
        bool maySendPlay = maySend;
        ApplyOwnPlay(after, maySendPlay, d);
        EXPECT_EQ(maySendPlay, maySend);
        EXPECT_EQ(after, state);
    }
}

TEST_F(OwnPlay, RefusedPlaysChangeNothingButTheJudgeResult)
{
    deal("3 4 5 9 9 K");
    beat(KindPair, "10 10");
    struct Case
    {
        std::initializer_list<int> slots;
        OwnPlayOutcome outcome;
    };
    const Case cases[] = {
            {{0, 1}, OwnPlayOutcome::IllegalKind}, // 3 4
            {{0, 1, 2}, OwnPlayOutcome::IllegalKind}, // 3 4 5: no chain of singles
            {{3, 4}, OwnPlayOutcome::DoesNotBeat}, // 9 9 under 10 10
            {{5}, OwnPlayOutcome::DoesNotBeat}, // a single against a pair
    };
    for (const Case &c : cases) {
        CardRulesState after = state;
        const OwnPlayDecision d = JudgeChuPai(after, raise(c.slots));
        EXPECT_EQ(d.outcome, c.outcome);
        EXPECT_FALSE(d.sendFrame);
        bool maySendPlay = true;
        ApplyOwnPlay(after, maySendPlay, d);
        EXPECT_TRUE(maySendPlay);
        EXPECT_EQ(after.JudgeResult[0],
                  c.outcome == OwnPlayOutcome::IllegalKind ? KindNone : d.kind);
        // Nothing else moves: the hand, the play to beat, the hints.
        CardRulesState expected = state;
        expected.JudgeResult = after.JudgeResult;
        EXPECT_EQ(after, expected);
    }
}

TEST_F(OwnPlay, AcceptedButNotSendableKeepsTheCards)
{
    deal("3 4 5 Q Q K");
    beat(KindPair, "10 10");
    const OwnPlayDecision d = JudgeChuPai(state, raise({3, 4}, false));
    EXPECT_EQ(d.outcome, OwnPlayOutcome::AcceptedNotSent);
    EXPECT_FALSE(d.sendFrame);
    CardRulesState after = state;
    bool maySendPlay = false;
    ApplyOwnPlay(after, maySendPlay, d);
    EXPECT_EQ(after.JudgeResult[0], KindPair);
    CardRulesState expected = state;
    expected.JudgeResult = after.JudgeResult;
    EXPECT_EQ(after, expected);
}

TEST_F(OwnPlay, SentPlayBecomesThePlayToBeatAndLeavesTheHand)
{
    deal("3 4 Q 5 Q K");
    beat(KindPair, "10 10");
    const HandRecord dealt = state.ownHand();
    const OwnPlayDecision d = JudgeChuPai(state, raise({2, 4}));
    ASSERT_EQ(d.outcome, OwnPlayOutcome::Sent);
    EXPECT_FALSE(d.emptiesHand);
    bool maySendPlay = true;
    ApplyOwnPlay(state, maySendPlay, d);
    EXPECT_FALSE(maySendPlay);
    // The play to beat holds the codes without their card ids.
    PrevPlay expectedPlay;
    expectedPlay.set(KindPair, 2,
                     std::vector<CardCode>{makeCard(kFaceQueen, 1), makeCard(kFaceQueen, 2)});
    EXPECT_EQ(state.prevPlay, expectedPlay);
    // The other cards keep their order and their pictures; the slots past the
    // new count keep what they held.
    HandRecord expectedHand = dealt;
    expectedHand.slots[2] = dealt.slots[3];
    expectedHand.slots[3] = dealt.slots[5];
    expectedHand.cardCount = 4;
    EXPECT_EQ(state.ownHand(), expectedHand);
    EXPECT_EQ(state.JudgeResult[0], KindPair);
    EXPECT_EQ(state.JudgeResult[kJudgeResultCards], d.realOrder[0].code);
}

TEST_F(OwnPlay, LastCardsGoOutQuietly)
{
    deal("9 9 9 9 9");
    const OwnPlayDecision d = JudgeChuPai(state, raise({0, 1, 2, 3, 4}));
    EXPECT_EQ(d.outcome, OwnPlayOutcome::Sent);
    EXPECT_EQ(d.kind, KindBomb5);
    EXPECT_TRUE(d.emptiesHand);
    bool maySendPlay = true;
    ApplyOwnPlay(state, maySendPlay, d);
    EXPECT_EQ(state.ownHand().cardCount, 0);
}

TEST_F(OwnPlay, EqualCodesStillNameTheirOwnPictures)
{
    // Two slots with the very same code (a faulty deal): each picture moves once.
    state.HandRecords[0]
            = test::hand(std::vector<CardCode>{makeCard(9, 1, 5), makeCard(9, 1, 5)}, kOwnSeat);
    const OwnPlayDecision d = JudgeChuPai(state, raise({0, 1}));
    ASSERT_EQ(d.outcome, OwnPlayOutcome::Sent);
    EXPECT_NE(d.realOrder[0].picIndex, d.realOrder[1].picIndex);
    bool maySendPlay = true;
    ApplyOwnPlay(state, maySendPlay, d);
    EXPECT_EQ(state.ownHand().cardCount, 0);
}

TEST_F(OwnPlay, AnOversizedPlayToBeatIsReadWithinTheTable)
{
    deal("3 3 3 3");
    state.prevPlay.kind = KindPairChain;
    state.prevPlay.count = 300; // written past the setter by a faulty caller
    const OwnPlayDecision d = JudgeChuPai(state, raise({0, 1, 2, 3}));
    EXPECT_EQ(d.outcome, OwnPlayOutcome::Sent); // a bomb beats a chain
}

} // namespace
} // namespace tessaroc::rules
