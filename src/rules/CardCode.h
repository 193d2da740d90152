#pragma once

#include "rules/BitIndex.h"

#include <array>
#include <cstdint>

namespace tessaroc::rules {

// One card as the server sends it: bits 0-3 the suit as a one-hot bit, bits
// 8-15 the face, bits 24-31 the card's id within the two packs. Bits 16-23
// are never read. Only the face ranks a card; the suit only picks its picture.
using CardCode = std::int32_t;

// A hand holds at most 25 dealt cards plus the landlord's 8 bottom cards, so
// every table of cards in the rules has this many entries.
inline constexpr int kMaxHandCards = 33;
using CardArray = std::array<CardCode, kMaxHandCards>;

// Faces: 3 to 10 are the pip cards; the two ranks above the ace and the
// jokers above the two.
inline constexpr int kLowestFace = 3;
inline constexpr int kFaceJack = 11;
inline constexpr int kFaceQueen = 12;
inline constexpr int kFaceKing = 13;
inline constexpr int kFaceAce = 14;
inline constexpr int kFaceTwo = 15;
inline constexpr int kFaceSmallJoker = 16;
inline constexpr int kFaceBigJoker = 17;
inline constexpr int kHighestFace = kFaceBigJoker;
inline constexpr int kFaceSlots = kHighestFace + 1; // tables indexed by face

// The fields are read as bits of the unsigned value, so a hostile code from a
// frame still gives a face, suit and id in 0..255.
constexpr int cardFace(CardCode code)
{
    return static_cast<int>((static_cast<std::uint32_t>(code) >> 8) & 0xFFu);
}
constexpr int cardSuitBits(CardCode code)
{
    return static_cast<int>(static_cast<std::uint32_t>(code) & 0x0Fu);
}
constexpr int cardId(CardCode code)
{
    return static_cast<int>(static_cast<std::uint32_t>(code) >> 24);
}
constexpr bool isValidFace(int face)
{
    return face >= kLowestFace && face <= kHighestFace;
}

constexpr CardCode makeCard(int face, int suitBit, int id = 0)
{
    const auto bits = (static_cast<std::uint32_t>(id & 0xFF) << 24)
            | (static_cast<std::uint32_t>(face & 0xFF) << 8)
            | static_cast<std::uint32_t>(suitBit & 0x0F);
    return static_cast<CardCode>(bits);
}

// The code without its id: what the own play leaves behind as the play to beat.
constexpr CardCode faceAndSuit(CardCode code)
{
    return makeCard(cardFace(code), cardSuitBits(code));
}

constexpr int clampCardCount(int count)
{
    return count < 0 ? 0 : (count > kMaxHandCards ? kMaxHandCards : count);
}

} // namespace tessaroc::rules
