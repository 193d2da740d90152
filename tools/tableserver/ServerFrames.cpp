#include "ServerFrames.h"

#include <algorithm>

#include "wire/GbkText.h"
#include "wire/ReceivedFrames.h"

namespace tessaroc::tableserver::frames {

namespace {

// The client reads location, title and tag in pairs of bytes: a character
// that is a single byte in GBK would pair with the byte after it, so only
// double-byte characters are kept.
std::string doubleByteOnly(std::string_view utf8)
{
    std::string kept;
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        const std::string_view character = utf8.substr(i, length);
        if (wire::utf8ToGbk(character).size() == 2)
            kept += character;
        i += length;
    }
    return kept;
}

} // namespace

MessageFrame loginAnswer(std::uint8_t result, std::uint8_t turnSeconds,
                         std::string_view advertAddress)
{
    return wire::LoginAnswerFrame{turnSeconds, result, std::string(advertAddress)}.encode();
}

MessageFrame reconnectAnswer(std::uint8_t result)
{
    return wire::ReconnectAnswerFrame{result}.encode();
}

MessageFrame userInfo(std::uint8_t recipientSeat, std::uint8_t describedSeat, const UserInfo &user,
                      bool ready)
{
    wire::UserInfoFrame frame;
    frame.recipientSeat = recipientSeat;
    frame.nickname = user.nickname;
    frame.face = user.face;
    frame.sex = user.sex;
    frame.location = doubleByteOnly(user.location);
    frame.points = user.points;
    frame.credit = user.credit;
    frame.coins = user.coins;
    frame.title = doubleByteOnly(user.title);
    frame.logins = std::max(user.logins, 0);
    frame.disconnects = std::max(user.disconnects, 0);
    frame.wins = std::max(user.wins, 0);
    frame.losses = std::max(user.losses, 0);
    frame.account = user.account;
    frame.tag = doubleByteOnly(user.tag);
    frame.ready = ready;
    frame.extraNumber5 = describedSeat;
    // The item library stays off on the client whatever this byte says.
    frame.itemSwitch = 1;
    return frame.encode();
}

MessageFrame ready(std::string_view account)
{
    return wire::ReadyFrame{1, std::string(account)}.encode();
}

MessageFrame handStartDeal(std::uint8_t recipientSeat, std::span<const CardCode> cards,
                           std::uint8_t turnedUpSeat, CardCode turnedUpCard,
                           std::int32_t resumeValue)
{
    wire::DealFrame frame;
    frame.seat = recipientSeat;
    frame.rowCount = wire::kDealHandStart;
    frame.form = wire::kDealHandStart;
    frame.shownCardSeat = turnedUpSeat;
    std::copy_n(cards.begin(), std::min<std::size_t>(cards.size(), kHandSize), frame.codes.begin());
    frame.shownSuitBit = static_cast<std::uint8_t>(cardSuitBits(turnedUpCard));
    frame.shownFace = static_cast<std::uint8_t>(cardFace(turnedUpCard));
    frame.resumeValue = resumeValue;
    return frame.encode();
}

MessageFrame bottomDeal(std::uint8_t landlordSeat, std::span<const CardCode> cards)
{
    wire::DealFrame frame;
    frame.seat = landlordSeat;
    frame.form = wire::kDealBottomCards;
    std::copy_n(cards.begin(), std::min<std::size_t>(cards.size(), kBottomSize),
                frame.codes.begin());
    return frame.encode();
}

MessageFrame bidTurn(std::uint8_t nextBidder, std::uint8_t bid, std::uint8_t bidder)
{
    return wire::BidTurnFrame{nextBidder, bid, bidder}.encode();
}

MessageFrame played(std::uint8_t mover, std::uint8_t next, std::uint8_t trickCode,
                    std::span<const CardCode> cards, std::uint8_t kind, std::uint8_t seconds)
{
    wire::PlayedFrame frame;
    frame.mover = mover;
    frame.next = next;
    frame.trickCode = trickCode;
    const auto n = std::min<std::size_t>(cards.size(), kMaxHand);
    frame.cardCount = static_cast<std::uint8_t>(n);
    if (n > 0)
        frame.kind = kind;
    std::copy_n(cards.begin(), n, frame.codes.begin());
    frame.seconds = seconds;
    return frame.encode();
}

MessageFrame handResult(const SeatResult &result, std::int32_t stake, std::string_view winnersLine)
{
    wire::HandResultFrame frame;
    frame.seat = result.seat;
    frame.stake = std::max(stake, 0);
    frame.cashUnit = 1; // coins, not gold bars
    const auto left = std::min<std::size_t>(result.cardsLeft.size(), kMaxHand);
    frame.cardsLeft = static_cast<std::uint8_t>(left);
    std::copy_n(result.cardsLeft.begin(), left, frame.codes.begin());
    frame.landlord = result.landlord;
    frame.outcome = result.outcome;
    frame.finalAmount = result.total;
    frame.level = result.level;
    frame.amount1Sign = result.sign;
    frame.amount1 = result.subtotal;
    frame.amount2 = result.total;
    frame.capped = result.capped;
    frame.winnersLine = std::string(winnersLine);
    return frame.encode();
}

MessageFrame endOfHand()
{
    return wire::ReadyOrLeaveNoticeFrame{}.encode();
}

MessageFrame coinsShort(std::uint8_t shortSeats, std::uint8_t changeRoomSeats)
{
    wire::ReadyOrLeaveNoticeFrame frame;
    frame.mode = kNoticeCoinsShort;
    frame.shortSeats = shortSeats;
    frame.flags = changeRoomSeats;
    return frame.encode();
}

MessageFrame userLeft(std::string_view account, std::uint8_t clockKind)
{
    wire::UserLeftFrame frame;
    frame.clockKind = clockKind;
    frame.account = std::string(account);
    return frame.encode();
}

MessageFrame forcedLeave(std::string_view text)
{
    return wire::ForcedLeaveFrame{std::string(text)}.encode();
}

MessageFrame chatRelay(const wire::ChatFrame &line, std::uint8_t senderSeat)
{
    wire::ChatFrame relay = line;
    relay.sender = senderSeat;
    relay.kindWord = 0;
    return relay.encode();
}

LoginRequest readLogin(const MessageFrame &frame)
{
    const wire::LoginFrame login = wire::LoginFrame::decode(frame);
    LoginRequest request;
    // The account as the client writes it, byte for byte: a byte the
    // single-byte reading could not keep makes it no account name.
    wire::LoginFrame account;
    account.account = login.account;
    const MessageFrame written = account.encode();
    request.accountReadable = true;
    for (std::size_t pos = wire::LoginFrame::kAccountPos; pos < wire::LoginFrame::kPasswordPos;
         ++pos)
        request.accountReadable
                = request.accountReadable && written.byteAt(pos) == frame.byteAt(pos);
    request.account = login.account;
    request.password = login.password;
    request.echo = static_cast<std::uint16_t>(login.echo[0] | login.echo[1] << 8);
    request.resumeValue = login.resumeValue;
    return request;
}

} // namespace tessaroc::tableserver::frames
