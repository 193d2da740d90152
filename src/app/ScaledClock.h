#pragma once

#include "platform/Clock.h"

#include <QElapsedTimer>

#include <cmath>

namespace tessaroc::app {

// The program's monotonic clock, running `scale` times faster than real
// time (TESSAROC_CLOCK_SCALE), so that tests can play whole hands in seconds.
class ScaledClock final : public platform::Clock
{
public:
    explicit ScaledClock(double scale)
        : scale_(scale)
    {
        timer_.start();
    }
    std::int64_t nowMs() const override
    {
        return static_cast<std::int64_t>(
                std::floor(static_cast<double>(timer_.elapsed()) * scale_));
    }

private:
    double scale_;
    QElapsedTimer timer_;
};

} // namespace tessaroc::app
