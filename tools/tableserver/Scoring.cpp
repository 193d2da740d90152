#include "Scoring.h"

#include <algorithm>

namespace tessaroc::tableserver::scoring {

namespace {

// Far below the 2^53 a client can hold exactly, and far above any purse; a
// hand full of bombs cannot overflow the amounts.
constexpr std::uint64_t kMaxUnit = std::uint64_t{1} << 40;

} // namespace

std::uint64_t handUnit(std::int64_t stake, Bombs bombs)
{
    std::uint64_t unit = static_cast<std::uint64_t>(std::max<std::int64_t>(stake, 0));
    for (int i = 0; i < bombs.sixCard && unit < kMaxUnit; ++i)
        unit *= 2;
    for (int i = 0; i < bombs.bigOnes && unit < kMaxUnit; ++i)
        unit *= 4;
    return std::min(unit, kMaxUnit);
}

std::array<Settlement, 4> settle(int landlord, bool landlordWon,
                                 const std::array<std::uint64_t, 4> &coins, std::int64_t stake,
                                 Bombs bombs)
{
    const std::uint64_t unit = handUnit(stake, bombs);
    std::array<Settlement, 4> out{};
    if (landlordWon) {
        std::uint64_t paid = 0;
        for (int seat = 0; seat < 4; ++seat) {
            if (seat == landlord)
                continue;
            auto &farmer = out[static_cast<std::size_t>(seat)];
            farmer.subtotal = unit;
            farmer.total = std::min(unit, coins[static_cast<std::size_t>(seat)]);
            farmer.capped = farmer.total < unit;
            paid += farmer.total;
        }
        auto &winner = out[static_cast<std::size_t>(landlord)];
        winner.won = true;
        winner.subtotal = 3 * unit;
        winner.total = paid;
    } else {
        auto &loser = out[static_cast<std::size_t>(landlord)];
        const std::uint64_t owed = 3 * unit;
        const std::uint64_t held = coins[static_cast<std::size_t>(landlord)];
        loser.subtotal = owed;
        loser.total = std::min(owed, held - held % 3);
        loser.capped = loser.total < owed;
        for (int seat = 0; seat < 4; ++seat) {
            if (seat == landlord)
                continue;
            auto &farmer = out[static_cast<std::size_t>(seat)];
            farmer.won = true;
            farmer.subtotal = unit;
            farmer.total = loser.total / 3;
        }
    }
    return out;
}

std::uint8_t levelForWins(int wins)
{
    return static_cast<std::uint8_t>(std::clamp(1 + std::max(wins, 0) / 5, 1, kMaxLevel));
}

} // namespace tessaroc::tableserver::scoring
