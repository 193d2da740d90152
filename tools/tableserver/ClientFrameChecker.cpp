#include "ClientFrameChecker.h"

#include "ServerFrames.h"

#include "wire/ChatFrame.h"
#include "wire/ReceivedFrames.h"
#include "wire/SentFrames.h"

#include <set>
#include <utility>

namespace tessaroc::tableserver {

using wire::MessageFrame;

namespace {

// The views kept per seat: far more frames than a client can hold unread.
constexpr std::size_t kViewsKept = 512;

bool kindTheClientSends(int kind)
{
    return (kind >= rules::KindSingle && kind <= rules::KindPlaneWithPairs)
            || (kind >= rules::KindBomb4 && kind <= rules::KindFourJokers);
}

} // namespace

ClientFrameChecker::View ClientFrameChecker::freshView(std::uint8_t own)
{
    View view;
    view.own = own;
    return view;
}

void ClientFrameChecker::seatReset(int seat)
{
    seats_[static_cast<std::size_t>(seat)] = SeatRecord{};
}

void ClientFrameChecker::connectionClosed(ConnectionId id)
{
    connections_.erase(id);
}

void ClientFrameChecker::sent(int seat, const MessageFrame &frame)
{
    SeatRecord &record = seats_[static_cast<std::size_t>(seat)];
    View &view = record.now;
    const std::uint16_t number = frame.u16le(wire::offset::kEcho);
    if (number < record.last)
        record.wrapped = true;
    record.last = number;
    const auto holdCards = [&record, &view](std::span<const CardCode> cards) {
        for (const CardCode card : cards) {
            const auto id = static_cast<std::size_t>(cardId(card)) & 127;
            view.held.set(id);
            record.codes[id] = card;
        }
    };

    switch (frame.cmd()) {
    case wire::CmdLogin:
        // Every login answer clears the client's table.
        view = freshView(view.own);
        break;
    case wire::CmdUserInfo:
        if (view.own == 0)
            view.own = wire::UserInfoFrame::decode(frame).recipientSeat.bit();
        break;
    case wire::CmdDeal: {
        const wire::DealFrame deal = wire::DealFrame::decode(frame);
        if (deal.form == wire::kDealHandStart) {
            view = freshView(view.own);
            view.firstBidTurn = true;
            holdCards(deal.cards());
        } else if (deal.isBottomCards() && deal.seat.bit() == view.own) {
            holdCards(deal.cards());
        }
        break;
    }
    case wire::CmdBidTurn: {
        const wire::BidTurnFrame turn = wire::BidTurnFrame::decode(frame);
        // Every bid-turn frame ends the bid turn that was open.
        view.bidTurn = turn.bid == 0 && turn.nextBidder.bit() == view.own;
        if (view.bidTurn)
            view.turn = number;
        view.firstBidTurn = false;
        break;
    }
    case wire::CmdPlayed: {
        const wire::PlayedFrame played = wire::PlayedFrame::decode(frame);
        view.bidTurn = false;
        const bool clears = played.trickCode == frames::kTrickLead;
        if (clears)
            view.toBeat = Play{};
        const auto cards = played.cards();
        if (!cards.empty()) {
            if (played.mover.bit() == view.own) {
                for (const CardCode card : cards)
                    view.held.reset(static_cast<std::size_t>(cardId(card)) & 127);
            }
            view.toBeat = judgePlay(cards);
            view.toBeat.kind = static_cast<rules::PlayKind>(played.kind);
        }
        if (clears)
            view.toBeat = Play{};
        view.playTurn = played.next == view.own && view.own != 0;
        if (view.playTurn) {
            view.mustLead = clears;
            view.turn = number;
        }
        break;
    }
    case wire::CmdHandResult:
    case wire::CmdReadyOrLeave:
        view.bidTurn = false;
        view.playTurn = false;
        break;
    default:
        break;
    }
    record.history.emplace_back(number, view);
    if (record.history.size() > kViewsKept)
        record.history.pop_front();
}

const ClientFrameChecker::View *ClientFrameChecker::viewAt(const SeatRecord &record,
                                                           std::uint16_t echo) const
{
    for (auto it = record.history.rbegin(); it != record.history.rend(); ++it) {
        if (it->first == echo)
            return &it->second;
    }
    return nullptr;
}

std::optional<std::string> ClientFrameChecker::check(ConnectionId id, std::optional<int> seat,
                                                     const MessageFrame &frame)
{
    ConnectionRecord &connection = connections_[id];
    const bool first = connection.frames++ == 0;
    if (auto why = checkLayout(frame, first))
        return why;
    SeatRecord *record = seat ? &seats_[static_cast<std::size_t>(*seat)] : nullptr;
    if (auto why = checkEcho(connection, record, frame))
        return why;
    if (!record)
        return std::nullopt;

    const std::uint16_t echo = frame.u16le(wire::offset::kEcho);
    const View *view = viewAt(*record, echo);
    const std::uint8_t own = seatBit(*seat);
    const std::uint8_t named = frame.seatBit();
    switch (frame.cmd()) {
    case wire::CmdBid:
    case wire::CmdPlay:
        if (named != own)
            return "byte 6 is " + std::to_string(named) + ", not the own seat "
                    + std::to_string(own);
        if (!view)
            return std::nullopt; // older than what is kept: nothing to judge by
        return checkTurn(*record, *view, frame);
    case wire::CmdReadyOrLeave:
    case wire::CmdChat:
    case wire::CmdKeepAlive:
        // 0 only before the client has its own seat.
        if (named != own && (named != 0 || (view && view->own != 0)))
            return "byte 6 is " + std::to_string(named) + ", not the own seat "
                    + std::to_string(own);
        break;
    default:
        break;
    }
    return std::nullopt;
}

std::optional<std::string> ClientFrameChecker::checkLayout(const MessageFrame &frame,
                                                           bool first) const
{
    const std::uint8_t cmd = frame.cmd();
    const bool loginForm = cmd == wire::CmdLogin || cmd == wire::CmdReconnect;
    if (first && !loginForm)
        return "the first frame is not a login or a reconnect request";
    if (!first && loginForm)
        return "a second login on one connection";

    // Every frame must be the codec's own encoding of what it says: the
    // bytes its command carries, as the client writes them, and zeros
    // everywhere else. The echo bytes are the send path's (checked apart),
    // except in the login forms, which carry them as they are.
    MessageFrame bare = frame;
    bare.setU16le(wire::offset::kEcho, 0);
    MessageFrame expected;
    switch (cmd) {
    case wire::CmdLogin:
    case wire::CmdReconnect:
        bare = frame;
        expected = wire::LoginFrame::decode(frame).encode();
        if (wire::LoginFrame::decode(frame).account.empty())
            return "a login without an account name";
        break;
    case wire::CmdBid:
        expected = wire::BidFrame::decode(frame).encode();
        break;
    case wire::CmdPlay: {
        const wire::PlayFrame play = wire::PlayFrame::decode(frame);
        if (play.mode != wire::PlayMode::Pass && play.mode != wire::PlayMode::Cards)
            return "a play frame of mode " + std::to_string(static_cast<int>(play.mode));
        if (play.mode == wire::PlayMode::Cards) {
            if (play.cardCount < 1 || play.cardCount > kMaxHand)
                return "a play of " + std::to_string(play.cardCount) + " cards";
            if (!kindTheClientSends(play.kind))
                return "a play of kind " + std::to_string(play.kind);
        }
        expected = play.encode();
        break;
    }
    case wire::CmdReadyOrLeave: {
        const wire::ReadyOrLeaveFrame answer = wire::ReadyOrLeaveFrame::decode(frame);
        expected = answer.encode();
        // The leave frame goes straight to the socket, without echo bytes.
        if (!answer.ready)
            bare = frame;
        break;
    }
    case wire::CmdChat: {
        const wire::ChatFrame line = wire::ChatFrame::decode(frame);
        const bool typed = line.phraseList == 0 && line.phraseNo == 0;
        const bool phrase = (line.phraseList == 1 || line.phraseList == 2) && line.phraseNo > 0;
        if (!typed && !phrase)
            return "quick-phrase list " + std::to_string(line.phraseList) + " and number "
                    + std::to_string(line.phraseNo);
        if (line.whisperTo.raw != 0 && seatIndex(line.whisperTo.raw) < 0)
            return "a whisper to seat bits " + std::to_string(line.whisperTo.raw);
        if (line.isItemTraffic() || line.kindWord != 0)
            return "a chat line with a kind word";
        // Whole GBK characters only: a broken text reads back otherwise.
        expected = line.encode();
        break;
    }
    case wire::CmdKeepAlive:
        expected = wire::KeepAliveFrame::decode(frame).encode();
        break;
    default:
        return "command " + std::to_string(cmd) + " is never sent by the client";
    }
    if (!(expected == bare))
        return "not as the client builds it: " + wire::describeDifference(expected, bare);
    if (frame.seatBit() != 0 && seatIndex(frame.seatBit()) < 0)
        return "byte 6 is not a seat bit";
    if (loginForm && frame.seatBit() != 0)
        return "a login that names a seat";
    return std::nullopt;
}

std::optional<std::string> ClientFrameChecker::checkEcho(ConnectionRecord &connection,
                                                         const SeatRecord *record,
                                                         const MessageFrame &frame) const
{
    const std::uint8_t cmd = frame.cmd();
    const std::uint16_t echo = frame.u16le(wire::offset::kEcho);
    const bool leave
            = cmd == wire::CmdReadyOrLeave && !wire::ReadyOrLeaveFrame::decode(frame).ready;
    if (cmd == wire::CmdLogin || leave)
        return std::nullopt; // both carry 0, which the layout has checked
    if (record && !record->wrapped && echo > record->last)
        return "echo " + std::to_string(echo) + ", but the seat was sent only "
                + std::to_string(record->last) + " frames";
    if (cmd == wire::CmdReconnect)
        return std::nullopt;
    // The client keeps the number of the last frame it took, which only
    // grows (or wraps from 65535 to 1).
    if (connection.lastEcho && echo < *connection.lastEcho
        && !(*connection.lastEcho > 0xFF00 && echo < 0x100))
        return "echo " + std::to_string(echo) + " after echo "
                + std::to_string(*connection.lastEcho);
    connection.lastEcho = echo;
    return std::nullopt;
}

std::optional<std::string> ClientFrameChecker::checkTurn(SeatRecord &record, const View &view,
                                                         const MessageFrame &frame)
{
    auto why = judgeTurn(record, view, frame);
    // A refused frame is not acted on: the turn stays open for an answer.
    if (!why)
        record.answeredTurn = view.turn;
    return why;
}

std::optional<std::string> ClientFrameChecker::judgeTurn(const SeatRecord &record, const View &view,
                                                         const MessageFrame &frame) const
{
    const std::string at = " at frame " + std::to_string(frame.u16le(wire::offset::kEcho));
    const bool bid = frame.cmd() == wire::CmdBid;
    if (bid ? !view.bidTurn : !view.playTurn)
        return std::string(bid ? "a bid with no bid turn open" : "a play with no play turn open")
                + at;
    if (record.answeredTurn == view.turn)
        return "a second answer to the turn opened by frame " + std::to_string(view.turn);
    if (bid)
        return std::nullopt;
    const wire::PlayFrame play = wire::PlayFrame::decode(frame);
    if (play.mode == wire::PlayMode::Pass)
        return view.mustLead
                ? std::optional<std::string>("a pass on a lead opened with code 1" + at)
                : std::nullopt;

    std::vector<CardCode> cards;
    std::set<std::uint8_t> seen;
    for (const std::uint8_t id : play.ids()) {
        if (!seen.insert(id).second)
            return "card id " + std::to_string(id) + " played twice";
        if (id >= 128 || !view.held.test(id))
            return "card id " + std::to_string(id) + " is not in the client's hand" + at;
        cards.push_back(record.codes[id]);
    }
    const Play judged = judgePlay(cards);
    if (judged.kind == rules::KindNone)
        return describeCards(cards) + " is no play";
    if (judged.kind != play.kind)
        return "kind " + std::to_string(play.kind) + " named, but " + describeCards(cards)
                + " is kind " + std::to_string(judged.kind);
    if (!view.mustLead && view.toBeat.count > 0 && !beats(judged, view.toBeat))
        return describeCards(cards) + " does not beat " + describeCards(view.toBeat.view()) + at;
    return std::nullopt;
}

} // namespace tessaroc::tableserver
