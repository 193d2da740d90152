#pragma once

#include "rules/CardCode.h"
#include "rules/CardRulesState.h"
#include "rules/HandRecord.h"
#include "rules/Hints.h"
#include "rules/PrevPlay.h"

#include <iosfwd>
#include <span>
#include <string>

namespace tessaroc::rules {

// Cards as a player reads them, for logs and test failures. Faces alone:
// "3 3 2 2 A A", the jokers as "sj" (small) and "BJ" (big), a face outside
// 3..17 as "?" and its number.
std::string faceText(int face);
std::string describeCards(std::span<const CardCode> cards);
std::string describeCards(const CardArray &cards, int n);

// With the suit, so that two cards of one face can be told apart:
// "3♦ 3♣ K♠ BJ". Suit bits 1, 2, 4 and 8 are diamonds, clubs, hearts and
// spades; a suit that is no single bit shows as "?".
std::string cardText(CardCode card);
std::string cardsText(std::span<const CardCode> cards);

// GoogleTest prints these through the overloads below.
void PrintTo(const HintRow &row, std::ostream *os);
void PrintTo(const PrevPlay &play, std::ostream *os);
void PrintTo(const HandRecord &hand, std::ostream *os);
void PrintTo(const CardRulesState &state, std::ostream *os);

} // namespace tessaroc::rules
