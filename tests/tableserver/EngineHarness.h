#pragma once

#include "GameEngine.h"

#include <map>
#include <set>
#include <string>
#include <vector>

namespace tessaroc::tableserver::testing {

// Options for tests: computer players move at once, the first hand starts
// as soon as the fourth seat is filled whether the people said ready or not,
// and a person's turn waits as long as it would in a real game (a test moves
// the time itself).
inline EngineOptions testOptions(int bots)
{
    EngineOptions options;
    options.bots = bots;
    options.seed = 7;
    options.botDelayMinMs = 0;
    options.botDelayMaxMs = 0;
    options.startWithoutReady = true;
    options.firstHandWaitMs = 0;
    return options;
}

// Drives a GameEngine without sockets: connections are numbers, time is a
// number the test moves, and what the engine sends piles up per connection.
class EngineHarness
{
public:
    explicit EngineHarness(EngineOptions options)
        : engine(std::move(options), [this](const std::string &line) { log.push_back(line); })
    { }

    void connect(ConnectionId id)
    {
        engine.connected(id, now);
        collect();
    }
    void send(ConnectionId id, const wire::MessageFrame &frame)
    {
        engine.received(id, frame, now);
        collect();
    }
    void drop(ConnectionId id)
    {
        engine.disconnected(id, now);
        collect();
    }
    // Runs every timed step due now (computer players at zero delay play on
    // until a person's turn).
    void settle()
    {
        while (engine.runDue(now))
            collect();
    }
    // Moves the time on by ms, running each step at its own time.
    void advance(std::int64_t ms)
    {
        const std::int64_t target = now + ms;
        settle();
        while (true) {
            const auto next = engine.nextDeadline();
            if (!next || *next > target)
                break;
            now = std::max(now, *next);
            settle();
        }
        now = target;
        settle();
    }
    // Takes the frames a connection was sent since the last take.
    std::vector<wire::MessageFrame> take(ConnectionId id)
    {
        auto frames = std::move(inbox[id]);
        inbox[id].clear();
        return frames;
    }

    GameEngine engine;
    std::int64_t now = 1000;
    std::map<ConnectionId, std::vector<wire::MessageFrame>> inbox;
    // Every write a connection was given: when, and how many frames.
    struct Burst
    {
        std::int64_t at = 0;
        std::size_t frames = 0;
    };
    std::map<ConnectionId, std::vector<Burst>> bursts;
    std::set<ConnectionId> closed;
    std::vector<std::string> log;

private:
    void collect()
    {
        for (Delivery &delivery : engine.takeDeliveries()) {
            auto &frames = inbox[delivery.connection];
            if (!delivery.frames.empty())
                bursts[delivery.connection].push_back({now, delivery.frames.size()});
            frames.insert(frames.end(), delivery.frames.begin(), delivery.frames.end());
            if (delivery.close) {
                closed.insert(delivery.connection);
                engine.disconnected(delivery.connection, now);
            }
        }
    }
};

} // namespace tessaroc::tableserver::testing
