#pragma once

#include "core/TableState.h"
#include "support/PictureIds.h"
#include "table/TableWindowService.h"

namespace tessaroc::test {

// The table window laid out as the start-up lays it out, on a 1024 x 768
// screen or, reduced, on an 800 x 600 one: placed, pictures numbered, seats
// and play area laid out, shown and cleared.
inline void layOutTable(table::TableWindowService &window, core::TableState &state, bool reduced)
{
    constexpr double kTwipsPerPixel = 15.0;
    window.PrepareStartUp();
    window.FitToScreen((reduced ? 800 : 1024) * kTwipsPerPixel,
                       (reduced ? 600 : 768) * kTwipsPerPixel);
    support::InitPictureIds(state.pictures, state.table.scale.ScaleX);
    window.InitSeatLayout();
    window.ShowTable();
    window.InitPlayLayout();
    window.ClearTable();
}

} // namespace tessaroc::test
