#include "wire/ReceivedFrames.h"
#include "wire/ChatFrame.h"

#include "rules/CardCode.h"

#include "CodecCase.h"

#include <gtest/gtest.h>

#include <string>

using namespace tessaroc::wire;
using tessaroc::rules::makeCard;

namespace {

using ReceivedCase = test::CodecCase<LoginAnswerFrame, ReconnectAnswerFrame, UserInfoFrame,
                                     ReadyFrame, DealFrame, BidTurnFrame, PlayedFrame,
                                     HandResultFrame, ReadyOrLeaveNoticeFrame, UserLeftFrame,
                                     ForcedLeaveFrame, ItemFrame, ChatFrame>;

DealFrame bottomDeal()
{
    DealFrame deal;
    deal.seat = 2;
    deal.form = kDealBottomCards;
    for (int i = 0; i < 8; ++i)
        deal.codes[static_cast<std::size_t>(i)] = makeCard(3 + i, 1, 100 + i);
    return deal;
}

DealFrame handStartDeal()
{
    DealFrame deal;
    deal.seat = 1;
    deal.rowCount = 25;
    deal.form = kDealHandStart;
    deal.shownCardSeat = 4;
    for (int i = 0; i < 25; ++i)
        deal.codes[static_cast<std::size_t>(i)] = makeCard(17, 1, 0);
    deal.codes[0] = makeCard(14, 2, 9);
    deal.shownSuitBit = 4;
    deal.shownFace = 14;
    deal.resumeValue = 0x00010002;
    return deal;
}

PlayedFrame pairPlayed()
{
    PlayedFrame played;
    played.mover = 1;
    played.next = 8;
    played.cardCount = 2;
    played.kind = 2;
    played.codes[0] = makeCard(5, 4, 20);
    played.codes[1] = makeCard(5, 8, 23);
    played.seconds = 20;
    return played;
}

HandResultFrame lostFarmer()
{
    HandResultFrame result;
    result.seat = 8;
    result.stake = 500;
    result.cashUnit = 1;
    result.cardsLeft = 1;
    result.codes[0] = makeCard(15, 1, 60);
    result.outcome = 2;
    result.finalAmount = 256;
    result.level = 3;
    result.amount1Sign = 2;
    result.amount1 = 256;
    result.amount2 = 0x0102030405060708;
    result.capped = true;
    result.winnersLine = "地主获胜";
    return result;
}

// The rule-variant board tells landlord and side bytes above 1 apart, so the
// codec keeps them as sent.
HandResultFrame oddLandlord()
{
    HandResultFrame result;
    result.seat = 1;
    result.landlord = 3;
    result.multiplierSide = 2;
    return result;
}

UserInfoFrame someUser()
{
    UserInfoFrame user;
    user.recipientSeat = 1;
    user.nickname = "阿丽";
    user.face = "w3";
    user.sex = 0;
    user.location = "上海";
    user.coins = 60000;
    user.wins = 5;
    user.account = "alice";
    user.tag = "高手";
    user.ready = true;
    user.extraNumber5 = 4;
    user.wealth = 2;
    user.itemSwitch = 1;
    return user;
}

} // namespace

class ReceivedFrame : public testing::TestWithParam<ReceivedCase>
{
};

TEST_P(ReceivedFrame, WritesExactlyItsBytes)
{
    test::expectBytes(GetParam());
}

TEST_P(ReceivedFrame, ReadsBackAsTheSameValue)
{
    test::expectRoundTrip(GetParam());
}

