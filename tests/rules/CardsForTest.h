#pragma once

#include "rules/CardCode.h"
#include "rules/CardText.h"
#include "rules/HandRecord.h"

#include <string>
#include <string_view>
#include <vector>

namespace tessaroc::rules::test {

// Parses faces as a player writes them: "8 8 8 3 3", "10 J Q K A 2 sj BJ".
int parseFace(std::string_view token);

// Cards for the faces in text, in that order. Ids count up from firstId and
// the suits of each face go round suit bits 1, 2, 4, 8 (diamonds, clubs,
// hearts, spades), so every card is distinct
// and two cards of one face from both packs can still be told apart.
std::vector<CardCode> cards(std::string_view text, int firstId = 0);
CardArray cardArray(const std::vector<CardCode> &list);
CardArray cardArray(std::string_view text, int firstId = 0);

// An own hand holding the cards in the order given, each shown by the
// picture whose index is its slot.
HandRecord hand(const std::vector<CardCode> &list, std::uint8_t seatBit = 1);
HandRecord hand(std::string_view text, std::uint8_t seatBit = 1);

inline std::string faces(const CardArray &list, int n)
{
    return describeCards(list, n);
}
inline std::string faces(const std::vector<CardCode> &list)
{
    return describeCards(list);
}

} // namespace tessaroc::rules::test
