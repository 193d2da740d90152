#pragma once

#include <cstdint>
#include <span>
#include <utility>

namespace tessaroc::rules {

// The project's own deterministic generator: xoshiro256** seeded through
// SplitMix64. The draws below are our own rather than the standard library's
// distributions, whose results differ between libraries, so one seed gives
// the same deals and the same property checks everywhere.
class SeededRandom
{
public:
    explicit constexpr SeededRandom(std::uint64_t seed)
    {
        for (std::uint64_t &word : state_)
            word = splitMix64(seed);
    }

    constexpr std::uint64_t next()
    {
        const std::uint64_t result = rotl(state_[1] * 5, 7) * 9;
        const std::uint64_t t = state_[1] << 17;
        state_[2] ^= state_[0];
        state_[3] ^= state_[1];
        state_[1] ^= state_[2];
        state_[0] ^= state_[3];
        state_[2] ^= t;
        state_[3] = rotl(state_[3], 45);
        return result;
    }

    // A uniform value in [0, bound); 0 for a bound of 0. Draws that would
    // favour the low values are thrown away, so every value is equally likely.
    constexpr std::uint64_t below(std::uint64_t bound)
    {
        if (bound == 0)
            return 0;
        const std::uint64_t threshold = (0 - bound) % bound;
        for (;;) {
            const std::uint64_t draw = next();
            if (draw >= threshold)
                return draw % bound;
        }
    }

    // A uniform value in [low, high]; low when high is below it.
    constexpr std::int64_t between(std::int64_t low, std::int64_t high)
    {
        if (high <= low)
            return low;
        const auto span = static_cast<std::uint64_t>(high) - static_cast<std::uint64_t>(low);
        const std::uint64_t offset = span == UINT64_MAX ? next() : below(span + 1);
        return static_cast<std::int64_t>(static_cast<std::uint64_t>(low) + offset);
    }

    // A uniform value in [0, 1) with 53 random bits.
    constexpr double unit() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }

    // Fisher-Yates: every order equally likely.
    template<typename T> constexpr void shuffle(std::span<T> items)
    {
        for (std::size_t i = items.size(); i > 1; --i) {
            const auto j = static_cast<std::size_t>(below(i));
            std::swap(items[i - 1], items[j]);
        }
    }

private:
    static constexpr std::uint64_t rotl(std::uint64_t x, int k)
    {
        return (x << k) | (x >> (64 - k));
    }

    static constexpr std::uint64_t splitMix64(std::uint64_t &seed)
    {
        std::uint64_t z = (seed += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    std::uint64_t state_[4]{};
};

} // namespace tessaroc::rules
