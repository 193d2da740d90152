#pragma once

#include "rules/CardCode.h"
#include "rules/HandRecord.h"
#include "rules/PlayKind.h"

#include <array>
#include <cstdint>

namespace tessaroc::rules {

// One candidate play that the hint button raises: its kind, its number of
// cards and their codes (with ids, so that the button finds the very cards of
// the hand). A row holds as many cards as a hand, so even the longest planes
// and triple chains fit whole.
struct HintRow
{
    PlayKind kind = KindNone;
    std::int16_t count = 0;
    CardArray cards{};

    bool operator==(const HintRow &) const = default;
};

// HintCandidates: rows 1 to HintCount hold the candidates in the order they
// were found; row 0 is never used. A listing overwrites rows from its first
// one on and leaves older rows past HintCount as they were. It ends when its
// count would reach the table's last row, so that row is never listed and at
// most kMaxHintsListed rows are in use.
inline constexpr int kMaxHintRows = 30;
inline constexpr int kMaxHintsListed = kMaxHintRows - 1;
using HintTable = std::array<HintRow, kMaxHintRows + 1>;

// The listing when the player leads: singles, pairs and triples of the faces
// held exactly once, twice and three times, lowest face first; then, unless
// promptLeadState is set, the bombs and the four jokers. Sets hintCount to the
// rows written.
void PromptLead(const HandRecord &ownHand, bool promptLeadState, HintTable &rows,
                std::int16_t &hintCount);

// The listing against a play to beat: plays of the same kind above it (exact
// groups before split ones), then the bombs, then the four jokers. Appends
// after row hintCount, as the turn opening has set it to 0; only against the
// four jokers does it start from 0 itself. The count of the play to beat is
// clamped to 33 cards.
void PromptBeat(const HandRecord &ownHand, PlayKind kind, int count, const CardArray &cards,
                HintTable &rows, std::int16_t &hintCount);

} // namespace tessaroc::rules
