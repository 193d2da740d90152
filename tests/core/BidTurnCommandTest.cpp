#include "DispatchFixture.h"

namespace tessaroc::core::test {
namespace {

wire::MessageFrame bidTurn(std::uint8_t next, std::uint8_t bid, std::uint8_t bidder)
{
    wire::BidTurnFrame turn;
    turn.nextBidder = next;
    turn.bid = bid;
    turn.bidder = bidder;
    return turn.encode();
}

class BidTurn : public ::testing::TestWithParam<Client::Screen>
{
protected:
    BidTurn()
        : client(GetParam())
    {
        client.seatFour();
        client.form().ClearTable();
        client.state.core.BidFrameCount = 0;
    }
    Client client;
};

TEST_P(BidTurn, TheOwnFirstBidShowsTheClockAndBothButtons)
{
    client.dispatch(bidTurn(1, 0, 0));
    const auto &turn = client.form().turn;
    EXPECT_TRUE(client.window->asked.called("ShowTurnClock Bid 0 15"));
    EXPECT_EQ(turn.Number.Caption(), QStringLiteral("15"));
    EXPECT_TRUE(turn.Time_Img.Visible());
    EXPECT_TRUE(turn.Number.Visible());
    EXPECT_TRUE(client.form().bid.btnJiaofen(0).Visible());
    EXPECT_TRUE(client.form().bid.btnJiaofen(1).Visible());
    EXPECT_EQ(client.form().bid.btnJiaofen(0).Picture(), 202);
    EXPECT_EQ(client.form().bid.btnJiaofen(1).Picture(), 184);
    EXPECT_TRUE(client.loop().clocks.MyTurn);
    EXPECT_TRUE(client.state.core.BidClockOn);
    EXPECT_EQ(client.loop().clocks.ClockSeconds, 15);
}

TEST_P(BidTurn, AnotherSeatsBidMovesTheClockThere)
{
    struct Case
    {
        std::uint8_t seat;
        const char *clock;
    };
    for (const Case c : {Case{2, "ShowTurnClock Bid 1 15"}, Case{8, "ShowTurnClock Bid 3 15"}}) {
        client.state.core.BidFrameCount = 0;
        client.window->asked.calls.clear();
        client.dispatch(bidTurn(c.seat, 0, 0));
        EXPECT_EQ(client.window->asked.calls, std::vector<std::string>{c.clock}) << int(c.seat);
        EXPECT_FALSE(client.loop().clocks.MyTurn);
        EXPECT_TRUE(client.state.core.BidClockOn);
    }
}

TEST_P(BidTurn, TheHiddenTableGetsOneSecond)
{
    client.state.core.TableHidden = true;
    client.dispatch(bidTurn(1, 0, 0));
    EXPECT_EQ(client.form().turn.Number.Caption(), QStringLiteral("1"));
}

TEST_P(BidTurn, ACallMakesTheLandlord)
{
    client.dispatch(bidTurn(2, 0, 0));
    client.state.rules.HandRecords[2].setCardCount(25);
    client.dispatch(bidTurn(8, 1, 4));
    const forms::LayoutScale s = client.scale();
    EXPECT_TRUE(client.form().effects.UcDiZhu.Visible());
    EXPECT_TRUE(client.window->asked.called("ShowLandlord 2"));
    EXPECT_EQ(client.state.core.LandlordPos, 2);
    EXPECT_EQ(client.state.core.BubbleSeat, 2);
    EXPECT_EQ(client.state.rules.HandRecords[2].cardCount, 33);
    EXPECT_EQ(client.state.rules.HandRecords[2].slots[30].picIndex, 30);
    EXPECT_EQ(client.form().hands.shanImage(1).Picture(), s.isReduced() ? 950 : 947);
    EXPECT_FALSE(client.state.core.BidClockOn);

    // Once the badge shows, no bid turn moves the clock.
    client.window->asked.calls.clear();
    client.dispatch(bidTurn(1, 0, 8));
    EXPECT_TRUE(client.window->asked.calls.empty());
    EXPECT_FALSE(client.loop().clocks.MyTurn);
    EXPECT_FALSE(client.state.core.BidClockOn);
    EXPECT_EQ(client.state.core.BubbleSeat, 3);
}

TEST_P(BidTurn, TheOwnSeatAsLandlordGetsTheBadge)
{
    client.dispatch(bidTurn(1, 0, 0));
    client.dispatch(bidTurn(2, 1, 1));
    EXPECT_TRUE(client.window->asked.called("ShowLandlord 0"));
    EXPECT_EQ(client.state.core.LandlordPos, 0);
}

TEST_P(BidTurn, FirstFrameCallAndOtherBidsOnlyRunTheCommonSteps)
{
    client.dispatch(bidTurn(1, 1, 4)); // a call in the first frame reports nothing
    EXPECT_FALSE(client.form().effects.UcDiZhu.Visible());
    EXPECT_FALSE(client.state.core.BidClockOn);
    client.dispatch(bidTurn(1, 2, 4));
    EXPECT_FALSE(client.form().effects.UcDiZhu.Visible());
    EXPECT_FALSE(client.state.core.BidClockOn);
    EXPECT_EQ(client.state.core.BidFrameCount, 2);
}

TEST_P(BidTurn, SeatBytesThatNameNoSeatAreIgnored)
{
    client.dispatch(bidTurn(0, 0, 0));
    EXPECT_FALSE(client.state.core.BidClockOn);
    client.dispatch(bidTurn(3, 1, 6)); // a call by nobody makes no landlord
    EXPECT_FALSE(client.form().effects.UcDiZhu.Visible());
    EXPECT_EQ(client.state.core.LandlordPos, -1);
}

INSTANTIATE_TEST_SUITE_P(BothScales, BidTurn, kBothScales, screenName);

} // namespace
} // namespace tessaroc::core::test
