#include "CoreHarness.h"

#include "core/HallWindowLink.h"
#include "core/Shutdown.h"
#include "platform/HallLink.h"
#include "wire/SentFrames.h"

#include <gtest/gtest.h>

namespace tessaroc::test {
namespace {

MessageFrame loginAnswer(std::uint8_t result, std::uint8_t turnSeconds)
{
    MessageFrame frame;
    frame.setCmd(wire::CmdLogin);
    frame.setByte(wire::offset::kArg11, turnSeconds);
    frame.setByte(wire::offset::kArg15, result);
    return frame;
}

MessageFrame handStart()
{
    MessageFrame frame;
    frame.setCmd(wire::CmdDeal);
    frame.setByte(wire::offset::kArg11, 25);
    return frame;
}

// The core with its own dispatcher on recording services: what a session
// between the login answer and the unload leaves behind.
class Session : public ::testing::Test
{
protected:
    Session()
    {
        h->timers.setTickHandler([this] { scheduler.TimerBong_Timer(); });
        h->socket.state = RecordingSocket::sckConnected;
        h->state.loop.line.ProxyType = 0;
    }
    void receive(const MessageFrame &frame)
    {
        h->arrive(frame);
        for (int i = 0; i < 2; ++i) {
            h->clock.advance(50);
            scheduler.TimerBong_Timer();
        }
    }
    // Every TimerKeepAlive event over `ms`, then the main loop's ticks that
    // send what it queued.
    int keepAlivesOver(int ms)
    {
        int fired = 0;
        for (int t = 0; t < ms; t += core::CoreTimers::kKeepAliveMs) {
            if (h->timers.KeepAliveEnabled()) {
                core::TimerKeepAlive_Timer(h->context);
                ++fired;
            }
            for (int i = 0; i < 3; ++i) {
                h->clock.advance(50);
                scheduler.TimerBong_Timer();
            }
        }
        return fired;
    }
    std::size_t sentOf(std::uint8_t cmd) const
    {
        return static_cast<std::size_t>(
                std::count_if(h->socket.sent.begin(), h->socket.sent.end(),
                              [cmd](const MessageFrame &f) { return f.cmd() == cmd; }));
    }

    std::unique_ptr<CoreHarness> h = std::make_unique<CoreHarness>();
    core::Dispatcher dispatcher{h->context};
    core::TickScheduler scheduler{h->context, h->timers, dispatcher, h->clocks, h->itemSteps};
};

TEST_F(Session, KeepAliveRunsFromTheLoginAnswerToTheHandStart)
{
    EXPECT_EQ(h->timers.keepAliveIntervalMs(), 5000);
    EXPECT_EQ(keepAlivesOver(20000), 0) << "nothing before the login answer";

    MessageFrame answer = loginAnswer(1, 20);
    answer.setByte(wire::offset::kEcho, 0x12);
    answer.setByte(wire::offset::kEcho + 1, 0x34);
    receive(answer);
    EXPECT_TRUE(h->state.loop.LoggedIn);
    EXPECT_EQ(h->state.core.TurnSeconds, 20);
    EXPECT_EQ(keepAlivesOver(20000), 4);
    ASSERT_EQ(sentOf(wire::CmdKeepAlive), 4u);
    MessageFrame expected = wire::KeepAliveFrame{4}.encode();
    expected.setByte(wire::offset::kEcho, 0x12);
    expected.setByte(wire::offset::kEcho + 1, 0x34);
    EXPECT_EQ(h->socket.sent.back(), expected) << "own seat and the last echo bytes";

    receive(handStart());
    EXPECT_EQ(keepAlivesOver(20000), 0) << "none during a hand";
    EXPECT_EQ(h->hall.posts.back(), wire::kTableMsgHandStart);

    receive(frameOf(wire::CmdUserLeft));
    EXPECT_EQ(keepAlivesOver(10000), 2) << "a user leaving starts it again";
}

TEST_F(Session, RefusedLoginRestoresTheHallAndEnds)
{
    for (std::uint8_t result : {0, 2, 3}) {
        h = std::make_unique<CoreHarness>();
        core::Dispatcher d{h->context};
        d.ProcessMessage(loginAnswer(result, 15));
        EXPECT_EQ(h->hall.restores, 1);
        EXPECT_EQ(h->hall.posts, std::vector<std::uint32_t>{wire::kTableMsgConnecting});
        EXPECT_EQ(h->process.ends, std::vector<ExitCode>{ExitCode::LoginRefused});
        EXPECT_FALSE(h->state.loop.LoggedIn);
    }
}

TEST_F(Session, AWholeSessionNeverCallsTheItemLibrary)
{
    platform::HallLink link;
    core::HallWindowLink table{h->context, link};
    h->state.loop.slots.arm(core::LoopSlot::Login);
    h->state.loop.LoginFrame = wire::LoginFrame{false, "alice", "secret"}.encode();
    for (int i = 0; i < 8; ++i)
        scheduler.TimerBong_Timer();
    receive(loginAnswer(1, 15));
    keepAlivesOver(10000);
    receive(handStart());
    h->state.loop.LoggedIn = true;
    h->state.loop.clocks.MyTurn = true;
    h->state.loop.slots.arm(core::LoopSlot::PlayClock);
    h->state.loop.clocks.ClockSeconds = 2;
    for (int i = 0; i < 100; ++i) {
        h->clock.advance(50);
        scheduler.TimerBong_Timer();
    }
    receive(frameOf(wire::CmdProp44));
    receive(frameOf(wire::CmdProp46));
    receive(frameOf(wire::CmdUserLeft));
    InsideWait walker(h->clock, [] {});
    table.HallWndProc(wire::kHallMsgLeave, 0, 0);
    table.HallWndProc(wire::kHallMsgReconnect, 0, 0);
    core::Form_Unload(h->context, table);
    EXPECT_EQ(h->process.ends, std::vector<ExitCode>{ExitCode::NormalClose});
    EXPECT_TRUE(h->items.calls.empty()) << h->items.calls.front();
}

TEST_F(Session, UnloadSendsNoLeaveFrameAndNeverLooksForTheHall)
{
    platform::HallLink link;
    core::HallWindowLink table{h->context, link};
    h->hall.present = false;
    h->state.sound = core::SoundSwitches{};
    core::Form_Unload(h->context, table);
    EXPECT_TRUE(h->socket.sent.empty());
    EXPECT_EQ(h->sound.calls, (std::vector<std::string>{"StopMusic", "StopSound"}));
    EXPECT_EQ(h->video.calls, std::vector<std::string>{"Logout"});
    EXPECT_TRUE(h->window.called("UnloadWindows"));
    EXPECT_EQ(h->process.ends, std::vector<ExitCode>{ExitCode::NormalClose});
}

} // namespace
} // namespace tessaroc::test
