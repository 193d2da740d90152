#include "core/CoreTimers.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>

#include <algorithm>
#include <cmath>
#include <limits>

namespace tessaroc::core {

namespace {

int scaledInterval(int ms, double timeScale)
{
    const double scale = timeScale >= 1.0 ? timeScale : 1.0;
    return std::max(1, static_cast<int>(std::lround(ms / scale)));
}

} // namespace

CoreTimers::CoreTimers(Mode mode, const platform::Clock &clock, double timeScale, QObject *parent)
    : QObject(parent)
    , mode_(mode)
    , clock_(clock)
    , timeScale_(timeScale >= 1.0 ? timeScale : 1.0)
    , bongIntervalMs_(scaledInterval(kTimerBongMs, timeScale))
    , tickMs_(bongIntervalMs_ * timeScale_)
{
    TimerBong.setSingleShot(true);
    TimerBong.setTimerType(Qt::PreciseTimer);
    TimerKeepAlive.setInterval(scaledInterval(kKeepAliveMs, timeScale));
    connect(&TimerBong, &QTimer::timeout, this, [this] { fire(); });
    connect(&TimerKeepAlive, &QTimer::timeout, this, [this] {
        if (onKeepAlive_)
            onKeepAlive_();
    });
    if (mode_ != Mode::Real)
        return;
    // Every event of the program may change what the loop has to do: the
    // first of a wake finds the counts caught up, and before the program
    // blocks again the loop plans its next tick.
    if (QCoreApplication *app = QCoreApplication::instance())
        app->installEventFilter(this);
    if (QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance()) {
        connect(dispatcher, &QAbstractEventDispatcher::awake, this,
                [this] { wakeCaughtUp_ = false; });
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, [this] {
            wakeCaughtUp_ = false;
            plan();
        });
    }
}

CoreTimers::~CoreTimers()
{
    if (mode_ == Mode::Real)
        if (QCoreApplication *app = QCoreApplication::instance())
            app->removeEventFilter(this);
}

bool CoreTimers::eventFilter(QObject *watched, QEvent *event)
{
    if (!wakeCaughtUp_) {
        wakeCaughtUp_ = true;
        catchUp();
    }
    return QObject::eventFilter(watched, event);
}

void CoreTimers::StartTimerBong()
{
    const bool running = bongEnabled_;
    bongEnabled_ = true;
    if (!inTick_ && !running)
        startGrid();
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
    if (mode_ == Mode::Real && !TimerKeepAlive.isActive())
        TimerKeepAlive.start();
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
        startGrid();
}

void CoreTimers::startGrid()
{
    lastTickMs_ = clock_.nowMs();
    plannedTicks_ = 0; // no tick planned yet: the plan arms the timer
    plan();
}

void CoreTimers::catchUp()
{
    if (!between())
        return;
    const double passed = std::floor(static_cast<double>(clock_.nowMs() - lastTickMs_) / tickMs_);
    const int quiet = static_cast<int>(std::min(passed, double(plannedTicks_ - 1)));
    if (quiet <= 0)
        return;
    if (skip_)
        skip_(quiet);
    lastTickMs_ += std::llround(quiet * tickMs_);
    plannedTicks_ -= quiet;
}

void CoreTimers::plan()
{
    if (!between())
        return;
    const int ticks = untilDue_ ? std::max(1, untilDue_(lastTickMs_, tickMs_)) : 1;
    if (ticks == plannedTicks_ && (mode_ != Mode::Real || TimerBong.isActive()))
        return;
    plannedTicks_ = ticks;
    if (mode_ == Mode::Real)
        armBong();
}

void CoreTimers::armBong()
{
    const double waitMs = (static_cast<double>(nextTickMs() - clock_.nowMs())) / timeScale_;
    const double limit = std::numeric_limits<int>::max();
    TimerBong.start(static_cast<int>(std::clamp(std::ceil(waitMs), 0.0, limit)));
}

void CoreTimers::fire()
{
    if (between() && plannedTicks_ > 1 && skip_)
        skip_(plannedTicks_ - 1);
    plannedTicks_ = 1;
    if (onTick_)
        onTick_();
}

std::int64_t CoreTimers::nextTickMs() const
{
    return lastTickMs_ + std::llround(plannedTicks_ * tickMs_);
}

} // namespace tessaroc::core
