#include "Cards.h"

#include <limits>

namespace tessaroc::tableserver {

std::uint64_t SeededRandom::below(std::uint64_t bound)
{
    // Rejection keeps every value equally likely: draws from the incomplete
    // last block of the 64-bit range are thrown away.
    const std::uint64_t limit = std::numeric_limits<std::uint64_t>::max()
            - std::numeric_limits<std::uint64_t>::max() % bound;
    std::uint64_t value = engine_();
    while (value >= limit)
        value = engine_();
    return value % bound;
}

std::int64_t SeededRandom::between(std::int64_t low, std::int64_t high)
{
    if (high <= low)
        return low;
    const auto span = static_cast<std::uint64_t>(high - low) + 1;
    return low + static_cast<std::int64_t>(below(span));
}

std::string faceName(int face)
{
    switch (face) {
    case 11:
        return "J";
    case 12:
        return "Q";
    case 13:
        return "K";
    case 14:
        return "A";
    case 15:
        return "2";
    case rules::kFaceSmallJoker:
        return "sj";
    case rules::kFaceBigJoker:
        return "BJ";
    default:
        return std::to_string(face);
    }
}

std::string describeCards(std::span<const CardCode> cards)
{
    std::string out;
    for (const CardCode card : cards) {
        if (!out.empty())
            out += ' ';
        out += faceName(cardFace(card));
    }
    return out;
}

} // namespace tessaroc::tableserver
