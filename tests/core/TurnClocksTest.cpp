#include "CoreHarness.h"

#include "wire/SentFrames.h"

#include <gtest/gtest.h>

namespace tessaroc::test {
namespace {

using Clock = core::ClockState::Clock;

// One row per clock: how it is armed, whether it ticks the warning sound,
// and what its time-out leaves behind when the own seat must act.
struct ClockCase
{
    const char *name;
    Clock clock;
    bool warningSound;
    std::optional<MessageFrame> timeoutFrame; // with MyTurn set
    std::function<void(core::TableState &)> arm;
    std::function<bool(const core::TableState &)> running;
    std::vector<std::string> timeoutCalls;
};

void PrintTo(const ClockCase &c, std::ostream *os)
{
    *os << c.name;
}

const std::vector<ClockCase> &clockCases()
{
    static const std::vector<ClockCase> cases = {
            {"Bid",
             Clock::Bid,
             true,
             wire::BidFrame{4, false}.encode(),
             [](core::TableState &s) { s.core.BidClockOn = true; },
             [](const core::TableState &s) { return s.core.BidClockOn; },
             {"HideBidButtons", "HideTurnClock"}},
            {"Choice",
             Clock::Choice,
             false,
             wire::ChoiceFrame{4, 2}.encode(),
             [](core::TableState &s) { s.loop.slots.arm(core::LoopSlot::ChoiceClock); },
             [](const core::TableState &s) {
                 return s.loop.slots.armed(core::LoopSlot::ChoiceClock);
             },
             {"HideChoiceButtons", "HideTurnClock"}},
            {"Play",
             Clock::Play,
             true,
             wire::PlayFrame::pass(4).encode(),
             [](core::TableState &s) { s.loop.slots.arm(core::LoopSlot::PlayClock); },
             [](const core::TableState &s) {
                 return s.loop.slots.armed(core::LoopSlot::PlayClock);
             },
             {"HideActionButtons", "HideTurnClock"}},
            {"Ready",
             Clock::Ready,
             false,
             wire::ReadyOrLeaveFrame{4, true}.encode(),
             [](core::TableState &s) { s.loop.slots.arm(core::LoopSlot::ReadyClock); },
             [](const core::TableState &s) {
                 return s.loop.slots.armed(core::LoopSlot::ReadyClock);
             },
             {"HideTurnClock", "ClearTable"}},
    };
    return cases;
}

class TurnClock : public ::testing::TestWithParam<ClockCase>
{
protected:
    std::unique_ptr<CoreHarness> h = std::make_unique<CoreHarness>();

