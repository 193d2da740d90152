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
// (LoopSlots) and the unnumbered steps in a fixed order.
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
    void TickSlotReceive();
    bool takeReceivedFrame();
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
