#include "ClientFrameChecker.h"

#include <initializer_list>
#include <set>
#include <utility>

namespace tessaroc::tableserver {

using wire::MessageFrame;

namespace {

// The views kept per seat: far more frames than a client can hold unread.
constexpr std::size_t kViewsKept = 512;
constexpr std::uint8_t kLoginMark = 1; // byte 14 of a login
constexpr std::uint8_t kPhraseList2Mark = 97; // byte 13 of a phrase of list 2

struct Range
{
    std::size_t from;
    std::size_t to; // inclusive
};

// The first byte outside the listed ranges that is not 0.
std::optional<std::size_t> strayByte(const MessageFrame &frame, std::initializer_list<Range> listed)
{
    for (std::size_t pos = 0; pos < wire::kFrameSize; ++pos) {
        bool inside = false;
        for (const Range &range : listed)
            inside = inside || (pos >= range.from && pos <= range.to);
        if (!inside && frame.byteAt(pos) != 0)
            return pos;
    }
    return std::nullopt;
}

// A single-byte text from pos: characters below 0x80 up to the first zero,
// then zeros to the end of the field.
bool singleByteField(const MessageFrame &frame, std::size_t pos, std::size_t end)
{
    bool ended = false;
    for (std::size_t i = pos; i <= end; ++i) {
        const auto byte = frame.byteAt(i);
        if (byte == 0)
            ended = true;
        else if (ended || byte >= 0x80)
            return false;
    }
    return true;
}

// Mixed GBK up to the first zero, whole characters only, then zeros.
bool gbkField(const MessageFrame &frame, std::size_t pos, std::size_t end)
{
    std::size_t i = pos;
    for (; i <= end; ++i) {
        const auto byte = frame.byteAt(i);
        if (byte == 0)
            break;
        if (byte < 0x80)
            continue;
        if (byte == 0x80 || byte == 0xFF || i == end)
            return false;
        const auto trail = frame.byteAt(++i);
        if (trail < 0x40 || trail == 0x7F || trail == 0xFF)
            return false;
    }
    for (; i <= end; ++i) {
        if (frame.byteAt(i) != 0)
            return false;
    }
    return true;
}

bool kindTheClientSends(int kind)
{
    return (kind >= rules::KindSingle && kind <= rules::KindPlaneWithPairs)
            || (kind >= rules::KindBomb4 && kind <= rules::KindFourJokers);
}

std::string hex(std::size_t pos, std::uint8_t value)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    return "byte " + std::to_string(pos) + " is 0x" + kDigits[value >> 4] + kDigits[value & 15];
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
    const auto seatOf = [&frame](std::size_t pos) {
        return static_cast<std::uint8_t>(frame.byteAt(pos) & 15);
    };

