#include "SettlementFixture.h"

#include "Grab.h"
#include "RecordingServices.h"
#include "core/ItemSteps.h"
#include "core/TableState.h"
#include "settlement/ListBoxes.h"
#include "table/MainForm.h"

#include <QCoreApplication>

#include <random>

namespace tessaroc::settlement::testing {
namespace {

using Lines = QStringList;

// A frame of the rule variant: the bytes of the bid, the seat's sides and
// the amounts the variant reads.
struct XiLine
{
    std::uint8_t seat = 1;
    std::uint8_t outcome = 0;
    std::uint8_t landlord = 0;
    std::uint8_t side = 0;
    std::uint8_t bidKind = 0;
    std::uint8_t dealer = 0;
    std::uint8_t bidMultiplier = 0;
    std::uint8_t bombSign = 0;
    std::uint64_t bombTotal = 0;
    std::uint8_t taskSign = 0;
    std::uint64_t taskBonus = 0;
    std::uint8_t baseSign = 0;
    std::uint64_t base = 0;
    std::uint64_t total = 0;
    std::uint64_t finalAmount = 0;
    std::uint8_t level = 0;
    bool capped = false;
};

wire::MessageFrame xiFrame(const XiLine &l, std::int32_t stake = 100)
{
    wire::HandResultFrame f;
    f.seat = wire::SeatByte{l.seat};
    f.stake = stake;
    f.cashUnit = 1;
    f.outcome = l.outcome;
    f.bidKind = l.bidKind;
    f.dealer = l.dealer;
    f.bidMultiplier = l.bidMultiplier;
    f.multiplierSide = l.side;
    f.amount1Sign = l.bombSign;
    f.amount1 = l.bombTotal;
    f.amount2Sign = l.taskSign;
    f.amount2 = l.taskBonus;
    f.baseSign = l.baseSign;
    f.base = l.base;
    f.total = l.total;
    f.finalAmount = l.finalAmount;
    f.level = l.level;
    f.capped = l.capped;
    wire::MessageFrame frame = f.encode();
    frame.setByte(153, l.landlord);
    return frame;
}

class VariantBoard : public SettlementFixture
{
protected:
    VariantBoard()
    {
        seatPlayers(1000);
        state().core.RuleSetFlag = true;
        settlement->afterVariantStage = [this] {
            ++stages;
            for (int p = 1; p < 4; ++p) {
                if (score().State(p).count() != score().State(0).count())
                    misaligned = true;
            }
        };
    }

    // Four frames with the own seat's changed; seat bits 1, 2, 4, 8.
    void settle(std::vector<XiLine> seats, std::int32_t stake = 100)
    {
        std::vector<wire::MessageFrame> frames;
        for (const XiLine &l : seats)
            frames.push_back(xiFrame(l, stake));
        deliverAll(frames, true);
    }

    // The lines a seat's list got between the opening rows and the totals.
    Lines rowsOf(int p, int from, int n) { return lines(p).mid(from, n); }

