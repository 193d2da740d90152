// The action buttons, the previous-trick view and the bid and choice
// buttons: what each press sends, plays, shows and hides.
#include "PlayFixture.h"

#include "rules/CardCode.h"
#include "wire/SentFrames.h"

#include <gtest/gtest.h>

namespace tessaroc::play::test {
namespace {

using rules::makeCard;

std::vector<int> raisedSlots(PlayTable &t)
{
    std::vector<int> slots;
    for (int i = 0; i < t.state.rules.ownHand().cardCount; ++i) {
        if (t.raised(i))
            slots.push_back(i);
    }
    return slots;
}

void toBeat(PlayTable &t, rules::PlayKind kind, std::vector<rules::CardCode> cards)
{
    t.state.rules.prevPlay.kind = kind;
    t.state.rules.prevPlay.count = static_cast<std::int16_t>(cards.size());
    for (std::size_t i = 0; i < cards.size(); ++i)
        t.state.rules.prevPlay.cards[i] = cards[i];
}

TEST(ActionButtons, PlayHintAndPassEachDoTheirPart)
{
    struct Case
    {
        int button;
        std::vector<int> sentModes; // byte 15 of each frame queued
        std::vector<std::string> sounds;
        bool buttonsShown;
        bool handActive;
    };
    const Case cases[] = {
            {PlayFlowService::OpPlay, {2}, {"sys070.wav"}, false, false},
            {PlayFlowService::OpHint, {}, {"sys110.wav"}, true, true},
            {PlayFlowService::OpPass, {1}, {"sys080.wav"}, false, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.button);
        PlayTable t;
        t.deal({makeCard(4, 1, 1), makeCard(9, 2, 2), makeCard(9, 4, 3)});
        t.openTurn(false);
        toBeat(t, rules::KindSingle, {makeCard(3, 1)});
        t.raise(0);
        t.state.core.TimeoutCount = 1;
        click(*t.form, t.form->actions.Operation(c.button));
        std::vector<int> modes;
        for (const auto &frame : t.sent()) {
            EXPECT_EQ(frame.bytes()[3], 7);
            EXPECT_EQ(frame.bytes()[6], 2);
            modes.push_back(frame.bytes()[15]);
        }
        EXPECT_EQ(modes, c.sentModes);
        EXPECT_EQ(t.sounds(), c.sounds);
        EXPECT_EQ(t.state.core.TimeoutCount, 0);
        EXPECT_EQ(t.state.loop.clocks.HandActive, c.handActive);
        EXPECT_EQ(t.state.loop.slots.armed(core::LoopSlot::PlayClock), c.handActive);
        for (int op = 0; op <= 2; ++op)
            EXPECT_EQ(t.form->actions.Operation(op).Visible(), c.buttonsShown);
        if (c.button == PlayFlowService::OpPass) {
            EXPECT_TRUE(raisedSlots(t).empty()) << "the pass lowers the raised cards";
            EXPECT_FALSE(t.form->actions.Operation(0).Enabled());
        }
    }
}

TEST(ActionButtons, PressesOutsideTheTurnOnlyPutTheNoticeAndTheClockAway)
{
    PlayTable t;
    t.deal({makeCard(4, 1, 1), makeCard(9, 2, 2)});
    t.openTurn(true);
    t.state.loop.clocks.MaySendPlay = false;
    t.state.loop.clocks.ClockSeconds = 7;
    t.state.core.TurnSeconds = 15;
    t.raise(0);
    for (int button : {0, 1, 2}) {
        t.play->ChuPai().Show(0, 0, 15360, 11520, true);
        t.play->Operation_Click(button);
        EXPECT_FALSE(t.play->ChuPai().Visible());
    }
    EXPECT_TRUE(t.sent().empty());
    EXPECT_TRUE(t.sounds().empty());
    EXPECT_EQ(t.state.loop.clocks.ClockSeconds, 15) << "the pass press resets the clock";
    EXPECT_FALSE(t.form->turn.Time_Img.Visible());
    EXPECT_TRUE(t.raised(0));

    t.state.loop.LoggedIn = false;
    t.state.loop.clocks.MaySendPlay = true;
    t.play->Operation_Click(PlayFlowService::OpPass);
    EXPECT_TRUE(t.sent().empty());
}

TEST(HintButton, WalksThroughItsRowsAndStartsAgain)
{
    PlayTable t;
    // Leading: the singles of 5 and 7, then the pair of threes.
    t.deal({makeCard(3, 1, 1), makeCard(3, 2, 2), makeCard(5, 4, 3), makeCard(7, 8, 4)});
    t.openTurn(true);
    t.raise(3);
    const std::vector<std::vector<int>> expected = {{2}, {3}, {0, 1}, {2}, {3}};
    for (const auto &slots : expected) {
        t.play->Operation_Click(PlayFlowService::OpHint);
        EXPECT_EQ(raisedSlots(t), slots);
        EXPECT_EQ(t.sounds(), std::vector<std::string>{"sys110.wav"});
    }
    EXPECT_EQ(t.state.rules.HintCount, 3);
    EXPECT_TRUE(t.sent().empty());

    // Following, the beating plays only.
    PlayTable f;
    f.deal({makeCard(3, 1, 1), makeCard(9, 2, 2), makeCard(14, 4, 3)});
    f.openTurn(false);
    toBeat(f, rules::KindSingle, {makeCard(8, 1)});
    f.play->Operation_Click(PlayFlowService::OpHint);
    EXPECT_EQ(raisedSlots(f), std::vector<int>{1});
    f.play->Operation_Click(PlayFlowService::OpHint);
    EXPECT_EQ(raisedSlots(f), std::vector<int>{2});
}

TEST(HintButton, PassesSilentlyWhenNothingBeats)
{
    PlayTable t;
    t.deal({makeCard(3, 1, 1), makeCard(9, 2, 2)});
    t.openTurn(false);
    toBeat(t, rules::KindSingle, {makeCard(17, 1)});
    t.raise(1);
    t.play->ChuPai().Show(0, 0, 15360, 11520, true);
    t.play->Operation_Click(PlayFlowService::OpHint);
    const auto frames = t.sent();
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(wire::PlayFrame::decode(frames[0]), wire::PlayFrame::pass(2));
    EXPECT_EQ(t.sounds(), std::vector<std::string>{"sys110.wav"}) << "no pass sound";
    EXPECT_FALSE(t.state.loop.clocks.HandActive);
    EXPECT_FALSE(t.state.loop.slots.armed(core::LoopSlot::PlayClock));
    EXPECT_FALSE(t.play->ChuPai().Visible());
    for (int op = 0; op <= 2; ++op) {
        EXPECT_FALSE(t.form->actions.Operation(op).Visible());
        EXPECT_FALSE(t.form->actions.Operation(op).Enabled());
    }
    EXPECT_TRUE(raisedSlots(t).empty());
}

// Leading with an empty hand lists nothing: the press lowers what was
// raised and stops there.
TEST(HintButton, LeadingWithNoCandidatesOnlyLowersTheCards)
{
    PlayTable t;
    t.deal({makeCard(6, 1, 1)});
    t.openTurn(true);
    t.state.rules.ownHand().setCardCount(0);
    // A row left from an earlier listing must not be raised.
    t.state.rules.HintCandidates[1] = {rules::KindSingle, 1, {makeCard(6, 1, 1)}};
    t.state.commands.HintIndex = 5;
    t.play->Operation_Click(PlayFlowService::OpHint);
    EXPECT_EQ(t.state.rules.HintCount, 0);
    EXPECT_EQ(t.state.commands.HintIndex, 0);
    EXPECT_TRUE(t.sent().empty());
    EXPECT_TRUE(t.state.loop.clocks.HandActive);
    EXPECT_EQ(t.form->hands.cardImage0(0).Top(), t.state.table.HandLine);
}

TEST(SortButton, AlternatesOnceAPlayWasAnnounced)
{
    PlayTable t;
    t.deal({makeCard(6, 1, 1), makeCard(6, 2, 2), makeCard(9, 1, 3)});
    t.state.core.PlayCounter = 0;
    t.play->Operation_Click(PlayFlowService::OpSort);
    EXPECT_EQ(t.state.commands.SortMode, -1);
    t.state.core.PlayCounter = 1;
    t.play->Operation_Click(PlayFlowService::OpSort);
    EXPECT_EQ(t.state.commands.SortMode, 0);
    t.play->Operation_Click(PlayFlowService::OpSort);
    EXPECT_EQ(t.state.commands.SortMode, -1);
}

TEST(PreviousTrick, ShowsTheTrickBeforeAndSkipsEntriesOutsideTheRows)
{
    PlayTable t;
    t.state.rules.InGame = true;
    t.state.commands.LastTrickReady = true;
    auto &now = t.state.play.TableCards;
    auto &before = t.state.play.PrevTableCards;
    now[1] = {};
    now[1][0] = 3;
    now[1][1] = 40; // no such picture
    now[1][33] = 2;
    before[1] = {};
    before[1][0] = 5;
    before[1][1] = -7;
    before[1][2] = 6;
    before[1][33] = 40; // a count past the row
    t.form->hands.cardImage1(3).setVisible(true);
    t.play->Operation_Click(PlayFlowService::OpPrevTrick);
    EXPECT_FALSE(t.form->hands.cardImage1(3).Visible());
    EXPECT_TRUE(t.form->hands.cardImage1(5).Visible());
    EXPECT_TRUE(t.form->hands.cardImage1(6).Visible());
    EXPECT_FALSE(t.state.commands.LastTrickReady);
    EXPECT_TRUE(t.form->timers.Timerformer.isActive());
    // A second press while it shows does nothing.
    t.form->hands.cardImage1(3).setVisible(true);
    t.play->Operation_Click(PlayFlowService::OpPrevTrick);
    EXPECT_TRUE(t.form->hands.cardImage1(3).Visible());

    t.play->Timerformer_Timer();
    EXPECT_FALSE(t.form->timers.Timerformer.isActive());
    EXPECT_TRUE(t.form->hands.cardImage1(3).Visible());
    EXPECT_FALSE(t.form->hands.cardImage1(5).Visible());
    EXPECT_TRUE(t.state.commands.LastTrickReady);
}

TEST(LowerAll, LowersEveryRaisedCardQuietly)
{
    PlayTable t;
    t.deal({makeCard(6, 1, 1), makeCard(7, 2, 2)});
    t.raise(0);
    t.raise(1);
    t.play->Operation_Click(PlayFlowService::OpLowerAll);
    EXPECT_TRUE(raisedSlots(t).empty());
    EXPECT_TRUE(t.sounds().empty());
}

TEST(BidButtons, CallAndNoCallSendTheirAnswerAndPutTheTurnAway)
{
    struct Case
    {
        int index;
        bool loggedIn;
        int sent; // -1 nothing, else byte 11
        bool buttonsStay;
    };
    const Case cases[] = {
            {0, true, 1, false},
            {1, true, 0, false},
            {2, true, -1, true},
            {0, false, -1, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.index << " logged in " << c.loggedIn);
        PlayTable t;
        t.window->ShowBidButtons();
        t.state.loop.LoggedIn = c.loggedIn;
        t.state.core.BidClockOn = true;
        t.state.core.TickPhase = 9;
        t.form->turn.Time_Img.setVisible(true);
        if (c.index < 2)
            click(*t.form, t.form->bid.btnJiaofen(c.index));
        else
            t.play->btnJiaofen_Click(c.index);
        const auto frames = t.sent();
        if (c.sent < 0) {
            EXPECT_TRUE(frames.empty());
        } else {
            ASSERT_EQ(frames.size(), 1u);
            EXPECT_EQ(frames[0].bytes()[3], 3);
            EXPECT_EQ(frames[0].bytes()[6], 2);
            EXPECT_EQ(frames[0].bytes()[11], c.sent);
        }
        EXPECT_EQ(t.form->bid.btnJiaofen(0).Visible(), c.buttonsStay);
        EXPECT_EQ(t.form->bid.btnJiaofen(1).Enabled(), c.buttonsStay);
        EXPECT_EQ(t.state.core.BidClockOn, !c.loggedIn);
        EXPECT_EQ(t.form->turn.Time_Img.Visible(), !c.loggedIn);
        EXPECT_TRUE(t.sounds().empty());
    }
}

TEST(ChoiceButtons, PlayTheSoundAndSendOnlyWhileTheChoiceMayBeSent)
{
    for (const bool maySend : {false, true}) {
        PlayTable t;
        t.state.loop.clocks.MaySendChoice = maySend;
        t.state.loop.slots.arm(core::LoopSlot::ChoiceClock);
        t.form->actions.tanOperation(0).setVisible(true);
        t.form->actions.tanOperation(1).setVisible(true);
        t.play->tanOperation_Click(1);
        const auto frames = t.sent();
        ASSERT_EQ(frames.size(), maySend ? 1u : 0u);
        if (maySend) {
            EXPECT_EQ(frames[0].bytes()[3], 5);
            EXPECT_EQ(frames[0].bytes()[15], 2);
        }
        EXPECT_EQ(t.sounds(), std::vector<std::string>{"sys080.wav"});
        EXPECT_FALSE(t.state.loop.slots.armed(core::LoopSlot::ChoiceClock));
        EXPECT_FALSE(t.form->actions.tanOperation(0).Visible());
        EXPECT_FALSE(t.form->actions.tanOperation(1).Visible());
    }
}

// As a person plays: mouse presses on the card pictures and the buttons of
// the table window, and the frame leaves through the send ring.
TEST(ByMouse, RaiseWithPressesThenHintThenPlay)
{
    PlayTable t;
    t.deal({makeCard(3, 1, 1), makeCard(3, 2, 2), makeCard(8, 4, 3), makeCard(11, 8, 4)});
    t.openTurn(false);
    toBeat(t, rules::KindSingle, {makeCard(9, 1)});
    QWidget &table = t.form->area.Pic1.widget();
    const auto strip = [&](int slot) {
        const forms::Image &card = t.cardOfSlot(slot);
        return QPointF(card.Left() + 4, card.Top() + 10);
    };
    pressAt(table, strip(2), Qt::LeftButton);
    pressAt(table, strip(3), Qt::LeftButton);
    EXPECT_EQ(raisedSlots(t), (std::vector<int>{2, 3}));
    // The hint puts them down and raises the jack, the one card above nine.
    click(*t.form, t.form->actions.Operation(PlayFlowService::OpHint));
    EXPECT_EQ(raisedSlots(t), std::vector<int>{3});
    click(*t.form, t.form->actions.Operation(PlayFlowService::OpPlay));
    const auto frames = t.sent();
    ASSERT_EQ(frames.size(), 1u);
    const wire::PlayFrame frame = wire::PlayFrame::decode(frames[0]);
    EXPECT_EQ(frame.mode, wire::PlayMode::Cards);
    EXPECT_EQ(frame.cardCount, 1);
    EXPECT_EQ(frame.cardIds[0], 4);
    EXPECT_EQ(t.state.rules.ownHand().cardCount, 3);
}

} // namespace
} // namespace tessaroc::play::test
