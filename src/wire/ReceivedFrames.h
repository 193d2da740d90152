#pragma once

#include "rules/CardCode.h"
#include "wire/MessageFrame.h"
#include "wire/SentFrames.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>

// The frames the game server sends, one value type per command. `decode()`
// reads what the client's handlers need from an untrusted frame and never
// faults: counts are clamped to the card tables (at most kMaxFrameCards), card
// codes are read as unsigned bits (rules::cardFace and friends), seat bytes
// stay as sent and say through SeatByte::valid() whether they name a seat,
// texts go through the GBK readers into UTF-8. `encode()` writes the value
// back, as a server does; decode(encode(v)) == v for every value whose counts
// fit. The chat line is in ChatFrame.h.
//
// Layouts (byte: field):
//   login answer (18)     11 turn seconds, 15 result, 16..115 advert address
//   reconnect answer (29) 15 result
//   user info (20)        6 recipient's seat, 16.. the user block (below)
//   ready (23)            15 ready (1), 16..31 account
//   deal (1)              6 landlord (bottom form), 8 row count, 11 form and
//                         count (25 hand start, 8 bottom cards), 15 seat of the
//                         shown card, 16.. cards (4 bytes each), 249 shown
//                         suit bit, 250 shown face, 253 show-card multiplier,
//                         268..271 resume value
//   bid turn (2)          6 next bidder, 11 bid, 15 bidder
//   played (6)            6 mover, 11 next seat, 15 trick code, 17 count,
//                         18 kind, 20.. cards (4 bytes each), 255 seconds
//   hand result (9)       see HandResultFrame
//   ready-or-leave (16)   6 short seats, 11 flags, 13 shuffle now, 15 mode,
//                         16..19 wealth multiplier
//   user left (21)        8 first letter raised, 11 clock kind, 16..31 account
//   forced leave (22)     16..215 text
//   item frames (44-46)   8..9 sub-kind x 8, most significant byte first
namespace tessaroc::wire {

using rules::CardCode;

// Login answer results (byte 15); any other value is a failed verification.
inline constexpr std::uint8_t kLoginAccepted = 1;
inline constexpr std::uint8_t kLoginFailedToStart = 2;

struct LoginAnswerFrame
{
    std::uint8_t turnSeconds = 0;
    std::uint8_t result = 0;
    std::string advertAddress{}; // single-byte text, at most 100 characters

    MessageFrame encode() const;
    static LoginAnswerFrame decode(const MessageFrame &frame);
    bool operator==(const LoginAnswerFrame &) const = default;
};

struct ReconnectAnswerFrame
{
    std::uint8_t result = 0; // 1 reconnected, anything else refused

    MessageFrame encode() const;
    static ReconnectAnswerFrame decode(const MessageFrame &frame);
    bool operator==(const ReconnectAnswerFrame &) const = default;
};

// One seated user. Numbers are little-endian; the nickname is mixed GBK read
// inside its field, location, title and tag are read in pairs (double-byte
// characters only), face, account and the extra texts one byte per character.
//   16..47 nickname      48..63 face         64 sex
//   72..79 location      80 points           88 credit        96 coins
//   104 extra number 1   112..127 title      128/136/144 extra numbers 2-4
//   152 logins           156 disconnects     160 wins         164 losses
//   168..183 account     184..207 tag        208 ready
//   210..217 extra text 1                    218..225 extra text 2
//   226 extra number 5 (its low four bits: the described seat)
//   234 wealth value     238 show-card note  255 item switch
struct UserInfoFrame
{
    SeatByte recipientSeat{}; // byte 6: the own seat, fixed by the first of these
    std::string nickname{};
    std::string face{}; // "m1".."m10", "w1".."w10"; empty counts as "m1"
    std::uint8_t sex = 0; // 0 woman, otherwise man
    std::string location{};
    std::uint64_t points = 0;
    std::uint64_t credit = 0;
    std::uint64_t coins = 0;
    std::uint64_t extraNumber1 = 0;
    std::string title{};
    std::array<std::uint64_t, 3> extraNumbers2to4{};
    std::int32_t logins = 0;
    std::int32_t disconnects = 0;
    std::int32_t wins = 0;
    std::int32_t losses = 0;
    std::string account{};
    std::string tag{};
    bool ready = false;
    std::string extraText1{};
    std::string extraText2{};
    std::uint64_t extraNumber5 = 0;
    std::int32_t wealth = 0; // 0: no wealth rule
    std::uint8_t showCardNote = 0; // not 0: show the show-card note
    std::uint8_t itemSwitch = 0;

