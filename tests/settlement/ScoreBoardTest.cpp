#include "SettlementFixture.h"

#include "core/TableState.h"
#include "settlement/ListBoxes.h"
#include "table/MainForm.h"

#include <QFile>

namespace tessaroc::settlement::testing {
namespace {

using Lines = QStringList;

const QString kHeader0 = QStringLiteral("   初始：1000金币");

Lines header()
{
    return {kHeader0, QStringLiteral("  "), QStringLiteral("房间底金：100金币"), QString()};
}

class ScoreBoard : public SettlementFixture
{
protected:
    ScoreBoard()
    {
        seatPlayers(1000);
        state().commands.WinnerText = "player0";
    }
};

// The landlord (own seat) wins; one farmer's loss is capped, one loses
// nothing.
TEST_F(ScoreBoard, LandlordWinWritesEveryLineColourAndBooking)
{
    deliverAll({resultFrame({.seat = 2,
                             .outcome = 2,
                             .finalAmount = 100,
                             .sign1 = 2,
                             .amount1 = 100,
                             .amount2 = 100,
                             .level = 1}),
                resultFrame({.seat = 1,
                             .outcome = 1,
                             .finalAmount = 300,
                             .landlord = 1,
                             .sign1 = 1,
                             .amount1 = 300,
                             .amount2 = 300,
                             .level = 2}),
                resultFrame({.seat = 8, .outcome = 2, .finalAmount = 0, .sign1 = 2}),
                resultFrame({.seat = 4,
                             .outcome = 2,
                             .finalAmount = 100,
                             .sign1 = 2,
                             .amount1 = 100,
                             .amount2 = 100,
                             .capped = true})});

    EXPECT_EQ(lines(0),
              (header()
               + Lines{QStringLiteral(" "), QString(), QString(), QStringLiteral("地主"),
                       QStringLiteral("总分：300金币"), QStringLiteral("-----------"), QString(),
                       QStringLiteral("player0"), QString(), QStringLiteral("总分：300金币")}));
    EXPECT_EQ(lines(4), Lines{QStringLiteral("最终分：300金币")});
    const Lines loser{QStringLiteral(" "),
                      QString(),
                      QString(),
                      QStringLiteral(" "),
                      QStringLiteral("总分： -100金币"),
                      QStringLiteral("-----------"),
                      QString(),
                      QString()};
    EXPECT_EQ(lines(1), (header() + loser + Lines{QString(), QStringLiteral("总分：- 100金币")}));
    EXPECT_EQ(lines(2),
              (header() + loser
               + Lines{QStringLiteral("灵活封顶"), QStringLiteral("总分：- 100金币")}));
    EXPECT_EQ(lines(3),
              (header()
               + Lines{QStringLiteral(" "), QString(), QString(), QStringLiteral(" "),
                       QStringLiteral("总分： 0金币"), QStringLiteral("-----------"), QString(),
                       QString(), QString(), QStringLiteral("总分： 0金币")}));
    for (int p = 1; p <= 3; ++p)
        EXPECT_EQ(lines(p + 4).value(0),
                  p == 3 ? QStringLiteral("最终分： 0金币") : QStringLiteral("最终分：- 100金币"));

    EXPECT_EQ(score().StateColour(0), 0x0000FF);
    EXPECT_EQ(score().StateColour(4), 0x0000FF);
    for (int p = 1; p <= 3; ++p) {
        EXPECT_EQ(score().StateColour(p), 0xFF0000);
        EXPECT_EQ(score().ID(p).ForeColor(), QColor(0, 0, 0xFF));
    }
    EXPECT_EQ(score().ID(0).ForeColor(), QColor(0xFF, 0, 0));
    EXPECT_EQ(score().ID(2).Caption(), QStringLiteral("player2"));

    EXPECT_EQ(heroLines(-1), Lines{QStringLiteral("1           ")});
    EXPECT_EQ(heroLines(0), Lines{QStringLiteral("300")});
    EXPECT_EQ(heroLines(1), Lines{QStringLiteral("-100")});
    EXPECT_EQ(heroLines(3), Lines{QStringLiteral("0")});
    EXPECT_EQ(hero().sunScore(0).Caption(), QStringLiteral("300"));
    EXPECT_EQ(hero().sunScore(2).Caption(), QStringLiteral("-100"));
    EXPECT_EQ(windows.SumScore[1], -100);

    const auto &custom = state().commands.custom;
    EXPECT_EQ(custom[0].coins, 1300);
    EXPECT_EQ(custom[0].wins, 1);
    EXPECT_EQ(custom[1].coins, 900);
    EXPECT_EQ(custom[1].losses, 1);
    EXPECT_EQ(custom[3].losses, 1);
    table::MainForm &form = *client.form;
    EXPECT_EQ(form.seats.Cash(0).Caption(), QStringLiteral("1300金币"));
    EXPECT_EQ(form.seats.Level(0).Caption(), QStringLiteral("第二级"));
    EXPECT_EQ(form.seats.Level(1).Caption(), QStringLiteral("第一级"));

    EXPECT_EQ(state().settlement.JuNum, 1);
    EXPECT_TRUE(score().isVisible());
    EXPECT_FALSE(state().loop.HoldCommand21);
    EXPECT_FALSE(state().core.ButtonDown[2]);
    EXPECT_TRUE(state().loop.slots.armed(core::LoopSlot::ReadyClock));
    EXPECT_EQ(state().loop.clocks.ClockSeconds, 12);
    EXPECT_EQ(form.turn.Number.Caption(), QStringLiteral("12"));
    EXPECT_EQ(form.turn.Number.ForeColor(), QColor(0, 0xFF, 0));
    EXPECT_TRUE(form.turn.Number.Visible());
    EXPECT_TRUE(form.turn.Time_Img.Visible());
    EXPECT_DOUBLE_EQ(form.turn.Time_Img.Left(), 825 * state().table.scale.ScaleX);
    EXPECT_FALSE(form.bid.lblDifen.Visible());
    EXPECT_EQ(ListLines(form.messages.Sysmsg(0).widget()),
              Lines{QStringLiteral("请点击【继续】按钮继续游戏！")});
    EXPECT_EQ(ListLines(form.messages.Sysmsg(1).widget()),
              Lines{QStringLiteral("游戏将在15秒内开始")});

    ASSERT_EQ(sound.played.size(), 1u);
    EXPECT_TRUE(sound.played[0].endsWith(QStringLiteral("/../common/pk/sys121.wav")));
    EXPECT_EQ(sound.volumes, std::vector<int>{3000});
    EXPECT_TRUE(QFile::exists(settlement->records().path()));
}

TEST_F(ScoreBoard, LandlordLossPlaysTheOtherSoundAndClampsCoinsAtZero)
{
    state().commands.custom[0].coins = 500;
    deliverAll({resultFrame({.seat = 1,
                             .outcome = 2,
                             .finalAmount = 700,
                             .landlord = 1,
                             .sign1 = 2,
                             .amount2 = 700}),
                resultFrame({.seat = 2, .outcome = 1, .finalAmount = 233, .sign1 = 1}),
                resultFrame({.seat = 4, .outcome = 1, .finalAmount = 233, .sign1 = 1}),
                resultFrame(
                        {.seat = 8, .outcome = 1, .finalAmount = 234, .sign1 = 1, .cashUnit = 2})});
    EXPECT_EQ(state().commands.custom[0].coins, 0);
    EXPECT_EQ(client.form->seats.Cash(0).Caption(), QStringLiteral("0金币"));
    EXPECT_EQ(client.form->seats.Cash(3).Caption(), QStringLiteral("1234金条"));
    EXPECT_EQ(lines(0).value(8), QStringLiteral("总分： -700金币"));
    EXPECT_EQ(lines(4), Lines{QStringLiteral("最终分：- 700金币")});
    EXPECT_EQ(windows.SumScore[0], -700);
    ASSERT_EQ(sound.played.size(), 1u);
    EXPECT_TRUE(sound.played[0].endsWith(QStringLiteral("sys150.wav")));
}

TEST_F(ScoreBoard, DrawChangesNoRecordAndKeepsTheTotals)
{
    windows.SumScore = {50, -50, 0, 0};
    std::vector<wire::MessageFrame> frames;
    for (std::uint8_t seat : {1, 2, 4, 8})
        frames.push_back(resultFrame({.seat = seat, .outcome = 0, .finalAmount = 80}));
    deliverAll(frames);
    for (int p = 0; p < 4; ++p) {
        EXPECT_EQ(lines(p).mid(4),
                  (Lines{QStringLiteral(" "), QString(), QString(), QStringLiteral(" "),
                         QStringLiteral("平局"), QStringLiteral("-----------"),
                         QStringLiteral("总分： 0金币")}))
                << p;
        EXPECT_EQ(lines(p + 4), Lines{QStringLiteral("最终分： 0金币")});
        EXPECT_EQ(heroLines(p), Lines{QStringLiteral("0")});
        EXPECT_EQ(state().commands.custom[static_cast<std::size_t>(p)].coins, 1000);
        EXPECT_EQ(state().commands.custom[static_cast<std::size_t>(p)].wins, 0);
    }
    EXPECT_EQ(hero().sunScore(0).Caption(), QStringLiteral("50"));
    EXPECT_EQ(hero().sunScore(1).Caption(), QStringLiteral("-50"));
}

TEST_F(ScoreBoard, BombLinesKeepTheColumnsLevel)
{
    auto &bombs = state().play.BombCount;
    bombs[2][7][6 - 5] = 1; // six 7s
    bombs[2][0][9 - 5] = 1; // four jokers
    bombs[1][1][6 - 5] = 2; // two bombs of six As: one line
    bombs[3][10][8 - 5] = 1;
    bombs[3][2][7 - 5] = 1;
    bombs[0][14][6 - 5] = 1; // no line for this face index
    state().play.SeatBombCount = {1, 2, 2, 2};
    std::vector<wire::MessageFrame> frames;
    for (std::uint8_t seat : {1, 2, 4, 8})
        frames.push_back(resultFrame({.seat = seat, .outcome = 0}));
    deliverAll(frames);
    EXPECT_EQ(lines(2).mid(4, 2),
              (Lines{QStringLiteral("六枪7  ×2"), QStringLiteral("四猫   ×4")}));
    EXPECT_EQ(lines(1).mid(4, 2), (Lines{QStringLiteral("六枪A  ×2"), QString()}));
    EXPECT_EQ(lines(3).mid(4, 2),
              (Lines{QStringLiteral("七枪2  ×4"), QStringLiteral("八枪10 ×4")}));
    EXPECT_EQ(lines(0).mid(4, 2), (Lines{QString(), QString()}));
    for (int p = 0; p < 4; ++p)
        EXPECT_EQ(lines(p).size(), lines(0).size());
}

TEST_F(ScoreBoard, DoublingRowsAndTheSubtotal)
{
    state().commands.ShowCardDouble = 1;
    state().core.WealthDouble = 1;
    state().commands.WealthDoubleText = "3";
    client.form->bid.lblDifen.setCaption(QStringLiteral("2"));
    deliverAll({resultFrame({.seat = 1,
                             .outcome = 2,
                             .finalAmount = 300,
                             .sign1 = 2,
                             .amount1 = 256,
                             .amount2 = 300}),
                resultFrame({.seat = 2,
                             .outcome = 1,
                             .finalAmount = 100,
                             .sign1 = 1,
                             .amount1 = 100,
                             .amount2 = 100}),
                resultFrame({.seat = 4,
                             .outcome = 1,
                             .finalAmount = 100,
                             .sign1 = 7,
                             .amount1 = 100,
                             .amount2 = 100}),
                resultFrame({.seat = 8, .outcome = 1, .finalAmount = 100, .sign1 = 1})});
    EXPECT_EQ(lines(0).mid(8, 4),
              (Lines{QStringLiteral("小计：-256金币"), QStringLiteral("亮牌加倍 ×2"),
                     QStringLiteral("财富加倍 ×3"), QStringLiteral("总分： -300金币")}));
    // A sign byte other than 1 and 2 leaves both amounts at 0.
    EXPECT_EQ(lines(2).mid(8, 4),
              (Lines{QStringLiteral("小计：0金币"), QStringLiteral("亮牌加倍 ×2"),
                     QStringLiteral("财富加倍 ×3"), QStringLiteral("总分：0金币")}));
}

TEST_F(ScoreBoard, RevealTurnsUpTheOtherHandsAndClearsThePlayArea)
{
    table::MainForm &form = *client.form;
    auto &table = state().play;
    table.RevealSkipPos = 2;
    table.TableCards[1][0] = 3;
    table.TableCards[1][1] = 40; // outside the row: skipped
    table.TableCards[1][33] = 2;
    table.TableCards[2][0] = 5;
    table.TableCards[2][33] = 1;
    for (int pos : {1, 2}) {
        auto &row = pos == 1 ? form.hands.cardImage1 : form.hands.cardImage2;
        if (forms::Image *card = row.find(pos == 1 ? 3 : 5))
            card->setVisible(true);
    }
    wire::HandResultFrame left;
    left.seat = wire::SeatByte{2};
    left.outcome = 1;
    left.cardsLeft = 2;
    left.codes[0] = 0x01000304;
    left.codes[1] = static_cast<rules::CardCode>(0x80000F01u); // the highest byte set
    wire::MessageFrame frame = left.encode();
    wire::MessageFrame many = resultFrame({.seat = 4, .outcome = 1});
    many.setByte(16, 200); // more cards than a hand holds
    deliverAll({resultFrame({.seat = 1, .outcome = 2}), frame, many,
                resultFrame({.seat = 8, .outcome = 1})});

    EXPECT_EQ(state().rules.HandRecords[1].cardCount, 2);
    EXPECT_EQ(state().rules.HandRecords[1].slots[1].code,
              static_cast<rules::CardCode>(0x80000F01u));
    EXPECT_EQ(state().rules.HandRecords[2].cardCount, 33);
    EXPECT_EQ(state().rules.HandRecords[3].cardCount, 0);
    EXPECT_EQ(play.sorted, (std::vector<std::pair<int, int>>{{1, 2}, {2, 33}}));
    if (forms::Image *card = form.hands.cardImage1.find(3)) {
        EXPECT_FALSE(card->Visible());
    }
    if (forms::Image *card = form.hands.cardImage2.find(5)) {
        EXPECT_TRUE(card->Visible()); // the last play stays on the table
    }
    EXPECT_EQ(table.PrevTableCards[1][33], 2);
    EXPECT_EQ(table.PrevTableCards[1][0], 3);
}

TEST_F(ScoreBoard, SpectatorGetsNoClockAndHiddenTableNoWindow)
{
    state().loop.line.Spectator = true;
    state().core.TableHidden = true;
    client.form->bid.lblDifen.setVisible(true);
    std::vector<wire::MessageFrame> frames;
    for (std::uint8_t seat : {1, 2, 4, 8})
        frames.push_back(resultFrame({.seat = seat, .outcome = 0}));
    deliverAll(frames);
    EXPECT_FALSE(state().loop.slots.armed(core::LoopSlot::ReadyClock));
    EXPECT_TRUE(client.form->bid.lblDifen.Visible());
    EXPECT_FALSE(score().isVisible());
    EXPECT_EQ(state().settlement.JuNum, 1);
    EXPECT_EQ(lines(0).size(), 11);
}

} // namespace
} // namespace tessaroc::settlement::testing
