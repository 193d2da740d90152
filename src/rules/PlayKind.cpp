#include "rules/PlayKind.h"

#include <algorithm>

namespace tessaroc::rules {

namespace {

int faceAt(const CardArray &cards, int i)
{
    return cardFace(cards[i]);
}

// The chain value of a two or an ace standing at the low end of a chain.
int lowChainValue(int face)
{
    return face == kFaceTwo ? 2 : 1;
}

// A low chain is held with its block of twos (and aces) in front; judged
// order lists the other groups first and the block behind them.
void moveBlockBehind(CardArray &cards, int n, int block)
{
    std::rotate(cards.begin(), cards.begin() + block, cards.begin() + n);
}

// Checks that the chain values of the play, read as the cards after the
// leading block followed by the block's twos (2) and aces (1), fall by one
// from each group to the next.
bool lowChainDescends(const CardArray &cards, int n, int block, int groupSize)
{
    std::array<int, kMaxHandCards> value{};
    int v = 0;
    for (int i = block; i < n; ++i)
        value[v++] = faceAt(cards, i);
    for (int i = 0; i < block; ++i)
        value[v++] = lowChainValue(faceAt(cards, i));
    for (int i = 0; i + groupSize < n; ++i) {
        if (value[i] != value[i + groupSize] + 1)
            return false;
    }
    return true;
}

bool facesDescend(const CardArray &cards, int n, int groupSize)
{
    for (int i = 0; i + groupSize < n; ++i) {
        if (faceAt(cards, i) != faceAt(cards, i + groupSize) + 1)
            return false;
    }
    return true;
}

bool allOfFace(const CardArray &cards, int from, int count, int face)
{
    for (int i = from; i < from + count; ++i) {
        if (faceAt(cards, i) != face)
            return false;
    }
    return true;
}

// Triple first (8 8 8 3 3) or pair first (3 3 8 8 8); the pair-first order is
// turned around so the triple leads.
bool IsTripleWithPair(CardArray &cards)
{
    const int f0 = faceAt(cards, 0), f1 = faceAt(cards, 1), f2 = faceAt(cards, 2);
    const int f3 = faceAt(cards, 3), f4 = faceAt(cards, 4);
    if (f1 == f0 && f2 == f0 && f4 == f3)
        return true;
    if (f4 == f2 && f3 == f2 && f1 == f0) {
        moveBlockBehind(cards, 5, 2);
        return true;
    }
    return false;
}

PlayKind classify(int n, CardArray &cards)
{
    if (n < 1 || n > kMaxHandCards)
        return KindNone;
    for (int i = 0; i < n; ++i) {
        if (!isValidFace(faceAt(cards, i)))
            return KindNone;
    }

    switch (n) {
    case 1:
        return KindSingle;
    case 2:
        return IsSameFace(n, cards) ? KindPair : KindNone;
    case 3:
        return IsSameFace(n, cards) ? KindTriple : KindNone;
    case 4:
        if (IsSameFace(n, cards))
            return faceAt(cards, 0) <= kFaceTwo ? KindBomb4 : KindNone;
        return std::all_of(cards.begin(), cards.begin() + 4,
                           [](CardCode c) { return cardFace(c) >= kFaceSmallJoker; })
                ? KindFourJokers
                : KindNone;
    case 5:
        if (IsSameFace(n, cards))
            return KindBomb5;
        return IsTripleWithPair(cards) ? KindTripleWithPair : KindNone;
    case 6:
        if (IsSameFace(n, cards))
            return KindBomb6;
        if (IsPairChain(n, cards))
            return KindPairChain;
        return IsTripleChain(n, cards) ? KindTripleChain : KindNone;
    case 7:
        return IsSameFace(n, cards) ? KindBomb7 : KindNone;
    case 8:
        if (IsSameFace(n, cards))
            return KindBomb8;
        return IsPairChain(n, cards) ? KindPairChain : KindNone;
    case 9:
    case 21:
    case 27:
    case 33:
        return IsTripleChain(n, cards) ? KindTripleChain : KindNone;
    case 10:
    case 20:
        if (IsPairChain(n, cards))
            return KindPairChain;
        return IsPlaneWithPairs(n, cards) ? KindPlaneWithPairs : KindNone;
    case 12:
    case 18:
    case 24:
        if (IsTripleChain(n, cards))
            return KindTripleChain;
        return IsPairChain(n, cards) ? KindPairChain : KindNone;
    case 14:
    case 16:
    case 22:
        return IsPairChain(n, cards) ? KindPairChain : KindNone;
    case 15:
    case 30:
        if (IsTripleChain(n, cards))
            return KindTripleChain;
        return IsPlaneWithPairs(n, cards) ? KindPlaneWithPairs : KindNone;
    case 25:
        return IsPlaneWithPairs(n, cards) ? KindPlaneWithPairs : KindNone;
    default:
        return KindNone;
    }
}

} // namespace

bool IsSameFace(int n, const CardArray &cards)
{
    n = clampCardCount(n);
    return n < 2 || allOfFace(cards, 1, n - 1, faceAt(cards, 0));
}

bool IsPairChain(int n, CardArray &cards)
{
    if (n < 6 || n > kMaxHandCards || n % 2 != 0)
        return false;
    for (int i = 0; i < n; i += 2) {
        if (faceAt(cards, i + 1) != faceAt(cards, i))
            return false;
    }
    if (faceAt(cards, 0) <= kFaceAce)
        return facesDescend(cards, n, 2);
    if (faceAt(cards, 0) != kFaceTwo)
        return false; // jokers never chain
    const int block = faceAt(cards, 2) == kFaceAce ? 4 : 2;
    if (!lowChainDescends(cards, n, block, 2))
        return false;
    moveBlockBehind(cards, n, block);
    return true;
}

bool IsTripleChain(int n, CardArray &cards)
{
    if (n < 6 || n > kMaxHandCards || n % 3 != 0)
        return false;
    int runs = 1;
    for (int i = 0; i + 1 < n; ++i) {
        if (faceAt(cards, i + 1) != faceAt(cards, i))
            ++runs;
    }
    if (runs != n / 3)
        return false;
    if (allOfFace(cards, 0, 3, kFaceTwo)) {
        const int block = allOfFace(cards, 3, 3, kFaceAce) ? 6 : 3;
        if (!lowChainDescends(cards, n, block, 3))
            return false;
        moveBlockBehind(cards, n, block);
        return true;
    }
    if (faceAt(cards, 0) > kFaceAce)
        return false;
    return facesDescend(cards, n, 3);
}

bool IsPlaneWithPairs(int n, CardArray &cards)
{
    if (n < 10 || n > kMaxHandCards)
        return false;
    std::array<int, kFaceSlots> count{};
    for (int i = 0; i < n; ++i) {
        const int face = faceAt(cards, i);
        if (!isValidFace(face))
            return false;
        ++count[face];
    }
    if (count[kFaceSmallJoker] + count[kFaceBigJoker] == 4)
        return false; // both joker pairs are the four jokers, not two pairs
    int triples = 0, pairs = 0;
    for (int face = kLowestFace; face <= kHighestFace; ++face) {
        if (count[face] == 3)
            ++triples;
        else if (count[face] == 2)
            ++pairs;
        else if (count[face] != 0)
            return false;
    }
    if (pairs != triples || triples < 2)
        return false;

    // In group order the triples lead, highest face first; a triple of twos
    // therefore stands in front, followed by the aces when they chain low.
    const int tripleCards = 3 * triples;
    for (int i = 0; i < tripleCards; i += 3) {
        if (!allOfFace(cards, i, 3, faceAt(cards, i)))
            return false;
    }
    if (faceAt(cards, 0) == kFaceTwo) {
        const int block = faceAt(cards, 3) == kFaceAce ? 6 : 3;
        if (!lowChainDescends(cards, tripleCards, block, 3))
            return false;
        moveBlockBehind(cards, tripleCards, block);
        return true;
    }
    return facesDescend(cards, tripleCards, 3);
}

PlayKind JudgeKind(PlayKind /*prevKind*/, int n, CardArray &cards, JudgeResultTable &judgeResult)
{
    const PlayKind kind = classify(n, cards);
    judgeResult[0] = kind;
    if (kind != KindNone)
        std::copy_n(cards.begin(), n, judgeResult.begin() + kJudgeResultCards);
    return kind;
}

bool HasFourJokers(const HandRecord &ownHand)
{
    int jokers = 0;
    for (int i = 0; i < ownHand.validCount(); ++i) {
        if (cardFace(ownHand.slots[i].code) >= kFaceSmallJoker
            && cardFace(ownHand.slots[i].code) <= kFaceBigJoker)
            ++jokers;
    }
    return jokers == 4;
}

} // namespace tessaroc::rules
