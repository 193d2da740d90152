#include "wire/SentFrames.h"

#include "wire/FrameFields.h"

#include <algorithm>

namespace tessaroc::wire {

static_assert(kMaxFrameCards == rules::kMaxHandCards);

namespace {

constexpr std::size_t kBidPos = 11;
constexpr std::size_t kChoicePos = 15;
constexpr std::size_t kPlayModePos = 15;
constexpr std::size_t kPlayCountPos = 17;
constexpr std::size_t kPlayKindPos = 18;
constexpr std::size_t kPlayIdsPos = 20;
constexpr std::size_t kReadyPos = 15;
constexpr std::size_t kLoginFlagPos = 14;
constexpr std::size_t kLoginAccountLast = LoginFrame::kPasswordPos - 1;

MessageFrame seatFrame(Command cmd, std::uint8_t seat)
{
    MessageFrame frame;
    frame.setCmd(cmd);
    frame.setSeatBit(seat);
    return frame;
}

// One byte per character: the low byte of its code in the code page.
void writeSingleBytes(MessageFrame &frame, std::size_t first, std::string_view utf8)
{
    std::size_t pos = first;
    for (char32_t ch : utf8ToChars(utf8))
        frame.setByte(pos++, static_cast<std::uint8_t>(gbkCode(ch) & 0xFF));
}

} // namespace

MessageFrame BidFrame::encode() const
{
    MessageFrame frame = seatFrame(CmdBid, seat);
    frame.setByte(kBidPos, call ? 1 : 0);
    return frame;
}

BidFrame BidFrame::decode(const MessageFrame &frame)
{
    return {frame.seatBit(), frame.byteAt(kBidPos) == 1};
}

MessageFrame ChoiceFrame::encode() const
{
    MessageFrame frame = seatFrame(CmdChoice, seat);
    frame.setByte(kChoicePos, answer);
    return frame;
}

ChoiceFrame ChoiceFrame::decode(const MessageFrame &frame)
{
    return {frame.seatBit(), frame.byteAt(kChoicePos)};
}

PlayFrame PlayFrame::pass(std::uint8_t seat)
{
    PlayFrame play;
    play.seat = seat;
    return play;
}

PlayFrame PlayFrame::cards(std::uint8_t seat, std::uint8_t kind, std::span<const std::uint8_t> ids)
{
    PlayFrame play;
    play.seat = seat;
    play.mode = PlayMode::Cards;
    play.kind = kind;
    const std::size_t n = fields::clampCount(ids.size(), kMaxFrameCards);
    play.cardCount = static_cast<std::uint8_t>(n);
    std::copy_n(ids.begin(), n, play.cardIds.begin());
    return play;
}

std::span<const std::uint8_t> PlayFrame::ids() const
{
    return std::span(cardIds).first(fields::clampCount(cardCount, kMaxFrameCards));
}

MessageFrame PlayFrame::encode() const
{
    MessageFrame frame = seatFrame(CmdPlay, seat);
    frame.setByte(kPlayModePos, static_cast<std::uint8_t>(mode));
    frame.setByte(kPlayCountPos, cardCount);
    frame.setByte(kPlayKindPos, kind);
    const auto list = ids();
    for (std::size_t i = 0; i < list.size(); ++i)
        frame.setByte(kPlayIdsPos + i, list[i]);
    return frame;
}

PlayFrame PlayFrame::decode(const MessageFrame &frame)
{
    PlayFrame play;
    play.seat = frame.seatBit();
    play.mode = static_cast<PlayMode>(frame.byteAt(kPlayModePos));
    play.cardCount = frame.byteAt(kPlayCountPos);
    play.kind = frame.byteAt(kPlayKindPos);
    const std::size_t n = play.ids().size();
    for (std::size_t i = 0; i < n; ++i)
        play.cardIds[i] = frame.byteAt(kPlayIdsPos + i);
    return play;
}

MessageFrame ReadyOrLeaveFrame::encode() const
{
    MessageFrame frame = seatFrame(CmdReadyOrLeave, seat);
    frame.setByte(kReadyPos, ready ? 1 : 0);
    return frame;
}

ReadyOrLeaveFrame ReadyOrLeaveFrame::decode(const MessageFrame &frame)
{
    return {frame.seatBit(), frame.byteAt(kReadyPos) == 1};
}

bool isLeaveFrame(const MessageFrame &frame)
{
    return frame.cmd() == CmdReadyOrLeave && frame.byteAt(kReadyPos) == 0;
}

MessageFrame KeepAliveFrame::encode() const
{
    return seatFrame(CmdKeepAlive, seat);
}

KeepAliveFrame KeepAliveFrame::decode(const MessageFrame &frame)
{
    return {frame.seatBit()};
}

MessageFrame LoginFrame::encode() const
{
    MessageFrame frame;
    frame.setCmd(reconnect ? CmdReconnect : CmdLogin);
    frame.setByte(kLoginFlagPos, 1);
    writeSingleBytes(frame, kAccountPos, account);
    writeSingleBytes(frame, kPasswordPos, password);
    if (reconnect)
        stampReconnect(frame, echo, resumeValue);
    return frame;
}

void LoginFrame::stampReconnect(MessageFrame &frame, const std::array<std::uint8_t, 2> &echo,
                                std::int32_t resumeValue)
{
    frame.setCmd(CmdReconnect);
    frame.setByte(offset::kEcho, echo[0]);
    frame.setByte(offset::kEcho + 1, echo[1]);
    frame.setU32le(offset::kResumeValue, static_cast<std::uint32_t>(resumeValue));
}

LoginFrame LoginFrame::decode(const MessageFrame &frame)
{
    LoginFrame login;
    login.reconnect = frame.cmd() == CmdReconnect;
    login.account = readFieldText(frame, kAccountPos, kLoginAccountLast, FieldText::SingleByte);
    // The reconnection form writes the echo pair and the resume value over the
    // end of the frame, so the password never reaches past byte 259.
    login.password = readFieldText(frame, kPasswordPos, offset::kEcho - 1, FieldText::SingleByte);
    if (login.reconnect) {
        login.echo = {frame.byteAt(offset::kEcho), frame.byteAt(offset::kEcho + 1)};
        login.resumeValue = frame.resumeValue();
    }
    return login;
}

} // namespace tessaroc::wire
