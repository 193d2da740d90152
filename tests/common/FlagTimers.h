#pragma once

#include "core/services/MainLoopControl.h"

namespace tessaroc::fakes {

// The main loop's two timers as plain flags: tests that drive ticks by hand
// only need to know which timers the core started or stopped.
struct FlagTimers : core::services::MainLoopControl
{
    void StartTimerBong() override { bong = true; }
    void StopTimerBong() override { bong = false; }
    bool TimerBongEnabled() const override { return bong; }
    void StartKeepAlive() override { keepAlive = true; }
    void StopKeepAlive() override { keepAlive = false; }
    bool KeepAliveEnabled() const override { return keepAlive; }
    bool bong = true;
    bool keepAlive = false;
};

} // namespace tessaroc::fakes
