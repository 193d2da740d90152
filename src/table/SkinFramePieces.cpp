#include "table/SkinFrame.h"

namespace tessaroc::table {

std::array<SkinPiece, 8> SkinFramePieces(double W, double H)
{
    // The template's right column starts at 570 twips, its bottom row at
    // 3180; the caption band is 300 twips high, the other edges 120 wide.
    return {{
            {{0, 0, 120, 300}, {0, 0, 120, 300}},
            {{120, 0, W - 240, 300}, {120, 0, 120, 300}},
            {{W - 120, 0, 120, 300}, {570, 0, 120, 300}},
            {{0, 300, 120, H - 420}, {0, 300, 120, 2880}},
            {{W - 120, 300, 120, H - 420}, {570, 300, 120, 2880}},
            {{0, H - 120, 120, 120}, {0, 3180, 120, 120}},
            {{120, H - 120, W - 240, 120}, {120, 3180, 120, 120}},
            {{W - 120, H - 120, 120, 120}, {570, 3180, 120, 120}},
    }};
}

} // namespace tessaroc::table
