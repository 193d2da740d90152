#pragma once

#include "rules/CardCode.h"
#include "rules/CardText.h"
#include "rules/SeededRandom.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace tessaroc::tableserver {

// A card on the wire: [suit bit, face, 0, card id] read little-endian. Only
// the face counts in the rules; the suit chooses the picture and the id names
// the physical card, which is all a client sends back.
using rules::CardCode;
using rules::cardFace;
using rules::cardId;
using rules::cardSuitBits;
using rules::makeCard;

inline constexpr int kDeckSize = 108;
inline constexpr int kHandSize = 25;
inline constexpr int kBottomSize = 8;
inline constexpr int kMaxHand = rules::kMaxHandCards;

// The fixed table of both packs: the id of a card is its index. Faces 3 to 2
// (15) come eight times each (four suits, two packs), then the two small and
// the two big jokers, which always carry suit bit 1.
constexpr std::array<CardCode, kDeckSize> deckTable()
{
    std::array<CardCode, kDeckSize> deck{};
    int id = 0;
    for (int face = rules::kLowestFace; face <= rules::kFaceTwo; ++face) {
        for (int pack = 0; pack < 2; ++pack) {
            for (int suit = 0; suit < 4; ++suit) {
                deck[static_cast<std::size_t>(id)] = makeCard(face, 1 << suit, id);
                ++id;
            }
        }
    }
    for (int face : {rules::kFaceSmallJoker, rules::kFaceSmallJoker, rules::kFaceBigJoker,
                     rules::kFaceBigJoker}) {
        deck[static_cast<std::size_t>(id)] = makeCard(face, 1, id);
        ++id;
    }
    return deck;
}

inline constexpr std::array<CardCode, kDeckSize> kDeck = deckTable();

// The code of a card id, or 0 for an id that names no card.
constexpr CardCode cardById(int id)
{
    return id >= 0 && id < kDeckSize ? kDeck[static_cast<std::size_t>(id)] : 0;
}

// Seeded randomness for the deal and the computer players' pace: the
// project's own generator, so one seed gives the same games everywhere.
using rules::SeededRandom;

// Cards as players name them, for the game record and test messages:
// "8 8 8 3 3", the jokers "sj" and "BJ".
using rules::describeCards;
using rules::faceText;

} // namespace tessaroc::tableserver
