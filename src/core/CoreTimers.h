#pragma once

#include "core/services/MainLoopControl.h"

#include <QObject>
#include <QTimer>

#include <functional>

namespace tessaroc::core {

// TimerBong and TimerKeepAlive. A tick stops TimerBong for its own duration
// and starts it again at its end, whichever way the tick ends, unless
// something inside the tick stopped the main loop on purpose (leaving the
// table, a lost connection) and did not start it again. Starting the timer
// inside a tick only marks it to run once the tick is over, so a handler's
// wait never sees a second tick.
//
// Manual timers never fire by themselves: tests drive the ticks.
class CoreTimers final : public QObject, public services::MainLoopControl
{
    Q_OBJECT

public:
    enum class Mode { Real, Manual };
    static constexpr int kTimerBongMs = 50;
    static constexpr int kKeepAliveMs = 5000;

    // timeScale above 1 makes both timers run that many times faster.
    explicit CoreTimers(Mode mode, double timeScale = 1.0, QObject *parent = nullptr);

    void setTickHandler(std::function<void()> handler) { onTick_ = std::move(handler); }
    void setKeepAliveHandler(std::function<void()> handler) { onKeepAlive_ = std::move(handler); }

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

    int timerBongIntervalMs() const { return TimerBong.interval(); }
    int keepAliveIntervalMs() const { return TimerKeepAlive.interval(); }

private:
    void startPhysical(QTimer &timer);

    Mode mode_;
    QTimer TimerBong;
    QTimer TimerKeepAlive;
    std::function<void()> onTick_;
    std::function<void()> onKeepAlive_;
    bool bongEnabled_ = false;
    bool keepAliveEnabled_ = false;
    bool inTick_ = false;
    bool stoppedInTick_ = false;
};

} // namespace tessaroc::core
