#pragma once

#include "Cards.h"

#include "rules/PlayKind.h"

#include <span>
#include <vector>

// The server judges with the client's own rules library, so that it accepts
// exactly the plays a client's rules accept: not stricter, not looser.
namespace tessaroc::tableserver {

struct Play
{
    rules::PlayKind kind = rules::KindNone;
    int count = 0;
    rules::CardArray cards{};

    std::span<const CardCode> view() const
    {
        return {cards.data(), static_cast<std::size_t>(count)};
    }
    bool isBomb() const { return rules::isBomb(kind); }
};

// Puts the cards into group order and classifies them; a legal play comes
// back in judged order with its kind, anything else with KindNone. More than
// 33 cards are never a play.
Play judgePlay(std::span<const CardCode> cards);

// Whether a judged play beats the play to beat (same kind and count with a
// higher key, or a higher bomb).
bool beats(const Play &mine, const Play &toBeat);

// The hint listings a client offers, on a hand of up to 33 cards: when
// leading (singles, pairs, triples from the lowest face up, then the bombs and
// the four jokers) and against a play to beat.
std::vector<Play> leadHints(std::span<const CardCode> hand);
std::vector<Play> beatHints(std::span<const CardCode> hand, const Play &toBeat);

} // namespace tessaroc::tableserver
