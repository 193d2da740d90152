#include "PeerChecker.h"

#include "Referee.h"
#include "ServerFrames.h"

#include "FrameSpec.h"

#include <algorithm>

namespace tessaroc::tableserver::testing {

using wire::MessageFrame;

namespace {

bool oneHot(unsigned value)
{
    return seatIndex(value) >= 0;
}

bool asciiField(const MessageFrame &frame, std::size_t pos, std::size_t size)
{
    for (std::size_t i = pos; i < pos + size; ++i) {
        const auto byte = frame.byteAt(i);
        if (byte == 0)
            return true;
        if (byte >= 0x80)
            return false;
    }
    return true;
}

bool twoByteField(const MessageFrame &frame, std::size_t pos, std::size_t size)
{
    for (std::size_t i = pos; i + 1 < pos + size; i += 2) {
        const auto lead = frame.byteAt(i);
        if (lead == 0)
            return true;
        if (lead < 0x81 || lead == 0xFF || frame.byteAt(i + 1) < 0x40)
            return false;
    }
    return true;
}

} // namespace

void PeerChecker::fail(const MessageFrame &frame, const std::string &what)
{
    violations_.push_back("frame " + std::to_string(frames_) + " (" + commandName(frame.cmd())
                          + "): " + what + "  [" + wire::describe(frame) + "]");
}

void PeerChecker::checkCard(const MessageFrame &frame, CardCode card, const char *where)
{
    const int face = cardFace(card);
    const int suit = cardSuitBits(card);
    const auto raw = static_cast<std::uint32_t>(card);
    if (face < 3 || face > 17 || !oneHot(static_cast<unsigned>(suit)) || (raw & 0xF0u) != 0
        || ((raw >> 16) & 0xFFu) != 0 || cardId(card) >= 128)
        fail(frame, std::string("a card that is no card in ") + where);
    if (face >= 16 && suit != 1)
        fail(frame, std::string("a joker with a suit bit other than 1 in ") + where);
    if (card != cardFace(card) * 256 + suit + cardId(card) * 16777216
        || cardById(cardId(card)) != card)
        fail(frame, std::string("a card id that does not match the deck in ") + where);
}

void PeerChecker::checkEcho(const MessageFrame &frame)
{
    if (frame.cmd() == wire::CmdReconnectAnswer) {
        if (frame.u16le(wire::offset::kEcho) != 0)
            fail(frame, "the reconnect answer carries echo bytes");
        // The frames sent again after it carry their old numbers.
        lastSequence_.reset();
        return;
    }
    const std::uint16_t sequence = frame.u16le(wire::offset::kEcho);
    if (sequence == 0)
        fail(frame, "echo number 0");
    if (lastSequence_) {
        const std::uint16_t expected = *lastSequence_ == 0xFFFF ? 1 : *lastSequence_ + 1;
        if (sequence != expected)
            fail(frame,
                 "echo number " + std::to_string(sequence) + " after "
                         + std::to_string(*lastSequence_));
    }
    lastSequence_ = sequence;
}

void PeerChecker::check(const MessageFrame &frame)
{
    ++frames_;
    checkEcho(frame);
    if (frame.byteAt(271) >= 128)
        fail(frame, "byte 271 is 128 or more");
    switch (frame.cmd()) {
    case wire::CmdLogin:
        if (!asciiField(frame, 16, 100))
            fail(frame, "the advertisement address is not ASCII");
        break;
    case wire::CmdReconnectAnswer:
        break;
    case wire::CmdUserInfo:
        checkUserInfo(frame);
        break;
    case wire::CmdReady:
        if (frame.byteAt(wire::offset::kArg15) != 1 || !asciiField(frame, 16, 16))
            fail(frame, "a ready frame without byte 15 = 1 and an ASCII name");
        break;
    case wire::CmdDeal:
        checkDeal(frame);
        break;
    case wire::CmdBidTurn:
        checkBidTurn(frame);
        break;
    case wire::CmdPlayed:
        checkPlayed(frame);
        break;
    case wire::CmdHandResult:
        checkResult(frame);
        break;
    case wire::CmdReadyOrLeave:
        checkReadyOrLeave(frame);
        break;
    case wire::CmdUserLeft:
        if (!results_.empty())
            fail(frame, "a user-left frame between result frames");
        if (frame.byteAt(16) == 0 || !asciiField(frame, 16, 16))
            fail(frame, "a user-left frame without an ASCII name");
        break;
    case wire::CmdChat:
        if (frame.u32be(wire::offset::kKindWord) != 0)
            fail(frame, "a chat line with a kind word");
        if (!oneHot(frame.seatBit()))
            fail(frame, "a chat line without the sender's seat");
        break;
    case wire::CmdForcedLeave:
        break;
    default:
        fail(frame, "a command the client does not know");
        break;
    }
}

void PeerChecker::checkUserInfo(const MessageFrame &frame)
{
    if (inHand_)
        fail(frame, "user information during a hand");
    if (!oneHot(frame.seatBit()))
        fail(frame, "byte 6 is not a seat bit");
    if (own_ == 0)
        own_ = frame.seatBit();
    else if (frame.seatBit() != own_)
        fail(frame, "byte 6 is not the recipient's seat");
    if (!oneHot(frame.byteAt(226)))
        fail(frame, "byte 226 is not the described seat");
    for (std::size_t pos = 227; pos <= 233; ++pos) {
        if (frame.byteAt(pos) != 0)
            fail(frame, "bytes 227-233 are not 0");
    }
    for (const std::size_t top : {155u, 159u, 163u, 167u, 237u}) {
        if (frame.byteAt(top) >= 128)
            fail(frame, "top byte " + std::to_string(top) + " is 128 or more");
    }
    const std::string face = frames::readAscii(frame, 48, 16);
    const bool faceOk = face.size() >= 2 && face.size() <= 3 && (face[0] == 'm' || face[0] == 'w')
            && std::all_of(face.begin() + 1, face.end(),
                           [](char c) { return c >= '0' && c <= '9'; })
            && std::stoi(face.substr(1)) >= 1 && std::stoi(face.substr(1)) <= 10;
    if (!faceOk)
        fail(frame, "face code '" + face + "'");
    if (!twoByteField(frame, 72, 8) || !twoByteField(frame, 112, 16)
        || !twoByteField(frame, 184, 24))
        fail(frame, "a two-byte field holds a single-byte character");
    if (!asciiField(frame, 168, 16) || frame.byteAt(168) == 0)
        fail(frame, "the account name is not ASCII");
    for (const std::size_t pos : {80u, 88u, 96u}) {
        if (frame.u64le(pos) > (std::uint64_t{1} << 53))
            fail(frame, "a number above 2^53");
    }
}

void PeerChecker::checkDeal(const MessageFrame &frame)
{
    const int count = frame.byteAt(wire::offset::kArg11);
    if (count == kHandSize) {
        if (inHand_)
            fail(frame, "a hand-start deal during a hand");
        inHand_ = true;
        bidFrames_ = 0;
        landlord_ = -1;
        bottomDealt_ = false;
        playedFrames_ = 0;
        handEnded_ = false;
        results_.clear();
        counts_.fill(kHandSize);
        dealtIds_.clear();
        if (frame.byteAt(wire::offset::kArg8) != kHandSize)
            fail(frame, "byte 8 is not 25");
        if (!oneHot(frame.byteAt(wire::offset::kArg15)))
            fail(frame, "byte 15 is not a seat bit");
        for (int i = 0; i < kHandSize; ++i) {
            const auto card
                    = static_cast<CardCode>(frame.u32le(16 + 4 * static_cast<std::size_t>(i)));
            checkCard(frame, card, "the deal");
            if (!dealtIds_.insert(cardId(card)).second)
                fail(frame, "a card id dealt twice");
        }
        const auto turned = makeCard(frame.byteAt(250), frame.byteAt(249));
        if (cardFace(turned) < 3 || cardFace(turned) > 17 || !oneHot(frame.byteAt(249))
            || (cardFace(turned) >= 16 && frame.byteAt(249) != 1))
            fail(frame, "the turned-up card fails the picture check");
        return;
    }
    if (count != kBottomSize) {
        fail(frame, "a deal of neither 25 nor 8 cards");
        return;
    }
    if (!inHand_ || landlord_ < 0 || bottomDealt_)
        fail(frame, "bottom cards outside their place in the hand");
    if (seatIndex(frame.seatBit()) != landlord_)
        fail(frame, "bottom cards for a seat that is not the landlord");
    bottomDealt_ = true;
    for (int i = 0; i < kBottomSize; ++i) {
        const auto card = static_cast<CardCode>(frame.u32le(16 + 4 * static_cast<std::size_t>(i)));
        checkCard(frame, card, "the bottom cards");
        if (!dealtIds_.insert(cardId(card)).second)
            fail(frame, "a bottom card id that was dealt already");
    }
}

void PeerChecker::checkBidTurn(const MessageFrame &frame)
{
    if (!inHand_ || playedFrames_ > 0 || bottomDealt_)
        fail(frame, "a bid turn outside the bidding");
    ++bidFrames_;
    const std::uint8_t bid = frame.byteAt(wire::offset::kArg11);
    if (!oneHot(frame.seatBit()))
        fail(frame, "byte 6 is not a seat bit");
    if (bidFrames_ == 1) {
        if (bid != 0)
            fail(frame, "the first bid turn has byte 11 = " + std::to_string(bid));
        return;
    }
    if (!oneHot(frame.byteAt(wire::offset::kArg15)))
        fail(frame, "byte 15 is not a seat bit");
    if (bid > 1)
        fail(frame, "a bid of " + std::to_string(bid));
    if (landlord_ >= 0)
        fail(frame, "a bid turn after the landlord was named");
    if (bid == 1) {
        landlord_ = seatIndex(frame.byteAt(wire::offset::kArg15));
        counts_[static_cast<std::size_t>(landlord_)] += kBottomSize;
    }
}

void PeerChecker::checkPlayed(const MessageFrame &frame)
{
    if (!inHand_ || !bottomDealt_ || handEnded_) {
        fail(frame, "a played frame outside the play");
        return;
    }
    ++playedFrames_;
    const int mover = seatIndex(frame.seatBit());
    const std::uint8_t next = frame.byteAt(wire::offset::kArg11);
    const std::uint8_t code = frame.byteAt(wire::offset::kArg15);
    const int n = frame.byteAt(wire::offset::kArg17);
    if (mover < 0)
        fail(frame, "byte 6 is not a seat bit");
    if (code > 1)
        fail(frame, "trick code " + std::to_string(code));
    if (frame.byteAt(255) < 2)
        fail(frame, "byte 255 below 2");
    if (playedFrames_ == 1
        && (mover != landlord_ || seatIndex(next) != landlord_ || code != 1 || n != 0))
        fail(frame, "the first played frame does not open the landlord's lead");
    if (n > kMaxHand) {
        fail(frame, "more than 33 cards");
        return;
    }
    if (n > 0 && mover >= 0) {
        std::vector<CardCode> cards;
        for (int j = 0; j < n; ++j) {
            const auto card
                    = static_cast<CardCode>(frame.u32le(20 + 4 * static_cast<std::size_t>(j)));
            checkCard(frame, card, "a play");
            cards.push_back(card);
        }
        const Play judged = judgePlay(cards);
        if (judged.kind == rules::KindNone || judged.kind != frame.byteAt(18))
            fail(frame, "byte 18 is not the kind of the cards");
        auto &count = counts_[static_cast<std::size_t>(mover)];
        if (n > count)
            fail(frame, "a seat plays more cards than it holds");
        count -= n;
        if (count == 0) {
            handEnded_ = true;
            if (next != 0)
                fail(frame, "the hand-ending play names a next seat");
        }
    }
    if (!handEnded_ && !oneHot(next))
        fail(frame, "byte 11 is not exactly a seat bit");
}

void PeerChecker::checkResult(const MessageFrame &frame)
{
    if (!inHand_)
        fail(frame, "a result frame outside a hand");
    results_.push_back(frame);
    if (frame.byteAt(8) >= 128)
        fail(frame, "the stake's top byte is 128 or more");
    if (frame.byteAt(16) > kMaxHand)
        fail(frame, "more than 33 cards left");
    const int seat = seatIndex(frame.seatBit());
    if (seat < 0)
        fail(frame, "byte 6 is not a seat bit");
    else if (inHand_ && frame.byteAt(16) != counts_[static_cast<std::size_t>(seat)])
        fail(frame, "cards left do not match the seat's count");
    for (int j = 0; j < frame.byteAt(16) && j < kMaxHand; ++j)
        checkCard(frame, static_cast<CardCode>(frame.u32le(20 + 4 * static_cast<std::size_t>(j))),
                  "the cards left");
    for (const std::size_t pos : {163u, 178u, 187u}) {
        if (frame.u64le(pos) > (std::uint64_t{1} << 53))
            fail(frame, "an amount above 2^53");
    }
    if (frame.byteAt(171) > 40)
        fail(frame, "a level above 40");
    if (results_.size() > 4)
        fail(frame, "more than four result frames");
}

void PeerChecker::checkReadyOrLeave(const MessageFrame &frame)
{
    const std::uint8_t kind = frame.byteAt(wire::offset::kArg15);
    if (frame.byteAt(19) >= 128)
        fail(frame, "byte 19 is 128 or more");
    if (kind == 0) {
        if (!inHand_ || results_.size() != 4) {
            fail(frame, "an end of hand without four result frames before it");
        } else {
            std::set<int> seats;
            for (const auto &result : results_)
                seats.insert(result.seatBit());
            if (seats.size() != 4)
                fail(frame, "the four result frames do not name four seats");
        }
        inHand_ = false;
        resultSets_.push_back(results_);
        results_.clear();
        ++handsFinished_;
        return;
    }
    if (kind < 3)
        fail(frame, "ready-or-leave with byte 15 = " + std::to_string(kind));
    if (inHand_)
        fail(frame, "coins short during a hand");
}

} // namespace tessaroc::tableserver::testing
