#pragma once

#include "rules/CardCode.h"
#include "rules/HandRecord.h"

#include <array>
#include <cstdint>

namespace tessaroc::rules {

// The kind of a play, as it travels in byte 18 of the play frames. Kinds above
// KindPlaneWithPairsAlt are the bombs. There is no chain of single cards.
enum PlayKind : std::int16_t {
    KindNone = 0,
    KindSingle = 1,
    KindPair = 2, // two of one face; two small or two big jokers count
    KindTriple = 3,
    KindPairChain = 4, // 3 or more pairs in a chain, 6 to 24 cards
    KindTripleChain = 5, // 2 or more triples in a chain, 6 to 33 cards
    KindTripleWithPair = 6,
    KindPlaneWithPairs = 7, // I >= 2 chained triples and exactly I pairs
    KindPlaneWithPairsAlt = 8, // never judged here; counts as 7 wherever it meets the own play
    KindBomb4 = 9,
    KindBomb5 = 10,
    KindBomb6 = 11,
    KindBomb7 = 12,
    KindBomb8 = 13,
    KindFourJokers = 14,
};

constexpr PlayKind toPlayKind(int value)
{
    return static_cast<PlayKind>(static_cast<std::int16_t>(value));
}
constexpr bool isBomb(int kind)
{
    return kind > KindPlaneWithPairsAlt;
}
// The bomb kind of count cards of one face (4 -> KindBomb4 ... 8 -> KindBomb8).
constexpr PlayKind bombKind(int count)
{
    return toPlayKind(count + 5);
}

// Entry 0: the kind of the last play judged (also KindNone). Entries 5 to
// 5 + n - 1: that play's cards in judged order, written only for a legal play.
// Entries 1 to 4 are not used.
inline constexpr int kJudgeResultSize = 46;
inline constexpr int kJudgeResultCards = 5;
using JudgeResultTable = std::array<std::int32_t, kJudgeResultSize>;

// Shape tests. Each takes the play in group order (SortByGroup) and, on true,
// leaves it in judged order: chains from the highest chain value down, so the
// twos and aces of a low chain stand behind the other groups; planes with
// their triples first. On false the cards are left as they were.
bool IsSameFace(int n, const CardArray &cards);
bool IsPairChain(int n, CardArray &cards);
bool IsTripleChain(int n, CardArray &cards);
bool IsPlaneWithPairs(int n, CardArray &cards);

// Classifies a play in group order by its count and the shape tests, puts it
// into judged order when it is legal and records kind and cards in
// judgeResult. Never answers KindPlaneWithPairsAlt. A card whose face is not
// 3..17 makes the play KindNone. prevKind is not read; callers pass the kind
// to beat.
PlayKind JudgeKind(PlayKind prevKind, int n, CardArray &cards, JudgeResultTable &judgeResult);

// The player holds both small and both big jokers.
bool HasFourJokers(const HandRecord &ownHand);

} // namespace tessaroc::rules
