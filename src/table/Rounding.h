#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace tessaroc::table {

// A value stored in a 16-bit field: rounded to the nearest integer, halves to
// the even neighbour (441.40625 -> 441, 93.5 -> 94, 92.5 -> 92), and held
// within the field's range.
inline std::int16_t roundToInt16(double value)
{
    if (std::isnan(value))
        return 0;
    const double rounded = std::nearbyint(std::clamp(value, -32768.0, 32767.0));
    return static_cast<std::int16_t>(rounded);
}

// A computed place or size as an element property holds it: a 32-bit float.
inline double single(double value)
{
    return static_cast<double>(static_cast<float>(value));
}

} // namespace tessaroc::table
