#include "DispatchFixture.h"

#include "core/Reconnect.h"
#include "wire/SentFrames.h"

namespace tessaroc::core::test {
namespace {

class Reconnecting : public ::testing::Test
{
protected:
    Reconnecting()
    {
        client.seatFour();
        client.clock.setStep(0);
        client.state.rules.InGame = true;
        client.state.commands.ResumeValue = 448;
        client.rings.EchoBytes = {0x21, 0x43};
        client.loop().line.ProxyType = 0;
        client.loop().LoginFrame = wire::LoginFrame{false, "a", "pw", {}, 0}.encode();
        client.socket.state = services::ServerSocket::sckClosed;
    }

    // Moves the clock on and lets the timers that are due fire.
    void after(std::int64_t ms)
    {
        client.clock.advance(ms);
        reconnection.poll();
    }
    int attempts() const { return client.log.count("socket.Connect"); }

    Client client;
    fakes::RecordingReconnectView view;
    Reconnection reconnection{*client.context, view};
};

TEST_F(Reconnecting, TheCountdownEndsAtOnceAndAttemptsComeThreeSecondsApart)
{
    reconnection.Form_Load();
    EXPECT_EQ(view.countdown, QStringLiteral("0 秒后自动重连"));
    EXPECT_TRUE(reconnection.TimerReconnectEnabled());
    after(1);
    EXPECT_FALSE(reconnection.TimerReconnectEnabled());
    EXPECT_TRUE(reconnection.TimerCountEnabled());
    EXPECT_EQ(view.hides, 1);
    after(2999);
    EXPECT_EQ(attempts(), 0);
    after(1);
    EXPECT_EQ(attempts(), 1);
    after(2999);
    EXPECT_EQ(attempts(), 1);
    after(1);
    EXPECT_EQ(attempts(), 2);
    EXPECT_EQ(client.state.core.ReconnectTries, 2);
}

TEST_F(Reconnecting, TheRequestCarriesTheEchoBytesAndTheResumeValue)
{
    wire::MessageFrame queued;
    queued.setCmd(wire::CmdKeepAlive);
    client.rings.SendRing.pushFrame(queued);
    client.rings.RecvRing.pushByte(0x07); // half a frame from the broken link
    reconnection.Form_Load();
    after(1);
    after(3000);
    const wire::MessageFrame &request = client.loop().LoginFrame;
    SCOPED_TRACE(wire::describe(request));
    EXPECT_EQ(request.cmd(), wire::CmdReconnect);
    EXPECT_EQ(request.byteAt(wire::offset::kEcho), 0x21);
    EXPECT_EQ(request.byteAt(wire::offset::kEcho + 1), 0x43);
    const std::uint8_t resume[] = {192, 1, 0, 0};
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_EQ(request.byteAt(wire::offset::kResumeValue + i), resume[i]);
    const wire::LoginFrame login = wire::LoginFrame::decode(request);
    EXPECT_EQ(login.account, "a");
    EXPECT_EQ(login.password, "pw");
    // Nothing of the broken connection survives in either ring.
    EXPECT_FALSE(client.rings.SendRing.hasFrame());
    EXPECT_EQ(client.rings.RecvRing.waiting(), 0u);
    EXPECT_TRUE(client.loop().slots.armed(core::LoopSlot::Login));
    EXPECT_EQ(client.window->lines[0], QStringLiteral("正在重新连接服务器..."));
}

TEST_F(Reconnecting, GivesUpAfterTwentyOneAttempts)
{
    reconnection.Form_Load();
    after(1);
    for (int i = 0; i < 21; ++i)
        after(3000);
    EXPECT_EQ(attempts(), 21);
    EXPECT_EQ(client.window->otherExitShown, 0);
    after(3000);
    EXPECT_EQ(attempts(), 21);
    EXPECT_FALSE(reconnection.TimerCountEnabled());
    EXPECT_EQ(client.otherExit().Label1.Caption(),
              QStringLiteral("网络已断开,请退出大厅重新登陆游戏"));
    EXPECT_EQ(client.window->otherExitShown, 1);
    EXPECT_TRUE(client.window->minimised);
    EXPECT_TRUE(client.log.called("hall.RestoreHall"));
    EXPECT_EQ(client.window->resets, 1);
    EXPECT_TRUE(client.state.rules.ownHand().name.empty());
    after(30000);
    EXPECT_EQ(attempts(), 21);
}

TEST_F(Reconnecting, NoHandNoAttempt)
{
    client.state.rules.InGame = false;
    reconnection.Form_Load();
    after(1);
    after(3000);
    EXPECT_EQ(attempts(), 0);
    EXPECT_FALSE(reconnection.TimerCountEnabled());
    EXPECT_EQ(client.loop().LoginFrame.cmd(), wire::CmdLogin);
}

TEST_F(Reconnecting, ASocketThatStandsAgainUnloadsTheDialog)
{
    reconnection.Form_Load();
    after(1);
    after(3000);
    client.socket.state = services::ServerSocket::sckConnected;
    after(3000);
    EXPECT_EQ(attempts(), 1);
    EXPECT_EQ(view.unloads, 1);
    EXPECT_FALSE(reconnection.Loaded());
    EXPECT_FALSE(reconnection.TimerCountEnabled());
}

TEST_F(Reconnecting, ASecondLossAfterASuccessStartsAfresh)
{
    reconnection.Form_Load();
    after(1);
    for (int i = 0; i < 5; ++i)
        after(3000);
    client.socket.state = services::ServerSocket::sckConnected;
    after(3000);
    ASSERT_FALSE(reconnection.Loaded());

    client.socket.state = services::ServerSocket::sckClosed;
    client.rings.EchoBytes = {9, 8};
    client.state.commands.ResumeValue = 1;
    reconnection.Form_Load();
    EXPECT_EQ(client.state.core.ReconnectTries, 0);
    after(1);
    after(3000);
    EXPECT_EQ(attempts(), 6);
    EXPECT_EQ(client.loop().LoginFrame.cmd(), wire::CmdReconnect);
    EXPECT_EQ(client.loop().LoginFrame.byteAt(wire::offset::kEcho), 9);
    EXPECT_EQ(client.loop().LoginFrame.byteAt(wire::offset::kResumeValue), 1);
    // The whole sequence again, so a long second loss also ends in a give-up.
    for (int i = 0; i < 21; ++i)
        after(3000);
    EXPECT_EQ(client.window->otherExitShown, 1);
}

TEST_F(Reconnecting, TheCancelButtonLeavesForTheHall)
{
    reconnection.Form_Load();
    reconnection.pbCancel_Click();
    EXPECT_FALSE(reconnection.Loaded());
    EXPECT_EQ(client.window->resets, 1);
    EXPECT_TRUE(client.log.called("hall.RestoreHall"));
}

} // namespace
} // namespace tessaroc::core::test