    switch (frame.cmd()) {
    case wire::CmdLogin:
        // Every login answer clears the client's table.
        view = freshView(view.own);
        break;
    case wire::CmdUserInfo:
        if (view.own == 0)
            view.own = seatOf(wire::offset::kSeatBit);
        break;
    case wire::CmdDeal:
        if (frame.byteAt(wire::offset::kArg11) == kHandSize) {
            view = freshView(view.own);
            view.firstBidTurn = true;
            for (std::size_t i = 0; i < kHandSize; ++i) {
                const auto card = static_cast<CardCode>(frame.u32le(16 + 4 * i));
                const auto id = static_cast<std::size_t>(cardId(card)) & 127;
                view.held.set(id);
                record.codes[id] = card;
            }
        } else if (frame.byteAt(wire::offset::kArg11) == kBottomSize
                   && seatOf(wire::offset::kSeatBit) == view.own) {
            for (std::size_t i = 0; i < kBottomSize; ++i) {
                const auto card = static_cast<CardCode>(frame.u32le(16 + 4 * i));
                const auto id = static_cast<std::size_t>(cardId(card)) & 127;
                view.held.set(id);
                record.codes[id] = card;
            }
        }
        break;
    case wire::CmdBidTurn: {
        // Every bid-turn frame ends the bid turn that was open.
        view.bidTurn = false;
        const bool opens = frame.byteAt(wire::offset::kArg11) == 0;
        if (opens && seatOf(wire::offset::kSeatBit) == view.own) {
            view.bidTurn = true;
            view.turn = number;
        }
        view.firstBidTurn = false;
        break;
    }
    case wire::CmdPlayed: {
        view.bidTurn = false;
        const std::uint8_t code = frame.byteAt(wire::offset::kArg15);
        const int n = std::min<int>(frame.byteAt(wire::offset::kArg17), kMaxHand);
        if (code == 1)
            view.toBeat = Play{};
        if (n > 0) {
            std::vector<CardCode> cards;
            for (int j = 0; j < n; ++j)
                cards.push_back(
                        static_cast<CardCode>(frame.u32le(20 + 4 * static_cast<std::size_t>(j))));
            if (seatOf(wire::offset::kSeatBit) == view.own) {
                for (const CardCode card : cards)
                    view.held.reset(static_cast<std::size_t>(cardId(card)) & 127);
            }
            view.toBeat = judgePlay(cards);
            view.toBeat.kind = static_cast<rules::PlayKind>(frame.byteAt(18));
        }
        if (code == 1)
            view.toBeat = Play{};
        view.playTurn = frame.byteAt(wire::offset::kArg11) == view.own && view.own != 0;
        if (view.playTurn) {
            view.mustLead = code == 1;
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

    std::optional<std::size_t> stray;
    switch (cmd) {
    case wire::CmdLogin:
    case wire::CmdReconnect:
        stray = cmd == wire::CmdLogin ? strayByte(frame, {{3, 3}, {14, 14}, {16, 259}})
                                      : strayByte(frame, {{3, 3}, {14, 14}, {16, 261}, {268, 271}});
        if (frame.byteAt(14) != kLoginMark)
            return "byte 14 of a login is not 1";
        if (frame.byteAt(16) == 0 || !singleByteField(frame, 16, 31))
            return "the account name is not single-byte text";
        if (!singleByteField(frame, 32, 259))
            return "the password is not single-byte text";
        break;
    case wire::CmdBid:
        stray = strayByte(frame, {{3, 3}, {6, 6}, {11, 11}, {260, 261}});
        if (frame.byteAt(wire::offset::kArg11) > 1)
            return "a bid of " + std::to_string(frame.byteAt(wire::offset::kArg11));
        break;
    case wire::CmdPlay: {
        const std::uint8_t action = frame.byteAt(wire::offset::kArg15);
        const std::size_t n = frame.byteAt(wire::offset::kArg17);
        if (action == 1) {
            stray = strayByte(frame, {{3, 3}, {6, 6}, {15, 15}, {260, 261}});
        } else if (action == 2) {
            if (n < 1 || n > kMaxHand)
                return "a play of " + std::to_string(n) + " cards";
            if (!kindTheClientSends(frame.byteAt(18)))
                return "a play of kind " + std::to_string(frame.byteAt(18));
            stray = strayByte(frame,
                              {{3, 3}, {6, 6}, {15, 15}, {17, 18}, {20, 19 + n}, {260, 261}});
        } else {
            return "a play frame with byte 15 = " + std::to_string(action);
        }
        break;
    }
    case wire::CmdReadyOrLeave: {
        const std::uint8_t kind = frame.byteAt(wire::offset::kArg15);
        if (kind > 1)
            return "ready-or-leave with byte 15 = " + std::to_string(kind);
        stray = kind == 1 ? strayByte(frame, {{3, 3}, {6, 6}, {15, 15}, {260, 261}})
                          : strayByte(frame, {{3, 3}, {6, 6}, {15, 15}});
        break;
    }
    case wire::CmdChat: {
        stray = strayByte(frame, {{3, 3}, {6, 6}, {9, 11}, {13, 13}, {16, 215}, {260, 261}});
        const std::uint8_t list = frame.byteAt(9);
        const std::uint8_t phrase = frame.byteAt(10);
        const std::uint8_t mark = frame.byteAt(13);
        if (list > 2 || (list == 0 && (phrase != 0 || mark != 0)) || (list != 0 && phrase == 0)
            || (list == 1 && mark != 0) || (list == 2 && mark != kPhraseList2Mark))
            return "quick-phrase bytes 9, 10, 13 are " + std::to_string(list) + ", "
                    + std::to_string(phrase) + ", " + std::to_string(mark);
        const std::uint8_t to = frame.byteAt(wire::offset::kArg11);
        if (to != 0 && seatIndex(to) < 0)
            return "a whisper to seat bits " + std::to_string(to);
        if (!gbkField(frame, 16, 215))
            return "the chat text is not whole GBK characters followed by zeros";
        break;
    }
    case wire::CmdKeepAlive:
        stray = strayByte(frame, {{3, 3}, {6, 6}, {260, 261}});
        break;
    default:
        return "command " + std::to_string(cmd) + " is never sent by the client";
    }
    if (stray)
        return hex(*stray, frame.byteAt(*stray)) + ", where the client writes 0";
    if (cmd != wire::CmdReconnect && frame.byteAt(wire::offset::kSeatBit) != 0
        && seatIndex(frame.byteAt(wire::offset::kSeatBit)) < 0)
        return "byte 6 is not a seat bit";
    if (loginForm && frame.byteAt(wire::offset::kSeatBit) != 0)
        return "byte 6 of a login is not 0";
    return std::nullopt;
}

std::optional<std::string> ClientFrameChecker::checkEcho(ConnectionRecord &connection,
                                                         const SeatRecord *record,
                                                         const MessageFrame &frame) const
{
    const std::uint8_t cmd = frame.cmd();
    const std::uint16_t echo = frame.u16le(wire::offset::kEcho);
    const bool leave = cmd == wire::CmdReadyOrLeave && frame.byteAt(wire::offset::kArg15) == 0;
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
    if (frame.byteAt(wire::offset::kArg15) == 1)
        return view.mustLead
                ? std::optional<std::string>("a pass on a lead opened with code 1" + at)
                : std::nullopt;

    const std::size_t n = frame.byteAt(wire::offset::kArg17);
    std::vector<CardCode> cards;
    std::set<std::uint8_t> seen;
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint8_t id = frame.byteAt(20 + i);
        if (!seen.insert(id).second)
            return "card id " + std::to_string(id) + " played twice";
        if (id >= 128 || !view.held.test(id))
            return "card id " + std::to_string(id) + " is not in the client's hand" + at;
        cards.push_back(record.codes[id]);
    }
    const Play judged = judgePlay(cards);
    if (judged.kind == rules::KindNone)
        return describeCards(cards) + " is no play";
    if (judged.kind != frame.byteAt(18))
        return "kind " + std::to_string(frame.byteAt(18)) + " named, but " + describeCards(cards)
                + " is kind " + std::to_string(judged.kind);
    if (!view.mustLead && view.toBeat.count > 0 && !beats(judged, view.toBeat))
        return describeCards(cards) + " does not beat " + describeCards(view.toBeat.view()) + at;
    return std::nullopt;
}

} // namespace tessaroc::tableserver
