#include "SettlementFixture.h"

#include "settlement/HandRecordsFile.h"
#include "settlement/ListBoxes.h"
#include "wire/GbkText.h"

#include <QFile>

namespace tessaroc::settlement::testing {
namespace {

class HandRecords : public SettlementFixture
{
protected:
    HandRecordsFile file() const { return settlement->records(); }

    void fill(int list, const QStringList &entries)
    {
        score().State(list).clear();
        score().State(list).addItems(entries);
    }

    QByteArray bytes() const
    {
        QFile f(settlement->records().path());
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }
};

TEST_F(HandRecords, SaveWritesTheKeysInGbk)
{
    state().commands.ScoreNames = {core::ScoreName{"甲", "3"}, core::ScoreName{"b", ""},
                                   core::ScoreName{}, core::ScoreName{"d", "19"}};
    fill(0, {QStringLiteral("   初始：1500金币"), QStringLiteral("  ")});
    fill(6, {QStringLiteral("最终分：- 5金币")});
    score().setSeatColour(0, 255);
    file().SaveJuRecord(7, score(), state().commands.ScoreNames);

    const std::string text = bytes().toStdString();
    const auto has = [&](const std::string &utf8Line) {
        return text.find(wire::utf8ToGbk(utf8Line) + "\r\n") != std::string::npos;
    };
    EXPECT_EQ(text.rfind("[juNum:7]\r\n", 0), 0u);
    EXPECT_TRUE(has("name( 0 )=甲"));
    EXPECT_TRUE(has("PicIndex( 0 )=3"));
    EXPECT_TRUE(has("PicIndex( 1 )="));
    EXPECT_TRUE(has("count( 0 )=2"));
    EXPECT_TRUE(has("count( 0 )( 0 )=   初始：1500金币"));
    EXPECT_TRUE(has("count( 6 )=1"));
    EXPECT_TRUE(has("count( 6 )( 0 )=最终分：- 5金币"));
    EXPECT_TRUE(has("count( 7 )=0"));
    EXPECT_TRUE(has("count( 0 ) ForeColor=255"));
    EXPECT_TRUE(has("count( 1 ) ForeColor=16711680"));
    EXPECT_EQ(text.find("count( 4 ) ForeColor"), std::string::npos);
}

TEST_F(HandRecords, RoundTripTrimsLeadingSpacesAndEmptiesBecomeOneSpace)
{
    state().commands.ScoreNames = {core::ScoreName{"甲", "3"}, core::ScoreName{"乙", "12"},
                                   core::ScoreName{"丙", ""}, core::ScoreName{"丁", "19"}};
    fill(0, {QStringLiteral("   初始：1500金币"), QStringLiteral("  "), QString()});
    fill(5, {QStringLiteral("最终分：- 700金币")});
    score().setSeatColour(1, 255);
    file().SaveJuRecord(1, score(), state().commands.ScoreNames);

    score().ClearLists();
    score().setSeatColour(1, 0xFF0000);
    file().LoadJuRecord(1, score(), state().pictures.AvatarPic);
    EXPECT_EQ(ListLines(score().State(0)),
              (QStringList{QStringLiteral("初始：1500金币"), QStringLiteral(" "),
                           QStringLiteral(" ")}));
    EXPECT_EQ(ListLines(score().State(5)), QStringList{QStringLiteral("最终分：- 700金币")});
    EXPECT_EQ(score().ID(2).Caption(), QStringLiteral("丙"));
    EXPECT_EQ(score().StateColour(1), 255);
    EXPECT_EQ(score().StateColour(5), 255);
    EXPECT_EQ(score().ID(1).ForeColor(), QColor(255, 0, 0));
}

TEST_F(HandRecords, AShorterRecordAfterALongerOneLoadsExactlyItsLines)
{
    fill(2, {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d")});
    file().SaveJuRecord(1, score(), state().commands.ScoreNames);
    fill(2, {QStringLiteral("x")});
    file().SaveJuRecord(1, score(), state().commands.ScoreNames);
    fill(2,
         {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4"),
          QStringLiteral("5")});
    file().LoadJuRecord(1, score(), state().pictures.AvatarPic);
    EXPECT_EQ(ListLines(score().State(2)), QStringList{QStringLiteral("x")});
}

TEST_F(HandRecords, AMissingSectionBlanksTheNamesAndKeepsTheLists)
{
    fill(0, {QStringLiteral("kept")});
    score().ID(0).setCaption(QStringLiteral("name"));
    file().SaveJuRecord(1, score(), state().commands.ScoreNames);
    file().LoadJuRecord(2, score(), state().pictures.AvatarPic);
    EXPECT_EQ(score().ID(0).Caption(), QString());
    EXPECT_EQ(ListLines(score().State(0)), QStringList{QStringLiteral("kept")});
    score().ID(0).setCaption(QStringLiteral("name"));
    file().LoadJuRecord(0, score(), state().pictures.AvatarPic);
    EXPECT_EQ(score().ID(0).Caption(), QStringLiteral("name"));
}

TEST_F(HandRecords, HostileTextsAddNoLinesToTheFile)
{
    state().commands.ScoreNames[0] = {"evil\r\n[juNum:9]\r\ncount( 0 )=99", "1"};
    state().commands.ScoreNames[1] = {std::string("nul\0tail", 8), "2"};
    fill(0, {QStringLiteral("line\ncount( 1 )=5"), QStringLiteral("semi;colon=[x]")});
    file().SaveJuRecord(1, score(), state().commands.ScoreNames);
    const QByteArray data = bytes();
    EXPECT_FALSE(data.contains("[juNum:9]\r\n"));
    EXPECT_EQ(data.count("\n"), 1 + 8 + 8 + 2 + 4); // header, names, counts, lines, colours

    score().ClearLists();
    file().LoadJuRecord(1, score(), state().pictures.AvatarPic);
    EXPECT_EQ(score().ID(0).Caption(), QStringLiteral("evil  [juNum:9]  count( 0 )=99"));
    EXPECT_EQ(score().ID(1).Caption(), QStringLiteral("nul tail"));
    EXPECT_EQ(ListLines(score().State(0)),
              (QStringList{QStringLiteral("line count( 1 )=5"), QStringLiteral("semi;colon=[x]")}));
}

TEST_F(HandRecords, AChangedFileNeverEndsTheProgram)
{
    QFile f(settlement->records().path());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[juNum:1]\r\nPicIndex( 0 )=77\r\nPicIndex( 1 )=x\r\ncount( 0 )=999999999\r\n"
            "count( 0 )( 0 )=a\r\ncount( 1 )=-3\r\n");
    f.close();
    file().LoadJuRecord(1, score(), state().pictures.AvatarPic);
    EXPECT_EQ(score().State(0).count(), 4096);
    EXPECT_EQ(score().State(0).item(0)->text(), QStringLiteral("a"));
}

TEST_F(HandRecords, TheSettlementSavesEachHandAndLeavingDeletesTheFile)
{
    seatPlayers();
    for (int hand = 1; hand <= 2; ++hand) {
        std::vector<wire::MessageFrame> frames;
        for (std::uint8_t seat : {1, 2, 4, 8})
            frames.push_back(resultFrame({.seat = seat,
                                          .outcome = seat == 1 ? std::uint8_t{1} : std::uint8_t{2},
                                          .finalAmount = static_cast<std::uint64_t>(hand * 100)}));
        deliverAll(frames);
    }
    score().ClearLists();
    settlement->OpenHand(1);
    EXPECT_EQ(ListLines(score().State(4)), QStringList{QStringLiteral("最终分：100金币")});
    settlement->OpenHand(2);
    EXPECT_EQ(ListLines(score().State(4)), QStringList{QStringLiteral("最终分：200金币")});
    EXPECT_EQ(score().ID(3).Caption(), QStringLiteral("player3"));

    settlement->DeleteHandRecords();
    EXPECT_FALSE(QFile::exists(settlement->records().path()));
}

} // namespace
} // namespace tessaroc::settlement::testing
