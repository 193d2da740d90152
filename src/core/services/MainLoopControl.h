#pragma once

namespace tessaroc::core::services {

// The two timers of the client core: TimerBong, the 50 ms main loop, and
// TimerKeepAlive, every 5 s between the login answer and a hand start.
class MainLoopControl
{
public:
    virtual ~MainLoopControl() = default;

    virtual void StartTimerBong() = 0;
    virtual void StopTimerBong() = 0;
    virtual bool TimerBongEnabled() const = 0;
    virtual void StartKeepAlive() = 0;
    virtual void StopKeepAlive() = 0;
    virtual bool KeepAliveEnabled() const = 0;
};

} // namespace tessaroc::core::services
