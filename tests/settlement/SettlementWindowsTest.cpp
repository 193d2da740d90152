#include "SettlementFixture.h"

#include "Grab.h"
#include "settlement/ListBoxes.h"

#include <QCoreApplication>

namespace tessaroc::settlement::testing {
namespace {

double twips(int pixels)
{
    return pixels * 15.0;
}

TEST(ScoreWindowLayout, PlacedByTheTwipsTable)
{
    ScoreWindow score;
    EXPECT_EQ(score.width(), 639);
    EXPECT_EQ(score.height(), 480);
    EXPECT_EQ(score.windowTitle(), QStringLiteral("战绩板"));
    const double columns[] = {120, 2520, 4920, 7320};
    for (int p = 0; p < 4; ++p) {
        const double x = columns[p];
        EXPECT_DOUBLE_EQ(score.Tou(p).Left() * 15, x);
        EXPECT_DOUBLE_EQ(score.Tou(p).Top() * 15, 480);
        EXPECT_DOUBLE_EQ(score.ID(p).Left() * 15, x + 720);
        EXPECT_EQ(score.ID(p).Caption(), QStringLiteral("玩家") + QString::number(p));
        EXPECT_EQ(twips(score.State(p).x()), x);
        EXPECT_EQ(twips(score.State(p).y()), 1320);
        EXPECT_EQ(twips(score.State(p).width()), 2175);
        EXPECT_EQ(twips(score.State(p).height()), 4890);
        EXPECT_EQ(twips(score.State(p + 4).y()), 6360);
        EXPECT_EQ(twips(score.State(p + 4).height()), 750);
    }
    EXPECT_EQ(twips(score.State(7).x()), 7350);
    EXPECT_DOUBLE_EQ(score.Image1(1).Left() * 15, 9240);
    EXPECT_TRUE(score.isTranslucent());
    EXPECT_TRUE(score.isDraggable());
}

TEST(HeroWindowLayout, PlacedByTheTwipsTable)
{
    HeroWindow hero;
    EXPECT_EQ(hero.width(), 655);
    EXPECT_EQ(hero.height(), 454);
    EXPECT_EQ(hero.Label1.Caption(), QStringLiteral("局 数"));
    EXPECT_EQ(hero.Label2.Caption(), QStringLiteral("输赢总分："));
    EXPECT_EQ(twips(hero.Num().x()), 120);
    EXPECT_EQ(twips(hero.Num().height()), 4650);
    EXPECT_EQ(twips(hero.Grade(2).width()), 1935);
    EXPECT_EQ(twips(hero.Grade(3).x()), 7920);
    EXPECT_DOUBLE_EQ(hero.sunScore(1).Left() * 15, 3960 + 120);
    EXPECT_DOUBLE_EQ(hero.ID(0).Left() * 15, 2040 + 600);
    EXPECT_FALSE(hero.isDraggable());
}

void fillLines(QListWidget &list, int n)
{
    list.clear();
    for (int i = 0; i < n; ++i)
        list.addItem(QString::number(i));
}

TEST(ScoreWindowSync, AMainListMovesTheOtherMainListsOnly)
{
    ScoreWindow score;
    score.show();
    for (int j = 0; j < 8; ++j)
        fillLines(score.State(j), j < 4 ? 40 : 1);
    fillLines(score.State(3), 3); // a shorter list takes its last line
    setListIndex(score.State(2), 5);
    score.State_Click(2);
    EXPECT_EQ(ListIndex(score.State(0)), 5);
    EXPECT_EQ(ListIndex(score.State(1)), 5);
    EXPECT_EQ(ListIndex(score.State(3)), 2);
    EXPECT_EQ(ListIndex(score.State(4)), -1);

    setListIndex(score.State(6), 0);
    score.State_Click(6);
    for (int j = 0; j <= 5; ++j)
        EXPECT_EQ(ListIndex(score.State(j)), 0) << j;
}

TEST(HeroWindowSync, ClicksMoveEveryListAndADoubleClickAsksForTheHand)
{
    HeroWindow hero;
    hero.show();
    fillLines(hero.Num(), 3);
    for (int p = 0; p < 4; ++p)
        fillLines(hero.Grade(p), p == 3 ? 1 : 3);
    int asked = -1;
    hero.onOpenHand = [&](int hand) {
        asked = hand;
    };
    setListIndex(hero.Grade(1), 1);
    hero.Grade_Click(1);
    hero.DoubleClicked(1);
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(ListIndex(hero.Num()), 1);
    EXPECT_EQ(ListIndex(hero.Grade(0)), 1);
    EXPECT_EQ(ListIndex(hero.Grade(3)), 0);
    setListIndex(hero.Num(), 2);
    hero.Num_Click();
    EXPECT_EQ(ListIndex(hero.Grade(2)), 2);
    hero.Num().setCurrentRow(-1);
    hero.DoubleClicked(-1);
    EXPECT_EQ(asked, 0);
}

class SettlementWindows : public SettlementFixture
{
};

TEST_F(SettlementWindows, DoubleClickingTheHallOfFameOpensThatHand)
{
    seatPlayers();
    for (int hand = 1; hand <= 3; ++hand) {
        std::vector<wire::MessageFrame> frames;
        for (std::uint8_t seat : {1, 2, 4, 8})
            frames.push_back(resultFrame({.seat = seat,
                                          .outcome = seat == 2 ? std::uint8_t{1} : std::uint8_t{2},
                                          .finalAmount = static_cast<std::uint64_t>(hand * 100),
                                          .sign1 = 1,
                                          .amount2 = static_cast<std::uint64_t>(hand * 100),
                                          .level = 3}));
        deliverAll(frames);
    }
    EXPECT_EQ(heroLines(-1).size(), 3);
    EXPECT_EQ(heroLines(1),
              (QStringList{QStringLiteral("100"), QStringLiteral("200"), QStringLiteral("300")}));
    EXPECT_EQ(hero().sunScore(1).Caption(), QStringLiteral("600"));
    settlement->ShowHero();
    tessaroc::test::grabToPng(hero(), QStringLiteral("settlement_hero_three_hands"));
    QCoreApplication::processEvents();
    tessaroc::test::grabToPng(score(), QStringLiteral("settlement_board"));

    score().hide();
    setListIndex(hero().Grade(1), 1);
    hero().Grade_Click(1);
    hero().DoubleClicked(1);
    EXPECT_TRUE(score().isVisible());
    EXPECT_EQ(ListLines(score().State(5)), QStringList{QStringLiteral("最终分：200金币")});
    EXPECT_EQ(ListIndex(hero().Num()), 1);

    windows.ResetRecords();
    EXPECT_FALSE(hero().isVisible());
    EXPECT_EQ(hero().Num().count(), 0);
    EXPECT_EQ(windows.SumScore[1], 0);
}

} // namespace
} // namespace tessaroc::settlement::testing
