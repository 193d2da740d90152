#include "CardsForTest.h"

#include <array>
#include <sstream>
#include <stdexcept>

namespace tessaroc::rules::test {

int parseFace(std::string_view token)
{
    static constexpr std::array<std::pair<std::string_view, int>, 7> named{{
            {"J", kFaceJack},
            {"Q", kFaceQueen},
            {"K", kFaceKing},
            {"A", kFaceAce},
            {"2", kFaceTwo},
            {"sj", kFaceSmallJoker},
            {"BJ", kFaceBigJoker},
    }};
    for (const auto &[name, face] : named) {
        if (token == name)
            return face;
    }
    const int face = std::stoi(std::string(token));
    if (face < kLowestFace || face > 10)
        throw std::invalid_argument("not a face: " + std::string(token));
    return face;
}

std::vector<CardCode> cards(std::string_view text, int firstId)
{
    std::vector<CardCode> list;
    std::array<int, kFaceSlots> seen{};
    std::istringstream in{std::string(text)};
    std::string token;
    int id = firstId;
    while (in >> token) {
        const int face = parseFace(token);
        const int suitBit = face >= kFaceSmallJoker ? 1 : 1 << (seen[face]++ % 4);
        list.push_back(makeCard(face, suitBit, id++));
    }
    return list;
}

CardArray cardArray(const std::vector<CardCode> &list)
{
    CardArray array{};
    for (std::size_t i = 0; i < list.size() && i < array.size(); ++i)
        array[i] = list[i];
    return array;
}

CardArray cardArray(std::string_view text, int firstId)
{
    return cardArray(cards(text, firstId));
}

HandRecord hand(const std::vector<CardCode> &list, std::uint8_t seatBit)
{
    HandRecord record;
    record.seatBit = seatBit;
    for (std::size_t i = 0; i < list.size() && i < record.slots.size(); ++i)
        record.slots[i] = {list[i], static_cast<std::int16_t>(i)};
    record.setCardCount(static_cast<int>(list.size()));
    return record;
}

HandRecord hand(std::string_view text, std::uint8_t seatBit)
{
    return hand(cards(text), seatBit);
}

} // namespace tessaroc::rules::test
