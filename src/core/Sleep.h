#pragma once

#include "platform/Clock.h"

namespace tessaroc::core {

// Blocks the whole client for s seconds of the injected clock: no event, no
// timer and no socket data is served meanwhile. The client pauses this way
// before it shows a notice that takes it off the table.
void SleepSeconds(const platform::Clock &clock, float s);

} // namespace tessaroc::core
