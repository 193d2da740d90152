#include "rules/CardText.h"

#include <ostream>

namespace tessaroc::rules {

std::string faceText(int face)
{
    switch (face) {
    case kFaceJack:
        return "J";
    case kFaceQueen:
        return "Q";
    case kFaceKing:
        return "K";
    case kFaceAce:
        return "A";
    case kFaceTwo:
        return "2";
    case kFaceSmallJoker:
        return "sj";
    case kFaceBigJoker:
        return "BJ";
    default:
        break;
    }
    std::string text = isValidFace(face) ? "" : "?";
    text += std::to_string(face);
    return text;
}

std::string describeCards(std::span<const CardCode> cards)
{
    std::string text;
    for (const CardCode card : cards) {
        if (!text.empty())
            text += ' ';
        text += faceText(cardFace(card));
    }
    return text;
}

std::string describeCards(const CardArray &cards, int n)
{
    return describeCards(
            std::span<const CardCode>(cards.data(), static_cast<std::size_t>(clampCardCount(n))));
}

void PrintTo(const HintRow &row, std::ostream *os)
{
    *os << "kind " << row.kind << ": " << describeCards(row.cards, row.count);
}

void PrintTo(const PrevPlay &play, std::ostream *os)
{
    *os << "kind " << play.kind << ": " << describeCards(play.cards, play.count);
}

} // namespace tessaroc::rules
