#include "PlayShowFixture.h"
#include "WaitSteps.h"

#include "core/HandEvents.h"
#include "rules/CardCode.h"
#include "support/PictureIds.h"
#include "play/CardPictures.h"

#include <map>
#include <set>

namespace tessaroc::play::test {
namespace {

// A hand-start deal of 25 cards (ids from 100 up, so some reach 128 and
// more), the shown card the ace of hearts at seat bit 4.
wire::DealFrame handStart(std::uint8_t rows = 25)
{
    return frames::handStart(
            [](int i) { return frames::placeSuited(3 + (i * 7) % 15, i, 100 + i); }, {}, rows);
}

wire::DealFrame bottomCards(std::uint8_t landlordBit)
{
    return frames::bottomCards(landlordBit,
                               [](int i) { return rules::makeCard(16 + i % 2, 1, 60 + i); });
}

class DealAtScale : public ::testing::TestWithParam<Screen>
{ };

TEST_P(DealAtScale, TheHandIsLaidOutSortedAndTheOtherSeatsGetTheirFans)
{
    PlayTable t(GetParam());
    t.seatFour(1);
    t.dispatch(handStart().encode());

    const core::TableState &state = t.state();
    const rules::HandRecord &own = state.rules.ownHand();
    ASSERT_EQ(own.cardCount, 25);
    std::set<int> pictures;
    for (int i = 0; i < 25; ++i) {
        const rules::HandSlot &slot = own.slots[static_cast<std::size_t>(i)];
        pictures.insert(slot.picIndex);
        if (i > 0) {
            EXPECT_GE(rules::cardFace(own.slots[static_cast<std::size_t>(i - 1)].code), rules::cardFace(slot.code));
        }
        const forms::Image &card = t.form().hands.cardImage0(slot.picIndex);
        EXPECT_TRUE(card.Visible()) << i;
        EXPECT_EQ(card.Top(), state.table.HandLine);
        EXPECT_EQ(card.Picture(), cardPictureId(state, play::CardPictureNo(slot.code)));
    }
    EXPECT_EQ(pictures.size(), 25u);
    for (int p = 1; p <= 3; ++p) {
        const rules::HandRecord &hand = state.rules.HandRecords[static_cast<std::size_t>(p)];
        EXPECT_EQ(hand.cardCount, 25);
        for (int i = 0; i < 25; ++i)
            EXPECT_EQ(hand.slots[static_cast<std::size_t>(i)].picIndex, i);
    }

    const bool reduced = GetParam() == Screen::Reduced;
    const int fans[] = {reduced ? 939 : 936, reduced ? 938 : 935, reduced ? 937 : 934};
    for (int i = 0; i <= 2; ++i) {
        EXPECT_TRUE(t.form().hands.shanImage(i).Visible());
        EXPECT_EQ(t.form().hands.shanImage(i).Picture(), fans[i]);
    }
    for (int k = 0; k < 8; ++k)
        EXPECT_TRUE(t.form().hands.imgDiPai(k).Visible());
    for (int k = 0; k <= 10; ++k)
        EXPECT_FALSE(t.form().hands.imgCardMove(k).Visible());
    EXPECT_FALSE(t.form().hands.imgFaPai.Visible());
    // The shown card stands at the seat that holds it (seat bit 4: the top).
    EXPECT_TRUE(t.form().hands.ImgLPai(2).Visible());
    EXPECT_EQ(t.form().hands.ImgLPai(2).Picture(), cardPictureId(state, 14 + 32));
    EXPECT_EQ(t.sound.playedNames(), std::vector<std::string>{"sys010.wav"});
}

// The own row is laid out before the flights for R cards around the row's
// origin, and shown at once only for R = 33; the flights then fly from the
// pile toward each seat in their order, ten cards apart by the seat's step.
TEST_P(DealAtScale, TheRowCountAndTheFlights)
{
    for (std::uint8_t rows : {25, 33}) {
        PlayTable t(GetParam());
        t.seatFour(1);
        const forms::LayoutScale s = t.scale();
        std::vector<int> order;
        std::map<int, QPointF> farCard;
        bool rowChecked = false;
        int shownAtFirstLook = -1;
        WaitSteps steps(t, [&] {
            table::HandRows &hands = t.form().hands;
            if (!rowChecked) {
                rowChecked = true;
                shownAtFirstLook = hands.cardImage0(0).Visible();
                const double x0 = t.state().rules.ownHand().rowX - (rows * 0.11 + 0.39) * 90 * s.ScaleX;
                for (int i = 0; i < 25; ++i)
                    EXPECT_NEAR(hands.cardImage0(i).Left(), x0 + i * 0.22 * hands.cardImage0(i).Width() * s.ScaleX, 1e-3);
            }
            if (!hands.imgCardMove(10).Visible())
                return;
            const QPointF pile(hands.imgCardMove(0).Left(), hands.imgCardMove(0).Top());
            const QPointF far(hands.imgCardMove(10).Left(), hands.imgCardMove(10).Top());
            const QPointF d = far - pile;
            const int pos = d.y() > 0 ? 0 : d.x() < 0 ? 1 : d.y() < 0 ? 2 : 3;
            if (order.empty() || order.back() != pos)
                order.push_back(pos);
            farCard[pos] = d;
            EXPECT_NEAR(pile.x(), 472 * s.ScaleX, 1e-3);
            EXPECT_NEAR(pile.y(), 285 * s.ScaleY, 1e-3);
        });
        t.dispatch(handStart(rows).encode());
        steps.stop();
        EXPECT_EQ(shownAtFirstLook, rows == 33 ? 1 : 0) << int{rows};
        EXPECT_EQ(order, (std::vector<int>{0, 3, 2, 1}));
        EXPECT_NEAR(farCard[0].y(), 240 * s.ScaleY, 1e-3);
        EXPECT_NEAR(farCard[1].x(), -320 * s.ScaleX, 1e-3);
        EXPECT_NEAR(farCard[2].y(), -150 * s.ScaleY, 1e-3);
        EXPECT_NEAR(farCard[3].x(), 320 * s.ScaleX, 1e-3);
    }
}

TEST_P(DealAtScale, TheBottomCardsCloseUpAndThePileSlidesToTheLandlord)
{
    struct Case
    {
        std::uint8_t landlordBit;
        double dx;
        double dy;
    };
    // Own seat bit 1: bit 1 is below, 2 left, 4 top, 8 right.
    for (const Case c : {Case{1, 0, 225}, Case{2, -385, 0}, Case{4, 0, -137.5}, Case{8, 385, 0}}) {
        PlayTable t(GetParam());
        t.seatFour(1);
        t.dispatch(handStart().encode());
        const forms::LayoutScale s = t.scale();
        std::vector<double> closed;
        QPointF last;
        WaitSteps steps(t, [&] {
            table::HandRows &hands = t.form().hands;
            if (closed.empty() && !hands.imgDiPai(0).Visible()) {
                for (int k = 0; k < 8; ++k)
                    closed.push_back(hands.imgDiPai(k).Left() / s.ScaleX);
            }
            if (hands.imgFaPai8.Visible())
                last = {hands.imgFaPai8.Left(), hands.imgFaPai8.Top()};
        });
        t.dispatch(bottomCards(c.landlordBit).encode());
        steps.stop();
        const std::vector<double> expected = {470, 490, 510, 495, 485, 470, 490, 510};
        ASSERT_EQ(closed.size(), 8u);
        for (int k = 0; k < 8; ++k)
            EXPECT_NEAR(closed[static_cast<std::size_t>(k)], expected[static_cast<std::size_t>(k)], 1e-3) << k;
        EXPECT_NEAR(last.x(), (472 + c.dx) * s.ScaleX, 1e-3) << int{c.landlordBit};
        EXPECT_NEAR(last.y(), (285 + c.dy) * s.ScaleY, 1e-3) << int{c.landlordBit};
        EXPECT_FALSE(t.form().hands.imgFaPai8.Visible());
        for (int k = 0; k < 8; ++k)
            EXPECT_FALSE(t.form().hands.imgDiPai(k).Visible());
    }
}

INSTANTIATE_TEST_SUITE_P(Scales, DealAtScale,
                         ::testing::Values(Screen::Full, Screen::Reduced),
                         scaleName);

TEST(Deal, TheOwnBottomCardsJoinTheSortedHand)
{
    PlayTable t;
    t.seatFour(1);
    t.dispatch(handStart().encode());
    t.dispatch(bottomCards(1).encode());
    const rules::HandRecord &own = t.state().rules.ownHand();
    ASSERT_EQ(own.cardCount, 33);
    EXPECT_EQ(rules::cardFace(own.slots[0].code), 17);
    for (int i = 0; i < 33; ++i)
        EXPECT_TRUE(t.form().hands.cardImage0(own.slots[static_cast<std::size_t>(i)].picIndex).Visible());
}

// A deal during the flights of another: the older one stops where it is and
// the table shows the newer hand, with nothing left flying.
TEST(Deal, ANewDealDuringTheFlightsTakesOver)
{
    PlayTable t;
    t.seatFour(1);
    wire::DealFrame second = handStart();
    for (int i = 0; i < 25; ++i)
        second.codes[static_cast<std::size_t>(i)] = rules::makeCard(3 + i % 5, 8, i);
    bool dealtAgain = false;
    WaitSteps steps(t, [&] {
        if (!dealtAgain && t.form().hands.imgCardMove(5).Visible()) {
            // From an event of its own, as a tick of the main loop would.
            dealtAgain = true;
            QTimer::singleShot(0, [&] { t.dispatch(second.encode()); });
        }
    });
    t.dispatch(handStart().encode());
    steps.stop();
    ASSERT_TRUE(dealtAgain);
    const rules::HandRecord &own = t.state().rules.ownHand();
    ASSERT_EQ(own.cardCount, 25);
    for (int i = 0; i < 25; ++i) {
        EXPECT_EQ(rules::cardSuitBits(own.slots[static_cast<std::size_t>(i)].code), 8);
        EXPECT_TRUE(t.form().hands.cardImage0(own.slots[static_cast<std::size_t>(i)].picIndex).Visible());
    }
    for (int k = 0; k <= 10; ++k)
        EXPECT_FALSE(t.form().hands.imgCardMove(k).Visible()) << k;
    EXPECT_FALSE(t.form().hands.imgFaPai.Visible());
    for (int i = 0; i <= 2; ++i)
        EXPECT_TRUE(t.form().hands.shanImage(i).Visible());
}

// A frame with a form or a face that no deal has changes nothing and shows
// nothing.
TEST(Deal, AMalformedDealChangesNothing)
{
    for (int fault = 0; fault < 3; ++fault) {
        PlayTable t;
        t.seatFour(1);
        rules::HandRecord &own = t.state().rules.ownHand();
        own.setCardCount(3);
        own.slots[0] = {rules::makeCard(9, 1, 1), 0};
        const rules::CardRulesState before = t.state().rules;
        wire::MessageFrame frame = handStart().encode();
        if (fault == 0)
            frame.setByte(16 + 4 * 7 + 1, 2); // card 7's face 2
        else if (fault == 1)
            frame.setByte(16 + 4 * 24 + 1, 18); // the last card's face 18
        else
            frame.setByte(11, 40); // more cards than any hand holds
        const wire::DealFrame deal = wire::DealFrame::decode(frame);
        t.flow().FaPai(core::ApplyDeal(t.state(), deal));
        EXPECT_EQ(t.state().rules, before) << fault;
        EXPECT_TRUE(t.sound.played.empty()) << fault;
        EXPECT_FALSE(t.form().hands.shanImage(0).Visible()) << fault;
    }
}

TEST(Deal, NoSoundWithTheEffectsOffOrTheTableMinimised)
{
    for (int way = 0; way < 2; ++way) {
        PlayTable t;
        t.seatFour(1);
        if (way == 0)
            t.state().sound.EffectsOn = false;
        else
            t.base.window->minimised = true;
        const wire::DealFrame deal = handStart();
        t.flow().FaPai(core::ApplyDeal(t.state(), deal));
        t.flow().DiPaiAnimation(0);
        EXPECT_TRUE(t.sound.played.empty());
        EXPECT_EQ(t.state().rules.ownHand().cardCount, 25) << "the deal runs all the same";
        EXPECT_TRUE(t.form().hands.shanImage(1).Visible());
    }
}

} // namespace
} // namespace tessaroc::play::test
