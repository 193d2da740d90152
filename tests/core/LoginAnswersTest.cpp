#include "DispatchFixture.h"

#include "core/Reconnect.h"

namespace tessaroc::core::test {
namespace {

wire::MessageFrame loginAnswer(std::uint8_t result, std::uint8_t seconds = 15,
                               const std::string &address = {})
{
    return wire::LoginAnswerFrame{seconds, result, address}.encode();
}

TEST(LoginAnswer, AcceptedOpensPlayAtTheTable)
{
    Client client;
    client.loop().LoggedIn = false;
    client.loop().LoginSent = true;
    client.loop().HoldCommand21 = true;
    client.loop().HeldFrames[0] = {true, loginAnswer(1)};
    client.state.core.TableHidden = true;
    client.loop().AdUrl = "unchanged";
    client.dispatch(loginAnswer(1, 15));

    const MainLoopState &loop = client.loop();
    EXPECT_TRUE(loop.LoggedIn);
    EXPECT_FALSE(loop.LoginSent);
    EXPECT_TRUE(loop.ReconnectAllowed);
    EXPECT_TRUE(loop.DealArmed);
    EXPECT_FALSE(loop.HoldCommand21);
    EXPECT_FALSE(loop.HeldFrames[0].armed);
    EXPECT_EQ(loop.HeldFrames[0].frame, wire::MessageFrame{});
    EXPECT_FALSE(client.state.core.TableHidden);
    EXPECT_EQ(client.state.core.TurnSeconds, 15);
    EXPECT_EQ(loop.clocks.TimeoutLimit, 2);
    EXPECT_TRUE(client.timers.keepAlive);
    EXPECT_EQ(client.hall.posts, std::vector<std::uint32_t>{wire::kTableMsgConnected});
    EXPECT_EQ(client.window->lines[0], QStringLiteral("连接服务器成功！"));
    EXPECT_TRUE(client.window->lines[1].startsWith(QStringLiteral("欢迎进入")));
    EXPECT_EQ(loop.AdUrl, "unchanged");
    EXPECT_FALSE(client.form().area.WebBrowser1.Visible());
}

TEST(LoginAnswer, TheAutoModeKeyShortensTheTurnAndAnAddressOpensThePanel)
{
    Client client;
    client.state.core.AutoModeKey = true;
    client.dispatch(loginAnswer(1, 15, "http://ad.example/room"));
    EXPECT_EQ(client.state.core.TurnSeconds, 2);
    EXPECT_EQ(client.loop().AdUrl, "http://ad.example/room.gamead");
    EXPECT_TRUE(client.form().area.WebBrowser1.Visible());
}

TEST(LoginAnswer, ARefusalRestoresTheHallAndEnds)
{
    struct Case
    {
        std::uint8_t result;
        const char *line;
    };
    for (const Case c : {Case{2, "启动游戏失败，请重新在大厅就座后进入游戏！"},
                         Case{0, "验证错误，请重新在大厅就座后进入游戏！"},
                         Case{3, "验证错误，请重新在大厅就座后进入游戏！"}}) {
        Client client;
        client.loop().LoggedIn = false;
        client.dispatch(loginAnswer(c.result));
        EXPECT_EQ(client.window->lines[0], QString::fromUtf8(c.line));
        EXPECT_EQ(client.hall.posts, std::vector<std::uint32_t>{wire::kTableMsgConnecting});
        EXPECT_TRUE(client.log.called("hall.RestoreHall"));
        EXPECT_EQ(client.process.ended, ExitCode::LoginRefused);
        EXPECT_FALSE(client.loop().LoggedIn);
    }
}

// The server answers one login per connection: a second answer on the same
// connection, whatever it says, leaves the table as the first one made it.
TEST(LoginAnswer, ASecondAnswerOnTheSameConnectionChangesNothing)
{
    struct Case
    {
        const char *name;
        wire::MessageFrame second;
    };
    for (const Case &c : {Case{"accepted", loginAnswer(1, 9, "http://other.example/ad")},
                          Case{"refused", loginAnswer(2)}}) {
        SCOPED_TRACE(c.name);
        Client client;
        client.dispatch(loginAnswer(1, 15));
        const int cleared = client.window->cleared;
        const std::vector<std::uint32_t> posts = client.hall.posts;
        client.dispatch(c.second);
        EXPECT_TRUE(client.loop().LoggedIn);
        EXPECT_EQ(client.state.core.TurnSeconds, 15);
        EXPECT_EQ(client.loop().AdUrl, "");
        EXPECT_FALSE(client.form().area.WebBrowser1.Visible());
        EXPECT_EQ(client.window->cleared, cleared);
        EXPECT_EQ(client.hall.posts, posts);
        EXPECT_EQ(client.window->lines[0], QStringLiteral("连接服务器成功！"));
        EXPECT_FALSE(client.process.ended);
    }
}

// A lost connection's reconnection is a connection of its own, and its login
// answer is taken as the first one was.
TEST(LoginAnswer, AReconnectionTakesItsLoginAnswer)
{
    Client client;
    client.dispatch(loginAnswer(1, 15));
    client.loop().LoggedIn = false;
    ReconnectServer(*client.context, client.loop().LoginFrame);
    client.dispatch(loginAnswer(1, 9));
    EXPECT_TRUE(client.loop().LoggedIn);
    EXPECT_EQ(client.state.core.TurnSeconds, 9);
}

TEST(ReconnectAnswer, AcceptedKeepsTheTableAndClearsTheLoginUnderWay)
{
    Client client;
    client.loop().LoggedIn = false;
    client.loop().LoginSent = true; // the request went out as the login does
    client.state.core.TurnSeconds = 9;
    const int cleared = client.window->cleared;
    client.dispatch(wire::ReconnectAnswerFrame{1}.encode());
    EXPECT_TRUE(client.loop().LoggedIn);
    EXPECT_TRUE(client.loop().Reconnected);
    EXPECT_FALSE(client.loop().LoginSent);
    EXPECT_EQ(client.state.core.TurnSeconds, 9);
    EXPECT_EQ(client.window->cleared, cleared);
    EXPECT_FALSE(client.timers.keepAlive);
    EXPECT_EQ(client.window->lines[0], QStringLiteral("正在重连服务器，请等待...！"));
    EXPECT_TRUE(client.window->lines[1].isEmpty());
}

TEST(ReconnectAnswer, ARefusalEndsAfterTheMessageBox)
{
    Client client;
    client.dispatch(wire::ReconnectAnswerFrame{0}.encode());
    ASSERT_EQ(client.process.messages.size(), 1u);
    EXPECT_EQ(client.process.messages[0], QStringLiteral("重连服务器失败，退出后请重新入座！"));
    EXPECT_EQ(client.process.ended, ExitCode::ReconnectRefused);
    const auto &calls = client.log.calls;
    const auto box = std::find(calls.begin(), calls.end(), "process.MessageBox");
    const auto restore = std::find(calls.begin(), calls.end(), "hall.RestoreHall");
    EXPECT_LT(box, restore);
}

} // namespace
} // namespace tessaroc::core::test
