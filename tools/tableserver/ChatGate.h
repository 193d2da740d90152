#pragma once

#include <algorithm>
#include <cstdint>

namespace tessaroc::tableserver {

// Every chat line goes back to all four clients, and a client reads at most
// twenty frames a second into a buffer of 128; a sender flooding the table
// could fill the others' buffers, which ends their clients. The gate lets a
// burst of lines through and then one line per refill period per sender.
class ChatGate
{
public:
    struct Limits
    {
        int burst = 8;
        std::int64_t refillMs = 500;
    };

    ChatGate() = default;
    explicit ChatGate(Limits limits)
        : limits_(limits)
        , tokens_(limits.burst)
    { }

    bool allow(std::int64_t nowMs)
    {
        if (limits_.refillMs <= 0)
            return true;
        if (tokens_ < limits_.burst && nowMs > refilledAt_) {
            const std::int64_t gained = (nowMs - refilledAt_) / limits_.refillMs;
            tokens_ = static_cast<int>(std::min<std::int64_t>(limits_.burst, tokens_ + gained));
            refilledAt_ += gained * limits_.refillMs;
        }
        // A full bucket starts its refill clock at the line that spends it.
        if (tokens_ >= limits_.burst)
            refilledAt_ = nowMs;
        if (tokens_ <= 0)
            return false;
        --tokens_;
        return true;
    }

private:
    Limits limits_;
    int tokens_ = limits_.burst;
    std::int64_t refilledAt_ = 0;
};

} // namespace tessaroc::tableserver
