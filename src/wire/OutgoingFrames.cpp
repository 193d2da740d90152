#include "wire/OutgoingFrames.h"

#include <algorithm>

namespace tessaroc::wire {

namespace {

constexpr std::size_t PlayKindPos = 18;
constexpr std::size_t CardIdsPos = 20;
constexpr std::size_t PhraseListPos = 9;
constexpr std::size_t PhraseNoPos = 10;
constexpr std::size_t SecondListMarkPos = 13;
constexpr std::uint8_t SecondListMark = 97;

MessageFrame seatFrame(Command cmd, std::uint8_t ownSeatBit)
{
    MessageFrame frame;
    frame.setCmd(cmd);
    frame.setSeatBit(ownSeatBit);
    return frame;
}

} // namespace

MessageFrame bidFrame(std::uint8_t ownSeatBit, bool call)
{
    MessageFrame frame = seatFrame(CmdBid, ownSeatBit);
    frame.setByte(offset::Arg11, call ? 1 : 0);
    return frame;
}

MessageFrame choiceFrame(std::uint8_t ownSeatBit, std::uint8_t answer)
{
    MessageFrame frame = seatFrame(CmdChoice, ownSeatBit);
    frame.setByte(offset::Arg15, answer);
    return frame;
}

MessageFrame passFrame(std::uint8_t ownSeatBit)
{
    MessageFrame frame = seatFrame(CmdPlay, ownSeatBit);
    frame.setByte(offset::Arg15, 1);
    return frame;
}

MessageFrame playFrame(std::uint8_t ownSeatBit, std::uint8_t playKind,
                       std::span<const std::uint8_t> cardIds)
{
    MessageFrame frame = seatFrame(CmdPlay, ownSeatBit);
    const std::size_t count = std::min(cardIds.size(), MaxPlayCards);
    frame.setByte(offset::Arg15, 2);
    frame.setByte(offset::Arg17, static_cast<std::uint8_t>(count));
    frame.setByte(PlayKindPos, playKind);
    for (std::size_t i = 0; i < count; ++i)
        frame.setByte(CardIdsPos + i, cardIds[i]);
    return frame;
}

MessageFrame readyFrame(std::uint8_t ownSeatBit)
{
    MessageFrame frame = seatFrame(CmdReadyOrLeave, ownSeatBit);
    frame.setByte(offset::Arg15, 1);
    return frame;
}

MessageFrame leaveFrame(std::uint8_t ownSeatBit)
{
    return seatFrame(CmdReadyOrLeave, ownSeatBit);
}

MessageFrame chatFrame(std::uint8_t ownSeatBit, const ChatLine &line)
{
    MessageFrame frame = seatFrame(CmdChat, ownSeatBit);
    frame.setByte(PhraseListPos, line.phraseList);
    frame.setByte(PhraseNoPos, line.phraseNo);
    frame.setByte(offset::Arg11, line.whisperTo);
    if (line.phraseList == 2)
        frame.setByte(SecondListMarkPos, SecondListMark);
    return frame;
}

MessageFrame keepAliveFrame(std::uint8_t ownSeatBit)
{
    return seatFrame(CmdKeepAlive, ownSeatBit);
}

} // namespace tessaroc::wire
