#include "DispatchFixture.h"

namespace tessaroc::core::test {
namespace {

wire::MessageFrame result(const std::string &winners = {})
{
    wire::HandResultFrame frame;
    frame.seat = 1;
    frame.winnersLine = winners;
    return frame.encode();
}

wire::MessageFrame notice(std::uint8_t mode, std::uint8_t shortSeats = 0, std::uint8_t flags = 0,
                          std::uint8_t shuffling = 0, std::int32_t wealth = 0)
{
    wire::ReadyOrLeaveNoticeFrame frame;
    frame.mode = mode;
    frame.shortSeats = shortSeats;
    frame.flags = flags;
    frame.shufflingNow = shuffling;
    frame.wealthMultiplier = wealth;
    return frame.encode();
}

TEST(HandResultCommand, TheFirstResultArmsTheCaptureOnceAndEveryResultGoesToTheSettlement)
{
    Client client;
    client.seatFour();
    client.loop().slots.arm(core::LoopSlot::PlayClock);
    client.form().turn.Time_Img.setVisible(true);
    client.dispatch(result("甲乙丙"));
    EXPECT_TRUE(client.loop().HoldCommand21);
    EXPECT_TRUE(client.loop().HeldFrames[0].armed);
    EXPECT_TRUE(client.loop().HeldFrames[1].armed);
    EXPECT_FALSE(client.loop().slots.armed(core::LoopSlot::PlayClock));
    EXPECT_FALSE(client.form().turn.Time_Img.Visible());
    EXPECT_TRUE(client.state.core.HandOver);
    EXPECT_EQ(client.state.commands.WinnerText, "甲乙丙");
    EXPECT_EQ(client.loop().PlayersPresent, 0);

    // A frame captured meanwhile stays as the first result left it.
    client.loop().HeldFrames[0] = {false, result()};
    for (int i = 0; i < 3; ++i)
        client.dispatch(result());
    EXPECT_FALSE(client.loop().HeldFrames[0].armed);
    EXPECT_EQ(client.loop().HeldFrames[0].frame.cmd(), wire::CmdHandResult);
    EXPECT_EQ(client.log.count("settlement.ShowScore"), 4);
    EXPECT_EQ(client.log.count("settlement.ClearScoreLists"), 4);
}

TEST(HandResultCommand, TheRunningLibraryHoldsBackTheFourthResult)
{
    Client client;
    client.state.gamedllstate = 1;
    for (int i = 0; i < 4; ++i)
        client.dispatch(result());
    EXPECT_EQ(client.log.count("settlement.ShowScore"), 3);
    EXPECT_TRUE(client.loop().SettlementDeferred);
    EXPECT_EQ(client.state.core.ResultPhase, 1);
    EXPECT_EQ(client.loop().HeldResultFrame.cmd(), wire::CmdHandResult);
    EXPECT_TRUE(client.log.called("items.InitShowEnd"));
    EXPECT_EQ(client.state.commands.PropResultCount, 0);
}

class ReadyOrLeave : public ::testing::TestWithParam<Client::Screen>
{
protected:
    ReadyOrLeave()
        : client(GetParam())
    {
        client.seatFour();
    }
    Client client;
};

TEST_P(ReadyOrLeave, TheEndOfAHandLaysOutTheReadyTimeOnce)
{
    client.loop().DealArmed = true;
    client.dispatch(notice(0, 0, 1, 0, 0));
    const auto &form = client.form();
    const auto &asked = client.window->asked;
    EXPECT_EQ(asked.calls, std::vector<std::string>{"PlaceReadyClockAndShuffle"});
    EXPECT_TRUE(client.loop().shuffle.ShuffleWanted);
    EXPECT_TRUE(client.loop().shuffle.ShuffleNoticeArmed);
    EXPECT_FALSE(client.loop().DealArmed);
    EXPECT_FALSE(form.effects.LblShuffle.Visible());
    EXPECT_FALSE(form.timers.TimerShuffle.isActive());

    // A second end of hand without a deal moves nothing.
    client.dispatch(notice(0, 0, 0, 1, 0));
    EXPECT_EQ(asked.calls, std::vector<std::string>{"PlaceReadyClockAndShuffle"});
    EXPECT_FALSE(form.effects.LblShuffle.Visible());
}

TEST_P(ReadyOrLeave, ASeatShuffleShowsItsNotice)
{
    client.loop().DealArmed = true;
    client.loop().shuffle.ShuffleCaptions[0] = "正在随机换座中..";
    client.loop().AdUrl = "http://ad.example/x.gamead";
    client.dispatch(notice(0, 0, 0, 1, 0));
    EXPECT_TRUE(client.form().effects.LblShuffle.Visible());
    EXPECT_EQ(client.form().effects.LblShuffle.Caption(), QStringLiteral("正在随机换座中.."));
    EXPECT_TRUE(client.form().timers.TimerShuffle.isActive());
    EXPECT_TRUE(client.form().area.WebBrowser2.Visible());
    EXPECT_TRUE(client.loop().shuffle.ShuffleOn);
}

TEST_P(ReadyOrLeave, TheWealthLabelShowsTheMultiplier)
{
    for (const std::int32_t wealth : {99, 100}) {
        client.window->asked.calls.clear();
        client.dispatch(notice(0, 0, 0, 0, wealth));
        EXPECT_EQ(client.window->asked.calls,
                  std::vector<std::string>{"ShowWealth " + std::to_string(wealth)});
        const auto &label = client.form().bid.lbwealth;
        EXPECT_EQ(label.Caption(), QString::number(wealth));
        EXPECT_TRUE(label.Visible());
        EXPECT_TRUE(client.form().bid.Imgwealth.Visible());
    }
    client.dispatch(notice(0));
    EXPECT_FALSE(client.form().bid.lbwealth.Visible());
    EXPECT_FALSE(client.form().bid.Imgwealth.Visible());
}

INSTANTIATE_TEST_SUITE_P(BothScales, ReadyOrLeave, kBothScales, screenName);

TEST(ReadyOrLeaveCommand, ModesOneAndTwoChangeNothing)
{
    for (const std::uint8_t mode : {1, 2}) {
        Client client;
        client.seatFour();
        client.loop().DealArmed = true;
        client.state.core.WealthDouble = 7;
        client.dispatch(notice(mode, 0, 1, 1, 50));
        EXPECT_TRUE(client.loop().DealArmed);
        EXPECT_EQ(client.state.core.WealthDouble, 7);
    }
}

TEST(ReadyOrLeaveCommand, AnotherSeatShortOfCoinsGetsALine)
{
    Client client;
    client.seatFour();
    client.state.rules.InGame = true;
    client.dispatch(notice(3, 4));
    EXPECT_EQ(client.window->lines[0], QStringLiteral("玩家c-nick金币不够，退出游戏！"));
    EXPECT_FALSE(client.state.rules.InGame);
    EXPECT_FALSE(client.process.ended);
    EXPECT_EQ(client.window->otherExitShown, 0);
}

TEST(ReadyOrLeaveCommand, TheOwnSeatShortOfCoinsLeavesWithoutALeaveFrame)
{
    struct Case
    {
        std::uint8_t flags;
        const char *text;
    };
    for (const Case c : {Case{1, "您的金币不够，请更换房间或充值后继续游戏！"},
                         Case{2, "您的金币不够，请领取低保或充值后继续游戏！"}}) {
        Client client;
        client.seatFour();
        wire::MessageFrame queued;
        queued.setCmd(wire::CmdKeepAlive);
        client.rings.SendRing.pushFrame(queued);
        client.dispatch(notice(3, 1, c.flags));
        EXPECT_EQ(client.otherExit().Label1.Caption(), QString::fromUtf8(c.text));
        EXPECT_TRUE(client.socket.sent.empty()); // closed before the leave
        EXPECT_FALSE(client.rings.SendRing.hasFrame());
        EXPECT_FALSE(client.timers.bong);
        EXPECT_TRUE(client.state.commands.ConnectionLostFlag);
        EXPECT_FALSE(client.loop().ReconnectAllowed);
        EXPECT_TRUE(client.log.called("settlement.ShowScoreWindow"));
        for (int i = 1; i <= 3; ++i) {
            EXPECT_TRUE(client.state.rules.HandRecords[static_cast<std::size_t>(i)].name.empty());
            EXPECT_TRUE(client.form().seats.Nid(i).Caption().isEmpty());
        }
        EXPECT_EQ(client.state.rules.ownHand().name, "a");
        EXPECT_FALSE(client.process.ended);
    }
}

TEST(ReadyOrLeaveCommand, ASpectatorEndsOnAnyShortSeat)
{
    Client client;
    client.seatFour();
    client.loop().line.Spectator = true;
    client.dispatch(notice(3, 8));
    ASSERT_EQ(client.process.messages.size(), 1u);
    EXPECT_EQ(client.process.messages[0], QStringLiteral("有用户退出，旁观结束！"));
    EXPECT_EQ(client.process.ended, ExitCode::SpectatorEnd);
}

} // namespace
} // namespace tessaroc::core::test
