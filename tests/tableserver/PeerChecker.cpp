#include "PeerChecker.h"

#include "Referee.h"
#include "ServerFrames.h"

#include "FrameSpec.h"

#include "wire/ChatFrame.h"
#include "wire/GbkText.h"
#include "wire/ReceivedFrames.h"

#include <algorithm>

namespace tessaroc::tableserver::testing {

using wire::MessageFrame;

namespace {

constexpr std::uint64_t kLargestExactNumber = std::uint64_t{1} << 53;
constexpr int kHighestLevel = 40;

bool oneHot(unsigned value)
{
    return seatIndex(value) >= 0;
}

bool ascii(const std::string &text)
{
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Text the client reads in pairs: every character double-byte in GBK.
bool doubleByteOnly(const std::string &utf8)
{
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        if (wire::utf8ToGbk(utf8.substr(i, length)).size() != 2)
            return false;
        i += length;
    }
    return true;
}

bool faceCode(const std::string &face)
{
    if (face.size() < 2 || face.size() > 3 || (face[0] != 'm' && face[0] != 'w'))
        return false;
    if (!std::all_of(face.begin() + 1, face.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    const int number = std::stoi(face.substr(1));
    return number >= 1 && number <= 10;
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
    if (frame.resumeValue() < 0)
        fail(frame, "the resume value's top byte is 128 or more");
    switch (frame.cmd()) {
    case wire::CmdLogin:
        if (!ascii(wire::LoginAnswerFrame::decode(frame).advertAddress))
            fail(frame, "the advertisement address is not ASCII");
        break;
    case wire::CmdReconnectAnswer:
        break;
    case wire::CmdUserInfo:
        checkUserInfo(frame);
        break;
    case wire::CmdReady: {
        const auto ready = wire::ReadyFrame::decode(frame);
        if (ready.ready != 1 || ready.account.empty() || !ascii(ready.account))
            fail(frame, "a ready frame that is not ready or has no ASCII name");
        break;
    }
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
    case wire::CmdUserLeft: {
        if (!results_.empty())
            fail(frame, "a user-left frame between result frames");
        const auto left = wire::UserLeftFrame::decode(frame);
        if (left.account.empty() || !ascii(left.account))
            fail(frame, "a user-left frame without an ASCII name");
        break;
    }
    case wire::CmdChat: {
        const auto line = wire::ChatFrame::decode(frame);
        if (line.kindWord != 0)
            fail(frame, "a chat line with a kind word");
        if (!oneHot(line.sender.raw))
            fail(frame, "a chat line without the sender's seat");
        break;
    }
    case wire::CmdForcedLeave:
        break;
    default:
        fail(frame, "a command the client does not know");
        break;
    }
}

void PeerChecker::checkUserInfo(const MessageFrame &frame)
{
    const auto user = wire::UserInfoFrame::decode(frame);
    if (inHand_)
        fail(frame, "user information during a hand");
    if (!oneHot(user.recipientSeat.raw))
        fail(frame, "the recipient's seat is not a seat bit");
    if (own_ == 0)
        own_ = user.recipientSeat.raw;
    else if (user.recipientSeat.raw != own_)
        fail(frame, "the recipient's seat changed");
    if (!oneHot(static_cast<unsigned>(user.extraNumber5)))
        fail(frame, "extra number 5 is not exactly the described seat");
    if (user.logins < 0 || user.disconnects < 0 || user.wins < 0 || user.losses < 0
        || user.wealth < 0)
        fail(frame, "a counter's top byte is 128 or more");
    if (!faceCode(user.face))
        fail(frame, "face code '" + user.face + "'");
    if (!doubleByteOnly(user.location) || !doubleByteOnly(user.title) || !doubleByteOnly(user.tag))
        fail(frame, "a two-byte field holds a single-byte character");
    if (user.account.empty() || !ascii(user.account))
        fail(frame, "the account name is not ASCII");
    if (user.points > kLargestExactNumber || user.credit > kLargestExactNumber
        || user.coins > kLargestExactNumber)
        fail(frame, "a number above 2^53");
}

void PeerChecker::checkDeal(const MessageFrame &frame)
{
    const auto deal = wire::DealFrame::decode(frame);
    if (deal.form == wire::kDealHandStart) {
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
        if (deal.rowCount != kHandSize)
            fail(frame, "the row count is not 25");
        if (!oneHot(deal.shownCardSeat.raw))
            fail(frame, "the turned-up card's seat is not a seat bit");
        for (const CardCode card : deal.cards()) {
            checkCard(frame, card, "the deal");
            if (!dealtIds_.insert(cardId(card)).second)
                fail(frame, "a card id dealt twice");
        }
        const CardCode turned = deal.shownCard();
        if (cardFace(turned) < rules::kLowestFace || cardFace(turned) > rules::kFaceBigJoker
            || !oneHot(deal.shownSuitBit)
            || (cardFace(turned) >= rules::kFaceSmallJoker && deal.shownSuitBit != 1))
            fail(frame, "the turned-up card fails the picture check");
        return;
    }
    if (!deal.isBottomCards()) {
        fail(frame, "a deal of neither 25 nor 8 cards");
        return;
    }
    if (!inHand_ || landlord_ < 0 || bottomDealt_)
        fail(frame, "bottom cards outside their place in the hand");
    if (seatIndex(deal.seat.raw) != landlord_)
        fail(frame, "bottom cards for a seat that is not the landlord");
    bottomDealt_ = true;
    for (const CardCode card : deal.cards()) {
        checkCard(frame, card, "the bottom cards");
        if (!dealtIds_.insert(cardId(card)).second)
            fail(frame, "a bottom card id that was dealt already");
    }
}

void PeerChecker::checkBidTurn(const MessageFrame &frame)
{
    const auto turn = wire::BidTurnFrame::decode(frame);
    if (!inHand_ || playedFrames_ > 0 || bottomDealt_)
        fail(frame, "a bid turn outside the bidding");
    ++bidFrames_;
    if (!oneHot(turn.nextBidder.raw))
        fail(frame, "the next bidder is not a seat bit");
    if (bidFrames_ == 1) {
        if (turn.bid != 0)
            fail(frame, "the first bid turn carries bid " + std::to_string(turn.bid));
        return;
    }
    if (!oneHot(turn.bidder.raw))
        fail(frame, "the bidder is not a seat bit");
    if (turn.bid > 1)
        fail(frame, "a bid of " + std::to_string(turn.bid));
    if (landlord_ >= 0)
        fail(frame, "a bid turn after the landlord was named");
    if (turn.bid == 1) {
        landlord_ = seatIndex(turn.bidder.raw);
        counts_[static_cast<std::size_t>(landlord_)] += kBottomSize;
    }
}

void PeerChecker::checkPlayed(const MessageFrame &frame)
{
    if (!inHand_ || !bottomDealt_ || handEnded_) {
        fail(frame, "a played frame outside the play");
        return;
    }
    const auto played = wire::PlayedFrame::decode(frame);
    ++playedFrames_;
    const int mover = seatIndex(played.mover.raw);
    const int n = played.cardCount;
    if (mover < 0)
        fail(frame, "the mover is not a seat bit");
    if (played.trickCode > frames::kTrickLead)
        fail(frame, "trick code " + std::to_string(played.trickCode));
    if (played.seconds < 2)
        fail(frame, "clock seconds below 2");
    if (playedFrames_ == 1
        && (mover != landlord_ || seatIndex(played.next) != landlord_
            || played.trickCode != frames::kTrickLead || n != 0))
        fail(frame, "the first played frame does not open the landlord's lead");
    if (n > kMaxHand) {
        fail(frame, "more than 33 cards");
        return;
    }
    if (n > 0 && mover >= 0) {
        std::vector<CardCode> cards;
        for (const CardCode card : played.cards()) {
            checkCard(frame, card, "a play");
            cards.push_back(card);
        }
        const Play judged = judgePlay(cards);
        if (judged.kind == rules::KindNone || judged.kind != played.kind)
            fail(frame, "the kind is not the kind of the cards");
        auto &count = counts_[static_cast<std::size_t>(mover)];
        if (n > count)
            fail(frame, "a seat plays more cards than it holds");
        count -= n;
        if (count == 0) {
            handEnded_ = true;
            if (played.next != 0)
                fail(frame, "the hand-ending play names a next seat");
        }
    }
    if (!handEnded_ && !oneHot(played.next))
        fail(frame, "the next seat is not exactly a seat bit");
}

void PeerChecker::checkResult(const MessageFrame &frame)
{
    const auto result = wire::HandResultFrame::decode(frame);
    if (!inHand_)
        fail(frame, "a result frame outside a hand");
    results_.push_back(frame);
    if (result.stake < 0)
        fail(frame, "the stake's top byte is 128 or more");
    if (result.cardsLeft > kMaxHand)
        fail(frame, "more than 33 cards left");
    const int seat = seatIndex(result.seat.raw);
    if (seat < 0)
        fail(frame, "the settled seat is not a seat bit");
    else if (inHand_ && result.cardsLeft != counts_[static_cast<std::size_t>(seat)])
        fail(frame, "cards left do not match the seat's count");
    for (const CardCode card : result.cards())
        checkCard(frame, card, "the cards left");
    if (result.finalAmount > kLargestExactNumber || result.amount1 > kLargestExactNumber
        || result.amount2 > kLargestExactNumber)
        fail(frame, "an amount above 2^53");
    if (result.level > kHighestLevel)
        fail(frame, "a level above 40");
    if (results_.size() > kSeats)
        fail(frame, "more than four result frames");
}

void PeerChecker::checkReadyOrLeave(const MessageFrame &frame)
{
    const auto notice = wire::ReadyOrLeaveNoticeFrame::decode(frame);
    if (notice.wealthMultiplier < 0)
        fail(frame, "the wealth multiplier's top byte is 128 or more");
    if (notice.isEndOfHand()) {
        if (!inHand_ || results_.size() != kSeats) {
            fail(frame, "an end of hand without four result frames before it");
        } else {
            std::set<int> seats;
            for (const auto &result : results_)
                seats.insert(result.seatBit());
            if (seats.size() != kSeats)
                fail(frame, "the four result frames do not name four seats");
        }
        inHand_ = false;
        resultSets_.push_back(results_);
        results_.clear();
        ++handsFinished_;
        return;
    }
    if (!notice.isCoinsShort())
        fail(frame, "ready-or-leave of mode " + std::to_string(notice.mode));
    if (inHand_)
        fail(frame, "coins short during a hand");
}

} // namespace tessaroc::tableserver::testing
