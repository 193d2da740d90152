#include "ItemFixture.h"

namespace tessaroc::test {
namespace {

using Strings = std::vector<std::string>;

// A held hand whose score information names the seats with a result.
struct TreasureBoxes : ItemFixture
{
    void scores(std::array<double, 4> coins, std::array<QString, 8> texts)
    {
        state.loop.propScore.coins = coins;
        state.loop.propScore.seatTexts = texts;
    }
    // Runs the main loop's item steps for whole seconds.
    void seconds(int n)
    {
        for (int i = 0; i < 20 * n; ++i)
            steps.Run();
    }
    int visibleBoxes() const
    {
        int n = 0;
        for (const items::BoxControl &b : bridge.controls().ImgProp)
            n += b.visible ? 1 : 0;
        return n;
    }
    // The library's calls apart from the pump's polls.
    Strings libraryCalls() const
    {
        Strings out;
        for (const std::string &call : library->calls) {
            if (call != "CheckSendBuff")
                out.push_back(call);
        }
        return out;
    }
    // A box's place; a move goes in single-precision steps, so it ends within
    // a hair of its target.
    ::testing::AssertionResult at(int m, double x, double y) const
    {
        if (std::abs(box(m).left - x) < 0.01 && std::abs(box(m).top - y) < 0.01)
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure()
                << "box " << m << " at " << box(m).left << ", " << box(m).top;
    }
    void countUp()
    {
        while (bridge.ResultAnimOn)
            bridge.TimerProp_Timer();
    }
};

TEST_F(TreasureBoxes, NobodyWithAResultShowsTheSettlementAtOnce)
{
    start(true);
    scores({}, {});
    bridge.PlayBaoXiang();
    EXPECT_EQ(settlement.shown.size(), 1u);
    EXPECT_EQ(library->calls, Strings{"InitShowNext 0"});
    EXPECT_EQ(visibleBoxes(), 0);
    EXPECT_FALSE(state.loop.BoxCountdownOn);
}

TEST_F(TreasureBoxes, TheOwnPlayerPicksABoxAndItsCoinsCountUp)
{
    start(true);
    scores({300, 0, 0, 0}, {QStringLiteral("me"), {}, {}, {}, {}, {}, {}, {}});
    bridge.PlayBaoXiang();
    EXPECT_EQ(visibleBoxes(), 5);
    for (int m = 0; m < 5; ++m) {
        EXPECT_TRUE(box(m).enabled);
        EXPECT_EQ(box(m).picture, items::BoxControl::Picture::Closed);
        EXPECT_EQ(QPointF(box(m).left, box(m).top), QPointF(100 + 60 * m, 200));
    }
    const items::NoticeLabel &label = bridge.controls().LbProp;
    EXPECT_EQ(label.caption, QStringLiteral("请选择一个宝箱打开\r\n5"));
    EXPECT_EQ(label.width, 18 * 14);
    EXPECT_EQ(label.left, 512 - 18 * 14 / 2);
    EXPECT_TRUE(state.loop.BoxCountdownOn);

    seconds(3);
    // The countdown's lines are joined as the first notice's are.
    EXPECT_EQ(window.propLabels.back(), QStringLiteral("请选择一个宝箱打开\r\n2"));
    bridge.ImgProp_Click(3);
    bridge.ImgProp_Click(1);
    EXPECT_EQ(bridge.BaoChs[0], 3) << "a second click does nothing";
    EXPECT_EQ(visibleBoxes(), 0) << "the others vanish, the chosen one reaches the centre";
    EXPECT_TRUE(at(3, 487, 280));
    EXPECT_EQ(host.waits, 5);
    EXPECT_EQ(libraryCalls(), Strings{"ShowGif 1 1"});
    EXPECT_TRUE(bridge.ResultAnimOn);
    EXPECT_EQ(bridge.timerProp().interval(), 100);
    seconds(1);
    EXPECT_FALSE(state.loop.BoxCountdownOn) << "the countdown stops at its next step";

    bridge.TimerProp_Timer();
    EXPECT_EQ(label.caption, QStringLiteral("me0  金币"));
    bridge.TimerProp_Timer();
    EXPECT_EQ(label.caption, QStringLiteral("me30 金币"));
    countUp();
    EXPECT_EQ(label.caption, QStringLiteral("me300金币"));
    EXPECT_EQ(host.history, std::vector<QString>{QStringLiteral("me300金币")});
    EXPECT_EQ(libraryCalls(), (Strings{"ShowGif 1 1", "ShowGif 1 0", "InitShowNext 0"}));
    EXPECT_TRUE(box(3).visible);
    EXPECT_EQ(box(3).picture, items::BoxControl::Picture::Open);
    EXPECT_TRUE(at(3, 500, 600)) << "at the own seat";
    EXPECT_EQ(settlement.shown.size(), 1u);
    EXPECT_FALSE(bridge.timerProp().isActive());
}

TEST_F(TreasureBoxes, WithoutAClickARandomBoxOpensAfterFiveSeconds)
{
    start(true);
    scores({0, 0, 0, 0}, {QStringLiteral("me"), QStringLiteral("flower"), {}, {}, {}, {}, {}, {}});
    nextRandom = 0.625; // 2.5, rounded to the even 2
    bridge.PlayBaoXiang();
    seconds(4);
    EXPECT_FALSE(bridge.ResultAnimOn);
    seconds(1);
    EXPECT_TRUE(bridge.ResultAnimOn);
    EXPECT_EQ(bridge.BaoChs[0], 2);
}

TEST_F(TreasureBoxes, OtherSeatsBoxesOpenByThemselvesAndFlyToTheirSeats)
{
    start(true);
    scores({0, 500, 0, -7},
           {QString(), QString(), QStringLiteral("bo"), QString(), QString(), QString(),
            QStringLiteral("cy"), QStringLiteral("ring|hat")});
    host.randoms = {0.9, 0.1};
    bridge.PlayBaoXiang();
    EXPECT_EQ(bridge.BaoChs, (std::array<int, 4>{-1, 4, -1, 5}));
    EXPECT_EQ(visibleBoxes(), 10);
    for (int m = 0; m < 10; ++m)
        EXPECT_FALSE(box(m).enabled) << m;
    EXPECT_EQ(bridge.controls().LbProp.caption, QStringLiteral("请等待其他玩家打开宝箱\r\n5"));

    seconds(2);
    EXPECT_EQ(window.propLabels.back(), QStringLiteral("请等待玩家打开宝箱\r\n3"));
    EXPECT_FALSE(bridge.ResultAnimOn);
    seconds(1);
    EXPECT_TRUE(bridge.ResultAnimOn) << "both open after three seconds";
    EXPECT_EQ(visibleBoxes(), 0);
    // Two lines for the coins won, one for each item.
    EXPECT_EQ(bridge.controls().LbProp.height, 4 * 30);

    bridge.TimerProp_Timer();
    EXPECT_EQ(bridge.controls().LbProp.caption, QStringLiteral("bo0  金币\r\ncy0  金币"));
    countUp();
    EXPECT_EQ(bridge.controls().LbProp.caption,
              QStringLiteral("bo500金币\r\ncy-7 金币\r\nring\r\nhat"));
    EXPECT_EQ(host.systemLines.back(), bridge.controls().LbProp.caption);
    EXPECT_TRUE(at(4, 100, 300)) << "seat 1";
    EXPECT_TRUE(at(5, 900, 300)) << "seat 3";
    EXPECT_EQ(settlement.shown.size(), 1u);
}

TEST_F(TreasureBoxes, ShortCountUpsShowTheFinalTextAtOnce)
{
    for (std::int16_t count : {std::int16_t{1}, std::int16_t{0}}) {
        SCOPED_TRACE(count);
        settlement.shown.clear();
        items::BoxLayout layout = boxLayout();
        layout.BoxTimings = {100, count};
        library->boxLayout = layout;
        library->baoInfoAnswer = true;
        state.gamedllstate = 0;
        bridge.PropDll.reset();
        bridge.InitGameDll();
        scores({120, 0, 0, 0}, {QStringLiteral("me"), {}, {}, {}, {}, {}, {}, {}});
        bridge.PlayBaoXiang();
        bridge.ImgProp_Click(0);
        if (count == 1)
            bridge.TimerProp_Timer();
        EXPECT_EQ(bridge.controls().LbProp.caption, QStringLiteral("me120金币"));
        EXPECT_FALSE(bridge.ResultAnimOn);
        EXPECT_EQ(settlement.shown.size(), 1u);
        for (double a : bridge.AmountStep)
            EXPECT_TRUE(std::isfinite(a));
        state.loop.BoxChosen = false;
    }
}

TEST_F(TreasureBoxes, ClicksCountOnlyWithBoxesRunning)
{
    start(false);
    bridge.ImgProp_Click(0);
    EXPECT_FALSE(state.loop.BoxChosen);
    EXPECT_FALSE(bridge.ResultAnimOn);
}

} // namespace
} // namespace tessaroc::test
