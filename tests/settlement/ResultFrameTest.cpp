#include "SettlementFixture.h"

#include "core/TableState.h"
#include "settlement/ListBoxes.h"
#include "settlement/NumberText.h"
#include "table/MainForm.h"

#include <algorithm>

namespace tessaroc::settlement::testing {
namespace {

// How one frame's values come out on the board: the own seat's frame is
// changed, the line it shows is compared.
struct DecodeCase
{
    const char *name;
    void (*change)(wire::MessageFrame &own);
    int line; // index in State(0)
    const char16_t *expected;
};

void stakeBytes(wire::MessageFrame &f, std::uint8_t a, std::uint8_t b, std::uint8_t c,
                std::uint8_t d)
{
    f.setByte(8, a);
    f.setByte(9, b);
    f.setByte(10, c);
    f.setByte(11, d);
}

void amount(wire::MessageFrame &f, std::size_t at, std::uint64_t v)
{
    for (int i = 0; i < 8; ++i)
        f.setByte(at + static_cast<std::size_t>(i), static_cast<std::uint8_t>(v >> (8 * i)));
}

const DecodeCase kDecodeCases[] = {
        {"StakeBigEndian", [](wire::MessageFrame &f) { stakeBytes(f, 0, 0, 1, 0xF4); }, 2,
         u"房间底金：500金币"},
        {"StakeWithTheHighBitIsReadUnsigned",
         [](wire::MessageFrame &f) { stakeBytes(f, 0x80, 0, 0, 0); }, 2,
         u"房间底金：2147483648金币"},
        {"StakeAllOnes", [](wire::MessageFrame &f) { stakeBytes(f, 0xFF, 0xFF, 0xFF, 0xFF); }, 2,
         u"房间底金：4294967295金币"},
        {"SubtotalNegative",
         [](wire::MessageFrame &f) {
             f.setByte(177, 2);
             amount(f, 178, 256);
         },
         8, u"小计：-256金币"},
        {"SubtotalPositive",
         [](wire::MessageFrame &f) {
             f.setByte(177, 1);
             amount(f, 178, 1234567);
         },
         8, u"小计：1234567金币"},
        {"SignOtherThanOneOrTwoCountsAsZero",
         [](wire::MessageFrame &f) {
             f.setByte(177, 3);
             amount(f, 178, 999);
         },
         8, u"小计：0金币"},
        {"LargestMagnitudeInExponentForm",
         [](wire::MessageFrame &f) {
             f.setByte(177, 1);
             amount(f, 178, ~std::uint64_t{0});
         },
         8, u"小计：1.84467440737096E+19金币"},
        {"FifteenDigitsStayWhole",
         [](wire::MessageFrame &f) {
             f.setByte(177, 1);
             amount(f, 178, 999999999999999);
         },
         8, u"小计：999999999999999金币"},
        {"TenToTheFifteenSwitchesToExponent",
         [](wire::MessageFrame &f) {
             f.setByte(177, 2);
             amount(f, 178, 1000000000000000);
         },
         8, u"小计：-1E+15金币"},
        {"FinalAmountOfAWin",
         [](wire::MessageFrame &f) {
             f.setByte(154, 1);
             amount(f, 163, 1200);
         },
         15, u"总分：1200金币"},
        {"LandlordByteOtherThanOneIsNoLandlord", [](wire::MessageFrame &f) { f.setByte(153, 2); },
         7, u" "},
};

class ResultDecoding : public SettlementFixture, public ::testing::WithParamInterface<DecodeCase>
{
};

TEST_P(ResultDecoding, ShowsTheValueOnTheBoard)
{
    seatPlayers();
    state().commands.ShowCardDouble = 1;
    wire::MessageFrame own = resultFrame({.seat = 1, .outcome = 2});
    GetParam().change(own);
    // The stake comes from the frame that completes the set.
    deliverAll({resultFrame({.seat = 2}), resultFrame({.seat = 4}), resultFrame({.seat = 8}), own});
    EXPECT_EQ(lines(0).value(GetParam().line), QString::fromUtf16(GetParam().expected))
            << lines(0).join(QLatin1Char('|')).toStdString();
}

INSTANTIATE_TEST_SUITE_P(Frames, ResultDecoding, ::testing::ValuesIn(kDecodeCases),
                         [](const auto &test) { return std::string(test.param.name); });

TEST(AmountText, GeneralNumberFormat)
{
    EXPECT_EQ(AmountText(0), QStringLiteral("0"));
    EXPECT_EQ(AmountText(-0.0), QStringLiteral("0"));
    EXPECT_EQ(AmountText(-300), QStringLiteral("-300"));
    EXPECT_EQ(AmountText(12.5), QStringLiteral("12.5"));
    EXPECT_EQ(AmountText(1e15), QStringLiteral("1E+15"));
    EXPECT_EQ(AmountText(1.5e20), QStringLiteral("1.5E+20"));
    EXPECT_EQ(AmountValue(std::uint64_t{1} << 53 | 1), 9007199254740992.0);
}

TEST(LevelName, FortyCaptions)
{
    EXPECT_EQ(LevelName(1), QStringLiteral("第一级"));
    EXPECT_EQ(LevelName(10), QStringLiteral("第十级"));
    EXPECT_EQ(LevelName(11), QStringLiteral("第十一级"));
    EXPECT_EQ(LevelName(20), QStringLiteral("第二十级"));
    EXPECT_EQ(LevelName(37), QStringLiteral("第三十七级"));
    EXPECT_EQ(LevelName(40), QStringLiteral("第四十级"));
    EXPECT_TRUE(LevelName(0).isEmpty());
    EXPECT_TRUE(LevelName(41).isEmpty());
}

std::vector<wire::MessageFrame> handFrames(std::uint64_t ownFinal)
{
    return {resultFrame({.seat = 1, .outcome = 1, .finalAmount = ownFinal}),
            resultFrame({.seat = 2, .outcome = 2, .finalAmount = 10}),
            resultFrame({.seat = 4, .outcome = 2, .finalAmount = 20}),
            resultFrame({.seat = 8, .outcome = 2, .finalAmount = 30})};
}

using Collector = SettlementFixture;

TEST_F(Collector, EveryArrivalOrderGivesTheSameBoard)
{
    seatPlayers();
    std::vector<int> order{0, 1, 2, 3};
    const auto frames = handFrames(60);
    std::vector<QStringList> first;
    do {
        std::vector<wire::MessageFrame> shuffled;
        for (int i : order)
            shuffled.push_back(frames[static_cast<std::size_t>(i)]);
        deliverAll(shuffled);
        std::vector<QStringList> board;
        for (int j = 0; j < 8; ++j)
            board.push_back(lines(j));
        if (first.empty())
            first = board;
        EXPECT_EQ(board, first);
        EXPECT_EQ(state().commands.custom[0].coins, 1060);
        seatPlayers(); // the bookings start again for the next order
    } while (std::next_permutation(order.begin(), order.end()));
    EXPECT_EQ(state().settlement.JuNum, 24);
    EXPECT_EQ(first[4], QStringList{QStringLiteral("最终分：60金币")});
}

TEST_F(Collector, ThreeFramesDrawNothing)
{
    const auto frames = handFrames(60);
    for (int i = 0; i < 3; ++i)
        deliver(frames[static_cast<std::size_t>(i)]);
    EXPECT_EQ(settlement->collector().count(), 3);
    for (int j = 0; j < 8; ++j)
        EXPECT_TRUE(lines(j).isEmpty());
    EXPECT_EQ(state().settlement.JuNum, 0);
    EXPECT_FALSE(windows.ScoreLoaded() && score().isVisible());
    deliver(frames[3]);
    EXPECT_EQ(settlement->collector().count(), 0);
    EXPECT_EQ(state().settlement.JuNum, 1);
}

// A hand whose results stopped after some frames: whatever drops them (the
// table reset or left, a login answer, the next deal), the next hand's four
// frames make a board of their own.
TEST_F(Collector, DroppedFramesNeverJoinTheNextHand)
{
    for (int stopped = 1; stopped <= 3; ++stopped) {
        const auto old = handFrames(999);
        for (int i = 0; i < stopped; ++i)
            deliver(old[static_cast<std::size_t>(i)]);
        settlement->DropResultFrames();
        deliverAll(handFrames(60));
        EXPECT_EQ(lines(4), QStringList{QStringLiteral("最终分：60金币")}) << stopped;
    }
}

TEST_F(Collector, TheVariantBoardCompletesTheSetThePlainBoardBegan)
{
    seatPlayers();
    const auto frames = handFrames(60);
    for (int i = 0; i < 3; ++i)
        deliver(frames[static_cast<std::size_t>(i)]);
    deliver(frames[3], true);
    EXPECT_EQ(state().settlement.JuNum, 1);
    EXPECT_EQ(settlement->collector().count(), 0);
}

TEST_F(Collector, ASetNotNamingFourSeatsIsDroppedWithASystemLine)
{
    const std::uint8_t kSeats[][4] = {{1, 2, 4, 3}, {1, 2, 4, 0}, {1, 2, 4, 0x10}, {0, 1, 2, 4}};
    for (const auto &seats : kSeats) {
        state().loop.HoldCommand21 = true;
        for (std::uint8_t s : seats)
            deliver(resultFrame({.seat = s, .outcome = 1}));
        EXPECT_EQ(state().settlement.JuNum, 0);
        EXPECT_FALSE(state().loop.HoldCommand21);
        EXPECT_EQ(settlement->collector().count(), 0);
        const QStringList sys = ListLines(client.form->messages.Sysmsg(0).widget())
                + ListLines(client.form->messages.Sysmsg(1).widget());
        EXPECT_TRUE(sys.contains(CoreSettlement::kUnusableResults));
    }
    // The high four bits of the seat byte are not part of the seat.
    seatPlayers();
    deliverAll({resultFrame({.seat = 0x11, .outcome = 1}), resultFrame({.seat = 0x22}),
                resultFrame({.seat = 0x44}), resultFrame({.seat = 0x88})});
    EXPECT_EQ(state().settlement.JuNum, 1);
}

// A seat sent twice is no fault of the set: the later frame takes the
// seat's row, whatever high bits its seat byte carries, and the set is
// whole with the fourth seat.
TEST_F(Collector, ASeatSentAgainReplacesItsRow)
{
    seatPlayers();
    deliverAll({resultFrame({.seat = 1, .outcome = 1, .finalAmount = 50}), resultFrame({.seat = 8}),
                resultFrame({.seat = 0x88}), resultFrame({.seat = 2}),
                resultFrame({.seat = 0x11, .outcome = 1, .finalAmount = 60})});
    EXPECT_EQ(settlement->collector().count(), 3);
    EXPECT_EQ(state().settlement.JuNum, 0);
    deliver(resultFrame({.seat = 4}));
    EXPECT_EQ(state().settlement.JuNum, 1);
    EXPECT_EQ(lines(4), QStringList{QStringLiteral("最终分：60金币")});
}

TEST_F(Collector, TheDispatcherHandsTheFramesOnAndTheBoardShowsThem)
{
    seatPlayers();
    core::CoreContext routed{*context};
    core::CoreContext ctx{routed.state,  routed.rings,  routed.clock,   routed.socket, routed.hall,
                          routed.timers, routed.window, routed.play,    routed.sound,  routed.items,
                          routed.video,  *settlement,   routed.process, routed.chat};
    core::Dispatcher dispatcher(ctx);
    for (const auto &frame : handFrames(60))
        dispatcher.ProcessMessage(frame);
    EXPECT_EQ(lines(4), QStringList{QStringLiteral("最终分：60金币")});
    EXPECT_TRUE(score().isVisible());

    // With the rule flag set the same frames reach the variant's board.
    state().core.RuleSetFlag = true;
    for (const auto &frame : handFrames(60))
        dispatcher.ProcessMessage(frame);
    EXPECT_EQ(state().settlement.JuNum, 2);
    EXPECT_EQ(state().core.ResultPhase, 2);
}

} // namespace
} // namespace tessaroc::settlement::testing
