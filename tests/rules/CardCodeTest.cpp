#include "CardsForTest.h"

#include "rules/CardRulesState.h"

#include <gtest/gtest.h>

namespace tessaroc::rules {
namespace {

using test::hand;

TEST(CardCode, FieldsAreReadFromTheirBits)
{
    const CardCode aceOfHearts = 37 * 16777216 + 14 * 256 + 2;
    EXPECT_EQ(makeCard(kFaceAce, 2, 37), aceOfHearts);
    EXPECT_EQ(cardFace(aceOfHearts), kFaceAce);
    EXPECT_EQ(cardSuitBits(aceOfHearts), 2);
    EXPECT_EQ(cardId(aceOfHearts), 37);
    EXPECT_EQ(faceAndSuit(aceOfHearts), 14 * 256 + 2);

    // A hostile code from a frame still reads as fields in range.
    const CardCode hostile = -1;
    EXPECT_EQ(cardFace(hostile), 255);
    EXPECT_EQ(cardSuitBits(hostile), 15);
    EXPECT_EQ(cardId(hostile), 255);
    EXPECT_FALSE(isValidFace(cardFace(hostile)));
}

TEST(CardText, FacesWithTheirSuits)
{
    const std::vector<CardCode> hand{makeCard(3, 1),
                                     makeCard(3, 2),
                                     makeCard(kFaceKing, 8),
                                     makeCard(10, 4),
                                     makeCard(kFaceBigJoker, 1),
                                     makeCard(kFaceSmallJoker, 1)};
    EXPECT_EQ(cardsText(hand), "3♦ 3♣ K♠ 10♥ BJ sj");
    EXPECT_EQ(describeCards(hand), "3 3 K 10 BJ sj");
    // What only a faulty frame can bring still reads.
    EXPECT_EQ(cardText(makeCard(9, 3)), "9?");
    EXPECT_EQ(cardText(makeCard(20, 1)), "?20♦");
}

class HandsReset : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (int p = 0; p < 4; ++p) {
            HandRecord &record = state.HandRecords[p];
            record = hand("3 4 5 6 7 8 9 10 J Q");
            record.name = "seat" + std::to_string(p);
            record.seatBit = static_cast<std::uint8_t>(1 << p);
            record.rowX = static_cast<std::int16_t>(100 + p);
            record.rowY = static_cast<std::int16_t>(200 + p);
            state.ResultScore[p] = 12.5 * (p + 1);
        }
        state.UserInfoCount = 4;
        state.InGame = true;
    }

    CardRulesState state;
};

TEST_F(HandsReset, EmptiesTheHandsAndKeepsTheSeats)
{
    // Names, seat bits, row origins and slot codes stay; the first six slots
    // lose their picture.
    CardRulesState expected = state;
    for (HandRecord &record : expected.HandRecords) {
        record.cardCount = 0;
        for (int i = 0; i < 6; ++i)
            record.slots[i].picIndex = -1;
    }
    expected.ResultScore = {};
    expected.UserInfoCount = 0;
    expected.InGame = false;

    ClearHands(state);
    EXPECT_EQ(state, expected);
}

TEST_F(HandsReset, ShortResetLeavesTheSameState)
{
    CardRulesState shortReset = state;
    ClearHands(state);
    ClearHandsShort(shortReset);
    EXPECT_EQ(shortReset, state);
}

TEST_F(HandsReset, NoPictureBelongsAfterTheReset)
{
    ClearHands(state);
    for (int index = -1; index <= kMaxHandCards; ++index)
        EXPECT_FALSE(Belong(state, index)) << index;
}

TEST(Belong, OnlyValidSlotsCount)
{
    CardRulesState state;
    state.HandRecords[0] = hand("3 4 5 6 7");
    state.HandRecords[0].slots[5] = {makeCard(9, 1, 50), 20}; // just past the count
    for (int index = 0; index < 5; ++index)
        EXPECT_TRUE(Belong(state, index)) << index;
    EXPECT_FALSE(Belong(state, 20));
    EXPECT_FALSE(Belong(state, 5));
    EXPECT_FALSE(Belong(state, -1));

    // A count a faulty caller left out of range never reads past the slots.
    state.HandRecords[0].cardCount = 200;
    EXPECT_TRUE(Belong(state, 20));
    EXPECT_FALSE(Belong(state, 999));
}

} // namespace
} // namespace tessaroc::rules
