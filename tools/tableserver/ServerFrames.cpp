#include "ServerFrames.h"

#include <algorithm>

namespace tessaroc::tableserver::frames {

namespace {

MessageFrame withCommand(wire::Command cmd)
{
    MessageFrame frame;
    frame.setCmd(cmd);
    return frame;
}

void setU64le(MessageFrame &frame, std::size_t pos, std::uint64_t value)
{
    frame.setU32le(pos, static_cast<std::uint32_t>(value & 0xFFFFFFFFu));
    frame.setU32le(pos + 4, static_cast<std::uint32_t>(value >> 32));
}

void writeCards(MessageFrame &frame, std::size_t pos, std::span<const CardCode> cards)
{
    for (std::size_t i = 0; i < cards.size(); ++i)
        frame.setU32le(pos + 4 * i, static_cast<std::uint32_t>(cards[i]));
}

// Double-byte-only fields are read in pairs by the client: cut them at a
// pair boundary so that no half character is left.
void writePairs(MessageFrame &frame, std::size_t pos, std::size_t size, std::string_view text)
{
    const std::size_t n = std::min(text.size(), size);
    writeText(frame, pos, size, text.substr(0, n - n % 2));
}

} // namespace

void writeText(MessageFrame &frame, std::size_t pos, std::size_t size, std::string_view text)
{
    const std::size_t n = std::min(size, text.size());
    for (std::size_t i = 0; i < n; ++i)
        frame.setByte(pos + i, static_cast<std::uint8_t>(text[i]));
}

std::string readAscii(const MessageFrame &frame, std::size_t pos, std::size_t size)
{
    std::string out;
    for (std::size_t i = 0; i < size; ++i) {
        const auto byte = frame.byteAt(pos + i);
        if (byte == 0)
            break;
        out += static_cast<char>(byte);
    }
    return out;
}

MessageFrame loginAnswer(std::uint8_t result, std::uint8_t turnSeconds,
                         std::string_view advertAddress)
{
    auto frame = withCommand(wire::CmdLogin);
    frame.setByte(wire::offset::kArg11, turnSeconds);
    frame.setByte(wire::offset::kArg15, result);
    writeText(frame, 16, 100, advertAddress);
    return frame;
}

MessageFrame reconnectAnswer(std::uint8_t result)
{
    auto frame = withCommand(wire::CmdReconnectAnswer);
    frame.setByte(wire::offset::kArg15, result);
    return frame;
}

MessageFrame userInfo(std::uint8_t recipientSeat, std::uint8_t describedSeat, const UserInfo &user,
                      bool ready)
{
    auto frame = withCommand(wire::CmdUserInfo);
    frame.setSeatBit(recipientSeat);
    writeText(frame, 16, 32, user.nickname);
    writeText(frame, 48, 16, user.face);
    frame.setByte(64, user.sex);
    writePairs(frame, 72, 8, user.location);
    setU64le(frame, 80, user.points);
    setU64le(frame, 88, user.credit);
    setU64le(frame, 96, user.coins);
    writePairs(frame, 112, 16, user.title);
    frame.setU32le(152, static_cast<std::uint32_t>(std::max(user.logins, 0)));
    frame.setU32le(156, static_cast<std::uint32_t>(std::max(user.disconnects, 0)));
    frame.setU32le(160, static_cast<std::uint32_t>(std::max(user.wins, 0)));
    frame.setU32le(164, static_cast<std::uint32_t>(std::max(user.losses, 0)));
    writeText(frame, 168, 16, user.account);
    writePairs(frame, 184, 24, user.tag);
    frame.setByte(208, ready ? 1 : 0);
    frame.setByte(226, describedSeat);
    // The item library stays off on the client whatever this byte says.
    frame.setByte(255, 1);
    return frame;
}

MessageFrame ready(std::string_view account)
{
    auto frame = withCommand(wire::CmdReady);
    frame.setByte(wire::offset::kArg15, 1);
    writeText(frame, 16, 16, account);
    return frame;
}

MessageFrame handStartDeal(std::uint8_t recipientSeat, std::span<const CardCode> cards,
                           std::uint8_t turnedUpSeat, CardCode turnedUpCard,
                           std::int32_t resumeValue)
{
    auto frame = withCommand(wire::CmdDeal);
    frame.setSeatBit(recipientSeat);
    frame.setByte(wire::offset::kArg8, kHandSize);
    frame.setByte(wire::offset::kArg11, kHandSize);
    frame.setByte(wire::offset::kArg15, turnedUpSeat);
    writeCards(frame, 16, cards.first(std::min<std::size_t>(cards.size(), kHandSize)));
    frame.setByte(249, static_cast<std::uint8_t>(cardSuitBits(turnedUpCard)));
    frame.setByte(250, static_cast<std::uint8_t>(cardFace(turnedUpCard)));
    frame.setU32le(wire::offset::kResumeValue, static_cast<std::uint32_t>(resumeValue));
    return frame;
}

MessageFrame bottomDeal(std::uint8_t landlordSeat, std::span<const CardCode> cards)
{
    auto frame = withCommand(wire::CmdDeal);
    frame.setSeatBit(landlordSeat);
    frame.setByte(wire::offset::kArg11, kBottomSize);
    writeCards(frame, 16, cards.first(std::min<std::size_t>(cards.size(), kBottomSize)));
    return frame;
}

MessageFrame bidTurn(std::uint8_t nextBidder, std::uint8_t bid, std::uint8_t bidder)
{
    auto frame = withCommand(wire::CmdBidTurn);
    frame.setSeatBit(nextBidder);
    frame.setByte(wire::offset::kArg11, bid);
    frame.setByte(wire::offset::kArg15, bidder);
    return frame;
}

MessageFrame played(std::uint8_t mover, std::uint8_t next, std::uint8_t trickCode,
                    std::span<const CardCode> cards, std::uint8_t kind, std::uint8_t seconds)
{
    auto frame = withCommand(wire::CmdPlayed);
    frame.setSeatBit(mover);
    frame.setByte(wire::offset::kArg11, next);
    frame.setByte(wire::offset::kArg15, trickCode);
    const auto n = std::min<std::size_t>(cards.size(), kMaxHand);
    frame.setByte(wire::offset::kArg17, static_cast<std::uint8_t>(n));
    if (n > 0) {
        frame.setByte(18, kind);
        writeCards(frame, 20, cards.first(n));
    }
    frame.setByte(255, seconds);
    return frame;
}

MessageFrame handResult(const SeatResult &result, std::int32_t stake, std::string_view winnersLine)
{
    auto frame = withCommand(wire::CmdHandResult);
    frame.setSeatBit(result.seat);
    frame.setU32be(8, static_cast<std::uint32_t>(std::max(stake, 0)));
    frame.setByte(wire::offset::kArg15, 1); // coins, not gold bars
    const auto left = std::span<const CardCode>(result.cardsLeft)
                              .first(std::min<std::size_t>(result.cardsLeft.size(), kMaxHand));
    frame.setByte(16, static_cast<std::uint8_t>(left.size()));
    writeCards(frame, 20, left);
    frame.setByte(153, result.landlord ? 1 : 0);
    frame.setByte(154, result.outcome);
    setU64le(frame, 163, result.total);
    frame.setByte(171, result.level);
    frame.setByte(177, result.sign);
    setU64le(frame, 178, result.subtotal);
    setU64le(frame, 187, result.total);
    frame.setByte(204, result.capped ? 1 : 0);
    writeText(frame, 205, 20, winnersLine);
    return frame;
}

MessageFrame endOfHand()
{
    return withCommand(wire::CmdReadyOrLeave);
}

MessageFrame coinsShort(std::uint8_t shortSeats, std::uint8_t changeRoomSeats)
{
    auto frame = withCommand(wire::CmdReadyOrLeave);
    frame.setSeatBit(shortSeats);
    frame.setByte(wire::offset::kArg11, changeRoomSeats);
    frame.setByte(wire::offset::kArg15, 3);
    return frame;
}

MessageFrame userLeft(std::string_view account, std::uint8_t clockKind)
{
    auto frame = withCommand(wire::CmdUserLeft);
    frame.setByte(wire::offset::kArg11, clockKind);
    writeText(frame, 16, 16, account);
    return frame;
}

MessageFrame forcedLeave(std::string_view text)
{
    auto frame = withCommand(wire::CmdForcedLeave);
    writeText(frame, 16, 200, text);
    return frame;
}

MessageFrame chatRelay(const MessageFrame &line, std::uint8_t senderSeat)
{
    auto frame = withCommand(wire::CmdChat);
    frame.setSeatBit(senderSeat);
    for (const std::size_t pos : {9u, 10u, 11u, 13u})
        frame.setByte(pos, line.byteAt(pos));
    for (std::size_t pos = 16; pos < 216; ++pos)
        frame.setByte(pos, line.byteAt(pos));
    return frame;
}

LoginRequest readLogin(const MessageFrame &frame)
{
    LoginRequest request;
    request.account = readAscii(frame, 16, 16);
    // The reconnect form writes the echo and the resume value over the end of
    // the frame, so the password never reaches past byte 259.
    request.password = readAscii(frame, 32, wire::offset::kEcho - 32);
    request.echo = frame.u16le(wire::offset::kEcho);
    request.resumeValue = frame.resumeValue();
    return request;
}

std::span<const std::uint8_t> playIds(const MessageFrame &frame)
{
    const std::size_t n = frame.byteAt(wire::offset::kArg17);
    if (n < 1 || n > kMaxHand)
        return {};
    return std::span<const std::uint8_t>(frame.data() + 20, n);
}

} // namespace tessaroc::tableserver::frames
