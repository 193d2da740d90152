#include "CoreHarness.h"

#include "core/Shutdown.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <map>
#include <memory>
#include <sstream>

// The main loop sleeps through its quiet ticks. Each scenario runs twice on
// the manual clock, once on a loop that ticks every 50 ms and once on a loop
// that sleeps until its next tick with work, with the same events at the
// same times; both must do the same things at the same times and end with
// the same counts.
namespace tessaroc::test {
namespace {

using core::LoopSlot;

struct Event
{
    std::int64_t atMs; // from the scenario's start
    std::function<void(CoreHarness &)> happen;
};

struct Scenario
{
    const char *name;
    std::function<void(CoreHarness &)> setUp;
    std::vector<Event> events;
    std::int64_t lengthMs;
};

void PrintTo(const Scenario &scenario, std::ostream *out)
{
    *out << scenario.name;
}

// What a harness did, one line per thing, with the time it did it.
class Trace
{
public:
    void note(CoreHarness &h)
    {
        const std::int64_t t = h.clock.nowMs();
        take(t, h.socket.sent, [](const MessageFrame &f) {
            return "sent " + std::to_string(f.cmd()) + "/" + std::to_string(f.byteAt(100));
        });
        take(t, h.dispatcher.frames, [](const MessageFrame &f) {
            return "dispatched " + std::to_string(f.cmd()) + "/" + std::to_string(f.byteAt(100));
        });
        take(t, h.window.calls, [](const std::string &call) { return call; });
        take(t, h.window.toolbar, [](const std::pair<int, int> &p) {
            return "toolbar " + std::to_string(p.first) + " " + std::to_string(p.second);
        });
        take(t, h.window.clockShown, [](const std::pair<int, bool> &p) {
            return "clock " + std::to_string(p.first) + (p.second ? " red" : "");
        });
        take(t, h.hall.posts, [](std::uint32_t msg) { return "post " + std::to_string(msg); });
        take(t, h.process.ends,
             [](ExitCode code) { return "end " + std::to_string(static_cast<int>(code)); });
        take(t, h.sound.calls, [](const std::string &call) { return call; });
    }
    std::vector<std::string> lines;

private:
    template<typename T, typename F> void take(std::int64_t t, const std::vector<T> &seen, F line)
    {
        std::size_t &done = done_[&seen];
        for (; done < seen.size(); ++done)
            lines.push_back(std::to_string(t) + " " + line(seen[done]));
    }
    std::map<const void *, std::size_t> done_;
};

// The counts the loop keeps, as one line to compare.
std::string counts(const CoreHarness &h)
{
    std::ostringstream out;
    const core::MainLoopState &loop = h.state.loop;
    for (int i = 0; i <= 10; ++i) {
        if (i == 5)
            continue;
        const auto slot = static_cast<LoopSlot>(i);
        out << i << (loop.slots.armed(slot) ? "+" : "-") << loop.slots.ticks(slot) << " ";
    }
    out << "watchdog " << loop.WatchdogTicks << " blink " << loop.BlinkCount << " seconds "
        << loop.clocks.ClockSeconds << " ticks " << h.scheduler.ticksRun();
    return out.str();
}

struct LoopRun
{
    Trace trace;
    std::string counts;
    int wakes = 0; // ticks the loop woke for
};

// Runs the scenario as the program's timers would: every event at its time
// finds the passed ticks counted and has the loop plan again after it; the
// loop wakes at its planned tick. A ticking loop plans every tick.
LoopRun run(const Scenario &scenario, bool sleeps)
{
    const auto harness = std::make_unique<CoreHarness>();
    CoreHarness &h = *harness;
    if (!sleeps)
        h.timers.setQuietTicks({}, {});
    const std::int64_t start = h.clock.nowMs();
    const std::int64_t end = start + scenario.lengthMs;
    scenario.setUp(h);
    h.timers.plan();
    LoopRun result;
    result.trace.note(h);
    std::size_t next = 0;
    constexpr std::int64_t never = std::numeric_limits<std::int64_t>::max();
    for (;;) {
        const std::int64_t tick = h.timers.TimerBongEnabled() ? h.timers.nextTickMs() : never;
        const std::int64_t event
                = next < scenario.events.size() ? start + scenario.events[next].atMs : never;
        if (std::min(tick, event) > end)
            break;
        if (event < tick) {
            h.clock.set(event);
            h.timers.catchUp();
            scenario.events[next++].happen(h);
            h.timers.plan();
        } else {
            h.clock.set(tick);
            h.timers.fire();
            ++result.wakes;
        }
        result.trace.note(h);
    }
    h.clock.set(end);
    h.timers.catchUp();
    result.counts = counts(h);
    return result;
}

// Logged in at a table where nothing happens: frames are received and the
// connection is watched.
void quietTable(CoreHarness &h)
{
    core::MainLoopState &loop = h.state.loop;
    h.socket.state = core::services::ServerSocket::sckConnected;
    loop.LoggedIn = true;
    loop.LoginSent = true;
    loop.slots.arm(LoopSlot::Receive);
    loop.slots.arm(LoopSlot::ConnWatch);
    h.timers.StartTimerBong();
}

// A hand runs and nothing has come for a while: 150 more passes of the
// receive slot and the watchdog gives the table up.
void handNearTheWatchdog(CoreHarness &h)
{
    quietTable(h);
    h.state.rules.InGame = true;
    h.state.loop.WatchdogTicks = core::TickScheduler::kWatchdogPasses - 150;
}

std::vector<Event> keepAlives(int count, std::int64_t firstMs)
{
    std::vector<Event> events;
    for (int i = 0; i < count; ++i)
        events.push_back({firstMs + i * core::CoreTimers::kKeepAliveMs, [](CoreHarness &h) {
                              core::TimerKeepAlive_Timer(h.context);
                          }});
    return events;
}

Event arrival(std::int64_t atMs, std::uint8_t cmd, std::uint8_t tag)
{
    return {atMs, [cmd, tag](CoreHarness &h) {
                h.arrive(frameOf(cmd, tag));
            }};
}

const Scenario kScenarios[] = {
        {"QuietTableWithKeepAlives", quietTable, keepAlives(11, 5013), 60'000},
        {"FramesArriveMidSleep",
         quietTable,
         {arrival(1234, wire::CmdPlayed, 1), arrival(4021, wire::CmdPlayed, 2),
          arrival(4021, wire::CmdDeal, 3), arrival(4075, wire::CmdPlayed, 4)},
         8'000},
        {"AFrameQueuedMidSleep",
         quietTable,
         {{901,
           [](CoreHarness &h) {
               h.queue(frameOf(wire::CmdBid, 7));
               h.queue(frameOf(wire::CmdBid, 8));
           }},
          {2917,
           [](CoreHarness &h) {
               h.queue(frameOf(wire::CmdPlay, 9));
           }}},
         5'000},
        {"TheReadyClockArmedMidSleep",
         quietTable,
         {{2345,
           [](CoreHarness &h) {
               h.state.loop.clocks.ClockSeconds = 7;
               h.context.slotControl().startReadyClock();
           }}},
         15'000},
        {"TheOwnBidClockRunsOut",
         quietTable,
         {{1507,
           [](CoreHarness &h) {
               h.state.core.BidClockOn = true;
               h.state.core.TurnSeconds = 15;
               h.state.loop.clocks.MyTurn = true;
               h.state.loop.clocks.ClockSeconds = 4;
           }}},
         9'000},
        {"ThePlayClockStoppedMidCount",
         quietTable,
         {{333,
           [](CoreHarness &h) {
               h.state.loop.clocks.ClockSeconds = 9;
               h.state.loop.slots.arm(LoopSlot::PlayClock);
           }},
          {4444,
           [](CoreHarness &h) {
               h.context.slotControl().stopPlayClock();
           }}},
         8'000},
        {"TheBlinkStartedTwice",
         quietTable,
         {{777,
           [](CoreHarness &h) {
               h.context.slotControl().startBlink();
           }},
          {2603,
           [](CoreHarness &h) {
               h.context.slotControl().startBlink();
           }}},
         8'000},
        {"TheConnectionLostMidSleep",
         [](CoreHarness &h) {
             quietTable(h);
             h.state.loop.ReconnectAllowed = true;
             h.scheduler.setReconnectionStarter([&h] { h.window.calls.push_back("reconnect"); });
         },
         {{2222,
           [](CoreHarness &h) {
               h.socket.state = core::services::ServerSocket::sckClosed;
           }}},
         4'000},
        {"TheReceiveWatchdogRunsOut", handNearTheWatchdog, {}, 20'000},
        {"AFrameKeepsTheWatchdogBack",
         handNearTheWatchdog,
         {arrival(6789, wire::CmdPlayed, 5)},
         20'000},
        {"TheLoginOnceTheSocketStands",
         [](CoreHarness &h) {
             h.state.loop.LoginFrame = wire::LoginFrame{false, "alice", "secret"}.encode();
             h.state.loop.slots.arm(LoopSlot::Login);
             h.socket.state = 6;
             h.timers.StartTimerBong();
         },
         {{730,
           [](CoreHarness &h) {
               h.socket.state = core::services::ServerSocket::sckConnected;
           }}},
         3'000},
};

class QuietLoop : public ::testing::TestWithParam<Scenario>
{
};

TEST_P(QuietLoop, SleepingDoesWhatTickingDoes)
{
    const LoopRun ticking = run(GetParam(), false);
    const LoopRun sleeping = run(GetParam(), true);
    EXPECT_EQ(sleeping.trace.lines, ticking.trace.lines);
    EXPECT_EQ(sleeping.counts, ticking.counts);
    EXPECT_FALSE(ticking.trace.lines.empty()) << "the scenario does something";
    EXPECT_LT(sleeping.wakes, ticking.wakes);
}

INSTANTIATE_TEST_SUITE_P(Scenarios, QuietLoop, ::testing::ValuesIn(kScenarios),
                         [](const auto &scenario) { return std::string(scenario.param.name); });

TEST(QuietLoopWakes, AQuietTableWakesTheLoopOnlyForTheKeepAlive)
{
    // Each keep-alive: one tick sends it, the next finds the ring empty.
    const LoopRun sleeping = run(kScenarios[0], true);
    EXPECT_EQ(sleeping.wakes, 11 * 2);
}

} // namespace
} // namespace tessaroc::test
