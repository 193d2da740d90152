#include "support/CardRow.h"

namespace tessaroc::support {

double playedRowOrigin(int pos, int n)
{
    switch (pos) {
    case 1:
        return n <= 5 ? 165 : n <= 9 ? 155 : n <= 14 ? 80 : -20;
    case 2:
        return n <= 5 ? 380 : n <= 9 ? 320 : 275;
    default:
        return n <= 5 ? 625 : n <= 9 ? 525 : n <= 14 ? 455 : n == 15 ? 355 : 230;
    }
}

} // namespace tessaroc::support
