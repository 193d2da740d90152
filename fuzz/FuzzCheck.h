#pragma once

#include <cstdlib>

// A property every input must keep; a broken one is a finding.
inline void fuzzCheck(bool ok)
{
    if (!ok)
        std::abort();
}