    // The seat this record fills: the low four bits of byte 226.
    SeatByte describedSeat() const { return static_cast<std::uint8_t>(extraNumber5 & 0xFF); }

    MessageFrame encode() const;
    static UserInfoFrame decode(const MessageFrame &frame);
    bool operator==(const UserInfoFrame &) const = default;
};

struct ReadyFrame
{
    std::uint8_t ready = 0; // 1: the user is ready; other values change no mark
    std::string account{};

    MessageFrame encode() const;
    static ReadyFrame decode(const MessageFrame &frame);
    bool operator==(const ReadyFrame &) const = default;
};

// Byte 11 of a deal: 25 starts a hand and deals the own 25 cards, 8 hands the
// bottom cards to the landlord, any other value starts a hand without dealing.
inline constexpr std::uint8_t kDealHandStart = 25;
inline constexpr std::uint8_t kDealBottomCards = 8;

struct DealFrame
{
    SeatByte seat{}; // bottom form: the landlord; hand start: not read
    std::uint8_t rowCount = 0; // R: the own row is centred for R cards; 33 shows them at once
    std::uint8_t form = 0; // kDealHandStart, kDealBottomCards or another value
    SeatByte shownCardSeat{}; // the seat that holds the card turned up at the deal
    std::array<CardCode, kMaxFrameCards> codes{};
    std::uint8_t shownSuitBit = 0;
    std::uint8_t shownFace = 0;
    std::uint8_t showCardDouble = 0; // 0: none
    std::int32_t resumeValue = 0;

    bool isBottomCards() const { return form == kDealBottomCards; }
    // The cards the frame carries: 25 for a hand-start deal, 8 bottom cards,
    // none for a hand start without a deal.
    std::span<const CardCode> cards() const;
    // The code of the card turned up at the deal (no id).
    CardCode shownCard() const { return rules::makeCard(shownFace, shownSuitBit); }

    MessageFrame encode() const;
    static DealFrame decode(const MessageFrame &frame);
    bool operator==(const DealFrame &) const = default;
};

struct BidTurnFrame
{
    SeatByte nextBidder{};
    std::uint8_t bid = 0; // of the seat in `bidder`: 1 called (landlord), 0 did not
    SeatByte bidder{}; // not read in the first bid turn of a hand

    MessageFrame encode() const;
    static BidTurnFrame decode(const MessageFrame &frame);
    bool operator==(const BidTurnFrame &) const = default;
};

// A seat's play or pass, sent to all four seats. The count byte stays as sent;
// cards() holds at most kMaxFrameCards of the codes.
struct PlayedFrame
{
    SeatByte mover{};
    // The next seat to move; the whole byte is compared with the own seat bit,
    // and 0 follows the play that ends the hand.
    std::uint8_t next = 0;
    std::uint8_t trickCode = 0;
    std::uint8_t cardCount = 0; // 0: a pass
    std::uint8_t kind = 0;
    std::array<CardCode, kMaxFrameCards> codes{};
    std::uint8_t seconds = 0; // on the next seat's clock; 0 or 1 mean 20

    std::span<const CardCode> cards() const;

