#include "support/Waits.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <limits>

namespace tessaroc::support {

namespace {

// Runs events until `elapsedMs` reaches `targetMs`, blocking while none is
// pending. Time is the sum of the forward steps of the clock: a clock that
// jumps back counts as standing still for that step.
void runEventsFor(const platform::Clock &clock, std::int64_t targetMs)
{
    std::int64_t elapsed = 0;
    std::int64_t last = clock.nowMs();
    QTimer wake;
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer);
    for (;;) {
        const std::int64_t now = clock.nowMs();
        elapsed += std::max<std::int64_t>(now - last, 0);
        last = now;
        if (elapsed >= targetMs)
            return;
        const std::int64_t remaining = targetMs - elapsed;
        if (!QCoreApplication::instance()) {
            QThread::msleep(static_cast<unsigned long>(remaining));
            continue;
        }
        // Wake when the wait would end even if no event comes.
        wake.start(static_cast<int>(
                std::min<std::int64_t>(remaining, std::numeric_limits<int>::max())));
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
}

} // namespace

void SleepSeconds(float s)
{
    const double ms = std::nearbyint(static_cast<double>(s) * 1000.0);
    if (!(ms > 0))
        return;
    QThread::msleep(static_cast<unsigned long>(
            std::min(ms, double{std::numeric_limits<std::int32_t>::max()})));
}

void WaitSeconds(const platform::Clock &clock, float s)
{
    const double limitMs = static_cast<double>(s) * 1000.0;
    if (!(limitMs >= 0))
        return; // any reading is more than a negative time; NaN never waits
    // The first whole millisecond that is strictly more than the limit.
    const double target = std::floor(limitMs) + 1;
    runEventsFor(clock, static_cast<std::int64_t>(std::min(target, 9.0e15)));
}

void Wait(const platform::Clock &clock, std::int16_t ms)
{
    if (ms <= 0)
        return;
    runEventsFor(clock, ms);
}

} // namespace tessaroc::support
