#include "platform/Clock.h"

namespace tessaroc::platform {

SteadyClock::SteadyClock()
{
    timer_.start();
}

std::int64_t SteadyClock::nowMs() const
{
    return timer_.elapsed();
}

} // namespace tessaroc::platform
