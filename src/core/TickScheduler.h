#pragma once

#include "core/LoopSlots.h"

#include <cstdint>
#include <functional>

namespace tessaroc::core {

struct CoreContext;
class CoreTimers;
class Dispatcher;
class ItemSteps;
class TurnClocks;

// The 50 ms main loop: every tick of TimerBong runs the slots of the table
// (LoopSlots) and the unnumbered steps in a fixed order. The ticks in which
// none of them has work are quiet: the loop sleeps through them and counts
// them at once (CoreTimers), with the same counts as ticking them.
class TickScheduler
{
public:
    static constexpr std::int32_t kWatchdogPasses = 5000;
    static constexpr std::int64_t kStopwatchMs = 4000;
    static constexpr int kOwnVideoDelayTicks = 4;

    TickScheduler(CoreContext &context, CoreTimers &timers, Dispatcher &dispatcher,
                  TurnClocks &clocks, ItemSteps &items);

    // The timer's event: one tick, never re-entered (a tick started from a
    // handler's wait inside a tick returns at once).
    void TimerBong_Timer();
    bool ticking() const { return ticking_; }
    std::uint64_t ticksRun() const { return ticksRun_; }

    // The ticks from the last one, run at lastTickMs on the monotonic clock
    // with ticks tickMs apart, until the next tick that has work: a slot due
    // with something to do, a turn clock's second, the receive watchdog's
    // last pass; 1 while a step looks at every tick. The ticks before it are
    // quiet: ticking them changes nothing but the counts.
    int ticksUntilDue(std::int64_t lastTickMs, double tickMs) const;
    // n quiet ticks counted at once, as ticking them would count them: the
    // slots' counts, the receive watchdog's passes, the ticks run.
    void skipQuietTicks(int n);
    // However quiet the table, the loop looks once a minute.
    static constexpr int kMaxQuietTicks = 1200;

    // The connection watch found the socket lost after an accepted login:
    // the reconnection window is loaded hidden and runs the attempts.
    void setReconnectionStarter(std::function<void()> start)
    {
        startReconnection_ = std::move(start);
    }

private:
    void TickSchedulerSteps();
    // The slot's step when it is due, then its count wrapped.
    template<void (TickScheduler::*Step)()> void runSlot(LoopSlot slot);
    void Stopwatch();
    void TickSlotSend();
    // The hall takes over the screen again; false when it is gone, and the
    // client ends.
    bool handBackToHall();
    void TickSlotReceive();
    bool takeReceivedFrame();
    // A received frame waits for the receive slot, or a held one is free.
    bool framesToDispatch() const;
    void TickSlotLogin();
    void TickSlotBlink();
    void TickSlotConnWatch();
    void TickSlotBubbleHide();
    void OwnVideoDelay();

    CoreContext &c_;
    CoreTimers &timers_;
    Dispatcher &dispatcher_;
    TurnClocks &clocks_;
    ItemSteps &items_;
    std::function<void()> startReconnection_;
    bool ticking_ = false;
    std::uint64_t ticksRun_ = 0;
};

} // namespace tessaroc::core
