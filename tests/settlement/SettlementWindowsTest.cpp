#include "SettlementFixture.h"

#include "Grab.h"
#include "forms/FittedText.h"
#include "settlement/ListBoxes.h"
#include "support/PictureStore.h"

#include <QCoreApplication>
#include <QImage>

#include <set>

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

// The cream paper of a board's background, never its frame, its border
// line or an ornament (the paper's shading and grain allowed for).
bool onPaper(QRgb pixel)
{
    return qRed(pixel) >= 0xe0 && qGreen(pixel) >= 0xd0 && qBlue(pixel) >= 0xb0;
}

// The pixels of the background along a list's outline that are not paper.
QStringList offThePaper(const QImage &back, const QListWidget &list)
{
    QStringList off;
    const QRect r = list.geometry();
    const auto look = [&](int x, int y) {
        if (!back.rect().contains(x, y) || !onPaper(back.pixel(x, y)))
            off << QStringLiteral("(%1,%2) %3").arg(x).arg(y).arg(back.pixel(x, y), 0, 16);
    };
    for (int y = r.top(); y <= r.bottom(); ++y) {
        look(r.left(), y);
        look(r.right(), y);
    }
    for (int x = r.left(); x <= r.right(); ++x) {
        look(x, r.top());
        look(x, r.bottom());
    }
    return off;
}

// Both boards place their lists close to the window's edges, the settlement
// board's last final line 4 pixels from the right: each stands on the paper
// inside the frame's border, never on the border or the frame.
TEST(BoardLists, EveryListStandsOnThePaperInsideTheFrame)
{
    ScoreWindow score;
    HeroWindow hero;
    const QImage scoreBack = support::PictureStore::designPicture(u"dialog_score").toImage();
    const QImage heroBack = support::PictureStore::designPicture(u"dialog_hero").toImage();
    ASSERT_EQ(scoreBack.size(), score.size());
    ASSERT_EQ(heroBack.size(), hero.size());
    for (int j = 0; j < 8; ++j) {
        const QStringList off = offThePaper(scoreBack, score.State(j));
        EXPECT_TRUE(off.isEmpty()) << "State(" << j << ") at " << off.join(u' ').toStdString();
    }
    EXPECT_TRUE(offThePaper(heroBack, hero.Num()).isEmpty());
    for (int p = 0; p < 4; ++p) {
        const QStringList off = offThePaper(heroBack, hero.Grade(p));
        EXPECT_TRUE(off.isEmpty()) << "Grade(" << p << ") at " << off.join(u' ').toStdString();
    }
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

// A table of the own player and three computer players, whose names begin
// with their numbers: the boards' name labels, two characters wide, tell
// them apart. The boards stay as grabs/board_names_settlement.png and
// grabs/board_names_hall_of_fame.png (the boards are not scaled).
TEST_F(SettlementWindows, FourNamesOnTheBoards)
{
    const char *names[] = {"老船长", "二号电脑", "三号电脑", "四号电脑"};
    seatPlayers();
    for (int p = 0; p < 4; ++p) {
        const auto at = static_cast<std::size_t>(p);
        state().commands.custom[at].nickname = names[p];
        state().commands.ScoreNames[at].name = names[p];
        settlement->SetSeat(p, QString::fromUtf8(names[p]), p * 5);
    }
    deliverAll({resultFrame({.seat = 1,
                             .outcome = 1,
                             .finalAmount = 300,
                             .landlord = 1,
                             .sign1 = 1,
                             .amount1 = 300,
                             .amount2 = 300,
                             .level = 2}),
                resultFrame({.seat = 2, .outcome = 2, .finalAmount = 100, .level = 1}),
                resultFrame({.seat = 4, .outcome = 2, .finalAmount = 100, .level = 1}),
                resultFrame({.seat = 8, .outcome = 2, .finalAmount = 100, .level = 1})});
    settlement->ShowHero();
    QCoreApplication::processEvents();
    EXPECT_FALSE(
            tessaroc::test::grabToPng(score(), QStringLiteral("board_names_settlement")).isEmpty());
    EXPECT_FALSE(tessaroc::test::grabToPng(hero(), QStringLiteral("board_names_hall_of_fame"))
                         .isEmpty());

    const auto shown = [](const forms::Label &label) {
        return label.fitted() ? label.fitted()->shownLines().join(QString()) : QString();
    };
    std::set<QString> onScore, onHero;
    for (int p = 0; p < 4; ++p) {
        EXPECT_EQ(score().ID(p).Caption(), QString::fromUtf8(names[p]));
        onScore.insert(shown(score().ID(p)));
        onHero.insert(shown(hero().ID(p)));
    }
    EXPECT_EQ(onScore.size(), 4u) << "every name tells its seat apart on the settlement board";
    EXPECT_EQ(onHero.size(), 4u) << "and in the hall of fame";
    EXPECT_FALSE(onScore.contains(QString()));
}

} // namespace
} // namespace tessaroc::settlement::testing
