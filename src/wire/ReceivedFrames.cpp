#include "wire/ReceivedFrames.h"

#include "wire/FrameFields.h"

namespace tessaroc::wire {

namespace {

using fields::clampCount;
using fields::readCards;
using fields::writeCards;
using fields::writeText;

constexpr std::size_t kCardsPos = 16; // deal
constexpr std::size_t kPlayedCountPos = 17;
constexpr std::size_t kPlayedKindPos = 18;
constexpr std::size_t kPlayedCardsPos = 20;
constexpr std::size_t kPlayedSecondsPos = 255;
constexpr std::size_t kDealRowCountPos = 8;
constexpr std::size_t kShownSuitPos = 249;
constexpr std::size_t kShownFacePos = 250;
constexpr std::size_t kShowCardDoublePos = 253;
constexpr std::size_t kAdvertFirst = 16;
constexpr std::size_t kAdvertLast = 115;
constexpr std::size_t kAccountFirst = 16; // ready and user left
constexpr std::size_t kAccountLast = 31;
constexpr std::size_t kShufflingNowPos = 13;
constexpr std::size_t kWealthMultiplierPos = 16;
constexpr std::size_t kFirstLetterRaisedPos = 8;
constexpr std::size_t kForcedTextFirst = 16;
constexpr std::size_t kForcedTextLast = 215;
constexpr std::size_t kItemSubKindPos = 8;

struct UserBlock
{
    static constexpr std::size_t kNickname = 16, kNicknameLast = 47;
    static constexpr std::size_t kFace = 48, kFaceLast = 63;
    static constexpr std::size_t kSex = 64;
    static constexpr std::size_t kLocation = 72, kLocationLast = 79;
    static constexpr std::size_t kPoints = 80, kCredit = 88, kCoins = 96, kExtra1 = 104;
    static constexpr std::size_t kTitle = 112, kTitleLast = 127;
    static constexpr std::size_t kExtra2to4 = 128;
    static constexpr std::size_t kLogins = 152, kDisconnects = 156, kWins = 160, kLosses = 164;
    static constexpr std::size_t kAccount = 168, kAccountLast = 183;
    static constexpr std::size_t kTag = 184, kTagLast = 207;
    static constexpr std::size_t kReady = 208;
    static constexpr std::size_t kExtraText1 = 210, kExtraText1Last = 217;
    static constexpr std::size_t kExtraText2 = 218, kExtraText2Last = 225;
    static constexpr std::size_t kExtra5 = 226;
    static constexpr std::size_t kWealth = 234;
    static constexpr std::size_t kShowCardNote = 238;
    static constexpr std::size_t kItemSwitch = 255;
};

struct Result
{
    static constexpr std::size_t kStake = 8;
    static constexpr std::size_t kCashUnit = 15;
    static constexpr std::size_t kCardsLeft = 16;
    static constexpr std::size_t kCards = 20;
    static constexpr std::size_t kBidKind = 152;
    static constexpr std::size_t kLandlord = 153;
    static constexpr std::size_t kOutcome = 154;
    static constexpr std::size_t kTotal = 155;
    static constexpr std::size_t kFinal = 163;
    static constexpr std::size_t kLevel = 171;
    static constexpr std::size_t kBidMultiplier = 172;
    static constexpr std::size_t kMultiplierSide = 174;
    static constexpr std::size_t kDealer = 175;
    static constexpr std::size_t kAmount1Sign = 177;
    static constexpr std::size_t kAmount1 = 178;
    static constexpr std::size_t kAmount2Sign = 186;
    static constexpr std::size_t kAmount2 = 187;
    static constexpr std::size_t kBaseSign = 195;
    static constexpr std::size_t kBase = 196;
    static constexpr std::size_t kCapped = 204;
    static constexpr std::size_t kWinners = 205, kWinnersLast = 224;
};

MessageFrame withCommand(Command cmd)
{
    MessageFrame frame;
    frame.setCmd(cmd);
    return frame;
}

std::span<const CardCode> firstCards(const std::array<CardCode, kMaxFrameCards> &codes,
                                     std::size_t count)
{
    return std::span(codes).first(clampCount(count, kMaxFrameCards));
}

std::size_t dealtCount(std::uint8_t form)
{
    return form == kDealHandStart || form == kDealBottomCards ? form : 0;
}

} // namespace

// Login and reconnect answers

MessageFrame LoginAnswerFrame::encode() const
{
    MessageFrame frame = withCommand(CmdLogin);
    frame.setByte(offset::kArg11, turnSeconds);
    frame.setByte(offset::kArg15, result);
    writeText(frame, kAdvertFirst, kAdvertLast, advertAddress);
    return frame;
}

LoginAnswerFrame LoginAnswerFrame::decode(const MessageFrame &frame)
{
    return {frame.byteAt(offset::kArg11), frame.byteAt(offset::kArg15),
            readFieldText(frame, kAdvertFirst, kAdvertLast, FieldText::SingleByte)};
}

MessageFrame ReconnectAnswerFrame::encode() const
{
    MessageFrame frame = withCommand(CmdReconnectAnswer);
    frame.setByte(offset::kArg15, result);
    return frame;
}

ReconnectAnswerFrame ReconnectAnswerFrame::decode(const MessageFrame &frame)
{
    return {frame.byteAt(offset::kArg15)};
}

// User information

MessageFrame UserInfoFrame::encode() const
{
    using B = UserBlock;
    MessageFrame frame = withCommand(CmdUserInfo);
    frame.setSeatBit(recipientSeat.raw);
    writeText(frame, B::kNickname, B::kNicknameLast, nickname);
    writeText(frame, B::kFace, B::kFaceLast, face);
    frame.setByte(B::kSex, sex);
    writeText(frame, B::kLocation, B::kLocationLast, location);
    frame.setU64le(B::kPoints, points);
    frame.setU64le(B::kCredit, credit);
    frame.setU64le(B::kCoins, coins);
    frame.setU64le(B::kExtra1, extraNumber1);
    writeText(frame, B::kTitle, B::kTitleLast, title);
    for (std::size_t i = 0; i < extraNumbers2to4.size(); ++i)
        frame.setU64le(B::kExtra2to4 + 8 * i, extraNumbers2to4[i]);
    frame.setU32le(B::kLogins, static_cast<std::uint32_t>(logins));
    frame.setU32le(B::kDisconnects, static_cast<std::uint32_t>(disconnects));
    frame.setU32le(B::kWins, static_cast<std::uint32_t>(wins));
    frame.setU32le(B::kLosses, static_cast<std::uint32_t>(losses));
    writeText(frame, B::kAccount, B::kAccountLast, account);
    writeText(frame, B::kTag, B::kTagLast, tag);
    frame.setByte(B::kReady, ready ? 1 : 0);
    writeText(frame, B::kExtraText1, B::kExtraText1Last, extraText1);
    writeText(frame, B::kExtraText2, B::kExtraText2Last, extraText2);
    frame.setU64le(B::kExtra5, extraNumber5);
    frame.setU32le(B::kWealth, static_cast<std::uint32_t>(wealth));
    frame.setByte(B::kShowCardNote, showCardNote);
    frame.setByte(B::kItemSwitch, itemSwitch);
    return frame;
}

UserInfoFrame UserInfoFrame::decode(const MessageFrame &frame)
{
    using B = UserBlock;
    UserInfoFrame user;
    user.recipientSeat = frame.seatBit();
    user.nickname = readFieldText(frame, B::kNickname, B::kNicknameLast, FieldText::MixedInField);
    user.face = readFieldText(frame, B::kFace, B::kFaceLast, FieldText::SingleByte);
    user.sex = frame.byteAt(B::kSex);
    user.location = readFieldText(frame, B::kLocation, B::kLocationLast, FieldText::TwoByte);
    user.points = frame.u64le(B::kPoints);
    user.credit = frame.u64le(B::kCredit);
    user.coins = frame.u64le(B::kCoins);
    user.extraNumber1 = frame.u64le(B::kExtra1);
    user.title = readFieldText(frame, B::kTitle, B::kTitleLast, FieldText::TwoByte);
    for (std::size_t i = 0; i < user.extraNumbers2to4.size(); ++i)
        user.extraNumbers2to4[i] = frame.u64le(B::kExtra2to4 + 8 * i);
    user.logins = frame.i32le(B::kLogins);
    user.disconnects = frame.i32le(B::kDisconnects);
    user.wins = frame.i32le(B::kWins);
    user.losses = frame.i32le(B::kLosses);
    user.account = readFieldText(frame, B::kAccount, B::kAccountLast, FieldText::SingleByte);
    user.tag = readFieldText(frame, B::kTag, B::kTagLast, FieldText::TwoByte);
    user.ready = frame.byteAt(B::kReady) == 1;
    user.extraText1
            = readFieldText(frame, B::kExtraText1, B::kExtraText1Last, FieldText::SingleByte);
    user.extraText2
            = readFieldText(frame, B::kExtraText2, B::kExtraText2Last, FieldText::SingleByte);
    user.extraNumber5 = frame.u64le(B::kExtra5);
    user.wealth = frame.i32le(B::kWealth);
    user.showCardNote = frame.byteAt(B::kShowCardNote);
    user.itemSwitch = frame.byteAt(B::kItemSwitch);
    return user;
}

MessageFrame ReadyFrame::encode() const
{
    MessageFrame frame = withCommand(CmdReady);
    frame.setByte(offset::kArg15, ready);
    writeText(frame, kAccountFirst, kAccountLast, account);
    return frame;
}

ReadyFrame ReadyFrame::decode(const MessageFrame &frame)
{
    return {frame.byteAt(offset::kArg15),
            readFieldText(frame, kAccountFirst, kAccountLast, FieldText::SingleByte)};
}

// The hand: deal, bids, plays, results

std::span<const CardCode> DealFrame::cards() const
{
    return firstCards(codes, dealtCount(form));
}

MessageFrame DealFrame::encode() const
{
    MessageFrame frame = withCommand(CmdDeal);
    frame.setSeatBit(seat.raw);
    frame.setByte(kDealRowCountPos, rowCount);
    frame.setByte(offset::kArg11, form);
    frame.setByte(offset::kArg15, shownCardSeat.raw);
    writeCards(frame, kCardsPos, cards());
    frame.setByte(kShownSuitPos, shownSuitBit);
    frame.setByte(kShownFacePos, shownFace);
    frame.setByte(kShowCardDoublePos, showCardDouble);
    frame.setU32le(offset::kResumeValue, static_cast<std::uint32_t>(resumeValue));
    return frame;
}

DealFrame DealFrame::decode(const MessageFrame &frame)
{
    DealFrame deal;
    deal.seat = frame.seatBit();
    deal.rowCount = frame.byteAt(kDealRowCountPos);
    deal.form = frame.byteAt(offset::kArg11);
    deal.shownCardSeat = frame.byteAt(offset::kArg15);
    readCards(frame, kCardsPos, std::span(deal.codes).first(dealtCount(deal.form)));
    deal.shownSuitBit = frame.byteAt(kShownSuitPos);
    deal.shownFace = frame.byteAt(kShownFacePos);
    deal.showCardDouble = frame.byteAt(kShowCardDoublePos);
    deal.resumeValue = frame.resumeValue();
    return deal;
}

MessageFrame BidTurnFrame::encode() const
{
    MessageFrame frame = withCommand(CmdBidTurn);
    frame.setSeatBit(nextBidder.raw);
    frame.setByte(offset::kArg11, bid);
    frame.setByte(offset::kArg15, bidder.raw);
    return frame;
}

BidTurnFrame BidTurnFrame::decode(const MessageFrame &frame)
{
    return {frame.seatBit(), frame.byteAt(offset::kArg11), frame.byteAt(offset::kArg15)};
}

std::span<const CardCode> PlayedFrame::cards() const
{
    return firstCards(codes, cardCount);
}

MessageFrame PlayedFrame::encode() const
{
    MessageFrame frame = withCommand(CmdPlayed);
    frame.setSeatBit(mover.raw);
    frame.setByte(offset::kArg11, next);
    frame.setByte(offset::kArg15, trickCode);
    frame.setByte(kPlayedCountPos, cardCount);
    frame.setByte(kPlayedKindPos, kind);
    writeCards(frame, kPlayedCardsPos, cards());
    frame.setByte(kPlayedSecondsPos, seconds);
    return frame;
}

PlayedFrame PlayedFrame::decode(const MessageFrame &frame)
{
    PlayedFrame played;
    played.mover = frame.seatBit();
    played.next = frame.byteAt(offset::kArg11);
    played.trickCode = frame.byteAt(offset::kArg15);
    played.cardCount = frame.byteAt(kPlayedCountPos);
    played.kind = frame.byteAt(kPlayedKindPos);
    readCards(frame, kPlayedCardsPos,
              std::span(played.codes).first(clampCount(played.cardCount, kMaxFrameCards)));
    played.seconds = frame.byteAt(kPlayedSecondsPos);
    return played;
}

std::span<const CardCode> HandResultFrame::cards() const
{
    return firstCards(codes, cardsLeft);
}

MessageFrame HandResultFrame::encode() const
{
    using R = Result;
    MessageFrame frame = withCommand(CmdHandResult);
    frame.setSeatBit(seat.raw);
    frame.setU32be(R::kStake, static_cast<std::uint32_t>(stake));
    frame.setByte(R::kCashUnit, cashUnit);
    frame.setByte(R::kCardsLeft, cardsLeft);
    writeCards(frame, R::kCards, cards());
    frame.setByte(R::kBidKind, bidKind);
    frame.setByte(R::kLandlord, landlord);
    frame.setByte(R::kOutcome, outcome);
    frame.setU64le(R::kTotal, total);
    frame.setU64le(R::kFinal, finalAmount);
    frame.setByte(R::kLevel, level);
    frame.setByte(R::kBidMultiplier, bidMultiplier);
    frame.setByte(R::kMultiplierSide, multiplierSide);
    frame.setByte(R::kDealer, dealer);
    frame.setByte(R::kAmount1Sign, amount1Sign);
    frame.setU64le(R::kAmount1, amount1);
    frame.setByte(R::kAmount2Sign, amount2Sign);
    frame.setU64le(R::kAmount2, amount2);
    frame.setByte(R::kBaseSign, baseSign);
    frame.setU64le(R::kBase, base);
    frame.setByte(R::kCapped, capped ? 1 : 0);
    writeText(frame, R::kWinners, R::kWinnersLast, winnersLine);
    return frame;
}

HandResultFrame HandResultFrame::decode(const MessageFrame &frame)
{
    using R = Result;
    HandResultFrame result;
    result.seat = frame.seatBit();
    result.stake = frame.i32be(R::kStake);
    result.cashUnit = frame.byteAt(R::kCashUnit);
    result.cardsLeft = frame.byteAt(R::kCardsLeft);
    readCards(frame, R::kCards,
              std::span(result.codes).first(clampCount(result.cardsLeft, kMaxFrameCards)));
    result.bidKind = frame.byteAt(R::kBidKind);
    result.landlord = frame.byteAt(R::kLandlord);
    result.outcome = frame.byteAt(R::kOutcome);
    result.total = frame.u64le(R::kTotal);
    result.finalAmount = frame.u64le(R::kFinal);
    result.level = frame.byteAt(R::kLevel);
    result.bidMultiplier = frame.byteAt(R::kBidMultiplier);
    result.multiplierSide = frame.byteAt(R::kMultiplierSide);
    result.dealer = frame.byteAt(R::kDealer);
    result.amount1Sign = frame.byteAt(R::kAmount1Sign);
    result.amount1 = frame.u64le(R::kAmount1);
    result.amount2Sign = frame.byteAt(R::kAmount2Sign);
    result.amount2 = frame.u64le(R::kAmount2);
    result.baseSign = frame.byteAt(R::kBaseSign);
    result.base = frame.u64le(R::kBase);
    result.capped = frame.byteAt(R::kCapped) == 1;
    result.winnersLine = readFieldText(frame, R::kWinners, R::kWinnersLast, FieldText::Mixed);
    return result;
}

// Between hands and leaving

MessageFrame ReadyOrLeaveNoticeFrame::encode() const
{
    MessageFrame frame = withCommand(CmdReadyOrLeave);
    frame.setSeatBit(shortSeats);
    frame.setByte(offset::kArg11, flags);
    frame.setByte(kShufflingNowPos, shufflingNow);
    frame.setByte(offset::kArg15, mode);
    frame.setU32le(kWealthMultiplierPos, static_cast<std::uint32_t>(wealthMultiplier));
    return frame;
}

ReadyOrLeaveNoticeFrame ReadyOrLeaveNoticeFrame::decode(const MessageFrame &frame)
{
    ReadyOrLeaveNoticeFrame notice;
    notice.mode = frame.byteAt(offset::kArg15);
    notice.shortSeats = frame.seatBit();
    notice.flags = frame.byteAt(offset::kArg11);
    notice.shufflingNow = frame.byteAt(kShufflingNowPos);
    notice.wealthMultiplier = frame.i32le(kWealthMultiplierPos);
    return notice;
}

MessageFrame UserLeftFrame::encode() const
{
    MessageFrame frame = withCommand(CmdUserLeft);
    frame.setByte(kFirstLetterRaisedPos, firstLetterRaised ? 1 : 0);
    frame.setByte(offset::kArg11, clockKind);
    writeText(frame, kAccountFirst, kAccountLast, account);
    if (firstLetterRaised && !account.empty())
        frame.setByte(kAccountFirst, static_cast<std::uint8_t>(frame.byteAt(kAccountFirst) + 1));
    return frame;
}

UserLeftFrame UserLeftFrame::decode(const MessageFrame &frame)
{
    UserLeftFrame left;
    left.firstLetterRaised = frame.byteAt(kFirstLetterRaisedPos) == 1;
    left.clockKind = frame.byteAt(offset::kArg11);
    MessageFrame name = frame;
    if (left.firstLetterRaised) {
        const std::uint8_t first = frame.byteAt(kAccountFirst);
        name.setByte(kAccountFirst, first == 0 ? 0 : static_cast<std::uint8_t>(first - 1));
    }
    left.account = readFieldText(name, kAccountFirst, kAccountLast, FieldText::SingleByte);
    return left;
}

MessageFrame ForcedLeaveFrame::encode() const
{
    MessageFrame frame = withCommand(CmdForcedLeave);
    writeText(frame, kForcedTextFirst, kForcedTextLast, text);
    return frame;
}

ForcedLeaveFrame ForcedLeaveFrame::decode(const MessageFrame &frame)
{
    return {readFieldText(frame, kForcedTextFirst, kForcedTextLast, FieldText::Mixed)};
}

MessageFrame ItemFrame::encode() const
{
    MessageFrame frame = withCommand(static_cast<Command>(command));
    const auto raw = static_cast<std::uint16_t>(subKind * 8u);
    frame.setByte(kItemSubKindPos, static_cast<std::uint8_t>(raw >> 8));
    frame.setByte(kItemSubKindPos + 1, static_cast<std::uint8_t>(raw & 0xFF));
    return frame;
}

ItemFrame ItemFrame::decode(const MessageFrame &frame)
{
    const auto raw = static_cast<std::uint16_t>(frame.byteAt(kItemSubKindPos) << 8
                                                | frame.byteAt(kItemSubKindPos + 1));
    return {frame.cmd(), static_cast<std::uint16_t>(raw / 8)};
}

} // namespace tessaroc::wire
