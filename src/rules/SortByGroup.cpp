#include "rules/SortByGroup.h"

#include <algorithm>

namespace tessaroc::rules {

void SortByGroup(CardArray &cards, int n)
{
    n = clampCardCount(n);
    std::array<int, kFaceSlots> count{};
    int largest = 0;
    for (int i = 0; i < n; ++i) {
        const int face = cardFace(cards[i]);
        if (isValidFace(face) && ++count[face] > largest)
            largest = count[face];
    }

    // Where each face's group starts in the sorted play.
    std::array<int, kFaceSlots> next{};
    int placed = 0;
    for (int size = largest; size >= 1; --size) {
        for (int face = kHighestFace; face >= kLowestFace; --face) {
            if (count[face] == size) {
                next[face] = placed;
                placed += size;
            }
        }
    }

    CardArray sorted;
    for (int i = 0; i < n; ++i) {
        const int face = cardFace(cards[i]);
        sorted[isValidFace(face) ? next[face]++ : placed++] = cards[i];
    }
    std::copy_n(sorted.begin(), n, cards.begin());
}

void SortPrevPlayByGroup(PrevPlay &prevPlay)
{
    SortByGroup(prevPlay.cards, prevPlay.validCount());
}

} // namespace tessaroc::rules
