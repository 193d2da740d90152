#pragma once

#include "platform/Clock.h"

#include <cstdint>

// The three ways the client waits. Wait and WaitSeconds keep the table alive
// while they wait: window events, socket data, hall messages and timers all run
// inside them (handlers that animate rely on that, and must bear being run
// inside another handler's wait). SleepSeconds blocks everything.
//
// The waits measure time on the injected monotonic clock and only ever count
// it forward, so no restart of a clock (the day's clock at midnight, a
// millisecond counter changing sign after 24.8 days) can make one hang. They
// block between events instead of spinning the processor.
namespace tessaroc::support {

// Blocks the program for s seconds, rounded to whole milliseconds (a half to
// the even neighbour); no event runs meanwhile. Nothing happens for a value
// that is not positive.
void SleepSeconds(float s);

// Runs events until more than s seconds have passed: strictly more, so a wait
// of 0.25 s does not end on a reading of exactly 0.25 s.
void WaitSeconds(const platform::Clock &clock, float s);

// Runs events until at least ms milliseconds have passed. A wait of 0 or less
// returns at once without running any event.
void Wait(const platform::Clock &clock, std::int16_t ms);

} // namespace tessaroc::support
