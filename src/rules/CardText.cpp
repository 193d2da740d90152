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

namespace {

std::span<const CardCode> firstCards(const CardArray &cards, int n)
{
    return std::span<const CardCode>(cards.data(), static_cast<std::size_t>(clampCardCount(n)));
}

} // namespace

std::string describeCards(const CardArray &cards, int n)
{
    return describeCards(firstCards(cards, n));
}

std::string cardText(CardCode card)
{
    const int face = cardFace(card);
    std::string text = faceText(face);
    if (face >= kFaceSmallJoker && face <= kFaceBigJoker)
        return text;
    switch (cardSuitBits(card)) {
    case 1:
        return text + "♦";
    case 2:
        return text + "♣";
    case 4:
        return text + "♥";
    case 8:
        return text + "♠";
    default:
        return text + "?";
    }
}

std::string cardsText(std::span<const CardCode> cards)
{
    std::string text;
    for (const CardCode card : cards) {
        if (!text.empty())
            text += ' ';
        text += cardText(card);
    }
    return text;
}

void PrintTo(const HintRow &row, std::ostream *os)
{
    *os << "kind " << row.kind << ": " << cardsText(firstCards(row.cards, row.count));
}

void PrintTo(const PrevPlay &play, std::ostream *os)
{
    *os << "kind " << play.kind << ": " << cardsText(firstCards(play.cards, play.count));
}

void PrintTo(const HandRecord &hand, std::ostream *os)
{
    *os << '"' << hand.name << "\" seat " << int(hand.seatBit) << ", " << hand.cardCount
        << " cards:";
    for (int i = 0; i < hand.validCount(); ++i)
        *os << ' ' << cardText(hand.slots[i].code) << '/' << hand.slots[i].picIndex;
}

void PrintTo(const CardRulesState &state, std::ostream *os)
{
    for (int p = 0; p < 4; ++p) {
        *os << "\n  hand " << p << ": ";
        PrintTo(state.HandRecords[p], os);
    }
    *os << "\n  to beat: ";
    PrintTo(state.prevPlay, os);
    *os << "\n  judged: kind " << state.JudgeResult[0] << "; hints " << state.HintCount
        << "; user info " << state.UserInfoCount << (state.InGame ? "; in game" : "");
}

} // namespace tessaroc::rules
