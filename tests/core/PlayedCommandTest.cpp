#include "DispatchFixture.h"

namespace tessaroc::core::test {
namespace {

wire::MessageFrame played(std::uint8_t mover, std::uint8_t next, std::uint8_t code,
                          std::uint8_t count, std::uint8_t seconds = 15)
{
    wire::PlayedFrame frame;
    frame.mover = mover;
    frame.next = next;
    frame.trickCode = code;
    frame.cardCount = count;
    frame.kind = count > 0 ? 1 : 0;
    for (std::size_t i = 0; i < count && i < frame.codes.size(); ++i)
        frame.codes[i] = rules::makeCard(5, 1, static_cast<int>(i));
    frame.seconds = seconds;
    return frame.encode();
}

class Played : public ::testing::TestWithParam<Client::Screen>
{
protected:
    Played()
        : client(GetParam())
    {
        client.seatFour();
        client.form().ClearTable();
    }
    const forms::Image &op(int i) { return client.form().actions.Operation(i); }
    bool asked(const std::string &call) const { return client.window->asked.called(call); }
    Client client;
};

TEST_P(Played, OwnTurnToLeadShowsPlayAndHintOnly)
{
    client.state.rules.prevPlay.kind = rules::KindPair;
    client.dispatch(played(8, 1, 1, 1));
    EXPECT_TRUE(op(0).Visible());
    EXPECT_TRUE(op(1).Visible());
    EXPECT_FALSE(op(2).Visible());
    EXPECT_FALSE(op(2).Enabled());
    EXPECT_TRUE(asked("ShowOwnTurnButtons lead"));
    const ClockState &clocks = client.loop().clocks;
    EXPECT_TRUE(clocks.MustLead);
    EXPECT_TRUE(clocks.MyTurn);
    EXPECT_TRUE(clocks.HandActive);
    EXPECT_TRUE(clocks.MaySendPlay);
    EXPECT_EQ(client.state.rules.prevPlay.kind, rules::KindNone);
    EXPECT_TRUE(client.loop().slots.armed(core::LoopSlot::PlayClock));
    EXPECT_TRUE(asked("ShowTurnClock Play 0 15"));
}

TEST_P(Played, OwnTurnToFollowLaysOutThreeButtonsFromThePass)
{
    client.state.rules.HintCount = 4;
    client.state.commands.HintReady = true;
    client.dispatch(played(8, 1, 5, 2));
    EXPECT_TRUE(asked("ShowOwnTurnButtons follow"));
    for (int i = 0; i <= 2; ++i)
        EXPECT_TRUE(op(i).Visible()) << i;
    EXPECT_FALSE(client.loop().clocks.MustLead);
    EXPECT_EQ(client.state.rules.HintCount, 0);
    EXPECT_FALSE(client.state.commands.HintReady);
    EXPECT_TRUE(client.log.called("play.ShowChuPai"));
}

TEST_P(Played, TrickCodeTenPausesClearsAndLeavesTheButtons)
{
    client.loop().clocks.MustLead = true;
    client.state.play.TableCards[3][0] = 4;
    client.state.play.TableCards[3][PlayState::kCountColumn] = 1;
    client.form().hands.cardImage3(4).setVisible(true);
    for (int i = 0; i <= 2; ++i)
        client.form().actions.Operation(i).setVisible(false);
    client.dispatch(played(8, 1, 10, 0));
    EXPECT_FALSE(client.form().hands.cardImage3(4).Visible());
    for (int i = 0; i <= 2; ++i)
        EXPECT_FALSE(op(i).Visible()) << i;
    EXPECT_TRUE(client.loop().clocks.MustLead);
    EXPECT_TRUE(client.loop().clocks.MyTurn);
    EXPECT_TRUE(client.loop().clocks.MaySendPlay);
}

TEST_P(Played, TheClockMovesToTheNextSeat)
{
    client.dispatch(played(1, 2, 5, 1));
    client.dispatch(played(2, 4, 5, 1));
    client.dispatch(played(4, 8, 5, 1));
    EXPECT_EQ(client.window->asked.calls,
              (std::vector<std::string>{"ShowTurnClock Play 1 15", "ShowTurnClock Play 2 15",
                                        "ShowTurnClock Play 3 15"}));
    EXPECT_FALSE(client.loop().clocks.MyTurn);
    EXPECT_FALSE(client.loop().clocks.HandActive);
}

INSTANTIATE_TEST_SUITE_P(BothScales, Played, kBothScales, screenName);

TEST(PlayedCommand, TurnSeconds)
{
    struct Case
    {
        std::uint8_t seconds;
        bool hidden;
        const char *shown;
    };
    for (const Case c : {Case{0, false, "20"}, Case{1, false, "20"}, Case{2, false, "2"},
                         Case{255, false, "255"}, Case{30, true, "1"}}) {
        Client client;
        client.seatFour();
        client.state.core.TableHidden = c.hidden;
        client.dispatch(played(8, 1, 5, 1, c.seconds));
        EXPECT_EQ(client.form().turn.Number.Caption(), QString::fromLatin1(c.shown))
                << int(c.seconds);
    }
}

TEST(PlayedCommand, PassPicturesFromTheSecondFrameForTheOtherSeats)
{
    Client client;
    client.seatFour();
    client.form().ClearTable();
    client.dispatch(played(2, 4, 5, 0)); // first frame: no picture
    EXPECT_FALSE(client.form().messages.Speak(1).Visible());
    client.dispatch(played(4, 8, 5, 0));
    EXPECT_TRUE(client.form().messages.Speak(2).Visible());
    EXPECT_EQ(client.form().messages.Speak(2).Picture(), 877);
    client.dispatch(played(1, 2, 5, 0)); // the own pass shows none
    EXPECT_FALSE(client.form().messages.Speak(0).Visible());
}

TEST(PlayedCommand, ACodeNinePlayLeavesNothingToBeat)
{
    Client client;
    client.seatFour();
    client.dispatch(played(2, 4, 9, 3));
    EXPECT_TRUE(client.log.called("play.ShowChuPai"));
    EXPECT_EQ(client.state.rules.prevPlay.kind, rules::KindNone);
}

// Play rows hold indexes the server never sees, but a count or index out of
// range must not reach a picture that does not exist.
TEST(PlayedCommand, RowsOutOfRangeAndHostileCountsAreSafe)
{
    Client client;
    client.seatFour();
    PlayState &play = client.state.play;
    play.TableCards[1][0] = 77;
    play.TableCards[1][1] = -3;
    play.TableCards[1][PlayState::kCountColumn] = 500;
    play.TableCards[0][PlayState::kCountColumn] = -2;
    client.dispatch(played(2, 1, 1, 200)); // 200 cards, the own turn
    client.dispatch(played(0x40, 0x40, 10, 0));
    EXPECT_EQ(play.PrevTableCards[0][PlayState::kCountColumn], 0);
    EXPECT_TRUE(client.loop().slots.armed(core::LoopSlot::PlayClock));
}

} // namespace
} // namespace tessaroc::core::test
