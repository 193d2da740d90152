#pragma once

#include <QString>

#include <cstdint>

namespace tessaroc::settlement {

// A result frame's amount as the boards read it: the eight bytes taken from
// the highest down, v := v x 256 + byte, in double precision, so magnitudes
// above 2^53 lose their lowest digits as they always have.
double AmountValue(std::uint64_t magnitude);

// An amount as the boards write it: its decimal digits (at most 15
// significant), a point only for a fraction, a leading "-" when negative, no
// grouping; from 10^15 in magnitude exponent notation ("1E+15").
QString AmountText(double value);

// The caption of level n (1..40): "第" and the Chinese numeral of n and "级";
// an empty text for any other n.
QString LevelName(int n);

} // namespace tessaroc::settlement
