#pragma once

#include <QElapsedTimer>

#include <cstdint>

namespace tessaroc::platform {

// Monotonic milliseconds. Animations, waits, clocks and the main loop take
// their time from here, so tests can walk time by hand instead of sleeping.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual std::int64_t nowMs() const = 0;
};

// The real clock: milliseconds since the clock was created. It never wraps
// and never runs backwards, unlike wall-clock or tick-count readings.
class SteadyClock final : public Clock
{
public:
    SteadyClock();
    std::int64_t nowMs() const override;

private:
    QElapsedTimer timer_;
};

// A clock that moves only when told to.
class ManualClock final : public Clock
{
public:
    explicit ManualClock(std::int64_t startMs = 0)
        : now_(startMs)
    { }
    std::int64_t nowMs() const override { return now_; }
    void advance(std::int64_t ms) { now_ += ms; }
    void set(std::int64_t ms) { now_ = ms; }

private:
    std::int64_t now_;
};

} // namespace tessaroc::platform
