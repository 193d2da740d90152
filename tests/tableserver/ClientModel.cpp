#include "ClientModel.h"

#include "ComputerPlayer.h"
#include "ServerFrames.h"

#include "wire/ChatFrame.h"
#include "wire/CommandLine.h"
#include "wire/GbkText.h"
#include "wire/SentFrames.h"

#include <algorithm>

namespace tessaroc::tableserver::testing {

using wire::MessageFrame;

namespace {

std::vector<CardCode> readCards(const MessageFrame &frame, std::size_t pos, int count)
{
    std::vector<CardCode> cards;
    for (int i = 0; i < count; ++i)
        cards.push_back(static_cast<CardCode>(frame.u32le(pos + 4 * static_cast<std::size_t>(i))));
    return cards;
}

} // namespace

MessageFrame loginFrame(const std::string &account, const std::string &password)
{
    return wire::LoginFrame{.account = account, .password = password}.encode();
}

MessageFrame reconnectFrame(const std::string &account, const std::string &password,
                            std::uint16_t echo, std::int32_t resumeValue)
{
    return wire::LoginFrame{
            true,
            account,
            password,
            {static_cast<std::uint8_t>(echo & 0xFF), static_cast<std::uint8_t>(echo >> 8)},
            resumeValue}
            .encode();
}

MessageFrame bidFrame(std::uint8_t seat, bool call)
{
    return wire::BidFrame{seat, call}.encode();
}

MessageFrame passFrame(std::uint8_t seat)
{
    return wire::PlayFrame::pass(seat).encode();
}

MessageFrame playFrame(std::uint8_t seat, std::span<const std::uint8_t> ids, std::uint8_t kind)
{
    return wire::PlayFrame::cards(seat, kind, ids).encode();
}

MessageFrame playFrame(std::uint8_t seat, const Play &play)
{
    std::vector<std::uint8_t> ids;
    for (const CardCode card : play.view())
        ids.push_back(static_cast<std::uint8_t>(cardId(card)));
    return playFrame(seat, ids, static_cast<std::uint8_t>(play.kind));
}

MessageFrame readyFrame(std::uint8_t seat)
{
    return wire::ReadyOrLeaveFrame{seat, true}.encode();
}

MessageFrame leaveFrame(std::uint8_t seat)
{
    return wire::ReadyOrLeaveFrame{seat, false}.encode();
}

MessageFrame keepAliveFrame(std::uint8_t seat)
{
    return wire::KeepAliveFrame{seat}.encode();
}

MessageFrame chatFrame(std::uint8_t seat, const std::string &utf8Text, std::uint8_t whisperTo)
{
    return wire::ChatFrame{.sender = seat, .whisperTo = whisperTo, .text = utf8Text}.encode();
}

bool ClientModel::told(std::uint8_t cmd) const
{
    return seen_[cmd];
}

MessageFrame ClientModel::stamped(MessageFrame frame) const
{
    frame.setU16le(wire::offset::kEcho, echo_);
    return frame;
}

void ClientModel::receive(const MessageFrame &frame)
{
    seen_[frame.cmd()] = true;
    if (frame.cmd() != wire::CmdReconnectAnswer)
        echo_ = frame.u16le(wire::offset::kEcho);
    const auto seatOf = [](std::uint8_t byte) {
        return seatIndex(byte & 0x0F);
    };
    switch (frame.cmd()) {
    case wire::CmdLogin:
        loggedIn_ = frame.byteAt(wire::offset::kArg15) == 1;
        break;
    case wire::CmdUserInfo:
        if (seat_ == 0)
            seat_ = frame.seatBit() & 0x0F;
        break;
    case wire::CmdDeal:
        if (frame.byteAt(wire::offset::kArg11) == kBottomSize) {
            if ((frame.seatBit() & 0x0F) == seat_) {
                const auto bottom = readCards(frame, 16, kBottomSize);
                hand_.insert(hand_.end(), bottom.begin(), bottom.end());
            }
        } else {
            hand_ = readCards(frame, 16, kHandSize);
            resumeValue_ = frame.resumeValue();
            landlord_ = -1;
            resultFrames_ = 0;
            playTurn_ = false;
        }
        break;
    case wire::CmdBidTurn:
        bidTurn_ = landlord_ < 0 && frame.byteAt(wire::offset::kArg11) == 0
                && (frame.seatBit() & 0x0F) == seat_;
        if (frame.byteAt(wire::offset::kArg11) == 1) {
            landlord_ = seatOf(frame.byteAt(wire::offset::kArg15));
            bidTurn_ = false;
        }
        break;
    case wire::CmdPlayed: {
        bidTurn_ = false;
        const int n = frame.byteAt(wire::offset::kArg17);
        const std::uint8_t code = frame.byteAt(wire::offset::kArg15);
        if (code == 1)
            toBeat_ = Play{};
        if (n > 0 && (frame.seatBit() & 0x0F) != seat_)
            toBeat_ = judgePlay(readCards(frame, 20, std::min(n, kMaxHand)));
        playTurn_ = frame.byteAt(wire::offset::kArg11) == seat_;
        if (playTurn_)
            mustLead_ = code == 1;
        break;
    }
    case wire::CmdHandResult:
        ++resultFrames_;
        playTurn_ = false;
        break;
    default:
        break;
    }
}

std::optional<MessageFrame> ClientModel::answerTurn(bool call)
{
    if (bidTurn_) {
        bidTurn_ = false;
        return stamped(bidFrame(seat_, call));
    }
    if (!playTurn_)
        return std::nullopt;
    playTurn_ = false;
    // A player beats whatever it can, a fellow farmer's play included.
    const std::optional<Play> choice
            = mustLead_ ? bot::lead(hand_) : bot::follow(hand_, toBeat_, false);
    if (!choice)
        return stamped(passFrame(seat_));
    // The client applies its own play at once: out of the hand, and the play
    // to beat.
    for (const CardCode card : choice->view())
        std::erase_if(hand_, [card](CardCode held) { return cardId(held) == cardId(card); });
    toBeat_ = *choice;
    return stamped(playFrame(seat_, *choice));
}

} // namespace tessaroc::tableserver::testing
