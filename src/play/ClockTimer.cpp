#include "play/ClockTimer.h"

namespace tessaroc::play {

namespace {
constexpr int kWatchMs = 10;
}

ClockTimer::ClockTimer(const platform::Clock &clock, std::int64_t intervalMs,
                       std::function<void()> onTimer)
    : clock_(clock)
    , interval_(intervalMs)
    , onTimer_(std::move(onTimer))
{
    watch_.setInterval(kWatchMs);
    QObject::connect(&watch_, &QTimer::timeout, this, [this] { poll(); });
}

void ClockTimer::start()
{
    due_ = clock_.nowMs() + interval_;
    watch_.start();
}

void ClockTimer::stop()
{
    due_.reset();
    watch_.stop();
}

void ClockTimer::poll()
{
    if (!due_ || clock_.nowMs() < *due_)
        return;
    stop();
    // The handler may destroy this timer's owner; nothing is touched after.
    const std::function<void()> handler = onTimer_;
    if (handler)
        handler();
}

} // namespace tessaroc::play
