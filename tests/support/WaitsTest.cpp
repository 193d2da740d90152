#include "support/Waits.h"

#include "platform/Clock.h"

#include <QCoreApplication>
#include <QObject>
#include <QTimer>

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace tessaroc::support {
namespace {

// Moves a manual clock from events that run inside the wait: each step sets
// the clock and records that it ran. Steps are spaced by a real millisecond so
// the wait looks at the clock between two of them.
class ClockSteps
{
public:
    explicit ClockSteps(platform::ManualClock &clock)
        : clock_(clock)
    { }

    void schedule(std::vector<std::int64_t> readings)
    {
        readings_ = std::move(readings);
        next();
    }

    int ran() const { return ran_; }

private:
    void next()
    {
        if (static_cast<std::size_t>(ran_) == readings_.size())
            return;
        QTimer::singleShot(1, &context_, [this] {
            clock_.set(readings_[static_cast<std::size_t>(ran_++)]);
            next();
        });
    }

    platform::ManualClock &clock_;
    std::vector<std::int64_t> readings_;
    int ran_ = 0;
    // Steps not yet run when the test ends go with it.
    QObject context_;
};

TEST(Wait, ZeroOrLessReturnsAtOnceWithoutRunningEvents)
{
    platform::ManualClock clock;
    bool ran = false;
    QTimer::singleShot(0, [&] { ran = true; });
    Wait(clock, 0);
    Wait(clock, -5);
    EXPECT_FALSE(ran);
    QCoreApplication::processEvents();
    EXPECT_TRUE(ran);
}

TEST(Wait, RunsEventsUntilTheTimeHasPassed)
{
    platform::ManualClock clock(5000);
    ClockSteps steps(clock);
    steps.schedule({5010, 5020, 5030, 5040, 5050});
    Wait(clock, 30);
    EXPECT_EQ(clock.nowMs(), 5030);
    EXPECT_EQ(steps.ran(), 3);
}

TEST(Wait, EndsAcrossAClockThatStartsAgain)
{
    // A millisecond counter that changes sign, or any clock restarted under
    // the wait: only forward steps count.
    platform::ManualClock clock(2'147'483'640);
    ClockSteps steps(clock);
    steps.schedule({2'147'483'645, -2'147'483'000, -2'147'482'990, -2'147'482'975, -2'147'482'900});
    Wait(clock, 20);
    EXPECT_EQ(steps.ran(), 4);
}

TEST(WaitSeconds, EndsOnlyWhenMoreThanTheTimeHasPassed)
{
    platform::ManualClock clock;
    ClockSteps steps(clock);
    steps.schedule({100, 250, 251, 400});
    WaitSeconds(clock, 0.25f);
    EXPECT_EQ(clock.nowMs(), 251);
    EXPECT_EQ(steps.ran(), 3);
}

TEST(WaitSeconds, EndsAcrossMidnight)
{
    // The day's clock goes back to 0 at midnight; the wait counts on.
    platform::ManualClock clock(86'399'900);
    ClockSteps steps(clock);
    steps.schedule({86'399'999, 0, 300, 700, 900});
    WaitSeconds(clock, 0.4f);
    EXPECT_EQ(steps.ran(), 4);
}

TEST(WaitSeconds, NonsenseTimesReturnAtOnce)
{
    platform::ManualClock clock;
    WaitSeconds(clock, -1.0f);
    WaitSeconds(clock, std::numeric_limits<float>::quiet_NaN());
    SUCCEED();
}

TEST(Wait, WaitsNestInsideEachOther)
{
    platform::ManualClock clock;
    bool innerDone = false;
    QTimer::singleShot(1, [&] {
        ClockSteps inner(clock);
        inner.schedule({10, 20});
        Wait(clock, 10);
        innerDone = true;
        QTimer::singleShot(1, [&] { clock.set(100); });
    });
    Wait(clock, 50);
    EXPECT_TRUE(innerDone);
    EXPECT_EQ(clock.nowMs(), 100);
}

TEST(Wait, RealClockLetsTheTimePass)
{
    const platform::SteadyClock clock;
    const std::int64_t start = clock.nowMs();
    Wait(clock, 4);
    EXPECT_GE(clock.nowMs() - start, 4);
}

TEST(SleepSeconds, BlocksWithoutRunningEvents)
{
    const platform::SteadyClock clock;
    bool ran = false;
    QTimer::singleShot(0, [&] { ran = true; });
    const std::int64_t start = clock.nowMs();
    SleepSeconds(0.02f);
    EXPECT_GE(clock.nowMs() - start, 20);
    EXPECT_FALSE(ran);
    QCoreApplication::processEvents();
    EXPECT_TRUE(ran);

    const std::int64_t before = clock.nowMs();
    SleepSeconds(-2.0f);
    SleepSeconds(std::numeric_limits<float>::quiet_NaN());
    EXPECT_LT(clock.nowMs() - before, 1000);
}

} // namespace
} // namespace tessaroc::support
