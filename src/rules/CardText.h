#pragma once

#include "rules/CardCode.h"
#include "rules/Hints.h"
#include "rules/PrevPlay.h"

#include <iosfwd>
#include <span>
#include <string>

namespace tessaroc::rules {

// Cards as a player reads them, for test failures and logs: "3 3 2 2 A A",
// the jokers as "sj" (small) and "BJ" (big).
std::string faceText(int face);
std::string describeCards(std::span<const CardCode> cards);
std::string describeCards(const CardArray &cards, int n);

// GoogleTest prints these through the overloads below.
void PrintTo(const HintRow &row, std::ostream *os);
void PrintTo(const PrevPlay &play, std::ostream *os);

} // namespace tessaroc::rules
