#include "DispatchFixture.h"

#include "core/Leave.h"

namespace tessaroc::core::test {
namespace {

wire::MessageFrame userLeft(const std::string &account, bool raised = false,
                            std::uint8_t clockKind = 0)
{
    return wire::UserLeftFrame{raised, clockKind, account}.encode();
}

wire::MessageFrame ready(const std::string &account, std::uint8_t flag = 1)
{
    return wire::ReadyFrame{flag, account}.encode();
}

TEST(UserLeftCommand, TheOwnAccountEndsTheClientBeforeAnySeatIsTouched)
{
    Client client;
    client.seatFour();
    client.dispatch(userLeft("a"));
    EXPECT_EQ(client.process.ended, ExitCode::OwnAccountLeft);
    EXPECT_EQ(client.state.rules.HandRecords[1].name, "b");
    EXPECT_FALSE(client.log.called("hall.RestoreHall"));
}

TEST(UserLeftCommand, AnEmptyNameMatchesNobody)
{
    Client client; // before any user information the own name is empty too
    client.dispatch(userLeft(""));
    EXPECT_FALSE(client.process.ended);
    EXPECT_TRUE(client.loop().DealArmed);
}

TEST(UserLeftCommand, ASeatIsEmptiedAndTheReadyClockStarts)
{
    Client client;
    client.seatFour();
    client.state.core.WealthDouble = 40;
    client.state.core.Wealth = {40, 30, 20, 50};
    client.loop().DealArmed = true;
    client.form().seats.OK(2).setVisible(true);
    client.dispatch(userLeft("c", false, 1));

    EXPECT_TRUE(client.state.rules.HandRecords[2].name.empty());
    EXPECT_EQ(client.state.rules.HandRecords[2].seatBit, 4);
    EXPECT_TRUE(client.state.commands.custom[2].nickname.empty());
    EXPECT_EQ(client.state.commands.custom[2].accountName, "c");
    EXPECT_FALSE(client.form().seats.OK(2).Visible());
    EXPECT_TRUE(client.form().seats.Nid(2).Caption().isEmpty());
    EXPECT_EQ(client.loop().PlayersPresent, 3);
    EXPECT_TRUE(client.window->lines[0].startsWith(QStringLiteral("c-nick退出了游戏 ")));
    EXPECT_TRUE(client.window->lines[1].isEmpty());
    EXPECT_EQ(client.state.core.Wealth[2], 0);
    EXPECT_EQ(client.form().bid.lbwealth.Caption(), QStringLiteral("30"));
    EXPECT_TRUE(client.loop().slots.armed(core::LoopSlot::ReadyClock));
    EXPECT_EQ(client.loop().clocks.ClockSeconds, 10);
    EXPECT_EQ(client.form().turn.Number.Caption(), QStringLiteral("10"));
    EXPECT_TRUE(client.form().turn.Time_Img.Visible());
    EXPECT_TRUE(client.loop().DealArmed);
    EXPECT_TRUE(client.timers.keepAlive);
}

TEST(UserLeftCommand, ReadyClockLengths)
{
    struct Case
    {
        std::uint8_t kind;
        bool hidden;
        int seconds;
    };
    for (const Case c :
         {Case{1, false, 10}, Case{0, false, 12}, Case{7, false, 12}, Case{1, true, 1}}) {
        Client client;
        client.seatFour();
        client.loop().DealArmed = true;
        client.state.core.TableHidden = c.hidden;
        client.dispatch(userLeft("zz", false, c.kind));
        EXPECT_EQ(client.loop().clocks.ClockSeconds, c.seconds) << int(c.kind);
    }
}

TEST(UserLeftCommand, ARaisedFirstLetterIsLoweredBeforeMatching)
{
    Client client;
    client.dispatch(userInfo("own", 1).encode());
    client.dispatch(userInfo("bob", 2).encode());
    client.dispatch(userLeft("bob", true));
    EXPECT_TRUE(client.state.rules.HandRecords[1].name.empty());
}

TEST(UserLeftCommand, ASpectatorGetsNoClockButTheEnd)
{
    Client client;
    client.seatFour();
    client.loop().line.Spectator = true;
    client.loop().DealArmed = true;
    client.dispatch(userLeft("b"));
    EXPECT_FALSE(client.loop().slots.armed(core::LoopSlot::ReadyClock));
    EXPECT_EQ(client.process.ended, ExitCode::SpectatorEnd);
}

TEST(ForcedLeaveCommand, LeavesWithTheServersTextAndStopsEverything)
{
    Client client;
    client.seatFour();
    client.loop().ReconnectAllowed = true;
    client.loop().slots.arm(core::LoopSlot::ConnWatch);
    const std::string text(200, 'x');
    client.dispatch(wire::ForcedLeaveFrame{text}.encode());
    EXPECT_EQ(client.otherExit().Label1.Caption(), QString::fromStdString(text));
    EXPECT_TRUE(client.otherExit().isVisible());
    ASSERT_EQ(client.socket.sent.size(), 1u);
    const wire::ReadyOrLeaveFrame leave = wire::ReadyOrLeaveFrame::decode(client.socket.sent[0]);
    EXPECT_FALSE(leave.ready);
    EXPECT_EQ(leave.seat, 1);
    EXPECT_EQ(client.socket.sent[0].byteAt(wire::offset::kEcho), 0);
    EXPECT_EQ(client.socket.state, services::ServerSocket::sckClosed);
    EXPECT_FALSE(client.loop().slots.armed(core::LoopSlot::ConnWatch));
    EXPECT_FALSE(client.loop().ReconnectAllowed);
    EXPECT_FALSE(client.timers.bong);
    EXPECT_TRUE(client.state.commands.ConnectionLostFlag);
    EXPECT_TRUE(client.log.called("settlement.ShowHero"));
    EXPECT_TRUE(client.state.rules.HandRecords[1].name.empty());
    EXPECT_EQ(client.state.rules.ownHand().name, "a");
}

TEST(ReadyCommand, MarksTheReadyUserAndClearsWhenAllThreeAreReady)
{
    Client client;
    client.seatFour();
    client.loop().HandStarted = false;
    client.loop().TableCleared = false;
    client.dispatch(ready("b"));
    client.dispatch(ready("c"));
    EXPECT_TRUE(client.form().seats.OK(1).Visible());
    EXPECT_FALSE(client.loop().TableCleared);
    client.dispatch(ready("nobody"));
    client.dispatch(ready("", 1));
    client.dispatch(ready("d", 0)); // no mark
    EXPECT_FALSE(client.form().seats.OK(3).Visible());
    client.dispatch(ready("d"));
    EXPECT_TRUE(client.loop().TableCleared);
}

TEST(LeaveTable, SendsTheLeaveFrameStraightAndForbidsAReconnection)
{
    Client client;
    client.seatFour();
    client.rings.EchoBytes = {5, 6};
    client.loop().ReconnectAllowed = true;
    client.loop().shuffle.ShuffleWanted = true;
    client.form().effects.LblShuffle.setVisible(true);
    client.form().area.WebBrowser2.setVisible(true);
    wire::MessageFrame queued;
    queued.setCmd(wire::CmdKeepAlive);
    client.rings.SendRing.pushFrame(queued);

    CloseVideoAndLeave(*client.context);
    CloseVideoAndLeave(*client.context); // twice: two leave frames
    ASSERT_EQ(client.socket.sent.size(), 2u);
    for (const wire::MessageFrame &sent : client.socket.sent) {
        EXPECT_EQ(sent, (wire::ReadyOrLeaveFrame{1, false}.encode())) << wire::describe(sent);
    }
    // The queued frame stays where only the stopped main loop would send it.
    EXPECT_TRUE(client.rings.SendRing.hasFrame());
    EXPECT_FALSE(client.timers.bong);
    EXPECT_FALSE(client.loop().ReconnectAllowed);
    EXPECT_FALSE(client.loop().shuffle.ShuffleWanted);
    EXPECT_FALSE(client.form().effects.LblShuffle.Visible());
    EXPECT_FALSE(client.form().area.WebBrowser2.Visible());

    client.socket.state = services::ServerSocket::sckClosed;
    CloseVideoAndLeave(*client.context);
    EXPECT_EQ(client.socket.sent.size(), 2u);
}

} // namespace
} // namespace tessaroc::core::test
