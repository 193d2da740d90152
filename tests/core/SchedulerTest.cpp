#include "CoreHarness.h"

#include "core/TableReset.h"
#include "support/Waits.h"
#include "wire/SentFrames.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace tessaroc::test {
namespace {

using wire::CmdDeal;
using wire::CmdHandResult;
using wire::CmdPlayed;
using wire::CmdUserLeft;

class Scheduler : public ::testing::Test
{
protected:
    std::unique_ptr<CoreHarness> h = std::make_unique<CoreHarness>();
    core::MainLoopState &loop() { return h->state.loop; }
};

TEST_F(Scheduler, SendsOneQueuedFramePerTickInOrder)
{
    h->socket.state = RecordingSocket::sckConnected;
    h->queue(frameOf(wire::CmdKeepAlive, 1));
    h->queue(frameOf(wire::CmdBid, 2));
    h->queue(frameOf(wire::CmdPlay, 3));
    for (std::size_t n = 1; n <= 3; ++n) {
        h->tick();
        ASSERT_EQ(h->socket.sent.size(), n);
    }
    EXPECT_EQ(h->socket.sent[0].byteAt(100), 1);
    EXPECT_EQ(h->socket.sent[1].byteAt(100), 2);
    EXPECT_EQ(h->socket.sent[2].byteAt(100), 3);
    h->tick();
    EXPECT_FALSE(loop().slots.armed(core::LoopSlot::Send)) << "an empty ring disarms the send slot";
}

TEST_F(Scheduler, FrameQueuedWhileConnectingIsDropped)
{
    h->socket.state = 6;
    h->queue(frameOf(wire::CmdKeepAlive));
    h->tick();
    h->socket.state = RecordingSocket::sckConnected;
    h->tick(3);
    EXPECT_TRUE(h->socket.sent.empty());
    EXPECT_FALSE(h->rings.SendRing.hasFrame());
}

TEST_F(Scheduler, ReceivedFramesAreHandledTwoTicksAfterArrivalOnePerTick)
{
    std::vector<std::uint8_t> bytes(600, 0);
    bytes[3] = CmdPlayed;
    bytes[272 + 3] = CmdDeal;
    h->arrive(bytes);
    h->tick();
    EXPECT_TRUE(h->dispatcher.frames.empty());
    h->tick();
    ASSERT_EQ(h->dispatcher.frames.size(), 1u);
    EXPECT_EQ(h->dispatcher.frames[0].cmd(), CmdPlayed);
    h->tick();
    ASSERT_EQ(h->dispatcher.frames.size(), 2u);
    EXPECT_EQ(h->dispatcher.frames[1].cmd(), CmdDeal);
    h->tick(4);
    EXPECT_EQ(h->dispatcher.frames.size(), 2u);
    EXPECT_EQ(h->rings.RecvRing.waiting(), 56u) << "the rest of a frame waits for its other bytes";
}

TEST_F(Scheduler, AFrameArrivingBetweenTurnsOfTheReceiveSlotStillWaitsTwoTicks)
{
    h->arrive(frameOf(CmdPlayed, 1));
    h->tick(3);
    ASSERT_EQ(h->dispatcher.frames.size(), 1u);
    h->arrive(frameOf(CmdPlayed, 2));
    h->tick();
    EXPECT_EQ(h->dispatcher.frames.size(), 1u) << "the arrival counts the two ticks afresh";
    h->tick();
    EXPECT_EQ(h->dispatcher.frames.size(), 2u);
}

TEST_F(Scheduler, LoginSlotPostsConnectingEveryFourthTickThenSendsTheLogin)
{
    loop().LoginFrame = wire::LoginFrame{false, "alice", "secret"}.encode();
    loop().slots.arm(core::LoopSlot::Login);
    h->socket.state = 6;
    for (int t = 1; t <= 12; ++t) {
        h->tick();
        EXPECT_EQ(h->hall.posts.size(), static_cast<std::size_t>(t / 4)) << "tick " << t;
    }
    for (auto msg : h->hall.posts)
        EXPECT_EQ(msg, wire::kTableMsgConnecting);
    h->socket.state = RecordingSocket::sckConnected;
    h->tick(3);
    EXPECT_TRUE(h->socket.sent.empty());
    h->tick();
    ASSERT_EQ(h->socket.sent.size(), 1u);
    EXPECT_EQ(h->socket.sent[0], loop().LoginFrame);
    EXPECT_EQ(h->hall.posts.back(), wire::kTableMsgConnected);
    EXPECT_TRUE(loop().LoginSent);
    EXPECT_TRUE(loop().slots.armed(core::LoopSlot::ConnWatch));
    EXPECT_FALSE(loop().slots.armed(core::LoopSlot::Login));
    EXPECT_TRUE(h->items.calls.empty());
}

TEST_F(Scheduler, FramesQueuedOnAConnectionBeforeItsLoginFollowTheLogin)
{
    loop().LoginFrame = wire::LoginFrame{false, "alice", "secret"}.encode();
    loop().slots.arm(core::LoopSlot::Login);
    h->socket.state = RecordingSocket::sckConnected;
    h->queue(frameOf(wire::CmdKeepAlive, 1));
    h->queue(frameOf(wire::CmdReadyOrLeave, 2));
    h->tick(3);
    EXPECT_TRUE(h->socket.sent.empty()) << "nothing goes ahead of the login";
    h->tick(3);
    ASSERT_EQ(h->socket.sent.size(), 3u);
    EXPECT_EQ(h->socket.sent[0], loop().LoginFrame);
    EXPECT_EQ(h->socket.sent[1].byteAt(100), 1);
    EXPECT_EQ(h->socket.sent[2].byteAt(100), 2);
}

TEST_F(Scheduler, BlinkIsEightChangesFourHundredMillisecondsApartEndingOnTheNormalPicture)
{
    loop().BlinkCount = 8;
    loop().slots.arm(core::LoopSlot::Blink);
    std::vector<int> ticksWithChange;
    for (int t = 1; t <= 100; ++t) {
        const auto before = h->window.toolbar.size();
        h->tick();
        if (h->window.toolbar.size() != before)
            ticksWithChange.push_back(t);
    }
    EXPECT_EQ(ticksWithChange, (std::vector<int>{8, 16, 24, 32, 40, 48, 56, 64, 72}));
    std::vector<int> pictures;
    for (auto [button, picture] : h->window.toolbar) {
        EXPECT_EQ(button, 1);
        pictures.push_back(picture);
    }
    EXPECT_EQ(pictures, (std::vector<int>{3, 2, 3, 2, 3, 2, 3, 2, 2}));
    EXPECT_FALSE(loop().slots.armed(core::LoopSlot::Blink));
}

TEST_F(Scheduler, WatchdogResetsTheTableAfter5000PassesWithoutAFrameInAHand)
{
    h->state.rules.InGame = true;
    loop().slots.arm(core::LoopSlot::Receive);
    h->timers.StartTimerBong();
    h->tick(2 * 4999);
    EXPECT_FALSE(h->window.called("ResetTableView"));
    h->tick(2);
    EXPECT_EQ(h->window.systemLines[0], QStringLiteral("已经与服务器断开连接，请重新入座！"));
    EXPECT_TRUE(h->window.minimised);
    EXPECT_EQ(h->hall.restores, 1);
    EXPECT_TRUE(h->window.called("ResetTableView"));
    EXPECT_FALSE(h->state.rules.InGame);
    EXPECT_FALSE(h->timers.TimerBongEnabled()) << "the reset stops the main loop for good";
    EXPECT_TRUE(h->process.ends.empty());
}

TEST_F(Scheduler, WatchdogEndsTheProgramWithoutAHall)
{
    h->state.rules.InGame = true;
    loop().slots.arm(core::LoopSlot::Receive);
    h->hall.present = false;
    h->tick(2 * 5000);
    EXPECT_EQ(h->process.ends, std::vector<ExitCode>{ExitCode::HallMissing});
}

TEST_F(Scheduler, AFrameResetsTheWatchdogOnlyInAHand)
{
    h->state.rules.InGame = true;
    loop().slots.arm(core::LoopSlot::Receive);
    h->tick(2 * 4000);
    h->arrive(frameOf(CmdPlayed));
    h->tick(2);
    EXPECT_EQ(loop().WatchdogTicks, 0);
    h->tick(2 * 4000);
    EXPECT_FALSE(h->window.called("ResetTableView"));
}

struct ConnWatchCase
{
    const char *name;
    bool hallPresent;
    bool reconnectAllowed;
    bool reconnects;
    std::vector<ExitCode> ends;
};

void PrintTo(const ConnWatchCase &c, std::ostream *os)
{
    *os << c.name;
}

class ConnectionWatch : public Scheduler, public ::testing::WithParamInterface<ConnWatchCase>
{
};

TEST_P(ConnectionWatch, LostSocket)
{
    const ConnWatchCase &c = GetParam();
    int reconnections = 0;
    h->scheduler.setReconnectionStarter([&] { ++reconnections; });
    h->hall.present = c.hallPresent;
    loop().ReconnectAllowed = c.reconnectAllowed;
    loop().LoggedIn = true;
    loop().slots.arm(core::LoopSlot::ConnWatch);
    h->socket.state = RecordingSocket::sckConnected;
    h->tick(4);
    EXPECT_EQ(reconnections, 0);
    h->socket.state = RecordingSocket::sckClosed;
    h->tick(2);
    EXPECT_EQ(reconnections, c.reconnects ? 1 : 0);
    EXPECT_EQ(h->process.ends, c.ends);
    EXPECT_EQ(loop().LoggedIn, !c.reconnects);
    EXPECT_EQ(loop().slots.armed(core::LoopSlot::ConnWatch), !c.reconnects)
            << "without a reconnection the watch goes on";
    if (!c.hallPresent) {
        ASSERT_EQ(h->process.messages.size(), 1u);
        EXPECT_EQ(h->process.messages[0], QStringLiteral("没有找到Ombrevale！"));
    }
}

INSTANTIATE_TEST_SUITE_P(
        Cases, ConnectionWatch,
        ::testing::Values(ConnWatchCase{"AfterLoginReconnects", true, true, true, {}},
                          ConnWatchCase{"BeforeLoginOnlyWatches", true, false, false, {}},
                          ConnWatchCase{
                                  "HallGoneEnds", false, true, false, {ExitCode::HallMissing}}),
        [](const ::testing::TestParamInfo<ConnWatchCase> &p) { return std::string(p.param.name); });

TEST_F(Scheduler, HeldUserLeftStepsAsideUntilTheHoldClears)
{
    loop().HoldCommand21 = true;
    h->arrive(frameOf(CmdUserLeft, 1));
    h->arrive(frameOf(CmdHandResult, 2));
    h->arrive(frameOf(CmdUserLeft, 3));
    h->arrive(frameOf(CmdHandResult, 4));
    h->tick(3);
    ASSERT_EQ(h->dispatcher.frames.size(), 2u) << "the results behind a held frame arrive";
    EXPECT_EQ(h->dispatcher.frames[0].byteAt(100), 2);
    EXPECT_EQ(h->dispatcher.frames[1].byteAt(100), 4);
    h->tick(6);
    EXPECT_EQ(h->dispatcher.frames.size(), 2u) << "held frames wait while the hold lasts";

    loop().HoldCommand21 = false;
    h->arrive(frameOf(CmdDeal, 5));
    h->tick(4);
    ASSERT_EQ(h->dispatcher.frames.size(), 5u);
    EXPECT_EQ(h->dispatcher.frames[2].byteAt(100), 1) << "held frames go first, in order";
    EXPECT_EQ(h->dispatcher.frames[3].byteAt(100), 3);
    EXPECT_EQ(h->dispatcher.frames[4].byteAt(100), 5);
}

// A server that sends user-left frames while the results come in, without
// end: the frames held back keep their room in the receive ring, so the
// arrival that would bring the unread frames past what the ring holds is
// refused as the ring's own overflow is, and ends the client.
TEST_F(Scheduler, HeldUserLeftFramesKeepTheirRoomInTheReceiveRing)
{
    using wire::ReceiveResult;
    const auto userLeftFrames = [](int n) {
        std::vector<std::uint8_t> bytes;
        for (int i = 0; i < n; ++i) {
            const MessageFrame frame = frameOf(CmdUserLeft, static_cast<std::uint8_t>(i));
            bytes.insert(bytes.end(), frame.bytes().begin(), frame.bytes().end());
        }
        return bytes;
    };
    loop().HoldCommand21 = true;
    ASSERT_EQ(h->arrive(userLeftFrames(100)), ReceiveResult::Stored);
    h->tick(3);
    ASSERT_FALSE(h->rings.RecvRing.hasFrame()) << "every user-left frame stepped aside";
    ASSERT_EQ(h->arrive(userLeftFrames(27)), ReceiveResult::Stored);
    h->tick(3);
    EXPECT_TRUE(h->dispatcher.frames.empty());
    // 127 frames held: the ring still takes the bytes of a frame in part,
    // and not one byte more.
    ASSERT_EQ(h->arrive(std::vector<std::uint8_t>(wire::kFrameSize - 1, 0)), ReceiveResult::Stored);
    EXPECT_EQ(h->arrive(std::vector<std::uint8_t>(1, 0)), ReceiveResult::Overflow);

    // A held frame that is dispatched gives its room back.
    loop().HoldCommand21 = false;
    h->tick(2);
    ASSERT_EQ(h->dispatcher.frames.size(), 1u);
    EXPECT_EQ(h->arrive(std::vector<std::uint8_t>(wire::kFrameSize, 0)), ReceiveResult::Stored);
    EXPECT_EQ(h->arrive(std::vector<std::uint8_t>(1, 0)), ReceiveResult::Overflow);
}

TEST_F(Scheduler, WithoutAHoldUserLeftFramesKeepTheirPlace)
{
    h->arrive(frameOf(CmdHandResult, 1));
    h->arrive(frameOf(CmdUserLeft, 2));
    h->arrive(frameOf(CmdHandResult, 3));
    h->tick(4);
    ASSERT_EQ(h->dispatcher.frames.size(), 3u);
    for (std::uint8_t i = 0; i < 3; ++i)
        EXPECT_EQ(h->dispatcher.frames[i].byteAt(100), i + 1);
}

TEST_F(Scheduler, LeaveFrameSentHandsTheTableBackToTheHall)
{
    h->socket.state = RecordingSocket::sckConnected;
    MessageFrame ready = wire::ReadyOrLeaveFrame{4, true}.encode();
    h->queue(ready);
    h->tick();
    EXPECT_FALSE(h->window.minimised) << "a ready frame does not minimise";
    MessageFrame leave = wire::ReadyOrLeaveFrame{4, false}.encode();
    h->queue(leave);
    h->tick();
    EXPECT_TRUE(h->window.minimised);
    EXPECT_EQ(h->hall.restores, 1);
    h->hall.present = false;
    h->queue(leave);
    h->tick();
    EXPECT_EQ(h->process.ends, std::vector<ExitCode>{ExitCode::HallMissing});
}

TEST_F(Scheduler, CapturedItemFramesAreKeptOncePerArming)
{
    h->socket.state = RecordingSocket::sckConnected;
    auto prop45 = [](int subKind) {
        MessageFrame frame = frameOf(wire::CmdProp45);
        frame.setByte(8, static_cast<std::uint8_t>((subKind * 8) >> 8));
        frame.setByte(9, static_cast<std::uint8_t>(subKind * 8));
        return frame;
    };
    loop().HeldFrames[0].armed = true;
    loop().HeldFrames[1].armed = true;
    h->queue(prop45(129));
    h->queue(prop45(129));
    h->queue(prop45(386));
    h->queue(prop45(5));
    h->tick(4);
    ASSERT_EQ(h->socket.sent.size(), 2u);
    EXPECT_FALSE(loop().HeldFrames[0].armed);
    EXPECT_FALSE(loop().HeldFrames[1].armed);
    EXPECT_EQ(loop().HeldFrames[0].frame.byteAt(9), static_cast<std::uint8_t>(129 * 8));
    EXPECT_EQ(loop().HeldFrames[1].frame.byteAt(8), (386 * 8) >> 8);
}

TEST_F(Scheduler, StopwatchRestartsAfterFourSeconds)
{
    loop().slots.arm(core::LoopSlot::Stopwatch);
    const auto start = h->clock.nowMs();
    loop().StopwatchStartMs = start;
    h->tick(69); // 3.45 s
    EXPECT_EQ(loop().slots.ticks(core::LoopSlot::Stopwatch), 0);
    h->tick(1); // 3.5 s rounds to 4
    EXPECT_EQ(loop().slots.ticks(core::LoopSlot::Stopwatch), 1);
    h->tick();
    EXPECT_EQ(loop().StopwatchStartMs, h->clock.nowMs());
}

TEST_F(Scheduler, BubbleHideEverySecondWhileArmed)
{
    loop().slots.arm(core::LoopSlot::BubbleHide);
    h->state.core.BubbleSeat = 2;
    h->tick(19);
    EXPECT_FALSE(h->window.called("HideWords"));
    h->tick();
    EXPECT_TRUE(h->window.called("HideBubble 2"));
    EXPECT_TRUE(h->window.called("HideWords"));
}

// The table reset disarms every slot: with each slot armed and work waiting
// for it, none of them runs in the ticks after the reset.
TEST_F(Scheduler, NoSlotRunsAfterTheTableReset)
{
    using core::LoopSlot;
    int reconnections = 0;
    h->scheduler.setReconnectionStarter([&] { ++reconnections; });
    loop().LoggedIn = true;
    loop().ReconnectAllowed = true;
    loop().BlinkCount = 8;
    h->state.core.BubbleSeat = 2;
    h->queue(frameOf(wire::CmdKeepAlive));
    h->arrive(frameOf(CmdPlayed));
    for (LoopSlot slot :
         {LoopSlot::Login, LoopSlot::Blink, LoopSlot::ChoiceClock, LoopSlot::ConnWatch,
          LoopSlot::PlayClock, LoopSlot::ReadyClock, LoopSlot::Stopwatch, LoopSlot::BubbleHide})
        loop().slots.arm(slot);

    core::ResetTable(h->context);
    const std::size_t toolbarChanges = h->window.toolbar.size();
    const std::int64_t resetAt = h->clock.nowMs();
    h->tick(100);

    EXPECT_TRUE(h->rings.SendRing.hasFrame()) << "send";
    EXPECT_TRUE(h->dispatcher.frames.empty()) << "receive";
    EXPECT_TRUE(h->hall.posts.empty()) << "login";
    EXPECT_EQ(h->window.toolbar.size(), toolbarChanges) << "blink";
    EXPECT_TRUE(h->window.clockShown.empty()) << "the turn clocks";
    EXPECT_EQ(reconnections, 0) << "connection watch";
    EXPECT_EQ(loop().StopwatchStartMs, resetAt) << "stopwatch";
    EXPECT_FALSE(h->window.called("HideWords")) << "bubble hide";
}

// ----------------------------------------------------------- the tick's frame

TEST_F(Scheduler, TimerRestartsAfterAHandlerThatThrows)
{
    h->timers.StartTimerBong();
    h->dispatcher.onFrame = [](const MessageFrame &) {
        throw std::runtime_error("broken handler");
    };
    h->arrive(frameOf(CmdPlayed));
    h->arrive(frameOf(CmdPlayed, 2));
    h->tick(2);
    EXPECT_TRUE(h->timers.TimerBongEnabled());
    EXPECT_FALSE(h->scheduler.ticking());
    h->tick();
    EXPECT_EQ(h->dispatcher.frames.size(), 2u) << "the next tick runs as usual";
}

TEST_F(Scheduler, MainLoopStoppedByAHandlerStaysStopped)
{
    h->timers.StartTimerBong();
    h->dispatcher.onFrame = [&](const MessageFrame &) {
        core::ResetTable(h->context);
    };
    h->arrive(frameOf(CmdPlayed));
    h->tick(2);
    EXPECT_FALSE(h->timers.TimerBongEnabled());
}

TEST_F(Scheduler, MainLoopStartedAgainInsideATickRunsAfterIt)
{
    h->timers.StartTimerBong();
    h->dispatcher.onFrame = [&](const MessageFrame &) {
        h->timers.StopTimerBong();
        h->timers.StartTimerBong();
        EXPECT_TRUE(h->timers.inTick());
    };
    h->arrive(frameOf(CmdPlayed));
    h->tick(2);
    EXPECT_TRUE(h->timers.TimerBongEnabled());
}

TEST_F(Scheduler, ATickInsideAHandlersWaitDoesNotRunAndTheWaitEnds)
{
    h->timers.StartTimerBong();
    h->socket.state = RecordingSocket::sckConnected;
    std::uint64_t ticksDuringWait = 0;
    h->dispatcher.onFrame = [&](const MessageFrame &message) {
        if (message.cmd() != CmdDeal)
            return;
        // Another frame is waiting to go out: a nested tick would send it.
        h->queue(frameOf(wire::CmdKeepAlive));
        InsideWait during(h->clock, [&] {
            const auto before = h->scheduler.ticksRun();
            h->tick();
            ticksDuringWait = h->scheduler.ticksRun() - before;
        });
        support::Wait(h->clock, 200);
        EXPECT_EQ(during.runs, 1);
    };
    h->arrive(frameOf(CmdDeal));
    h->tick(2);
    EXPECT_EQ(ticksDuringWait, 0u);
    EXPECT_TRUE(h->socket.sent.empty());
    h->tick();
    EXPECT_EQ(h->socket.sent.size(), 1u);
    EXPECT_TRUE(h->timers.TimerBongEnabled());
}

} // namespace
} // namespace tessaroc::test
