#pragma once

#include "rules/CardCode.h"
#include "rules/PrevPlay.h"

namespace tessaroc::rules {

// Puts cards 0 to n - 1 into group order, in place: the faces held most often
// first, faces held equally often from the big joker down to the three, the
// cards of one face in the order they had. Entries from n on are untouched.
// A card with a face outside 3..17 (only a faulty frame can bring one) goes
// behind the groups instead of being lost.
void SortByGroup(CardArray &cards, int n);

// The same order for the play to beat, as another seat's play is recorded.
void SortPrevPlayByGroup(PrevPlay &prevPlay);

} // namespace tessaroc::rules
