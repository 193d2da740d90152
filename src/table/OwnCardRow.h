#pragma once

#include "core/TableState.h"
#include "support/CardRow.h"

namespace tessaroc::table {

// The own row as the table stands now: from the own row's origin, resting on
// the hand line (the clearing before each hand sets both).
inline support::CardRow ownCardRow(const core::TableState &state)
{
    return {static_cast<double>(state.rules.ownHand().rowX), state.table.scale,
            static_cast<double>(state.table.HandLine)};
}

} // namespace tessaroc::table
