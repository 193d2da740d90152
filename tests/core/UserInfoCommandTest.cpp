#include "DispatchFixture.h"

namespace tessaroc::core::test {
namespace {

TEST(UserInfoCommand, TheFirstFrameFixesTheOwnSeatAndEachFrameFillsItsPosition)
{
    Client client;
    client.dispatch(userInfo("own", 4, 4).encode());
    client.dispatch(userInfo("left", 8, 4).encode());
    client.dispatch(userInfo("top", 1, 4).encode());
    client.dispatch(userInfo("right", 0x12, 4).encode()); // high bits ignored
    EXPECT_EQ(client.state.rules.ownHand().seatBit, 4);
    const char *names[] = {"own", "left", "top", "right"};
    for (int pos = 0; pos < 4; ++pos) {
        const auto at = static_cast<std::size_t>(pos);
        EXPECT_EQ(client.state.rules.HandRecords[at].name, names[pos]);
        EXPECT_EQ(client.state.commands.custom[at].accountName, names[pos]);
        EXPECT_EQ(client.form().seats.Nid(pos).Caption(),
                  QStringLiteral("[会员] ") + QString::fromLatin1(names[pos])
                          + QStringLiteral("-nick"));
        EXPECT_EQ(client.form().seats.Cash(pos).Caption(), QStringLiteral("30000金币"));
        EXPECT_EQ(client.form().seats.Level(pos).Caption(), QStringLiteral("新手"));
    }
    EXPECT_EQ(client.state.rules.HandRecords[3].seatBit, 2);
    EXPECT_EQ(client.loop().PlayersPresent, 4);
}

TEST(UserInfoCommand, AvatarsFromFaceCodes)
{
    struct Case
    {
        const char *face;
        int avatar;
    };
    for (const Case c : {Case{"w3", 12}, Case{"m10", 9}, Case{"m11", 0}, Case{"", 0}, Case{"m0", 0},
                         Case{"mx", 0}, Case{"w", 10}, Case{"m1234", 0}, Case{"w99", 10}}) {
        Client client;
        wire::UserInfoFrame info = userInfo("a", 1);
        info.face = c.face;
        client.dispatch(info.encode());
        EXPECT_EQ(client.settlement.seats[0].second, c.avatar) << c.face;
        const int id = support::pictureId(
                client.state.pictures.AvatarPic[static_cast<std::size_t>(c.avatar)]);
        EXPECT_EQ(client.form().seats.Tou(0).Picture(), id) << c.face;
        EXPECT_EQ(client.state.commands.ScoreNames[0].face, std::to_string(c.avatar));
    }
}

TEST(UserInfoCommand, ReadyMarksByCoins)
{
    struct Case
    {
        std::uint64_t coins;
        int mark;
    };
    for (const Case c : {Case{19999, 280}, Case{20000, 281}, Case{59999, 281}, Case{60000, 282}}) {
        Client client;
        wire::UserInfoFrame info = userInfo("a", 1);
        info.coins = c.coins;
        info.ready = true;
        client.dispatch(info.encode());
        EXPECT_EQ(client.form().seats.OK(0).Picture(), c.mark) << c.coins;
        EXPECT_TRUE(client.form().seats.OK(0).Visible());
    }
}

TEST(UserInfoCommand, TheFourthUserClearsTheTableOnce)
{
    Client client;
    client.seatFour();
    EXPECT_TRUE(client.loop().TableCleared);
    EXPECT_EQ(client.window->lines[0], QStringLiteral("游戏将在15秒内开始"));
    EXPECT_EQ(client.window->restored, 1);
    client.window->lines[0].clear();
    client.dispatch(userInfo("b", 2).encode()); // a refilled seat
    EXPECT_TRUE(client.window->lines[0].isEmpty());
    EXPECT_EQ(client.window->restored, 1);
}

TEST(UserInfoCommand, TheWealthLabelShowsTheSmallestWealth)
{
    Client client;
    wire::UserInfoFrame info = userInfo("a", 1);
    info.wealth = 300;
    client.dispatch(info.encode());
    info = userInfo("b", 2);
    info.wealth = 50;
    client.dispatch(info.encode());
    EXPECT_TRUE(client.window->asked.called("ShowWealth 50"));
    EXPECT_EQ(client.form().bid.lbwealth.Caption(), QStringLiteral("50"));
    EXPECT_TRUE(client.form().bid.lbfont(1).Visible());
    info = userInfo("c", 4);
    info.wealth = 0;
    client.dispatch(info.encode());
    EXPECT_FALSE(client.form().bid.lbwealth.Visible());
}

TEST(UserInfoCommand, TheSwitchedOffLibraryIsMarkedDisabled)
{
    Client client;
    client.dispatch(userInfo("a", 1).encode());
    EXPECT_EQ(client.state.gamedllstate, -1);
    EXPECT_FALSE(client.log.called("items.InitGameDll"));
}

TEST(UserInfoCommand, ADescribedSeatThatNamesNoSeatFillsNothing)
{
    Client client;
    client.dispatch(userInfo("x", 0, 1).encode());
    client.dispatch(userInfo("y", 6, 1).encode());
    for (const auto &hand : client.state.rules.HandRecords)
        EXPECT_TRUE(hand.name.empty());
    EXPECT_EQ(client.loop().PlayersPresent, 0);
    EXPECT_EQ(client.state.rules.ownHand().seatBit, 1);
}

} // namespace
} // namespace tessaroc::core::test
