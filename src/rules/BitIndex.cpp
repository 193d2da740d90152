#include "rules/BitIndex.h"

namespace tessaroc::rules {

static_assert(BitIndex(1) == 0 && BitIndex(2) == 1 && BitIndex(4) == 2 && BitIndex(8) == 3);
static_assert(BitIndex(3) == 1 && BitIndex(0) == 0 && BitIndex(-4) == 0);
static_assert(BitIndex(32767) == 14);

} // namespace tessaroc::rules