    int stages = 0;
    bool misaligned = false;
};

struct MultiplierCase
{
    const char *name;
    std::array<std::uint8_t, 4> bidKinds;
    std::uint8_t secondDealer;
    std::int64_t S, Y;
};

const MultiplierCase kMultiplierCases[] = {
        {"NoBid", {0, 0, 0, 0}, 0, 1, 1},
        {"FlashOnly", {3, 3, 0, 3}, 1, 1, 1},
        {"GrabWithDealer0", {0, 0, 1, 0}, 0, 2, 3},
        {"GrabWithDealer1", {1, 0, 0, 0}, 1, 2, 4},
        {"GrabWithOtherDealer", {0, 1, 0, 0}, 7, 0, 0},
        {"Shown", {0, 0, 0, 2}, 9, 2, 2},
        {"FirstKindWins", {3, 2, 1, 0}, 0, 2, 2},
};

class Multipliers : public ::testing::TestWithParam<MultiplierCase>
{
};

TEST_P(Multipliers, FollowTheBidKindAndTheSecondFramesDealer)
{
    ResultSet set{};
    for (int r = 0; r < 4; ++r) {
        set[static_cast<std::size_t>(r)].bidKind = GetParam().bidKinds[static_cast<std::size_t>(r)];
        set[static_cast<std::size_t>(r)].pos = r;
    }
    set[1].frame.dealer = GetParam().secondDealer;
    set[2].landlordByte = 1;
    const VariantMultipliers m = VariantMultipliersOf(set);
    EXPECT_EQ(m.SBeiShu, GetParam().S);
    EXPECT_EQ(m.YBeiShu, GetParam().Y);
    EXPECT_EQ(m.ResultLandlordPos, 2);
}

INSTANTIATE_TEST_SUITE_P(Bids, Multipliers, ::testing::ValuesIn(kMultiplierCases),
                         [](const auto &test) { return std::string(test.param.name); });

TEST_F(VariantBoard, BombGroupsPayBetweenTheSeats)
{
    auto &bombs = state().play.BombCount;
    bombs[2][12][7 - 5] = 1; // 七巧Q of a farmer
    bombs[1][1][6 - 5] = 2; // two 六喜A: one group
    bombs[1][14][6 - 5] = 1; // no label: no group
    bombs[3][0][9 - 5] = 1; // 天尊 of a seat whose side byte is 2: no rows
    client.form->seats.Cash(0).setCaption(QStringLiteral("1500金币"));
    settle({{.seat = 1, .outcome = 1, .landlord = 1, .side = 1},
            {.seat = 2, .outcome = 2},
            {.seat = 4, .outcome = 2},
            {.seat = 8, .outcome = 2, .side = 2}});
    // Opening rows: 初始, 房间底金, "".
    EXPECT_EQ(rowsOf(0, 3, 2),
              (Lines{QStringLiteral("六喜A  ：-100"), QStringLiteral("七巧Q  ：-400")}));
    EXPECT_EQ(rowsOf(1, 3, 2),
              (Lines{QStringLiteral("六喜A  ：+500"), QStringLiteral("七巧Q  ：-800")}));
    EXPECT_EQ(rowsOf(2, 3, 2),
              (Lines{QStringLiteral("六喜A  ：-200"), QStringLiteral("七巧Q  ：+2000")}));
    EXPECT_EQ(rowsOf(3, 3, 2),
              (Lines{QStringLiteral("六喜A  ：-200"), QStringLiteral("七巧Q  ：-800")}));
    EXPECT_EQ(lines(0).value(0), QStringLiteral("初始：1500金币"));
    EXPECT_EQ(lines(0).value(1), QStringLiteral("房间底金：100金币"));
    EXPECT_FALSE(misaligned);
}

TEST_F(VariantBoard, TheLandlordsTianZunWithTheGrabMultiplier)
{
    state().play.BombCount[0][5][9 - 5] = 1;
    settle({{.seat = 1, .outcome = 1, .landlord = 1, .side = 1, .bidKind = 1},
            {.seat = 2, .outcome = 2, .dealer = 0},
            {.seat = 4, .outcome = 2},
            {.seat = 8, .outcome = 2}},
           10);
    EXPECT_EQ(lines(0).value(3), QStringLiteral("天尊   ：+360"));
    for (int p = 1; p < 4; ++p)
        EXPECT_EQ(lines(p).value(3), QStringLiteral("天尊   ：-120"));
}

TEST_F(VariantBoard, BombTotalsAndAnUnknownSignKeepTheListsLevel)
{
    settle({{.seat = 1, .outcome = 1, .bombSign = 2, .bombTotal = 300},
            {.seat = 2, .bombSign = 1, .bombTotal = 100},
            {.seat = 4, .bombSign = 5, .bombTotal = 100},
            {.seat = 8, .bombSign = 2}});
    EXPECT_EQ(rowsOf(0, 3, 4),
              (Lines{QStringLiteral(" "), QStringLiteral("炸弹总得分： -300"),
                     QStringLiteral("-----------"), QStringLiteral(" ")}));
    EXPECT_EQ(lines(1).value(4), QStringLiteral("炸弹总得分： +100"));
    EXPECT_EQ(lines(2).value(4), QString());
    EXPECT_EQ(lines(3).value(4), QStringLiteral("炸弹总得分:  0"));
    EXPECT_FALSE(misaligned);
}

struct TaskCase
{
    const char *name;
    std::int16_t rule;
    int completer; // display position
    bool landlordCompletes;
    std::uint8_t bidKind; // 2 gives both multipliers 2; 0 gives 1
    int task;
    std::int16_t count;
    std::int32_t stake;
    std::array<const char16_t *, 4> rows; // by display position; null: no row
};

const TaskCase kTaskCases[] = {
        {"FarmerOnceRule1",
         1,
         2,
         false,
         0,
         1,
         1,
         100,
         {u"任务1  ：- 100", u"任务1  ：- 200", u"任务1  ：+500", u"任务1  ：- 200"}},
        {"LandlordTwiceRule7",
         7,
         0,
         true,
         2,
         2,
         2,
         50,
         {u"任务2(×2)：+1800", u"任务2(×2)：- 600", u"任务2(×2)：- 600", u"任务2(×2)：- 600"}},
        {"Rule3AsRule1",
         3,
         1,
         false,
         0,
         2,
         1,
         10,
         {u"任务2  ：- 20", u"任务2  ：+100", u"任务2  ：- 40", u"任务2  ：- 40"}},
        {"Rule9AsRule7",
         9,
         3,
         false,
         0,
         1,
         3,
         10,
         {u"任务1(×3)：- 60", u"任务1(×3)：- 120", u"任务1(×3)：- 120", u"任务1(×3)：+300"}},
        {"Rule5HasNoTasks", 5, 1, false, 0, 1, 1, 10, {nullptr, nullptr, nullptr, nullptr}},
        {"Rule0HasNoTasks", 0, 1, false, 0, 1, 1, 10, {nullptr, nullptr, nullptr, nullptr}},
        {"NegativeRule", -1, 1, false, 0, 1, 1, 10, {nullptr, nullptr, nullptr, nullptr}},
        {"ZeroCount", 1, 1, false, 0, 1, 0, 10, {nullptr, nullptr, nullptr, nullptr}},
};

class TaskRows : public VariantBoard, public ::testing::WithParamInterface<TaskCase>
{
};

TEST_P(TaskRows, EachSectionPutsOneRowOnEveryList)
{
    const TaskCase &c = GetParam();
    state().settlement.TaskType = c.rule;
    state().settlement
            .TaskCount[static_cast<std::size_t>(c.completer)][static_cast<std::size_t>(c.task)]
            = c.count;
    std::vector<XiLine> seats{{.seat = 1}, {.seat = 2}, {.seat = 4}, {.seat = 8}};
    // The landlord is the own seat.
    seats[0].landlord = 1;
    seats[0].side = 1;
    seats[0].bidKind = c.bidKind;
    settle(seats, c.stake);
    // Opening rows (3) and the bomb totals (4) come first.
    for (int p = 0; p < 4; ++p) {
        const char16_t *row = c.rows[static_cast<std::size_t>(p)];
        EXPECT_EQ(lines(p).value(7), row ? QString::fromUtf16(row) : QStringLiteral(" ")) << p;
    }
    EXPECT_FALSE(misaligned);
}

INSTANTIATE_TEST_SUITE_P(Rules, TaskRows, ::testing::ValuesIn(kTaskCases),
                         [](const auto &test) { return std::string(test.param.name); });

TEST_F(VariantBoard, TotalsOfAWinnerAsTheWorkedExample)
{
    state().commands.WinnerText = "赢家";
    state().loop.propScore.coins[1] = 20;
    state().loop.propScore.PropText[1] = QStringLiteral("宝箱00000255");
    settle({{.seat = 1, .outcome = 2},
            {.seat = 2,
             .outcome = 1,
             .landlord = 1,
             .side = 1,
             .dealer = 0,
             .baseSign = 1,
             .base = 50,
             .total = 300,
             .finalAmount = 280,
             .level = 40},
            {.seat = 4, .outcome = 2},
            {.seat = 8, .outcome = 2}});
    const Lines all = lines(1);
    const Lines tail = all.mid(all.size() - 14);
    EXPECT_EQ(tail,
              (Lines{QStringLiteral(" "), QStringLiteral("喜金任务:  0"),
                     QStringLiteral("-----------"), QString(), QStringLiteral("闲家"), QString(),
                     QStringLiteral(" +50金币"), QStringLiteral(" "),
                     QStringLiteral("总分：300金币"), QStringLiteral("-----------"), QString(),
                     QStringLiteral("赢家"), QString(), QStringLiteral("总分：300金币")}));
    EXPECT_EQ(lines(5), Lines{QStringLiteral("最终分：300金币")});
    EXPECT_EQ(heroLines(1), Lines{QStringLiteral("300")});
    EXPECT_EQ(state().commands.custom[1].wins, 1);
    EXPECT_EQ(state().commands.custom[1].coins, 1300);
    EXPECT_EQ(client.form->seats.Level(1).Caption(), QStringLiteral("第四十级"));
    EXPECT_EQ(score().StateColour(1), 255);
    EXPECT_EQ(lines(1).value(3), QStringLiteral("宝箱"));
    EXPECT_EQ(state().loop.propScore.coins[1], 0);
    EXPECT_TRUE(state().loop.propScore.PropText[1].isEmpty());
    // The loser's block of a seat that lost nothing.
    EXPECT_EQ(lines(0).mid(lines(0).size() - 4),
              (Lines{QString(), QString(), QString(), QStringLiteral("总分： 0金币")}));
    EXPECT_EQ(lines(4), Lines{QStringLiteral("总分： 0金币")});
    EXPECT_EQ(state().commands.custom[0].losses, 1);
}

struct TotalCase
{
    const char *name;
    XiLine own;
    bool showCard, wealth;
    Lines expected; // from the task bonus's " " to the hand total's rule
};

const TotalCase kTotalCases[] = {
        {"TaskBonusMinus",
         {.seat = 1, .outcome = 2, .taskSign = 2, .taskBonus = 120, .total = 40},
         false,
         false,
         {QStringLiteral(" "), QStringLiteral("喜金任务： -120"), QStringLiteral("-----------"),
          QString(), QStringLiteral(" "), QString(), QStringLiteral(" 0"), QStringLiteral(" "),
          QStringLiteral("总分： -40金币"), QStringLiteral("-----------")}},
        {"UnknownSignsKeepTheirPlaces",
         {.seat = 1, .outcome = 2, .taskSign = 5, .taskBonus = 120, .baseSign = 9, .base = 7},
         false,
         false,
         {QStringLiteral(" "), QString(), QStringLiteral("-----------"), QString(),
          QStringLiteral(" "), QString(), QString(), QStringLiteral(" "),
          QStringLiteral("总分： +0金币"), QStringLiteral("-----------")}},
        {"BaseOf10000Minus",
         {.seat = 1,
          .outcome = 0,
          .landlord = 1,
          .bidKind = 3,
          .dealer = 1,
          .baseSign = 2,
          .base = 10000},
         false,
         false,
         {QStringLiteral(" "), QStringLiteral("喜金任务:  0"), QStringLiteral("-----------"),
          QString(), QStringLiteral("庄家"), QStringLiteral("闪牌"), QStringLiteral(" -10000金币"),
          QStringLiteral(" "), QStringLiteral("平局"), QStringLiteral("-----------")}},
        {"BaseBeyond32BitsIsShownWhole",
         {.seat = 1, .outcome = 1, .baseSign = 1, .base = 0x80000000u, .total = 5},
         false,
         false,
         {QStringLiteral(" "), QStringLiteral("喜金任务:  0"), QStringLiteral("-----------"),
          QString(), QStringLiteral(" "), QString(), QStringLiteral(" +2147483648金币"),
          QStringLiteral(" "), QStringLiteral("总分：5金币"), QStringLiteral("-----------")}},
        {"SubtotalWithWealthOnly",
         {.seat = 1,
          .outcome = 1,
          .bombSign = 1,
          .bombTotal = 300,
          .taskSign = 2,
          .taskBonus = 120,
          .baseSign = 1,
          .base = 50},
         false,
         true,
         {QStringLiteral(" "), QStringLiteral("喜金任务： -120"), QStringLiteral("-----------"),
          QString(), QStringLiteral(" "), QString(), QStringLiteral(" +50金币"),
          QStringLiteral(" "), QStringLiteral("小计：230金币"), QStringLiteral("财富加倍 ×4"),
          QStringLiteral("总分：0金币"), QStringLiteral("-----------")}},
};

class VariantTotals : public VariantBoard, public ::testing::WithParamInterface<TotalCase>
{
};

TEST_P(VariantTotals, SeatRows)
{
    const TotalCase &c = GetParam();
    state().commands.ShowCardDouble = c.showCard ? 1 : 0;
    state().core.WealthDouble = c.wealth ? 1 : 0;
    state().commands.WealthDoubleText = "4";
    settle({c.own, {.seat = 2}, {.seat = 4}, {.seat = 8}});
    // After the opening rows (3) and the bomb totals (4).
    EXPECT_EQ(lines(0).mid(7, c.expected.size()), c.expected)
            << lines(0).join(QLatin1Char('|')).toStdString();
    EXPECT_FALSE(misaligned);
}

INSTANTIATE_TEST_SUITE_P(Rows, VariantTotals, ::testing::ValuesIn(kTotalCases),
                         [](const auto &test) { return std::string(test.param.name); });

TEST_F(VariantBoard, ItemLinesTakeTheirColourFromANumericSuffixOnly)
{
    auto &items = state().loop.propScore;
    items.PropText[0] = QStringLiteral("abc16711680|00000255");
    items.PropText[2] = QStringLiteral("short|x1234567z|99999999");
    items.seatTexts[0] = QStringLiteral("name");
    settle({{.seat = 1}, {.seat = 2}, {.seat = 4}, {.seat = 8}});
    EXPECT_EQ(rowsOf(0, 3, 4), (Lines{QStringLiteral("abc"), QString(), QString(), QString()}));
    EXPECT_EQ(score().StateColour(0), 255);
    EXPECT_EQ(rowsOf(2, 3, 4),
              (Lines{QStringLiteral("short"), QStringLiteral("x1234567z"), QString(), QString()}));
    EXPECT_EQ(score().StateColour(2), 0);
    EXPECT_EQ(rowsOf(1, 3, 4), (Lines{QString(), QString(), QString(), QString()}));
    EXPECT_TRUE(items.seatTexts[0].isEmpty());
    EXPECT_FALSE(misaligned);
}

TEST_F(VariantBoard, CloseStartsTheFifteenSecondClockInBlackAndSavesTheHand)
{
    settle({{.seat = 1, .outcome = 1}, {.seat = 2}, {.seat = 4}, {.seat = 8}});
    EXPECT_EQ(state().loop.clocks.ClockSeconds, 15);
    EXPECT_EQ(client.form->turn.Number.Caption(), QStringLiteral("15"));
    EXPECT_EQ(client.form->turn.Number.ForeColor(), QColor(0, 0, 0));
    EXPECT_EQ(state().core.ResultPhase, 2);
    EXPECT_EQ(state().settlement.JuNum, 1);
    EXPECT_EQ(settlement->collector().count(), 0);
    EXPECT_GE(stages, 5);
    score().ClearLists();
    settlement->OpenHand(1);
    EXPECT_EQ(lines(0).value(1), QStringLiteral("房间底金：100金币"));
}

TEST_F(VariantBoard, LeavingAfterTheSettlementReleasesARunningItemLibrary)
{
    fakes::RecordingItems items;
    items.hasLibrary = true;
    core::CoreContext &base = *context;
    core::CoreContext ctx{base.state,  base.rings,      base.clock,   base.socket, base.hall,
                          base.timers, base.window,     base.play,    base.sound,  items,
                          base.video,  base.settlement, base.process, base.chat};
    CoreSettlement withItems(client.state, windows, *client.form, ctx);
    withItems.setRecordsPath(dir.filePath(QStringLiteral("info.qn")));
    state().core.LeaveAfterSettlement = true;
    state().core.ResultPhase = 1;
    for (int running : {0, 2}) {
        state().gamedllstate = static_cast<std::int16_t>(running);
        for (std::uint8_t seat : {1, 2, 4, 8})
            withItems.ShowScoreXi(xiFrame({.seat = seat}));
        EXPECT_EQ(state().core.ResultPhase, 1);
    }
    EXPECT_EQ(items.calls, std::vector<std::string>{"ExitGameDll 0"});
}

// Whatever the frames hold, the four lists have the same length after
// every stage.
TEST_F(VariantBoard, ListsStayAlignedOnRandomFrames)
{
    std::mt19937 random(20261211);
    auto byte = [&](int below) {
        return static_cast<std::uint8_t>(random() % below);
    };
    for (int round = 0; round < 60; ++round) {
        auto &table = state().play;
        table = {};
        for (int n = byte(6); n > 0; --n)
            table.BombCount[byte(4)][byte(17)][byte(5)] = byte(3);
        table.BidRowOn = byte(2) == 1;
        table.BidRowPos = byte(5);
        state().settlement.TaskType = static_cast<std::int16_t>(byte(12) - 1);
        for (auto &seat : state().settlement.TaskCount)
            for (auto &count : seat)
                count = static_cast<std::int16_t>(byte(4) - 1);
        auto &items = state().loop.propScore;
        for (auto &text : items.PropText) {
            const char *const samples[] = {"", "a|b", "x00000255|||", "12345678", "no|7"};
            text = QString::fromLatin1(samples[byte(5)]);
        }
        state().commands.ShowCardDouble = byte(2);
        state().core.WealthDouble = byte(2);
        state().core.RuleSetFlag = true;
        std::vector<XiLine> seats(4);
        const std::uint8_t bits[] = {1, 2, 4, 8};
        for (int i = 0; i < 4; ++i) {
            XiLine &l = seats[static_cast<std::size_t>(i)];
            l.seat = bits[i];
            l.outcome = byte(4);
            l.landlord = byte(3);
            l.side = byte(3);
            l.bidKind = byte(4);
            l.dealer = byte(3);
            l.bombSign = byte(4);
            l.bombTotal = random() % 3 == 0 ? 0 : random();
            l.taskSign = byte(4);
            l.taskBonus = random() % 3 == 0 ? 0 : random();
            l.baseSign = byte(4);
            l.base = random() % 3 == 0 ? 0 : (std::uint64_t{random()} << 32 | random());
            l.total = random();
            l.finalAmount = random() % 1000;
            l.capped = byte(2) == 1;
        }
        std::shuffle(seats.begin(), seats.end(), random);
        settle(seats, static_cast<std::int32_t>(random()));
        settlement->DeleteHandRecords();
        ASSERT_FALSE(misaligned) << "round " << round;
        EXPECT_EQ(score().State(4).count(), 1);
    }
}

TEST_F(VariantBoard, TheHeldSettlementCompletesTheSetTheDispatcherBegan)
{
    state().gamedllstate = 1;
    state().loop.PropReady = true;
    core::CoreContext &base = *context;
    core::CoreContext ctx{base.state,  base.rings,  base.clock,   base.socket, base.hall,
                          base.timers, base.window, base.play,    base.sound,  base.items,
                          base.video,  *settlement, base.process, base.chat};
    core::Dispatcher dispatcher(ctx);
    state().core.RuleSetFlag = false;
    dispatcher.ProcessMessage(xiFrame({.seat = 1, .outcome = 1}));
    dispatcher.ProcessMessage(xiFrame({.seat = 2}));
    dispatcher.ProcessMessage(xiFrame({.seat = 4}));
    dispatcher.ProcessMessage(xiFrame({.seat = 8}));
    EXPECT_EQ(state().settlement.JuNum, 0);
    EXPECT_EQ(settlement->collector().count(), 3);
    EXPECT_TRUE(state().loop.SettlementDeferred);

    // The library has nothing to announce: the main loop shows the held
    // frame on the variant's board.
    core::ItemSteps steps(ctx, [] { return 0.0; });
    steps.Run();
    EXPECT_EQ(state().settlement.JuNum, 1);
    EXPECT_EQ(state().loop.clocks.ClockSeconds, 15);
    EXPECT_EQ(lines(4).size(), 1);
}

TEST_F(VariantBoard, ScreenshotWithBombsAndTasks)
{
    state().commands.WinnerText = "玩家一 玩家二";
    auto &bombs = state().play.BombCount;
    bombs[2][12][7 - 5] = 1;
    bombs[0][0][9 - 5] = 1;
    state().settlement.TaskType = 1;
    state().settlement.TaskCount[1][1] = 1;
    state().settlement.TaskCount[0][2] = 2;
    settle({{.seat = 1,
             .outcome = 1,
             .landlord = 1,
             .side = 1,
             .bidKind = 1,
             .bombSign = 1,
             .bombTotal = 1200,
             .taskSign = 1,
             .taskBonus = 400,
             .baseSign = 1,
             .base = 300,
             .total = 1900,
             .finalAmount = 1900,
             .level = 5},
            {.seat = 2,
             .outcome = 2,
             .dealer = 1,
             .bombSign = 2,
             .bombTotal = 400,
             .taskSign = 2,
             .taskBonus = 100,
             .baseSign = 2,
             .base = 100,
             .total = 600,
             .finalAmount = 600,
             .level = 3},
            {.seat = 4,
             .outcome = 2,
             .bombSign = 2,
             .bombTotal = 400,
             .taskSign = 1,
             .taskBonus = 100,
             .baseSign = 2,
             .base = 100,
             .total = 700,
             .finalAmount = 700,
             .capped = true},
            {.seat = 8,
             .outcome = 2,
             .bombSign = 2,
             .bombTotal = 400,
             .taskSign = 2,
             .taskBonus = 400,
             .baseSign = 2,
             .base = 100,
             .total = 600,
             .finalAmount = 600}});
    QCoreApplication::processEvents();
    tessaroc::test::grabToPng(score(), QStringLiteral("settlement_variant_board"));
    EXPECT_FALSE(misaligned);
}

} // namespace
} // namespace tessaroc::settlement::testing