    MessageFrame encode() const;
    static PlayedFrame decode(const MessageFrame &frame);
    bool operator==(const PlayedFrame &) const = default;
};

// One seat's settlement, one of four frames at the end of a hand. Amounts are
// unsigned magnitudes with separate sign bytes (1 plus, 2 minus, else 0).
//   6 seat   8..11 stake (big-endian)   15 coin unit   16 cards left
//   20.. remaining cards (4 bytes each)   152 bid kind   153 landlord
//   154 outcome   155 total   163 final amount   171 level
//   172 bid multiplier   174 multiplier side   175 dealer
//   177 sign 1   178 amount 1   186 sign 2   187 amount 2
//   195 base sign   196 base   204 capped   205..224 winners' line
struct HandResultFrame
{
    SeatByte seat{};
    std::int32_t stake = 0;
    std::uint8_t cashUnit = 0; // 1 coins, otherwise gold bars
    std::uint8_t cardsLeft = 0; // as sent; cards() holds at most kMaxFrameCards
    std::array<CardCode, kMaxFrameCards> codes{};
    std::uint8_t bidKind = 0;
    // As sent: 1 the landlord. The rule-variant board treats values other
    // than 0 and 1 apart, as it does the multiplier side.
    std::uint8_t landlord = 0;
    std::uint8_t outcome = 0; // 1 win, 2 loss, other a draw
    std::uint64_t total = 0;
    std::uint64_t finalAmount = 0;
    std::uint8_t level = 0; // 1-40; 0 or above 40 keeps the label
    std::uint8_t bidMultiplier = 0;
    std::uint8_t multiplierSide = 0;
    std::uint8_t dealer = 0;
    std::uint8_t amount1Sign = 0;
    std::uint64_t amount1 = 0; // the subtotal
    std::uint8_t amount2Sign = 0;
    std::uint64_t amount2 = 0; // the total line
    std::uint8_t baseSign = 0;
    std::uint64_t base = 0;
    bool capped = false;
    std::string winnersLine{};

    std::span<const CardCode> cards() const;

    MessageFrame encode() const;
    static HandResultFrame decode(const MessageFrame &frame);
    bool operator==(const HandResultFrame &) const = default;
};

// Ready-or-leave from the server (16). Mode 0 ends the hand; 1 and 2 mean
// nothing; every other mode (3 by default) names the seats short of coins.
struct ReadyOrLeaveNoticeFrame
{
    std::uint8_t mode = 0;
    std::uint8_t shortSeats = 0; // seat bits of every seat short of coins
    // End of hand: 1 = a seat shuffle may follow. Coins short: the seat bits
    // of the short seats told to change rooms.
    std::uint8_t flags = 0;
    std::uint8_t shufflingNow = 0; // 1: the seats are being shuffled now
    std::int32_t wealthMultiplier = 0; // 0 hides the wealth icon

    bool isEndOfHand() const { return mode == 0; }
    bool isCoinsShort() const { return mode > 2; }

    MessageFrame encode() const;
    static ReadyOrLeaveNoticeFrame decode(const MessageFrame &frame);
    bool operator==(const ReadyOrLeaveNoticeFrame &) const = default;
};

// A user left. The server may send the account's first letter raised by one
// (byte 8 = 1); `account` is always the real name, and a first letter that
// cannot be lowered (byte 16 = 0) gives the empty name, which matches no seat.
struct UserLeftFrame
{
    bool firstLetterRaised = false;
    std::uint8_t clockKind = 0; // 1: the ready clock runs 10 s, otherwise 12 s
    std::string account{};

    MessageFrame encode() const;
    static UserLeftFrame decode(const MessageFrame &frame);
    bool operator==(const UserLeftFrame &) const = default;
};

struct ForcedLeaveFrame
{
    std::string text{}; // mixed GBK, up to 200 bytes

    MessageFrame encode() const;
    static ForcedLeaveFrame decode(const MessageFrame &frame);
    bool operator==(const ForcedLeaveFrame &) const = default;
};

// Item-library traffic (44, 45, 46), which this client drops. The sub-kind of
// a 45 is the big-endian number in bytes 8 and 9 divided by 8.
struct ItemFrame
{
    std::uint8_t command = CmdProp45;
    std::uint16_t subKind = 0;

    MessageFrame encode() const;
    static ItemFrame decode(const MessageFrame &frame);
    bool operator==(const ItemFrame &) const = default;
};

} // namespace tessaroc::wire