INSTANTIATE_TEST_SUITE_P(
        Codecs, ReceivedFrame,
        testing::Values(
                ReceivedCase{"loginAccepted", LoginAnswerFrame{15, kLoginAccepted, "ad"},
                             "[3]=12 [11]=0f [15]=01 [16]=61 [17]=64"},
                ReceivedCase{"reconnectRefused", ReconnectAnswerFrame{3}, "[3]=1d [15]=03"},
                ReceivedCase{"ready", ReadyFrame{1, "bob"},
                             "[3]=17 [15]=01 [16]=62 [17]=6f [18]=62"},
                ReceivedCase{"bottomDeal", bottomDeal(),
                             "[3]=01 [6]=02 [11]=08 [16]=01 [17]=03 [19]=64 [20]=01 [21]=04 "
                             "[23]=65 [24]=01 [25]=05 [27]=66 [28]=01 [29]=06 [31]=67 [32]=01 "
                             "[33]=07 [35]=68 [36]=01 [37]=08 [39]=69 [40]=01 [41]=09 [43]=6a "
                             "[44]=01 [45]=0a [47]=6b"},
                ReceivedCase{"bidTurn", BidTurnFrame{2, 1, 4}, "[3]=02 [6]=02 [11]=01 [15]=04"},
                ReceivedCase{"played", pairPlayed(),
                             "[3]=06 [6]=01 [11]=08 [17]=02 [18]=02 [20]=04 [21]=05 [23]=14 "
                             "[24]=08 [25]=05 [27]=17 [255]=14"},
                ReceivedCase{"passOpensLead", PlayedFrame{.mover = 1, .next = 1, .trickCode = 1},
                             "[3]=06 [6]=01 [11]=01 [15]=01"},
                ReceivedCase{"handResult", lostFarmer(),
                             "[3]=09 [6]=08 [10]=01 [11]=f4 [15]=01 [16]=01 [20]=01 [21]=0f "
                             "[23]=3c [154]=02 [164]=01 [171]=03 [177]=02 [179]=01 [187]=08 "
                             "[188]=07 [189]=06 [190]=05 [191]=04 [192]=03 [193]=02 [194]=01 "
                             "[204]=01 [205]=b5 [206]=d8 [207]=d6 [208]=f7 [209]=bb [210]=f1 "
                             "[211]=ca [212]=a4"},
                ReceivedCase{"resultOddLandlordAndSideBytes", oddLandlord(),
                             "[3]=09 [6]=01 [153]=03 [174]=02"},
                ReceivedCase{"endOfHand", ReadyOrLeaveNoticeFrame{}, "[3]=10"},
                ReceivedCase{"coinsShort", ReadyOrLeaveNoticeFrame{3, 0x0A, 0x08, 0, 0},
                             "[3]=10 [6]=0a [11]=08 [15]=03"},
                ReceivedCase{"shuffleAndWealth", ReadyOrLeaveNoticeFrame{0, 0, 1, 1, 258},
                             "[3]=10 [11]=01 [13]=01 [16]=02 [17]=01"},
                ReceivedCase{"userLeft", UserLeftFrame{false, 1, "bob"},
                             "[3]=15 [11]=01 [16]=62 [17]=6f [18]=62"},
                ReceivedCase{"userLeftRaised", UserLeftFrame{true, 0, "bob"},
                             "[3]=15 [8]=01 [16]=63 [17]=6f [18]=62"},
                ReceivedCase{"forcedLeave", ForcedLeaveFrame{"出牌"},
                             "[3]=16 [16]=b3 [17]=f6 [18]=c5 [19]=c6"},
                ReceivedCase{"item45", ItemFrame{45, 129}, "[3]=2d [8]=04 [9]=08"},
                ReceivedCase{"systemChat", ChatFrame{.text = "hi"}, "[3]=13 [16]=68 [17]=69"}),
        test::kCaseName);

TEST(DealFrame, FormDecidesHowManyCardsAreRead)
{
    const DealFrame start = handStartDeal();
    const MessageFrame frame = start.encode();
    struct Case
    {
        std::uint8_t form;
        std::size_t cards;
    };
    for (const Case c : {Case{25, 25}, Case{8, 8}, Case{0, 0}, Case{33, 0}, Case{255, 0}}) {
        MessageFrame f = frame;
        f.setByte(11, c.form);
        EXPECT_EQ(DealFrame::decode(f).cards().size(), c.cards) << int(c.form);
    }
    const DealFrame back = DealFrame::decode(frame);
    EXPECT_EQ(back, start);
    EXPECT_EQ(back.shownCard(), makeCard(14, 4));
    EXPECT_EQ(back.resumeValue, 65538);
}

TEST(ReceivedCounts, ClampToAWholeHandButKeepTheirByte)
{
    MessageFrame frame = pairPlayed().encode();
    frame.setByte(17, 200);
    const PlayedFrame played = PlayedFrame::decode(frame);
    EXPECT_EQ(played.cardCount, 200);
    EXPECT_EQ(played.cards().size(), kMaxFrameCards);

    MessageFrame result = lostFarmer().encode();
    result.setByte(16, 34);
    EXPECT_EQ(HandResultFrame::decode(result).cards().size(), kMaxFrameCards);
}

TEST(ReceivedCards, TopBytesReadUnsigned)
{
    MessageFrame frame = pairPlayed().encode();
    frame.setByte(23, 0xFF); // the id byte of the first card
    const PlayedFrame played = PlayedFrame::decode(frame);
    EXPECT_EQ(tessaroc::rules::cardId(played.cards()[0]), 255);
    EXPECT_EQ(tessaroc::rules::cardFace(played.cards()[0]), 5);
}

