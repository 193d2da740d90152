#pragma once

#include "wire/MessageFrame.h"

#include <cstdint>
#include <span>

// Builders of the frames the client sends. Each returns a zero-filled frame
// with the bytes its command needs; the send path stamps the echo bytes later
// (SendMsg), and the leave frame, which goes straight through the socket,
// keeps them 0.
namespace tessaroc::wire {

// The most cards one play can carry: a whole hand.
inline constexpr std::size_t MaxPlayCards = 33;

// A bid: call (wants to be landlord) or no call.
MessageFrame bidFrame(std::uint8_t ownSeatBit, bool call);
// The answer to a two-way choice: 1 the first button, 2 the second.
MessageFrame choiceFrame(std::uint8_t ownSeatBit, std::uint8_t answer);
MessageFrame passFrame(std::uint8_t ownSeatBit);
// A play with cards: the card ids in judged order, one byte each from byte 20;
// byte 17 counts them and byte 18 holds the kind of play. More than
// MaxPlayCards ids are cut to that many.
MessageFrame playFrame(std::uint8_t ownSeatBit, std::uint8_t playKind,
                       std::span<const std::uint8_t> cardIds);
// Ready for the next hand.
MessageFrame readyFrame(std::uint8_t ownSeatBit);
// Leaving the table; sent straight through the socket, never queued.
MessageFrame leaveFrame(std::uint8_t ownSeatBit);

// Which quick phrase a chat line is (0, 0 for a typed line) and whom it
// whispers to (a seat bit, 0 for everyone).
struct ChatLine
{
    std::uint8_t phraseList = 0; // 1 or 2 for a quick phrase
    std::uint8_t phraseNo = 0; // counted from 1
    std::uint8_t whisperTo = 0;
};
// A chat frame without its text: SendMsg packs the pending line into it.
// Phrases of the second list carry 97 in byte 13.
MessageFrame chatFrame(std::uint8_t ownSeatBit, const ChatLine &line);
MessageFrame keepAliveFrame(std::uint8_t ownSeatBit);

} // namespace tessaroc::wire
