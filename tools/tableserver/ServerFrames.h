#pragma once

#include "Cards.h"

#include "wire/ChatFrame.h"
#include "wire/MessageFrame.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The frames a game server sends to a table client, built with the wire's
// codecs, and the reader of a login. Texts are UTF-8; the codecs write them
// as GBK. Every byte a frame does not list stays 0, and the echo bytes are
// stamped by whoever delivers the frame.
namespace tessaroc::tableserver::frames {

using wire::MessageFrame;

// Login answers.
inline constexpr std::uint8_t kLoginAccepted = 1;
inline constexpr std::uint8_t kLoginFailedToStart = 2;
inline constexpr std::uint8_t kLoginVerificationFailed = 0;

// Trick codes of CmdPlayed the server uses: an ordinary follow,
// and the opening of a lead with the table cleared first.
inline constexpr std::uint8_t kTrickFollow = 0;
inline constexpr std::uint8_t kTrickLead = 1;

// Outcomes of a result frame.
inline constexpr std::uint8_t kOutcomeWin = 1;
inline constexpr std::uint8_t kOutcomeLoss = 2;
inline constexpr std::uint8_t kOutcomeAbandoned = 3;

// The mode of a ready-or-leave notice that names the seats short of coins.
inline constexpr std::uint8_t kNoticeCoinsShort = 3;

// The user block of CmdUserInfo, UTF-8. Location, title and tag must hold
// only characters that are two bytes in GBK; face and account are ASCII.
struct UserInfo
{
    std::string nickname;
    std::string face; // "m1".."m10", "w1".."w10"
    std::uint8_t sex = 1;
    std::string location;
    std::uint64_t points = 0;
    std::uint64_t credit = 0;
    std::uint64_t coins = 0;
    std::string title;
    std::int32_t logins = 0;
    std::int32_t disconnects = 0;
    std::int32_t wins = 0;
    std::int32_t losses = 0;
    std::string account;
    std::string tag;
};

// One seat's line of the settlement.
struct SeatResult
{
    std::uint8_t seat = 0;
    bool landlord = false;
    std::uint8_t outcome = kOutcomeAbandoned;
    std::uint8_t sign = 0; // 1 plus, 2 minus, 0 none
    std::uint64_t subtotal = 0; // before the cap
    std::uint64_t total = 0; // after the cap; also the final amount F
    bool capped = false;
    std::uint8_t level = 0;
    std::vector<CardCode> cardsLeft;
};

MessageFrame loginAnswer(std::uint8_t result, std::uint8_t turnSeconds,
                         std::string_view advertAddress = {});
MessageFrame reconnectAnswer(std::uint8_t result);
MessageFrame userInfo(std::uint8_t recipientSeat, std::uint8_t describedSeat, const UserInfo &user,
                      bool ready);
MessageFrame ready(std::string_view account);
MessageFrame handStartDeal(std::uint8_t recipientSeat, std::span<const CardCode> cards,
                           std::uint8_t turnedUpSeat, CardCode turnedUpCard,
                           std::int32_t resumeValue);
MessageFrame bottomDeal(std::uint8_t landlordSeat, std::span<const CardCode> cards);
MessageFrame bidTurn(std::uint8_t nextBidder, std::uint8_t bid, std::uint8_t bidder);
MessageFrame played(std::uint8_t mover, std::uint8_t next, std::uint8_t trickCode,
                    std::span<const CardCode> cards, std::uint8_t kind, std::uint8_t seconds);
MessageFrame handResult(const SeatResult &result, std::int32_t stake, std::string_view winnersLine);
MessageFrame endOfHand();
MessageFrame coinsShort(std::uint8_t shortSeats, std::uint8_t changeRoomSeats);
MessageFrame userLeft(std::string_view account, std::uint8_t clockKind);
MessageFrame forcedLeave(std::string_view text);
// A chat line as relayed: the sender's real seat, the text and the phrase
// fields kept, the item-library kind word cleared.
MessageFrame chatRelay(const wire::ChatFrame &line, std::uint8_t senderSeat);

// What a login (18) or a reconnect request (28) carries.
struct LoginRequest
{
    std::string account;
    bool accountReadable = false; // the bytes read back as the same account
    std::string password;
    std::uint16_t echo = 0;
    std::int32_t resumeValue = 0;
};
LoginRequest readLogin(const MessageFrame &frame);

// A client frame read with its codec, when it holds exactly the bytes the
// client writes for that value (the echo bytes aside); nothing for a frame
// the client would not have built.
template<typename Codec> std::optional<Codec> readExact(const MessageFrame &frame)
{
    Codec value = Codec::decode(frame);
    MessageFrame bare = frame;
    bare.setU16le(wire::offset::kEcho, 0);
    if (!(value.encode() == bare))
        return std::nullopt;
    return value;
}

} // namespace tessaroc::tableserver::frames