TEST(SeatByte, NamesASeatOnlyWithOneBitInTheLowFour)
{
    struct Case
    {
        std::uint8_t raw;
        std::uint8_t bit;
    };
    for (const Case c : {Case{1, 1}, Case{8, 8}, Case{0x14, 4}, Case{0, 0}, Case{3, 0},
                         Case{0x0F, 0}, Case{0x10, 0}}) {
        const SeatByte seat{c.raw};
        EXPECT_EQ(seat.bit(), c.bit) << int(c.raw);
        EXPECT_EQ(seat.valid(), c.bit != 0) << int(c.raw);
    }
    MessageFrame frame = BidTurnFrame{2, 0, 0}.encode();
    frame.setByte(6, 0x30);
    const BidTurnFrame turn = BidTurnFrame::decode(frame);
    EXPECT_FALSE(turn.nextBidder.valid());
    EXPECT_EQ(turn.nextBidder.raw, 0x30);
}

TEST(UserInfoFrame, WholeRecordRoundTripsAndNamesItsSeat)
{
    UserInfoFrame user = someUser();
    user.points = 1ull << 53;
    user.extraNumbers2to4 = {1, 2, 3};
    user.losses = -1;
    user.extraText1 = "00";
    user.showCardNote = 1;
    const MessageFrame frame = user.encode();
    EXPECT_EQ(frame.byteAt(226), 4);
    EXPECT_EQ(frame.byteAt(255), 1);
    EXPECT_EQ(UserInfoFrame::decode(frame), user);
    EXPECT_EQ(UserInfoFrame::decode(frame).describedSeat().bit(), 4);
}

TEST(UserInfoFrame, NicknameLeadByteInTheLastPlaceStandsAlone)
{
    MessageFrame frame = someUser().encode();
    for (std::size_t pos = 16; pos < 47; ++pos)
        frame.setByte(pos, 'a');
    frame.setByte(47, 0xB0); // a lead byte; byte 48 (the face) must not pair with it
    const UserInfoFrame user = UserInfoFrame::decode(frame);
    EXPECT_EQ(user.nickname.substr(0, 31), std::string(31, 'a'));
    EXPECT_EQ(user.face, "w3");
}

TEST(UserLeftFrame, FirstLetterThatCannotBeLoweredGivesNoName)
{
    struct Case
    {
        std::uint8_t raised;
        std::uint8_t first;
        const char *name;
    };
    for (const Case c : {Case{1, 'c', "cob"}, Case{1, 1, ""}, Case{1, 0, ""}, Case{0, 0, ""},
                         Case{2, 'c', "cob"}}) {
        MessageFrame frame = UserLeftFrame{false, 0, "cob"}.encode();
        frame.setByte(8, c.raised);
        frame.setByte(16, c.first);
        const std::string expected = c.raised == 1 && c.first == 'c' ? "bob" : c.name;
        EXPECT_EQ(UserLeftFrame::decode(frame).account, expected)
                << int(c.raised) << " " << int(c.first);
    }
}

TEST(HandResultFrame, StakeIsBigEndianAndSigned)
{
    MessageFrame frame;
    frame.setCmd(CmdHandResult);
    frame.setByte(10, 0x01);
    frame.setByte(11, 0xF4);
    EXPECT_EQ(HandResultFrame::decode(frame).stake, 500);
    frame.setByte(8, 0x80);
    EXPECT_LT(HandResultFrame::decode(frame).stake, 0);
}

TEST(ItemFrame, SubKindIsTheUnsignedWordDividedByEightRoundedDown)
{
    struct Case
    {
        std::uint8_t high;
        std::uint8_t low;
        std::uint16_t subKind;
    };
    for (const Case c : {Case{0x04, 0x08, 129}, Case{0x04, 0x0F, 129}, Case{0x0C, 0x10, 386},
                         Case{0x00, 0x07, 0}, Case{0x80, 0x08, 4097}, Case{0xFF, 0xFF, 8191}}) {
        MessageFrame frame = ItemFrame{CmdProp45, 0}.encode();
        frame.setByte(8, c.high);
        frame.setByte(9, c.low);
        const ItemFrame item = ItemFrame::decode(frame);
        EXPECT_EQ(item.subKind, c.subKind) << int(c.high) << " " << int(c.low);
        EXPECT_EQ(item.command, CmdProp45);
    }
}

TEST(ChatFrame, TextIsCutToAHundredCharactersAndReadToItsFirstZero)
{
    const std::string longLine(150, 'x');
    const MessageFrame frame = ChatFrame{.sender = 2, .text = longLine}.encode();
    EXPECT_EQ(frame.byteAt(115), 'x');
    EXPECT_EQ(frame.byteAt(116), 0);
    EXPECT_EQ(ChatFrame::decode(frame).text, std::string(100, 'x'));

    // A received text with no zero byte ends with its field.
    MessageFrame full = frame;
    for (std::size_t pos = 16; pos <= 215; ++pos)
        full.setByte(pos, 'y');
    full.setByte(216, 'z');
    EXPECT_EQ(ChatFrame::decode(full).text, std::string(200, 'y'));
}
