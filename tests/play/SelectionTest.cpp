// Raising and lowering own cards with the left button, the right-press
// gates of the cards and the table, and presses on what lies over the table.
#include "PlayFixture.h"

#include "rules/CardCode.h"

#include <gtest/gtest.h>

namespace tessaroc::play::test {
namespace {

using rules::makeCard;

// The visible strip of an own card that the next card does not cover.
QPointF onCard(const forms::Image &card)
{
    return {card.Left() + 4, card.Top() + 10};
}

std::vector<rules::CardCode> threeCards()
{
    return {makeCard(5, 1, 1), makeCard(9, 2, 2), makeCard(12, 4, 3)};
}

class Selection : public ::testing::TestWithParam<bool>
{ };

TEST_P(Selection, ALeftPressRaisesByAFifthOfTheCardAndASecondLowersIt)
{
    PlayTable t(GetParam());
    t.deal(threeCards());
    forms::Image &card = t.cardOfSlot(1);
    const double line = t.state.table.HandLine;
    pressAt(t.form->area.Pic1.widget(), onCard(card), Qt::LeftButton);
    EXPECT_DOUBLE_EQ(card.Top(), line - static_cast<float>(card.Height()) / 5.0f);
    EXPECT_NEAR(line - card.Top(), GetParam() ? 18.75 : 24, 0.01);
    EXPECT_EQ(t.sounds(), std::vector<std::string>{"sys020.wav"});
    EXPECT_FALSE(t.raised(0));
    EXPECT_FALSE(t.raised(2));

    pressAt(t.form->area.Pic1.widget(), onCard(card), Qt::LeftButton);
    EXPECT_DOUBLE_EQ(card.Top(), line);
    EXPECT_EQ(t.sounds(), std::vector<std::string>{"sys030.wav"});

    // Without game sounds the card still moves.
    t.state.sound.EffectsOn = false;
    pressAt(t.form->area.Pic1.widget(), onCard(card), Qt::LeftButton);
    EXPECT_TRUE(t.raised(1));
    EXPECT_TRUE(t.sounds().empty());
}

INSTANTIATE_TEST_SUITE_P(BothScales, Selection, ::testing::Values(false, true),
                         [](const auto &scale) { return scale.param ? "Reduced" : "Full"; });

TEST(SelectionGates, APictureOutsideTheHandAndOtherButtonsMoveNothing)
{
    PlayTable t;
    t.deal(threeCards());
    // Picture 10 is loaded but shows no card of the hand.
    forms::Image &stray = t.form->hands.cardImage0(10);
    stray.Move(600, t.state.table.HandLine, 80, 120);
    stray.setVisible(true);
    stray.ZOrder(0);
    pressAt(t.form->area.Pic1.widget(), onCard(stray), Qt::LeftButton);
    EXPECT_EQ(stray.Top(), t.state.table.HandLine);
    t.play->cardImage0_MouseDown(0, forms::mouse::kMiddle, 0, 0, 0);
    EXPECT_FALSE(t.raised(0));
    EXPECT_TRUE(t.sounds().empty());
    // Before the login raising works all the same.
    t.state.loop.LoggedIn = false;
    t.play->cardImage0_MouseDown(0, forms::mouse::kLeft, 0, 0, 0);
    EXPECT_TRUE(t.raised(0));
}

// The right press plays only when logged in, the hand is active and the
// play may be sent; a table press closes the pop-ups whatever happens, and
// keeps the hall of fame only when it ends early for want of the login.
TEST(SelectionGates, TheRightPressGateMatrixOnACardAndOnTheTable)
{
    for (int bits = 0; bits < 8; ++bits) {
        const bool loggedIn = bits & 1, active = bits & 2, maySend = bits & 4;
        for (const bool onTable : {false, true}) {
            SCOPED_TRACE(testing::Message() << "logged in " << loggedIn << ", active " << active
                                            << ", may send " << maySend << ", table " << onTable);
            PlayTable t;
            t.deal(threeCards());
            t.openTurn(true);
            t.raise(2);
            t.state.core.TimeoutCount = 3;
            t.state.loop.LoggedIn = loggedIn;
            t.state.loop.clocks.HandActive = active;
            t.state.loop.clocks.MaySendPlay = maySend;
            t.windows.huifu = t.windows.talk = t.windows.score = t.windows.hero = true;
            if (onTable)
                pressAt(t.form->area.Pic1.widget(), QPointF(10, 300), Qt::RightButton);
            else
                pressAt(t.form->area.Pic1.widget(), onCard(t.cardOfSlot(0)), Qt::RightButton);
            const bool plays = loggedIn && active && maySend;
            EXPECT_EQ(t.sent().size(), plays ? 1u : 0u);
            EXPECT_EQ(t.state.core.TimeoutCount, plays ? 0 : 3);
            if (onTable) {
                EXPECT_FALSE(t.windows.huifu || t.windows.talk || t.windows.score);
                EXPECT_EQ(t.windows.hero, active && maySend && !loggedIn);
            } else {
                EXPECT_TRUE(t.windows.huifu && t.windows.talk && t.windows.score && t.windows.hero);
            }
        }
    }
}

TEST(SelectionGates, TheHiddenPictureHolderPlaysWithoutTheLoginTest)
{
    PlayTable t;
    t.deal(threeCards());
    t.openTurn(true);
    t.raise(0);
    t.state.loop.LoggedIn = false;
    t.state.core.TimeoutCount = 2;
    t.play->Pic2_MouseDown(forms::mouse::kRight, 0, 0, 0);
    EXPECT_EQ(t.sent().size(), 1u);
    EXPECT_EQ(t.state.core.TimeoutCount, 2);
}

TEST(TablePresses, TheExplosionPassesItsPressToTheTable)
{
    PlayTable t;
    t.deal(threeCards());
    t.openTurn(true);
    t.raise(0);
    forms::ucAniGIF &bomb = t.form->effects.bombPlayer;
    bomb.Move(300, 150, 200, 200);
    bomb.setVisible(true);
    bomb.ZOrder(0);
    t.windows.hero = true;
    pressAt(t.form->area.Pic1.widget(), bomb.rect().center(), Qt::RightButton);
    EXPECT_EQ(t.sent().size(), 1u);
    EXPECT_FALSE(t.windows.hero);
}

// A right press on something over the table that has no press handler of
// its own (a play bubble) goes no further: it neither plays nor closes the
// pop-ups.
TEST(TablePresses, APressOnABubbleDoesNotReachTheTable)
{
    PlayTable t;
    t.deal(threeCards());
    t.openTurn(true);
    t.raise(0);
    forms::Image &bubble = t.form->messages.Speak(1);
    bubble.setVisible(true);
    bubble.setEnabled(true);
    bubble.ZOrder(0);
    t.windows.talk = true;
    pressAt(t.form->area.Pic1.widget(), bubble.rect().center(), Qt::RightButton);
    EXPECT_TRUE(t.sent().empty());
    EXPECT_TRUE(t.windows.talk);
    EXPECT_TRUE(t.raised(0));
}

} // namespace
} // namespace tessaroc::play::test
