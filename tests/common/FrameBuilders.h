#pragma once

#include "rules/CardCode.h"
#include "wire/ChatFrame.h"
#include "wire/ReceivedFrames.h"

#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// The server's frames as the tests build them, through the wire codecs.
namespace tessaroc::frames {

// With the own seat bit 1, the seat at display position p has seat bit
// 1 << p.
inline constexpr std::uint8_t kSeatBit[] = {1, 2, 4, 8};

// The user information of account `name` at seat bit `seat`, sent to a
// client at seat bit `recipient`.
inline wire::UserInfoFrame userInfo(const std::string &name, std::uint8_t seat,
                                    std::uint8_t recipient = 1)
{
    wire::UserInfoFrame info;
    info.recipientSeat = recipient;
    info.account = name;
    info.nickname = name + "-nick";
    info.face = "m2";
    info.sex = 1;
    info.coins = 30000;
    info.title = "新手";
    info.tag = "会员";
    info.extraNumber5 = seat;
    return info;
}

// Four users seated, accounts a..d at seat bits 1..8, as a client at seat
// bit `own` receives them.
inline std::array<wire::MessageFrame, 4> fourSeated(std::uint8_t own = 1)
{
    const char *names[] = {"a", "b", "c", "d"};
    std::array<wire::MessageFrame, 4> frames;
    for (std::size_t i = 0; i < 4; ++i)
        frames[i] = userInfo(names[i], kSeatBit[i], own).encode();
    return frames;
}

// A card whose suit is that of its place in a row (jokers carry suit bit 1),
// as the server's rows mix the suits.
inline rules::CardCode placeSuited(int face, int place, int id)
{
    return rules::makeCard(face, face >= 16 ? 1 : 1 << (place % 4), id);
}

// The card a built deal holds at place i of its row.
using DealtCard = std::function<rules::CardCode(int place)>;

// The card turned up at the hand's start and the seat bit it is shown to.
struct ShownCard
{
    std::uint8_t seat = 4;
    std::uint8_t suitBit = 4;
    std::uint8_t face = 14;
};

// The hand's start with the deal: 25 cards, card(i) at place i, announced as
// a row of `rows`.
inline wire::DealFrame handStart(const DealtCard &card, ShownCard shown = {},
                                 std::uint8_t rows = 25)
{
    wire::DealFrame deal;
    deal.form = wire::kDealHandStart;
    deal.rowCount = rows;
    deal.shownCardSeat = shown.seat;
    deal.shownSuitBit = shown.suitBit;
    deal.shownFace = shown.face;
    for (int i = 0; i < 25; ++i)
        deal.codes[static_cast<std::size_t>(i)] = card(i);
    return deal;
}

// The landlord's eight bottom cards, card(i) at place i, for seat bit `seat`.
inline wire::DealFrame bottomCards(std::uint8_t seat, const DealtCard &card)
{
    wire::DealFrame deal;
    deal.form = wire::kDealBottomCards;
    deal.seat = seat;
    for (int i = 0; i < 8; ++i)
        deal.codes[static_cast<std::size_t>(i)] = card(i);
    return deal;
}

// The cards of an announced play: jokers carry suit bit 1, the other cards
// the same suit bit (sameSuit) or the suit of their place; ids run up from
// firstId.
struct PlayedCards
{
    std::uint8_t sameSuit = 0; // 0: the suit of the card's place
    int firstId = 0;
};

// A play of `faces` by the seat at display position pos, the turn passing
// to the next seat.
inline wire::PlayedFrame played(int pos, int kind, const std::vector<int> &faces,
                                std::uint8_t trick, PlayedCards cards)
{
    wire::PlayedFrame p;
    p.mover = kSeatBit[pos];
    p.next = kSeatBit[(pos + 1) % 4];
    p.trickCode = trick;
    p.kind = static_cast<std::uint8_t>(kind);
    p.cardCount = static_cast<std::uint8_t>(faces.size());
    for (std::size_t j = 0; j < faces.size(); ++j) {
        const int id = cards.firstId + static_cast<int>(j);
        p.codes[j] = cards.sameSuit && faces[j] < 16
                ? rules::makeCard(faces[j], cards.sameSuit, id)
                : placeSuited(faces[j], static_cast<int>(j), id);
    }
    return p;
}

// A chat line from the server, as the server relays it.
inline wire::MessageFrame chatFrame(std::uint8_t sender, const QString &text,
                                    std::uint8_t whisperTo = 0, std::uint8_t list = 0,
                                    std::uint8_t number = 0)
{
    wire::ChatFrame chat;
    chat.sender = sender;
    chat.text = text.toStdString();
    chat.whisperTo = whisperTo;
    chat.phraseList = list;
    chat.phraseNo = number;
    return chat.encode();
}

} // namespace tessaroc::frames