    void start(std::int16_t seconds, bool myTurn)
    {
        h->state.loop.LoggedIn = true;
        h->state.loop.clocks.ClockSeconds = seconds;
        h->state.loop.clocks.MyTurn = myTurn;
        h->state.sound.VoiceOn = true;
        h->state.core.TurnSeconds = 15;
        h->socket.state = RecordingSocket::sckConnected;
        GetParam().arm(h->state);
    }
    int warnings() const
    {
        return static_cast<int>(std::count(h->sound.calls.begin(), h->sound.calls.end(),
                                           std::string("PlaySoundFile sound6.wav")));
    }
};

TEST_P(TurnClock, CountsDownOncePerSecondThenTimesOut)
{
    const ClockCase &c = GetParam();
    start(15, true);
    h->tick();
    ASSERT_EQ(h->window.clockShown.size(), 1u) << "a clock long idle steps at the next tick";
    EXPECT_EQ(h->window.clockShown[0], std::make_pair(14, false));
    h->tick(19);
    EXPECT_EQ(h->window.clockShown.size(), 1u) << "no step before a second has passed";
    for (int shown = 13; shown >= 0; --shown) {
        h->tick(20);
        ASSERT_EQ(h->window.clockShown.back().first, shown);
        EXPECT_EQ(h->window.clockShown.back().second, shown < 6) << "red from 5 on";
    }
    EXPECT_EQ(warnings(), c.warningSound ? 6 : 0);
    EXPECT_TRUE(h->socket.sent.empty());
    EXPECT_TRUE(c.running(h->state));

    h->tick(20); // the sixteenth step, 15 s after the start
    EXPECT_FALSE(c.running(h->state));
    for (const std::string &call : c.timeoutCalls)
        EXPECT_TRUE(h->window.called(call)) << call;
    h->tick();
    ASSERT_EQ(h->socket.sent.size(), 1u);
    MessageFrame expected = *c.timeoutFrame;
    expected.setByte(wire::offset::kEcho, 0);
    EXPECT_EQ(h->socket.sent[0], expected);
    if (c.clock != Clock::Ready) {
        EXPECT_EQ(h->state.loop.clocks.ClockSeconds, 15) << "reloaded from TurnSeconds";
    }
}

TEST_P(TurnClock, TimeoutOfAnotherSeatsTurnOnlyHidesTheClock)
{
    const ClockCase &c = GetParam();
    start(0, false);
    h->tick(2);
    EXPECT_TRUE(h->window.called("HideTurnClock"));
    if (c.clock == Clock::Ready) {
        EXPECT_EQ(h->socket.sent.size(), 1u) << "ready goes out whoever's turn it was";
    } else {
        EXPECT_TRUE(h->socket.sent.empty());
    }
}

TEST_P(TurnClock, ASlowTickTakesOneStepAndTheClockNeverRunsBackwards)
{
    start(10, true);
    h->tick();
    h->clock.advance(5000); // a handler that held the tick for 5 s
    h->tick();
    ASSERT_EQ(h->window.clockShown.size(), 2u);
    EXPECT_EQ(h->window.clockShown.back().first, 8);
    h->tick(19);
    EXPECT_EQ(h->window.clockShown.size(), 2u);
}

TEST_P(TurnClock, StandsStillBeforeTheLoginAnswer)
{
    start(10, true);
    h->state.loop.LoggedIn = false;
    h->tick(100);
    EXPECT_TRUE(h->window.clockShown.empty());
}

INSTANTIATE_TEST_SUITE_P(Clocks, TurnClock, ::testing::ValuesIn(clockCases()),
                         [](const ::testing::TestParamInfo<ClockCase> &p) {
                             return std::string(p.param.name);
                         });

class PlayTimeout : public ::testing::Test
{
protected:
    std::unique_ptr<CoreHarness> h = std::make_unique<CoreHarness>();
    void timeOut()
    {
        h->state.loop.LoggedIn = true;
        h->state.loop.clocks.MyTurn = true;
        h->state.loop.clocks.ClockSeconds = 0;
        h->state.loop.slots.arm(core::LoopSlot::PlayClock);
        h->tick(20);
    }
};

TEST_F(PlayTimeout, SwitchesToAutoModeAtTheLimitOfConsecutiveTimeouts)
{
    struct Case
    {
        std::int16_t limit;
        int autoAt; // the time-out that presses F1, 0 never
    };
    for (Case c : {Case{2, 2}, Case{0, 0}, Case{1, 1}}) {
        h = std::make_unique<CoreHarness>();
        h->state.loop.clocks.TimeoutLimit = c.limit;
        for (int n = 1; n <= 3; ++n) {
            timeOut();
            const bool pressed = std::count(h->play.calls.begin(), h->play.calls.end(),
                                            std::string("Pic1_KeyDown 112 0"))
                    > 0;
            EXPECT_EQ(pressed, c.autoAt != 0 && n >= c.autoAt) << "limit " << c.limit << " n " << n;
            if (pressed)
                h->state.core.AutoMode = true; // what the key handler does
        }
    }
}

TEST_F(PlayTimeout, MustLeadPutsEveryCardDownAndPlaysTheLastOne)
{
    rules::HandRecord &own = h->state.rules.ownHand();
    own.setCardCount(3);
    own.slots[0].picIndex = 5;
    own.slots[1].picIndex = 6;
    own.slots[2].picIndex = 7;
    h->state.loop.clocks.MustLead = true;
    timeOut();
    EXPECT_EQ(h->play.calls,
              (std::vector<std::string>{"LowerOwnCard 5", "LowerOwnCard 6", "LowerOwnCard 7",
                                        "RaiseOwnCard 7", "JudgeChuPai"}));
    EXPECT_FALSE(h->state.loop.clocks.MaySendPlay);
    EXPECT_TRUE(h->state.loop.clocks.MyTurn) << "the next play frame decides the turn";
}

TEST_F(PlayTimeout, MustLeadWithAnEmptyHandSendsNothing)
{
    h->state.loop.clocks.MustLead = true;
    h->socket.state = RecordingSocket::sckConnected;
    timeOut();
    h->tick(3);
    EXPECT_TRUE(h->socket.sent.empty());
    EXPECT_EQ(std::count(h->play.calls.begin(), h->play.calls.end(), std::string("JudgeChuPai")),
              0);
}

TEST(ReadyTimeout, ClearsTheTableOnceAndSendsReadyEveryTime)
{
    auto h = std::make_unique<CoreHarness>();
    h->state.loop.LoggedIn = true;
    h->socket.state = RecordingSocket::sckConnected;
    for (int round = 0; round < 2; ++round) {
        h->state.loop.slots.arm(core::LoopSlot::ReadyClock);
        h->state.loop.clocks.ClockSeconds = 0;
        h->tick(21);
    }
    EXPECT_EQ(std::count(h->window.calls.begin(), h->window.calls.end(), std::string("ClearTable")),
              1);
    EXPECT_EQ(h->socket.sent.size(), 2u);
    EXPECT_TRUE(h->state.core.ButtonDown[2]);
    EXPECT_EQ(h->window.toolbar, (std::vector<std::pair<int, int>>{{2, 6}}));
}

TEST(ReadyTimeout, ShowsTheSeatShuffleWhenWantedAndArmed)
{
    auto h = std::make_unique<CoreHarness>();
    h->state.loop.LoggedIn = true;
    h->state.loop.shuffle.ShuffleCaptions[0] = "shuffling..";
    h->state.loop.shuffle.ShuffleWanted = true;
    h->state.loop.shuffle.ShuffleNoticeArmed = true;
    h->state.loop.slots.arm(core::LoopSlot::ReadyClock);
    h->tick();
    EXPECT_TRUE(h->window.called("ShowSeatShuffle shuffling.."));
    EXPECT_TRUE(h->state.loop.shuffle.ShuffleOn);
    EXPECT_FALSE(h->state.loop.shuffle.ShuffleWanted);
}

TEST(WarningSound, IsNotPlayedWhileTheTableIsMinimised)
{
    auto h = std::make_unique<CoreHarness>();
    h->state.loop.LoggedIn = true;
    h->state.core.BidClockOn = true;
    h->state.loop.clocks.ClockSeconds = 5;
    h->window.minimised = true;
    h->tick(41);
    EXPECT_EQ(h->window.clockShown.size(), 3u);
    EXPECT_TRUE(h->sound.calls.empty());
    h->window.minimised = false;
    h->state.sound.VoiceOn = true;
    h->tick(20);
    EXPECT_EQ(h->sound.calls,
              (std::vector<std::string>{"PlaySoundFile sound6.wav", "SetSoundVolume 3000"}));
}

} // namespace
} // namespace tessaroc::test
