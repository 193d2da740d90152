#include "core/CoreTimers.h"

#include <algorithm>
#include <cmath>

namespace tessaroc::core {

namespace {

int scaledInterval(int ms, double timeScale)
{
    const double scale = timeScale >= 1.0 ? timeScale : 1.0;
    return std::max(1, static_cast<int>(std::lround(ms / scale)));
}

} // namespace

CoreTimers::CoreTimers(Mode mode, double timeScale, QObject *parent)
    : QObject(parent)
    , mode_(mode)
{
    TimerBong.setInterval(scaledInterval(kTimerBongMs, timeScale));
    TimerBong.setTimerType(Qt::PreciseTimer);
    TimerKeepAlive.setInterval(scaledInterval(kKeepAliveMs, timeScale));
    connect(&TimerBong, &QTimer::timeout, this, [this] {
        if (onTick_)
            onTick_();
    });
    connect(&TimerKeepAlive, &QTimer::timeout, this, [this] {
        if (onKeepAlive_)
            onKeepAlive_();
    });
}

void CoreTimers::startPhysical(QTimer &timer)
{
    if (mode_ == Mode::Real && !timer.isActive())
        timer.start();
}

void CoreTimers::StartTimerBong()
{
    bongEnabled_ = true;
    if (!inTick_)
        startPhysical(TimerBong);
}

void CoreTimers::StopTimerBong()
{
    bongEnabled_ = false;
    if (inTick_)
        stoppedInTick_ = true;
    TimerBong.stop();
}

void CoreTimers::StartKeepAlive()
{
    keepAliveEnabled_ = true;
    startPhysical(TimerKeepAlive);
}

void CoreTimers::StopKeepAlive()
{
    keepAliveEnabled_ = false;
    TimerKeepAlive.stop();
}

void CoreTimers::beginTick()
{
    inTick_ = true;
    stoppedInTick_ = false;
    bongEnabled_ = false;
    TimerBong.stop();
}

void CoreTimers::endTick()
{
    inTick_ = false;
    if (!stoppedInTick_)
        bongEnabled_ = true;
    if (bongEnabled_)
        startPhysical(TimerBong);
}

} // namespace tessaroc::core
