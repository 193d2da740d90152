#pragma once

#include "platform/Clock.h"

#include <QObject>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <optional>

namespace tessaroc::play {

// A timer that fires once its interval has passed on the client's clock, so
// that it runs as fast as the clock does (the tests' clock scale, a manual
// clock). While on it looks at the clock every few real milliseconds; poll()
// looks at once. It fires once per start unless restarted by its handler.
class ClockTimer : public QObject
{
public:
    ClockTimer(const platform::Clock &clock, std::int64_t intervalMs,
               std::function<void()> onTimer);

    void start();
    void stop();
    bool isActive() const { return due_.has_value(); }
    std::int64_t interval() const { return interval_; }
    // Fires the handler when the interval has passed.
    void poll();

private:
    const platform::Clock &clock_;
    std::int64_t interval_;
    std::function<void()> onTimer_;
    std::optional<std::int64_t> due_;
    QTimer watch_;
};

} // namespace tessaroc::play
