#include "SettlementFixture.h"

#include "settlement/HandRecordsFile.h"
#include "settlement/ListBoxes.h"
#include "wire/GbkText.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

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

    // The four result frames of a hand the own seat wins.
    void settleHand(int amount)
    {
        std::vector<wire::MessageFrame> frames;
        for (std::uint8_t seat : {1, 2, 4, 8})
            frames.push_back(resultFrame({.seat = seat,
                                          .outcome = seat == 1 ? std::uint8_t{1} : std::uint8_t{2},
                                          .finalAmount = static_cast<std::uint64_t>(amount)}));
        deliverAll(frames);
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
    for (int hand = 1; hand <= 2; ++hand)
        settleHand(hand * 100);
    score().ClearLists();
    settlement->OpenHand(1);
    EXPECT_EQ(ListLines(score().State(4)), QStringList{QStringLiteral("最终分：100金币")});
    settlement->OpenHand(2);
    EXPECT_EQ(ListLines(score().State(4)), QStringList{QStringLiteral("最终分：200金币")});
    EXPECT_EQ(score().ID(3).Caption(), QStringLiteral("player3"));

    settlement->DeleteHandRecords();
    EXPECT_FALSE(QFile::exists(settlement->records().path()));
}

// What stands at a path, without following a link: its kind, a link's
// target, a regular file's bytes.
struct Entry
{
    mode_t kind = 0; // 0: nothing there
    QByteArray link;
    QByteArray bytes;
    bool operator==(const Entry &) const = default;
};

Entry entryAt(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat st = {};
    if (::lstat(name.constData(), &st) != 0)
        return {};
    Entry e{st.st_mode & S_IFMT, {}, {}};
    if (S_ISLNK(st.st_mode))
        e.link = QFile::encodeName(QFile::symLinkTarget(path));
    if (S_ISREG(st.st_mode)) {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        e.bytes = f.readAll();
    }
    return e;
}

void PrintTo(const Entry &e, std::ostream *os)
{
    *os << "kind " << std::oct << e.kind << std::dec << ", link \"" << e.link.toStdString()
        << "\", " << e.bytes.size() << " bytes";
}

// A hand's section that names another player: shown, it would tell that a
// file it should not have read was read.
const QByteArray kForeignSection = "[juNum:1]\r\nname( 0 )=outsider\r\ncount( 0 )=1\r\n"
                                   "count( 0 )( 0 )=outside\r\n";

// Something else at the records' name, made by `make` at `path`; `outside`
// is a regular file beside it that holds the foreign section.
struct HostileCase
{
    const char *name;
    void (*make)(const QString &path, const QString &outside);
    bool deleted; // leaving the table takes the name away
};

void PrintTo(const HostileCase &c, std::ostream *os)
{
    *os << c.name;
}

void symlinkTo(const QString &target, const QString &path)
{
    ASSERT_EQ(::symlink(QFile::encodeName(target).constData(), QFile::encodeName(path).constData()),
              0);
}

const HostileCase kHostileCases[] = {
        {"LinkToAFile",
         [](const QString &path, const QString &outside) { symlinkTo(outside, path); }, true},
        {"LinkToDevZero",
         [](const QString &path, const QString &) { symlinkTo(QStringLiteral("/dev/zero"), path); },
         true},
        {"Fifo",
         [](const QString &path, const QString &) {
             ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
         },
         true},
        {"Folder", [](const QString &path, const QString &) { ASSERT_TRUE(QDir().mkdir(path)); },
         false},
        // One byte beyond the bound of 8 MB, the foreign section first.
        {"OversizedFile",
         [](const QString &path, const QString &) {
             QFile f(path);
             ASSERT_TRUE(f.open(QIODevice::WriteOnly));
             f.write(kForeignSection);
             f.write(QByteArray((8 << 20) + 1 - kForeignSection.size(), ' '));
         },
         true},
};

class HostileRecords : public HandRecords, public ::testing::WithParamInterface<HostileCase>
{
protected:
    QString path() const { return settlement->records().path(); }
    QString outside() const { return dir.filePath(QStringLiteral("outside.txt")); }
};

// Each case ends at once: nothing waits on the FIFO or reads /dev/zero.
TEST_P(HostileRecords, AreNeitherReadNorWrittenAndTheHandIsShownAllTheSame)
{
    {
        QFile f(outside());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(kForeignSection);
    }
    ASSERT_NO_FATAL_FAILURE(GetParam().make(path(), outside()));
    const Entry before = entryAt(path());
    const Entry outsideBefore = entryAt(outside());
    seatPlayers();

    ::testing::internal::CaptureStderr();
    settleHand(100);
    std::string log = ::testing::internal::GetCapturedStderr();
    EXPECT_TRUE(score().isVisible());
    EXPECT_EQ(ListLines(score().State(4)), QStringList{QStringLiteral("最终分：100金币")});
    EXPECT_NE(log.find("hand 1 is not saved"), std::string::npos) << log;
    EXPECT_EQ(entryAt(path()), before);
    EXPECT_EQ(entryAt(outside()), outsideBefore);

    // The hall of fame's double-click leaves the board as the hand left it.
    ::testing::internal::CaptureStderr();
    settlement->OpenHand(1);
    log = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(log.find("hand 1 is not shown again"), std::string::npos) << log;
    EXPECT_EQ(score().ID(0).Caption(), QStringLiteral("player0"));
    EXPECT_EQ(ListLines(score().State(4)), QStringList{QStringLiteral("最终分：100金币")});

    ::testing::internal::CaptureStderr();
    settlement->DeleteHandRecords();
    ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(entryAt(path()), GetParam().deleted ? Entry{} : before);
    EXPECT_EQ(entryAt(outside()), outsideBefore) << "a link goes, never what it points to";
}

INSTANTIATE_TEST_SUITE_P(Cases, HostileRecords, ::testing::ValuesIn(kHostileCases),
                         [](const auto &test) { return std::string(test.param.name); });

// The lock taken for a save: a FIFO in its place would hold the table for
// good. Reading takes no lock, so the saved hands still open.
TEST_F(HandRecords, ALockFileThatIsNoFileStopsOnlyTheSaves)
{
    seatPlayers();
    settleHand(100);
    const QString lock = settlement->records().path() + QStringLiteral(".lock");
    ASSERT_EQ(::mkfifo(QFile::encodeName(lock).constData(), 0600), 0);
    const QByteArray saved = bytes();

    ::testing::internal::CaptureStderr();
    settleHand(200);
    const std::string log = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(log.find("hand 2 is not saved"), std::string::npos) << log;
    EXPECT_EQ(bytes(), saved);
    EXPECT_EQ(entryAt(lock).kind, S_IFIFO);

    settlement->OpenHand(1);
    EXPECT_EQ(ListLines(score().State(4)), QStringList{QStringLiteral("最终分：100金币")});
}

} // namespace
} // namespace tessaroc::settlement::testing
