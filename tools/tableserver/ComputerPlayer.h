#pragma once

#include "Referee.h"

#include <optional>
#include <span>

// The computer players: they bid simply and play the first hint the rules
// propose, the way a patient beginner presses the hint button.
namespace tessaroc::tableserver::bot {

// Calls when the hand holds at least two bombs, or at least five cards among
// the twos and the jokers.
bool wantsToCall(std::span<const CardCode> hand);

// The first candidate of the leading listing, judged. Only an empty hand
// gives nothing.
std::optional<Play> lead(std::span<const CardCode> hand);

// The first candidate of the beating listing that judges to a legal play and
// beats the play on the table; bombs only when nothing else does. A farmer
// lets a fellow farmer's play stand. Nothing means pass.
std::optional<Play> follow(std::span<const CardCode> hand, const Play &toBeat,
                           bool toBeatIsPartners);

} // namespace tessaroc::tableserver::bot
