#pragma once

#include <array>
#include <cstdint>

// The table server's own scoring rule, the one the README documents:
//
// - The room stake D is 100 coins.
// - The unit of a hand is U = D x 2^(six-card bombs) x 4^(seven- and
//   eight-card bombs + four-joker plays), counted over the whole hand.
// - Landlord wins: each farmer pays U, but never more than it holds (the
//   payment is then marked capped); the landlord wins what was paid.
// - Farmers win: the landlord pays 3U, but never more than it holds, and
//   only whole thirds of it, so that each farmer wins exactly a third. The
//   totals of a hand therefore always balance.
// - Before a cap the amount is the subtotal; after it, the total and the
//   final amount. Winners carry sign 1, losers sign 2.
// - An abandoned hand moves no coins.
// - Level: 1 + (hands won at this table) / 5, at most 40.
namespace tessaroc::tableserver::scoring {

inline constexpr std::int64_t kStake = 100;
inline constexpr int kMaxLevel = 40;

struct Bombs
{
    int sixCard = 0;
    int bigOnes = 0; // seven- and eight-card bombs and the four jokers
};

struct Settlement
{
    bool won = false;
    std::uint64_t subtotal = 0;
    std::uint64_t total = 0;
    bool capped = false;
};

std::uint64_t handUnit(std::int64_t stake, Bombs bombs);

std::array<Settlement, 4> settle(int landlord, bool landlordWon,
                                 const std::array<std::uint64_t, 4> &coins, std::int64_t stake,
                                 Bombs bombs);

std::uint8_t levelForWins(int wins);

} // namespace tessaroc::tableserver::scoring
