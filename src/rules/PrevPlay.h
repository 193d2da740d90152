#pragma once

#include "rules/CardCode.h"
#include "rules/PlayKind.h"

#include <cstdint>
#include <span>

namespace tessaroc::rules {

// The play to beat (PrevPlayKind, PrevPlayCount, PrevPlayCards). Another
// seat's play is stored in group order, so a low chain arrives with its twos
// (and aces) first; the own play is stored in judged order without card ids,
// so a low chain has them last. The key below reads both orders.
struct PrevPlay
{
    PlayKind kind = KindNone; // KindNone: nothing to beat, the player leads
    std::int16_t count = 0;
    CardArray cards{};

    int validCount() const { return clampCardCount(count); }

    // Takes a play announced in a frame. Kind and count are untrusted: the
    // count is clamped to the 33 entries (and to the codes given), so no later
    // reader of the play can index past the table.
    void set(int announcedKind, int announcedCount, std::span<const CardCode> codes);

    bool operator==(const PrevPlay &) const = default;
};

// The key face of a play of the given kind: for chains and planes the top of
// the chain (the first group after a leading block of twos and aces, or 2 for
// the chain A-2), for every other kind the face of the first card.
int PlayKey(const CardArray &cards, int n, PlayKind kind);

// Whether the own judged play beats the previous one: the same kind and count
// (7 and 8 count as one kind) with a strictly higher key, or a bomb of a
// higher kind.
bool BeatsPrevious(const CardArray &mine, int myCount, PlayKind myKind, const CardArray &prev,
                   int prevCount, PlayKind prevKind);

} // namespace tessaroc::rules
