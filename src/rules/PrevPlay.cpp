#include "rules/PrevPlay.h"

#include <algorithm>

namespace tessaroc::rules {

namespace {

bool allOfFace(const CardArray &cards, int from, int count, int face)
{
    return std::all_of(cards.begin() + from, cards.begin() + from + count,
                       [face](CardCode c) { return cardFace(c) == face; });
}

// Kinds 7 and 8 are both planes with pairs and meet as one kind.
bool sameKind(PlayKind a, PlayKind b)
{
    const auto plane = [](PlayKind k) {
        return k == KindPlaneWithPairs || k == KindPlaneWithPairsAlt;
    };
    return a == b || (plane(a) && plane(b));
}

} // namespace

void PrevPlay::set(int announcedKind, int announcedCount, std::span<const CardCode> codes)
{
    kind = toPlayKind(announcedKind);
    const int n = std::min(clampCardCount(announcedCount), static_cast<int>(codes.size()));
    count = static_cast<std::int16_t>(n);
    std::copy_n(codes.begin(), n, cards.begin());
}

int PlayKey(const CardArray &cards, int n, PlayKind kind)
{
    switch (kind) {
    case KindPairChain:
        if (allOfFace(cards, 0, 2, kFaceTwo))
            return allOfFace(cards, 2, 2, kFaceAce) ? cardFace(cards[4]) : cardFace(cards[2]);
        return cardFace(cards[0]);
    case KindTripleChain:
    case KindPlaneWithPairs:
    case KindPlaneWithPairsAlt: {
        if (!allOfFace(cards, 0, 3, kFaceTwo))
            return cardFace(cards[0]);
        const int block = allOfFace(cards, 3, 3, kFaceAce) ? 6 : 3;
        const int tripleCards = kind == KindTripleChain ? n : (n / 5) * 3;
        // A-2 has no group above its block: its top is the two, counted 2.
        return block == tripleCards ? 2 : cardFace(cards[block]);
    }
    default:
        return cardFace(cards[0]);
    }
}

bool BeatsPrevious(const CardArray &mine, int myCount, PlayKind myKind, const CardArray &prev,
                   int prevCount, PlayKind prevKind)
{
    if (myCount == prevCount && sameKind(myKind, prevKind))
        return PlayKey(mine, myCount, myKind) > PlayKey(prev, prevCount, myKind);
    return isBomb(myKind) && myKind > prevKind;
}

} // namespace tessaroc::rules
