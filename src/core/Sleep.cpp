#include "core/Sleep.h"

#include <QThread>

#include <algorithm>
#include <cmath>

namespace tessaroc::core {

namespace {

// The longest real pause between two readings of the clock.
constexpr std::int64_t kStepMs = 20;

} // namespace

void SleepSeconds(const platform::Clock &clock, float s)
{
    const double ms = std::nearbyint(static_cast<double>(s) * 1000.0);
    if (!(ms > 0))
        return;
    const std::int64_t target = static_cast<std::int64_t>(std::min(ms, 9.0e15));
    std::int64_t elapsed = 0;
    std::int64_t last = clock.nowMs();
    while (elapsed < target) {
        QThread::msleep(static_cast<unsigned long>(std::min(target - elapsed, kStepMs)));
        const std::int64_t now = clock.nowMs();
        elapsed += std::max<std::int64_t>(now - last, 0);
        last = now;
    }
}

} // namespace tessaroc::core
