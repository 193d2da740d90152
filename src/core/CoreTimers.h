#pragma once

#include "core/services/MainLoopControl.h"
#include "platform/Clock.h"

#include <QObject>
#include <QTimer>

#include <cstdint>
#include <functional>

namespace tessaroc::core {

// TimerBong and TimerKeepAlive. A tick stops TimerBong for its own duration
// and starts it again at its end, whichever way the tick ends, unless
// something inside the tick stopped the main loop on purpose (leaving the
// table, a lost connection) and did not start it again. Starting the timer
// inside a tick only marks it to run once the tick is over, so a handler's
// wait never sees a second tick.
//
// The loop ticks every 50 ms, but it sleeps through the quiet ticks: after a
// tick (or when it starts) it asks the tick for the ticks until the next one
// that has work, and the timer wakes it only then; that tick first counts the
// quiet ticks before it. Anything that happens meanwhile (a frame arriving,
// a key, a button, the keep-alive) first counts the quiet ticks that have
// passed by then, so it finds the counts where ticking would have left them,
// and the loop asks again before it sleeps on. The ticks stay on the grid
// that ticking would have followed: one every 50 ms from the last tick's end.
//
// Manual timers never fire by themselves: tests drive the ticks, either one
// by one (TimerBong_Timer) or as the sleeping loop does (catchUp, plan,
// fire).
class CoreTimers final : public QObject, public services::MainLoopControl
{
    Q_OBJECT

public:
    enum class Mode { Real, Manual };
    static constexpr int kTimerBongMs = 50;
    static constexpr int kKeepAliveMs = 5000;

    // timeScale above 1 makes both timers run that many times faster; the
    // clock is the core's, which runs as much faster.
    CoreTimers(Mode mode, const platform::Clock &clock, double timeScale = 1.0,
               QObject *parent = nullptr);
    ~CoreTimers() override;

    void setTickHandler(std::function<void()> handler) { onTick_ = std::move(handler); }
    void setKeepAliveHandler(std::function<void()> handler) { onKeepAlive_ = std::move(handler); }
    // The tick's answers for sleeping: the ticks from the last tick (at a
    // time on the clock, ticks a length apart) until the next with work, and
    // the counting of quiet ticks. Without them the loop ticks every 50 ms.
    void setQuietTicks(std::function<int(std::int64_t, double)> untilDue,
                       std::function<void(int)> skip)
    {
        untilDue_ = std::move(untilDue);
        skip_ = std::move(skip);
    }

    void StartTimerBong() override;
    void StopTimerBong() override;
    bool TimerBongEnabled() const override { return bongEnabled_; }
    void StartKeepAlive() override;
    void StopKeepAlive() override;
    bool KeepAliveEnabled() const override { return keepAliveEnabled_; }

    // The tick's first and last step.
    void beginTick();
    void endTick();
    bool inTick() const { return inTick_; }

    // The sleeping loop. catchUp: the quiet ticks that have passed on the
    // clock are counted (never the planned tick itself); the real timers do
    // it before the first event of every wake. plan: the next tick with work
    // is asked for again; the real timers do it before the program blocks.
    // fire: the planned tick, after the quiet ticks before it.
    void catchUp();
    void plan();
    void fire();
    // The clock time of the planned tick; meaningful while the loop runs.
    std::int64_t nextTickMs() const;

    int timerBongIntervalMs() const { return bongIntervalMs_; }
    int keepAliveIntervalMs() const { return TimerKeepAlive.interval(); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The loop runs between ticks: it may sleep.
    bool between() const { return bongEnabled_ && !inTick_; }
    void startGrid();
    void armBong();

    Mode mode_;
    const platform::Clock &clock_;
    double timeScale_;
    int bongIntervalMs_;
    double tickMs_; // the tick's length on the core's clock
    QTimer TimerBong;
    QTimer TimerKeepAlive;
    std::function<void()> onTick_;
    std::function<void()> onKeepAlive_;
    std::function<int(std::int64_t, double)> untilDue_;
    std::function<void(int)> skip_;
    bool bongEnabled_ = false;
    bool keepAliveEnabled_ = false;
    bool inTick_ = false;
    bool stoppedInTick_ = false;
    // The grid: the clock time of the last tick counted, and the ticks from
    // it to the planned one.
    std::int64_t lastTickMs_ = 0;
    int plannedTicks_ = 1;
    // The real timers' wake: its first event catches up.
    bool wakeCaughtUp_ = true;
};

} // namespace tessaroc::core
