#include "WholeTableClient.h"

#include "settlement/ListBoxes.h"
#include "settlement/ScoreWindow.h"
#include "wire/ReceivedFrames.h"

#include <gtest/gtest.h>

namespace tessaroc::test {
namespace {

using offscreen::WholeTableClient;
using Lines = QStringList;

// A whole table with the item library switched on by the hall's switch: the
// user information starts the scripted library, the dispatcher holds the
// fourth result frame of a hand back for it, and the main loop's item step
// shows the rule variant's board once the library has filled its score
// information.
class HeldSettlement : public ::testing::Test
{
protected:
    HeldSettlement()
    {
        client.state.loop.line.prop_swicth = 1;
        client.state.loop.LoggedIn = true;
        for (const std::uint8_t seat : kSeats)
            client.dispatch(userInfo(seat));
    }

    static wire::MessageFrame userInfo(std::uint8_t seat)
    {
        wire::UserInfoFrame info;
        info.recipientSeat = 1;
        info.account = "player" + std::to_string(seat);
        info.nickname = info.account;
        info.face = "m1";
        info.coins = 1000;
        info.extraNumber5 = seat;
        return info.encode();
    }

    // Seat 2 (display position 1) wins 300 coins, the others lose 100.
    void finishHand()
    {
        for (const std::uint8_t seat : kSeats) {
            wire::HandResultFrame f;
            f.seat = wire::SeatByte{seat};
            f.stake = 100;
            f.cashUnit = 1;
            f.outcome = seat == 2 ? 1 : 2;
            f.finalAmount = seat == 2 ? 300 : 100;
            client.dispatch(f.encode());
        }
    }

    void announceScoreInformation()
    {
        wire::MessageFrame frame;
        frame.setCmd(wire::CmdProp46);
        client.dispatch(frame);
    }

    settlement::ScoreWindow &score() { return client.tableSettlement.Score(); }
    Lines lines(int list) { return settlement::ListLines(score().State(list)); }

    static constexpr std::uint8_t kSeats[] = {1, 2, 4, 8};
    WholeTableClient client{WholeTableClient::Items::Scripted};
    ScriptedPropLibrary &library = *client.itemLibrary;
};

TEST_F(HeldSettlement, TheLibrarysLinesAndCoinsReachTheBoard)
{
    ASSERT_EQ(client.state.gamedllstate, 1) << "the library runs, without treasure boxes";
    library.scoreAnswer = 1;
    library.scoreLines
            = {QString(), QStringLiteral("鲜花×2|宝箱00000255"), QString(), QStringLiteral("礼券")};
    library.scoreCoins = {0, 20, 0, 5};

    finishHand();
    EXPECT_TRUE(client.state.loop.SettlementDeferred);
    EXPECT_FALSE(score().isVisible()) << "the fourth frame waits for the library";
    announceScoreInformation();
    library.calls.clear();
    client.runItemStep();

    EXPECT_FALSE(client.state.loop.SettlementDeferred);
    EXPECT_EQ(library.calls,
              (std::vector<std::string>{"CheckSendBuff", "GetScoreInfo", "InitShowNext 0"}));
    // Three opening lines, then each seat's item lines and a blank one, the
    // lists evened out to the longest.
    EXPECT_EQ(lines(1).mid(3, 3),
              (Lines{QStringLiteral("鲜花×2"), QStringLiteral("宝箱"), QString()}));
    EXPECT_EQ(lines(3).mid(3, 3), (Lines{QStringLiteral("礼券"), QString(), QString()}));
    EXPECT_EQ(lines(0).mid(3, 3), (Lines{QString(), QString(), QString()}));
    EXPECT_EQ(score().StateColour(1), 255);
    // The coins the items won count in the final amount, for a winner and
    // for a loser alike.
    EXPECT_EQ(lines(5), Lines{QStringLiteral("最终分：320金币")});
    EXPECT_EQ(lines(7), Lines{QStringLiteral("总分：- 105金币")});
    EXPECT_EQ(lines(4), Lines{QStringLiteral("总分：- 100金币")});
    EXPECT_EQ(client.state.loop.propScore.PropText, (std::array<QString, 4>{}));
}

} // namespace
} // namespace tessaroc::test
