#include "PlayShowFixture.h"

#include "rules/CardCode.h"
#include "play/CardPictures.h"

#include <utility>

namespace tessaroc::play::test {
namespace {

using Card = std::pair<int, int>; // face, suit bit

// Puts the cards into the seat's slots 0.. with pictures 0.. and the ids
// 1.., so that no two codes are alike.
void deal(core::TableState &state, int pos, const std::vector<Card> &cards)
{
    rules::HandRecord &hand = state.rules.HandRecords[static_cast<std::size_t>(pos)];
    hand.setCardCount(static_cast<int>(cards.size()));
    for (std::size_t i = 0; i < cards.size(); ++i)
        hand.slots[i] = {rules::makeCard(cards[i].first, cards[i].second, static_cast<int>(i) + 1),
                         static_cast<std::int16_t>(i)};
}

std::vector<Card> cardsOf(const core::TableState &state, int pos)
{
    const rules::HandRecord &hand = state.rules.HandRecords[static_cast<std::size_t>(pos)];
    std::vector<Card> cards;
    for (int i = 0; i < hand.validCount(); ++i) {
        const rules::CardCode code = hand.slots[static_cast<std::size_t>(i)].code;
        cards.emplace_back(rules::cardFace(code), rules::cardSuitBits(code));
    }
    return cards;
}

std::vector<int> facesOf(const core::TableState &state)
{
    std::vector<int> faces;
    for (const Card &c : cardsOf(state, 0))
        faces.push_back(c.first);
    return faces;
}

std::vector<Card> plain(const std::vector<int> &faces, int suit = 1)
{
    std::vector<Card> cards;
    for (int f : faces)
        cards.emplace_back(f, suit);
    return cards;
}

// Every drawn own card shows the card of its slot on the hand line, each a
// step of 22 % of its width right of the one before.
void expectOwnRow(PlayTable &t, int n, bool reduced)
{
    const core::TableState &state = t.state();
    const rules::HandRecord &own = state.rules.ownHand();
    const double scaleX = state.table.scale.ScaleX;
    const double half = (0.11 * n + 0.39) * 90 * scaleX;
    const double x0 = own.rowX + (reduced ? 50 * scaleX : 0) - half;
    for (int i = 0; i < n; ++i) {
        const rules::HandSlot &slot = own.slots[static_cast<std::size_t>(i)];
        const forms::Image &card = t.form().hands.cardImage0(slot.picIndex);
        EXPECT_TRUE(card.Visible()) << i;
        EXPECT_EQ(card.Top(), state.table.HandLine) << i;
        EXPECT_NEAR(card.Left(), x0 + i * 0.22 * card.Width() * scaleX, 1e-3) << i;
        EXPECT_EQ(card.Picture(), cardPictureId(state, play::CardPictureNo(slot.code))) << i;
    }
}

TEST(SortHandByFace, HighFacesFirstThenHighSuits)
{
    PlayTable t;
    deal(t.state(), 0, {{3, 1}, {15, 2}, {3, 8}, {17, 1}, {10, 4}, {15, 1}});
    t.flow().SortHandByFace(0, 6);
    EXPECT_EQ(cardsOf(t.state(), 0),
              (std::vector<Card>{{17, 1}, {15, 2}, {15, 1}, {10, 4}, {3, 8}, {3, 1}}));
    expectOwnRow(t, 6, false);
}

struct GroupCase
{
    std::vector<Card> hand;
    std::vector<Card> sorted;
};

class SortHandByGroup : public ::testing::TestWithParam<GroupCase>
{ };

TEST_P(SortHandByGroup, LargestGroupsFirstJokersBeforeSingles)
{
    for (Screen screen : {Screen::Full, Screen::Reduced}) {
        PlayTable t(screen);
        const GroupCase &c = GetParam();
        deal(t.state(), 0, c.hand);
        const int n = static_cast<int>(c.hand.size());
        t.flow().SortHandByGroup(0, n);
        EXPECT_EQ(cardsOf(t.state(), 0), c.sorted);
        expectOwnRow(t, n, screen == Screen::Reduced);
    }
}

INSTANTIATE_TEST_SUITE_P(
        Hands, SortHandByGroup,
        ::testing::Values(
                GroupCase{plain({7, 7, 7, 9, 9, 12, 12, 17, 16, 4}),
                          plain({7, 7, 7, 12, 12, 9, 9, 17, 16, 4})},
                // No single cards: the jokers still come after the pairs.
                GroupCase{plain({8, 8, 17, 17, 5, 5}), plain({8, 8, 5, 5, 17, 17})},
                // Nothing but jokers keeps its order.
                GroupCase{plain({16, 17}), plain({16, 17})},
                // Eight of a face: one pass over neighbours moves each low
                // suit one place on, so a face's suits are only partly ordered.
                GroupCase{{{5, 1}, {9, 1}, {9, 8}, {9, 2}, {9, 4}, {9, 1}, {9, 8}, {9, 2}, {9, 4},
                           {14, 2}},
                          {{9, 8}, {9, 2}, {9, 4}, {9, 1}, {9, 8}, {9, 2}, {9, 4}, {9, 1}, {14, 2},
                           {5, 1}}},
                // One suit.
                GroupCase{plain({3, 4, 5, 6, 7, 15, 14}, 8), plain({15, 14, 7, 6, 5, 4, 3}, 8)}));

// Only a faulty frame brings a face outside 3..17 or a ninth card of a
// face: such cards go behind the others and nothing is read past a face's
// eight places; a card without a face shows no picture, and the table stays.
TEST(HandSortingFaults, BadFacesGoBehindAndStayHidden)
{
    PlayTable t;
    std::vector<Card> hand = {{0, 1}, {5, 1}, {200, 2}, {17, 1}};
    for (int i = 0; i < 9; ++i)
        hand.emplace_back(6, 1);
    deal(t.state(), 0, hand);
    t.flow().SortHandByGroup(0, 13);
    std::vector<Card> expected;
    for (int i = 0; i < 8; ++i)
        expected.emplace_back(6, 1);
    expected.insert(expected.end(), {{17, 1}, {5, 1}, {0, 1}, {200, 2}, {6, 1}});
    EXPECT_EQ(cardsOf(t.state(), 0), expected);
    const rules::HandRecord &own = t.state().rules.ownHand();
    for (int i : {10, 11})
        EXPECT_FALSE(t.form().hands.cardImage0(own.slots[static_cast<std::size_t>(i)].picIndex).Visible());
    EXPECT_TRUE(t.form().hands.cardImage0(own.slots[12].picIndex).Visible());

    t.flow().SortHandByFace(0, 13);
    const auto faces = facesOf(t.state());
    EXPECT_EQ(std::vector<int>(faces.end() - 2, faces.end()), (std::vector<int>{0, 200}));
    EXPECT_EQ(faces.front(), 17);
    for (int i : {11, 12})
        EXPECT_FALSE(t.form().hands.cardImage0(own.slots[static_cast<std::size_t>(i)].picIndex).Visible());
    EXPECT_FALSE(t.base.window->minimised);

    // Counts past the slots are held to them.
    t.flow().SortHandByFace(0, 500);
    t.flow().SortHandByGroup(0, -4);
    t.flow().SortHandByFace(9, 3);
}

TEST(HandSorting, ARaisedCardIsRaisedAgainAtItsNewPlace)
{
    for (bool byGroup : {false, true}) {
        PlayTable t;
        deal(t.state(), 0, plain({4, 9, 9, 12}));
        const std::int16_t line = t.state().table.HandLine;
        forms::Image &four = t.form().hands.cardImage0(0);
        four.setTop(line - four.Height() / 5);
        byGroup ? t.flow().SortHandByGroup(0, 4) : t.flow().SortHandByFace(0, 4);
        const rules::HandRecord &own = t.state().rules.ownHand();
        for (int i = 0; i < 4; ++i) {
            const forms::Image &card = t.form().hands.cardImage0(own.slots[static_cast<std::size_t>(i)].picIndex);
            const bool isFour = rules::cardFace(own.slots[static_cast<std::size_t>(i)].code) == 4;
            EXPECT_EQ(isFour, i == 3);
            EXPECT_EQ(card.Top(), isFour ? line - card.Height() / 5 : static_cast<double>(line)) << byGroup << i;
        }
    }
}

TEST(SortHandByFace, TheLeftSeatsRevealedRowStartsInsideTheTable)
{
    PlayTable t;
    std::vector<Card> hand;
    for (int i = 0; i < 25; ++i)
        hand.emplace_back(3 + i % 13, 1 << (i % 4));
    deal(t.state(), 1, hand);
    ASSERT_EQ(t.state().rules.HandRecords[1].rowX, 170);
    t.flow().SortHandByFace(1, 25);
    EXPECT_EQ(t.state().rules.HandRecords[1].rowX, 283);
    const forms::Image &first = t.form().hands.cardImage1(t.state().rules.HandRecords[1].slots[0].picIndex);
    EXPECT_NEAR(first.Left(), 0.4, 1e-3);
    EXPECT_EQ(first.Top(), 321 + 10);
    EXPECT_EQ(first.Width(), 80);
    EXPECT_EQ(first.Height(), 108);
    EXPECT_TRUE(first.Visible());
}

TEST(SortHandByFace, TheRightSeatsRowAndItsDropAtTheHandEnd)
{
    for (bool over : {false, true}) {
        PlayTable t;
        deal(t.state(), 3, plain({3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
        t.state().core.HandOver = over;
        t.flow().SortHandByFace(3, 10);
        const rules::HandRecord &hand = t.state().rules.HandRecords[3];
        const forms::Image &first = t.form().hands.cardImage3(hand.slots[0].picIndex);
        EXPECT_NEAR(first.Left(), 550 - 134.1 + 100, 1e-3);
        EXPECT_EQ(first.Top(), over ? 321 + 54 : 321);
        const forms::Image &second = t.form().hands.cardImage3(hand.slots[1].picIndex);
        EXPECT_NEAR(second.Left() - first.Left(), 17.6, 1e-3);
        EXPECT_EQ(rules::cardFace(hand.slots[0].code), 12);
    }
}

TEST(SortHandByFace, TheTopSeatAtTheReducedScale)
{
    PlayTable t(Screen::Reduced);
    deal(t.state(), 2, plain({3, 4, 5}));
    t.flow().SortHandByFace(2, 3);
    const rules::HandRecord &hand = t.state().rules.HandRecords[2];
    const double s = 0.78125;
    const forms::Image &first = t.form().hands.cardImage2(hand.slots[0].picIndex);
    EXPECT_NEAR(first.Left(), 550 * s - (0.11 * 3 + 0.39) * 90 * s, 1e-3);
    EXPECT_NEAR(first.Top(), hand.rowY - 10 * s, 1e-3);
    EXPECT_NEAR(first.Width(), 75 * s, 1e-3);
    EXPECT_NEAR(first.Height(), 101 * s, 1e-3);
}

} // namespace
} // namespace tessaroc::play::test
