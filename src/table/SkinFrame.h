#pragma once

#include "table/WindowSizing.h"

#include <array>

namespace tessaroc::table {

// The skin frame is painted from a small template picture of 46 x 220 pixels
// (690 x 3300 twips): its corners are copied, its edges stretched along the
// window's border. The middle is left to the table area.
struct SkinPiece
{
    TwipsRect destination; // on the window
    TwipsRect source; // in the template
};

// The eight pieces for a window of width W and height H (twips): the four
// corners, then the top, left, right and bottom edges.
std::array<SkinPiece, 8> SkinFramePieces(double W, double H);

} // namespace tessaroc::table
