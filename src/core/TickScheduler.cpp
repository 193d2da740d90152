#include "core/TickScheduler.h"

#include "core/CoreContext.h"
#include "core/CoreTimers.h"
#include "core/Dispatcher.h"
#include "core/ItemSteps.h"
#include "core/Leave.h"
#include "core/TableReset.h"
#include "core/TurnClocks.h"
#include "support/Waits.h"
#include "wire/ReceivedFrames.h"
#include "wire/SentFrames.h"

#include <QScopeGuard>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <deque>
#include <exception>

namespace tessaroc::core {

namespace {

// Item frames the send slot can keep back: CmdProp45 with these sub-kinds.
// The sub-kind is read unsigned: a frame with byte 8 at 128 or more (only the
// item library makes one) is no sub-kind we hold.
constexpr int kFirstHeldSubKind = 129;
constexpr int kSecondHeldSubKind = 386;
constexpr int kRecStateServer = 3;

} // namespace

TickScheduler::TickScheduler(CoreContext &context, CoreTimers &timers, Dispatcher &dispatcher,
                             TurnClocks &clocks, ItemSteps &items)
    : c_(context)
    , timers_(timers)
    , dispatcher_(dispatcher)
    , clocks_(clocks)
    , items_(items)
{
    timers_.setQuietTicks([this](std::int64_t lastTickMs,
                                 double tickMs) { return ticksUntilDue(lastTickMs, tickMs); },
                          [this](int n) { skipQuietTicks(n); });
}

void TickScheduler::TimerBong_Timer()
{
    if (ticking_)
        return;
    ticking_ = true;
    timers_.beginTick();
    // Every way out of the tick starts the timer again: an early end, a
    // handler that throws, the program asked to end.
    const auto restart = qScopeGuard([this] {
        ticking_ = false;
        timers_.endTick();
    });
    ++ticksRun_;
    try {
        TickSchedulerSteps();
    } catch (const std::exception &fault) {
        std::fprintf(stderr, "tessaroc: a fault in the main loop's tick: %s\n", fault.what());
    }
}

int TickScheduler::ticksUntilDue(std::int64_t lastTickMs, double tickMs) const
{
    const MainLoopState &loop = c_.loop();
    const LoopSlots &slots = loop.slots;
    // The stopwatch reads the clock, the video delay counts and the item
    // library is pumped in every tick.
    if (slots.armed(LoopSlot::Stopwatch) || loop.OwnVideoDelayArmed || loop.PropReady
        || loop.SettlementDeferred || loop.BoxCountdownOn)
        return 1;
    int ticks = kMaxQuietTicks;
    const auto dueIn = [&ticks](int n) {
        ticks = std::min(ticks, n);
    };
    for (const LoopSlot slot :
         {LoopSlot::Send, LoopSlot::Login, LoopSlot::Blink, LoopSlot::BubbleHide}) {
        if (slots.armed(slot))
            dueIn(slots.ticksToDue(slot));
    }
    // With nothing received the receive slot's turn only counts a pass of
    // the watchdog while a hand runs, and the connection watch only looks at
    // a socket that still stands: the socket's news wakes the loop.
    if (slots.armed(LoopSlot::Receive)) {
        if (framesToDispatch()) {
            dueIn(slots.ticksToDue(LoopSlot::Receive));
        } else if (c_.state.rules.InGame) {
            const int passesBeforeLast = std::max(0, kWatchdogPasses - 1 - loop.WatchdogTicks);
            dueIn(slots.ticksToDue(LoopSlot::Receive)
                  + passesBeforeLast * LoopSlots::threshold(LoopSlot::Receive));
        }
    }
    if (slots.armed(LoopSlot::ConnWatch)
        && c_.socket.State() != services::ServerSocket::sckConnected)
        dueIn(slots.ticksToDue(LoopSlot::ConnWatch));
    // A turn clock steps in the first tick a second after its last step.
    const auto clock = [&](ClockState::Clock which, bool running) {
        if (!running || !loop.LoggedIn)
            return;
        const std::optional<std::int64_t> &last = loop.clocks.lastStepMs[which];
        const double wait = last ? double(*last + TurnClocks::kStepMs - lastTickMs) : 0.0;
        dueIn(std::max(1, static_cast<int>(std::ceil(wait / tickMs))));
    };
    clock(ClockState::Bid, c_.state.core.BidClockOn);
    clock(ClockState::Choice, slots.armed(LoopSlot::ChoiceClock));
    clock(ClockState::Play, slots.armed(LoopSlot::PlayClock));
    clock(ClockState::Ready, slots.armed(LoopSlot::ReadyClock));
    return ticks;
}

void TickScheduler::skipQuietTicks(int n)
{
    MainLoopState &loop = c_.loop();
    if (c_.state.rules.InGame && loop.slots.armed(LoopSlot::Receive))
        loop.WatchdogTicks += loop.slots.turnsWithin(LoopSlot::Receive, n);
    loop.slots.countTicks(n);
    ticksRun_ += static_cast<std::uint64_t>(n);
}

template<void (TickScheduler::*Step)()> void TickScheduler::runSlot(LoopSlot slot)
{
    if (c_.loop().slots.due(slot))
        (this->*Step)();
    c_.loop().slots.wrap(slot);
}

void TickScheduler::TickSchedulerSteps()
{
    LoopSlots &slots = c_.loop().slots;
    slots.countTick();
    Stopwatch();

    runSlot<&TickScheduler::TickSlotSend>(LoopSlot::Send);
    runSlot<&TickScheduler::TickSlotReceive>(LoopSlot::Receive);
    runSlot<&TickScheduler::TickSlotLogin>(LoopSlot::Login);
    runSlot<&TickScheduler::TickSlotBlink>(LoopSlot::Blink);

    // The turn clocks look at their slots' flags and step on the monotonic
    // clock; their counts only wrap.
    clocks_.BidClock();
    clocks_.ChoiceClock();
    slots.wrap(LoopSlot::ChoiceClock);
    clocks_.PlayClock();
    slots.wrap(LoopSlot::PlayClock);
    clocks_.ReadyClock();
    slots.wrap(LoopSlot::ReadyClock);

    runSlot<&TickScheduler::TickSlotConnWatch>(LoopSlot::ConnWatch);
    runSlot<&TickScheduler::TickSlotBubbleHide>(LoopSlot::BubbleHide);

    if (!items_.Run())
        return;
    OwnVideoDelay();
}

void TickScheduler::Stopwatch()
{
    MainLoopState &loop = c_.loop();
    if (!loop.slots.armed(LoopSlot::Stopwatch))
        return;
    const std::int64_t now = c_.clock.nowMs();
    if (loop.slots.due(LoopSlot::Stopwatch)) {
        loop.StopwatchStartMs = now;
        loop.slots.restartCount(LoopSlot::Stopwatch);
        return;
    }
    loop.StopwatchElapsedMs = now - loop.StopwatchStartMs;
    // Whole seconds, rounded: 3.5 s and more count as 4.
    if (loop.StopwatchElapsedMs >= kStopwatchMs - 500)
        loop.slots.dueAtNextTick(LoopSlot::Stopwatch);
}

void TickScheduler::TickSlotSend()
{
    MainLoopState &loop = c_.loop();
    // The server takes a connection's first frame for its login and closes
    // a connection that starts with anything else: a line the player sent,
    // or the ready button pressed, after the connection came up but before
    // the login slot's turn waits for the login to go first.
    if (loop.slots.armed(LoopSlot::Login)
        && c_.socket.State() == services::ServerSocket::sckConnected)
        return;
    wire::MessageFrame frame;
    if (!c_.rings.SendRing.takeFrame(frame)) {
        loop.slots.disarm(LoopSlot::Send);
        return;
    }
    loop.slots.restartCount(LoopSlot::Send);
    // A frame that finds no connection is dropped.
    if (c_.socket.State() != services::ServerSocket::sckConnected)
        return;
    if (frame.cmd() == wire::CmdProp45) {
        const int kind = wire::ItemFrame::decode(frame).subKind;
        for (int i = 0; i < 2; ++i) {
            HeldFrame &held = loop.HeldFrames[static_cast<std::size_t>(i)];
            if (held.armed && kind == (i == 0 ? kFirstHeldSubKind : kSecondHeldSubKind)) {
                held.armed = false;
                held.frame = frame;
                return;
            }
        }
    }
    c_.socket.SendData(frame);
    if (wire::isLeaveFrame(frame)) {
        // The player left the table: the hall takes over again.
        handBackToHall();
    }
}

bool TickScheduler::handBackToHall()
{
    MainLoopState &loop = c_.loop();
    loop.HallWnd = c_.hall.FindHall();
    if (!loop.HallWnd) {
        c_.process.End(ExitCode::HallMissing);
        return false;
    }
    c_.window.Minimise();
    c_.hall.RestoreHall();
    return true;
}

bool TickScheduler::takeReceivedFrame()
{
    MainLoopState &loop = c_.loop();
    std::deque<wire::MessageFrame> &held = c_.rings.HeldRecv;
    // User-left frames held back while the hand's results come in: once the
    // hold clears they go first, in the order they came.
    if (!loop.HoldCommand21 && !held.empty()) {
        const wire::MessageFrame message = held.front();
        held.pop_front();
        dispatcher_.ProcessMessage(message);
        return true;
    }
    wire::MessageFrame message;
    while (c_.rings.RecvRing.takeFrame(message)) {
        // A held user-left frame steps aside so that the frames behind it,
        // the results among them, still arrive. It keeps its room in the
        // receive ring's bound until it is dispatched.
        if (message.cmd() == wire::CmdUserLeft && loop.HoldCommand21) {
            held.push_back(message);
            continue;
        }
        dispatcher_.ProcessMessage(message);
        return true;
    }
    return false;
}

bool TickScheduler::framesToDispatch() const
{
    return c_.rings.RecvRing.hasFrame() || (!c_.loop().HoldCommand21 && !c_.rings.HeldRecv.empty());
}

void TickScheduler::TickSlotReceive()
{
    MainLoopState &loop = c_.loop();
    if (c_.state.rules.InGame && ++loop.WatchdogTicks >= kWatchdogPasses) {
        loop.WatchdogTicks = 0;
        const LeaveScope leave(c_);
        if (!leave.entered())
            return;
        if (!handBackToHall())
            return;
        loop.TableCleared = false;
        ResetTable(c_);
        rules::ClearHands(c_.state.rules);
        c_.window.ClearTable();
        // The reset empties the system lines, so the report goes in after it
        // and is there when the player comes back to the table.
        c_.window.SetSystemLine(0, QStringLiteral("已经与服务器断开连接，请重新入座！"));
    }
    if (takeReceivedFrame() && c_.state.rules.InGame)
        loop.WatchdogTicks = 0;
    if (framesToDispatch())
        loop.slots.dueAtNextTick(LoopSlot::Receive);
    else
        loop.slots.restartCount(LoopSlot::Receive);
}

void TickScheduler::TickSlotLogin()
{
    MainLoopState &loop = c_.loop();
    c_.hall.PostToHall(wire::kTableMsgConnecting);
    if (loop.LoginFrame.cmd() == wire::CmdReconnect)
        support::Wait(c_.clock, 5);
    if (c_.socket.State() == services::ServerSocket::sckConnected) {
        loop.LoginSent = true;
        c_.hall.PostToHall(wire::kTableMsgConnected);
        c_.socket.SendData(loop.LoginFrame);
        loop.slots.arm(LoopSlot::ConnWatch);
        loop.slots.disarm(LoopSlot::Login);
        if (c_.state.gamedllstate > 0)
            c_.items.rec_state(kRecStateServer, true);
    }
    loop.slots.restartCount(LoopSlot::Login);
}

void TickScheduler::TickSlotBlink()
{
    MainLoopState &loop = c_.loop();
    const int normal = 2;
    const int lit = 3;
    if (loop.BlinkCount < 1) {
        c_.window.SetToolbarPicture(1, normal);
        loop.slots.disarm(LoopSlot::Blink);
    } else {
        c_.window.SetToolbarPicture(1, loop.BlinkCount % 2 != 0 ? normal : lit);
        --loop.BlinkCount;
    }
}

void TickScheduler::TickSlotConnWatch()
{
    MainLoopState &loop = c_.loop();
    if (c_.socket.State() != services::ServerSocket::sckConnected) {
        if (c_.state.gamedllstate > 0)
            c_.items.rec_state(kRecStateServer, false);
        loop.HallWnd = c_.hall.FindHall();
        if (!loop.HallWnd) {
            c_.process.MessageBox(QStringLiteral("没有找到Ombrevale！"), QString());
            c_.process.End(ExitCode::HallMissing);
            return;
        }
        if (loop.ReconnectAllowed) {
            loop.LoggedIn = false;
            loop.slots.disarm(LoopSlot::ConnWatch);
            if (startReconnection_)
                startReconnection_();
        }
    }
    loop.slots.restartCount(LoopSlot::ConnWatch);
}

void TickScheduler::TickSlotBubbleHide()
{
    const std::int16_t seat = c_.state.core.BubbleSeat;
    if (seat >= 0 && seat <= 3)
        c_.window.HideBubble(seat);
    c_.window.HideWords();
    c_.loop().slots.restartCount(LoopSlot::BubbleHide);
}

void TickScheduler::OwnVideoDelay()
{
    MainLoopState &loop = c_.loop();
    if (!loop.OwnVideoDelayArmed)
        return;
    if (++loop.OwnVideoDelayTicks >= kOwnVideoDelayTicks) {
        loop.OwnVideoDelayArmed = false;
        loop.OwnVideoDelayTicks = 0;
        c_.video.ShowLocalVideo(c_.state.VideoOn, false);
    }
}

} // namespace tessaroc::core
