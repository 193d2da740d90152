// The real client, offscreen, started by the headless hall stand-in against
// the table server with three computer players. Each run is bounded: the
// hall, the server and the client are killed at the end whatever happened.

#include "EngineOptions.h"
#include "OtherUser.h"
#include "ScriptedPeer.h"
#include "ServerFrames.h"
#include "TableServer.h"
#include "WaitUntil.h"
#include "rules/CardCode.h"
#include "wire/GbkText.h"
#include "wire/ReceivedFrames.h"
#include "wire/SentFrames.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <optional>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using namespace tessaroc;

constexpr int kRunLimitMs = 30000;

bool waitUntil(const std::function<bool()> &done, int ms = kRunLimitMs)
{
    return tessaroc::test::waitUntil(done, ms);
}

// A process whose output is kept line by line.
struct ChildRun
{
    QProcess process;
    QString output;

    explicit ChildRun(QProcessEnvironment environment)
    {
        process.setProcessEnvironment(environment);
        process.setProcessChannelMode(QProcess::MergedChannels);
        QObject::connect(&process, &QProcess::readyRead,
                         [this] { output += QString::fromUtf8(process.readAll()); });
    }
    ~ChildRun()
    {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished(2000);
        }
    }
    bool saw(const QString &text) const { return output.contains(text); }
    bool waitFor(const QString &text)
    {
        return waitUntil([&] { return saw(text); });
    }
};

class ClientRun : public ::testing::Test
{
protected:
    ClientRun()
    {
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("TESSAROC_NONINTERACTIVE"), QStringLiteral("1"));
        environment.insert(QStringLiteral("TESSAROC_CLOCK_SCALE"), QStringLiteral("10"));
        // A runtime folder of the run's own: the client's single-instance
        // lock and the window names of other runs never meet.
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        environment.insert(QStringLiteral("TMPDIR"), runtime.path());
    }

    ~ClientRun() override
    {
        // A client outlives its hall when the hall is killed, and would keep
        // whatever it inherited (sockets, open files) long after the run:
        // the client of a run that ends early is ended first.
        if (hall && hall->process.state() != QProcess::NotRunning) {
            if (const qint64 pid = clientPid(); pid > 0)
                ::kill(static_cast<pid_t>(pid), SIGKILL);
        }
    }

    // Starts the table server on a port the system chooses.
    quint16 startServer(const QStringList &extra = {})
    {
        server = std::make_unique<ChildRun>(environment);
        server->process.start(QStringLiteral(TESSAROC_SERVER_PATH),
                              QStringList{QStringLiteral("--port"), QStringLiteral("0"),
                                          QStringLiteral("--bots"), QStringLiteral("3")}
                                      + extra);
        EXPECT_TRUE(server->waitFor(QStringLiteral("listening on 127.0.0.1:")));
        const auto match = QRegularExpression(QStringLiteral("listening on 127\\.0\\.0\\.1:(\\d+)"))
                                   .match(server->output);
        return static_cast<quint16>(match.captured(1).toUInt());
    }

    // Starts a table server in this process on a quick table: the hand
    // starts soon after the fourth seat is taken, the computer players are
    // fast and the client's clocks are short. Its record goes to tableLog.
    quint16 startQuickTable(tableserver::EngineOptions options)
    {
        // Nobody presses the client's ready button.
        options.startWithoutReady = true;
        options.firstHandWaitMs = 300;
        options.botDelayMinMs = 10;
        options.botDelayMaxMs = 30;
        options.playSeconds = 4;
        options.roomSeconds = 4;
        options.bidWaitMs = 5000;
        options.playGraceMs = 2000;
        table = std::make_unique<tableserver::TableServer>(
                options, [this](const std::string &line) {
                    tableLog += QString::fromStdString(line) + QLatin1Char('\n');
                });
        EXPECT_TRUE(table->listen(0)) << table->errorString().toStdString();
        return table->port();
    }

    // The client runs from a folder of this run's own, beside which it keeps
    // its hand records; the path of the records file.
    QString runClientFromOwnFolder()
    {
        const QString folder = runtime.filePath(QStringLiteral("client"));
        EXPECT_TRUE(QDir().mkpath(folder));
        clientPath = folder + QStringLiteral("/tessaroc");
        EXPECT_TRUE(QFile::copy(QStringLiteral(TESSAROC_CLIENT_PATH), clientPath));
        return folder + QStringLiteral("/info.qn");
    }

    static bool recorded(const QString &records, const char *section)
    {
        QFile file(records);
        return file.open(QIODevice::ReadOnly) && file.readAll().contains(section);
    }

    void startHall(quint16 port, const QStringList &extra)
    {
        hall = std::make_unique<ChildRun>(environment);
        hall->process.start(
                QStringLiteral(TESSAROC_HALL_PATH),
                QStringList{QStringLiteral("--headless"), QStringLiteral("--client"), clientPath,
                            QStringLiteral("--server-port"), QString::number(port),
                            QStringLiteral("--hall-caption"), QStringLiteral("e2e-hall"),
                            QStringLiteral("--table-caption"), QStringLiteral("e2e-table")}
                        + extra);
        ASSERT_TRUE(hall->process.waitForStarted(5000));
    }

    // The client is the hall's child.
    qint64 clientPid() const
    {
        const qint64 hallPid = hall->process.processId();
        QFile children(QStringLiteral("/proc/%1/task/%1/children").arg(hallPid));
        if (!children.open(QIODevice::ReadOnly))
            return 0;
        return QString::fromLatin1(children.readAll())
                .split(QLatin1Char(' '))
                .value(0)
                .toLongLong();
    }

    // The hall ends with its client's exit code.
    int hallExitCode()
    {
        EXPECT_TRUE(waitUntil([&] { return hall->process.state() == QProcess::NotRunning; }))
                << hall->output.toStdString();
        return hall->process.exitCode();
    }

    // The client is ended as a player's session ends it (SIGTERM), and the
    // hall, which started it, ends well with it.
    void endClientAsThePlayerWould()
    {
        const qint64 pid = clientPid();
        ASSERT_GT(pid, 0);
        ::kill(static_cast<pid_t>(pid), SIGTERM);
        EXPECT_EQ(hallExitCode(), 0) << hall->output.toStdString();
    }

    QTemporaryDir runtime;
    QString clientPath = QStringLiteral(TESSAROC_CLIENT_PATH);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    std::unique_ptr<ChildRun> server;
    std::unique_ptr<tableserver::TableServer> table;
    QString tableLog;
    std::unique_ptr<ChildRun> hall;
};

TEST_F(ClientRun, LogsInAnswersTheHallLeavesAndClosesNormally)
{
    const quint16 port = startServer();
    startHall(port,
              {QStringLiteral("--after-connect"), QStringLiteral("--request"),
               QStringLiteral("ask-in-game@500"), QStringLiteral("--request"),
               QStringLiteral("leave@2000")});
    ASSERT_TRUE(server->waitFor(QStringLiteral("sits down"))) << server->output.toStdString();
    ASSERT_TRUE(hall->waitFor(QStringLiteral("hall posts 0x400")));
    // The leave is answered with "not in game" and the leave frame reaches
    // the server.
    ASSERT_TRUE(waitUntil([&] {
        return hall->output.count(QStringLiteral("table posts 0x400")) >= 2;
    })) << hall->output.toStdString();
    EXPECT_TRUE(server->waitFor(QStringLiteral("leaves the table")))
            << server->output.toStdString();

    EXPECT_TRUE(hall->saw(QStringLiteral("table posts 0x303"))) << "login sent and accepted";
    EXPECT_TRUE(hall->saw(QStringLiteral("table sends 0x112 0xf120"))) << "the hall restored";
    EXPECT_FALSE(hall->saw(QStringLiteral("table posts 0x465"))) << "no hand ran";

    // The window is closed: the unload ends the client normally.
    endClientAsThePlayerWould();
}

TEST_F(ClientRun, RefusedLoginGivesTheHallBackAndEnds)
{
    const quint16 port = startServer({QStringLiteral("--password"), QStringLiteral("other")});
    startHall(port, {});
    EXPECT_EQ(hallExitCode(), 6) << hall->output.toStdString() << server->output.toStdString();
    EXPECT_TRUE(hall->saw(QStringLiteral("table posts 0x16")));
}

TEST_F(ClientRun, ConnectionLostWithTheHallGoneEnds)
{
    const quint16 port = startServer();
    startHall(port,
              {QStringLiteral("--after-connect"), QStringLiteral("--gone-after"),
               QStringLiteral("1000")});
    ASSERT_TRUE(server->waitFor(QStringLiteral("sits down")));
    ASSERT_TRUE(hall->waitFor(QStringLiteral("the hall window is gone")));
    server->process.kill();
    EXPECT_EQ(hallExitCode(), 5) << hall->output.toStdString();
}

// The server ends the session between hands, after the table took its login
// answer (the table then tries to reconnect and, with no hand to go back to,
// waits for the hall), and then the hall window goes: the table, which has
// nothing left but to hand back to the hall, ends.
TEST_F(ClientRun, ATableWhoseServerEndedTheSessionEndsWhenTheHallGoes)
{
    const quint16 port = startServer();
    startHall(port,
              {QStringLiteral("--after-connect"), QStringLiteral("--gone-after"),
               QStringLiteral("2000")});
    // "Connected" twice: when the login went out, and on its accepted answer.
    ASSERT_TRUE(waitUntil([&] {
        return hall->output.count(QStringLiteral("table posts 0x303 connected")) >= 2;
    })) << hall->output.toStdString();
    server->process.kill();
    EXPECT_EQ(hallExitCode(), 5) << hall->output.toStdString();
    EXPECT_TRUE(hall->saw(QStringLiteral("the hall window is gone")));
}

TEST_F(ClientRun, ASecondClientGivesTheHallBackAndEnds)
{
    const quint16 port = startServer();
    startHall(port, {});
    ASSERT_TRUE(server->waitFor(QStringLiteral("sits down"))) << server->output.toStdString();

    ChildRun second(environment);
    second.process.start(
            QStringLiteral(TESSAROC_CLIENT_PATH),
            {QStringLiteral(
                     "bob$secret$127.0.0.1$%1$0000001Room 1$0$$0$$$1$e2e-hall$e2e-table-2$0$0$")
                     .arg(port)});
    ASSERT_TRUE(waitUntil([&] { return second.process.state() == QProcess::NotRunning; }));
    EXPECT_EQ(second.process.exitCode(), 4) << second.output.toStdString();
    EXPECT_TRUE(second.saw(QStringLiteral("Tessaroc已经运行！")));
    EXPECT_FALSE(server->saw(QStringLiteral("bob"))) << "the second client never connects";
}

// Without a runtime folder, another user has prepared the shared temporary
// folder: a folder under the hall link's name for this user, Qt's runtime
// folder for this user, and a live single-instance lock in both. The hall
// link and the lock lie below the own home instead, so the hall opens and the
// table starts and logs in.
TEST_F(ClientRun, AnotherUsersFilesInTheSharedFolderStopNeitherHallNorTable)
{
    QString why;
    const std::optional<tessaroc::test::OtherUser> other = tessaroc::test::otherUser(why);
    if (!other)
        GTEST_SKIP() << why.toStdString();
    const QString tmp = runtime.filePath(QStringLiteral("tmp"));
    ASSERT_TRUE(QDir().mkpath(tmp));
    ASSERT_EQ(::chmod(QFile::encodeName(tmp).constData(), 01777), 0);
    environment.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    environment.remove(QStringLiteral("XDG_STATE_HOME"));
    environment.insert(QStringLiteral("TMPDIR"), tmp);
    environment.insert(QStringLiteral("HOME"), runtime.filePath(QStringLiteral("home")));

    const auto give = [&](const QString &path) {
        ASSERT_EQ(::chown(QFile::encodeName(path).constData(), other->uid, other->gid), 0);
    };
    const QString linkFolder = tmp + QStringLiteral("/tessaroc-") + QString::number(::geteuid());
    const QString qtRuntime = tmp + QStringLiteral("/runtime-")
            + QString::fromLocal8Bit(::getpwuid(::geteuid())->pw_name);
    for (const QString &folder : {linkFolder, qtRuntime}) {
        ASSERT_TRUE(QDir().mkdir(folder));
        ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), 0700), 0);
        give(folder);
    }
    // Live locks: their owner, this test, runs as long as the client.
    QLockFile inRuntime(qtRuntime + QStringLiteral("/tessaroc.lock"));
    QLockFile inTmp(tmp + QStringLiteral("/tessaroc.lock"));
    for (QLockFile *lock : {&inRuntime, &inTmp}) {
        ASSERT_TRUE(lock->tryLock(0));
        give(lock->fileName());
    }

    const quint16 port = startServer();
    startHall(port, {});
    // A hall or client that gives up ends the hall at once.
    waitUntil([&] {
        return server->saw(QStringLiteral("sits down"))
                || hall->process.state() == QProcess::NotRunning;
    });
    ASSERT_TRUE(server->saw(QStringLiteral("sits down")))
            << hall->output.toStdString() << server->output.toStdString();
    EXPECT_TRUE(QFileInfo::exists(
            runtime.filePath(QStringLiteral("home/.local/state/tessaroc/tessaroc.lock"))));
    endClientAsThePlayerWould();
}

// The server starts a hand for a client nobody touches, whose ready button
// nobody presses: 15 seconds after the fourth seat is filled.
const QString kStartWithoutReady = QStringLiteral("--start-without-ready");

// How long a whole hand may take: the server deals 15 seconds after the fourth
// seat is filled, and the computer players take their time.
constexpr int kHandLimitMs = 120000;

// Two whole hands in which nobody touches the client: its bid, play and ready
// clocks answer for it (and after two play time-outs the automatic mode), and
// every frame it sends is one the server's rules accept.
TEST_F(ClientRun, TheClocksPlayTwoWholeHandsForTheClient)
{
    const QString records = runClientFromOwnFolder();

    const quint16 port = startServer({kStartWithoutReady});
    startHall(port, {});
    ASSERT_TRUE(server->waitFor(QStringLiteral("sits down"))) << server->output.toStdString();
    ASSERT_TRUE(waitUntil([&] { return server->saw(QStringLiteral("hand 1 (resume value")); },
                          kHandLimitMs))
            << server->output.toStdString();
    ASSERT_TRUE(waitUntil([&] { return server->saw(QStringLiteral("hand 1: ")); }, kHandLimitMs))
            << server->output.toStdString();
    // The board of the hand is saved, and the ready clock says ready for the
    // player when it runs out.
    EXPECT_TRUE(waitUntil([&] { return recorded(records, "[juNum:1]\r\nname( 0 )="); }));
    EXPECT_TRUE(waitUntil([&] {
        const qsizetype end = server->output.indexOf(QStringLiteral("hand 1: "));
        return server->output.indexOf(QStringLiteral(" is ready"), end) > end;
    })) << server->output.toStdString();
    EXPECT_TRUE(waitUntil([&] { return server->saw(QStringLiteral("hand 2 (resume value")); },
                          kHandLimitMs))
            << server->output.toStdString();
    EXPECT_TRUE(hall->saw(QStringLiteral("table posts 0x467")))
            << "the hand start reached the hall";
    EXPECT_FALSE(server->saw(QStringLiteral("refuse"))) << server->output.toStdString();
    EXPECT_FALSE(server->saw(QStringLiteral("made to leave"))) << server->output.toStdString();
    EXPECT_FALSE(server->saw(QStringLiteral("abandoned"))) << server->output.toStdString();

    endClientAsThePlayerWould();
}

// The server drops the client's connection in the middle of the first hand;
// the client reconnects by itself, the server replays the hand's frames, and
// the hand is played to its end.
TEST_F(ClientRun, AConnectionDroppedMidHandIsResumed)
{
    const quint16 port = startServer(
            {kStartWithoutReady, QStringLiteral("--drop-seat-after-plays"), QStringLiteral("3")});
    startHall(port, {});
    ASSERT_TRUE(waitUntil([&] { return server->saw(QStringLiteral("closing the connection")); },
                          kHandLimitMs))
            << server->output.toStdString();
    EXPECT_TRUE(waitUntil([&] { return server->saw(QStringLiteral("reconnected to the hand")); },
                          kHandLimitMs))
            << server->output.toStdString();
    EXPECT_TRUE(waitUntil([&] { return server->saw(QStringLiteral("hand 1: ")); }, kHandLimitMs))
            << server->output.toStdString();
    EXPECT_FALSE(server->saw(QStringLiteral("abandoned"))) << server->output.toStdString();
    EXPECT_FALSE(server->saw(QStringLiteral("refuse"))) << server->output.toStdString();

    endClientAsThePlayerWould();
}

// The server closes the client's connection after the first two of the first
// hand's result frames and keeps the hand open for it: the client comes back
// on its own, the server sends only the frames after the last one it read,
// and with the two results it kept the client has the whole set: it shows
// the board, saves the hand and says ready when its clock runs out.
TEST_F(ClientRun, AConnectionLostBetweenTheResultsStillSettlesTheHand)
{
    const QString records = runClientFromOwnFolder();
    tableserver::EngineOptions options;
    options.dropSeatAfterResults = 2;
    const quint16 port = startQuickTable(options);
    startHall(port, {});
    const auto sawInTable = [this](const char *text) {
        return tableLog.contains(QString::fromUtf8(text));
    };
    ASSERT_TRUE(waitUntil([&] { return sawInTable("after 2 result frames"); }, kHandLimitMs))
            << tableLog.toStdString();
    EXPECT_TRUE(waitUntil([&] { return sawInTable("reconnected to the hand in progress"); }))
            << tableLog.toStdString();
    EXPECT_TRUE(waitUntil([&] { return recorded(records, "[juNum:1]\r\nname( 0 )="); }, 10000))
            << tableLog.toStdString();
    EXPECT_TRUE(waitUntil(
            [&] {
                const qsizetype over = tableLog.indexOf(QStringLiteral("hand 1 is over"));
                return over >= 0
                        && tableLog.indexOf(QStringLiteral("alice (seat 1) is ready"), over) > over;
            },
            10000))
            << tableLog.toStdString();
    EXPECT_FALSE(sawInTable("abandoned")) << tableLog.toStdString();
    EXPECT_FALSE(sawInTable("starting over")) << tableLog.toStdString();

    endClientAsThePlayerWould();
}

// A server that floods the client with user-left frames once the first result
// frame of a hand is in: the client holds them back behind the results, but
// they still take their room in its receive ring, which overflows as under
// any flood: the hall is restored and the client ends with code 8.
TEST_F(ClientRun, UserLeftFramesHeldBehindTheResultsOverflowTheReceiveRing)
{
    using tableserver::ScriptedConnection;
    tableserver::ScriptedServer hostile;
    ASSERT_TRUE(hostile.listen());
    startHall(hostile.port(), {});
    const std::unique_ptr<ScriptedConnection> peer = hostile.accept(10000);
    ASSERT_TRUE(peer) << hall->output.toStdString();
    ASSERT_TRUE(peer->expect(wire::CmdLogin, ScriptedConnection::Predicate{}, 10000));

    wire::MessageFrame answer = tableserver::frames::loginAnswer(1, 15);
    answer.setU16le(wire::offset::kEcho, 1);
    tableserver::frames::SeatResult own;
    own.seat = 1;
    wire::MessageFrame result = tableserver::frames::handResult(own, 100, {});
    result.setU16le(wire::offset::kEcho, 2);
    peer->send(std::vector<wire::MessageFrame>{answer, result});
    // The client has taken the result when a keep-alive echoes its number.
    const auto echoesResult = [](const wire::MessageFrame &frame, std::string &) {
        return frame.u16le(wire::offset::kEcho) == 2;
    };
    ASSERT_TRUE(peer->expectEventually(wire::CmdKeepAlive, echoesResult, 10000))
            << peer->transcriptText(10);

    const std::vector<wire::MessageFrame> flood(100, tableserver::frames::userLeft("ghost", 1));
    for (int burst = 0; burst < 40 && hall->process.state() != QProcess::NotRunning; ++burst) {
        peer->send(flood);
        waitUntil([&] { return hall->process.state() == QProcess::NotRunning; }, 100);
    }
    EXPECT_EQ(hallExitCode(), 8) << hall->output.toStdString();
    EXPECT_TRUE(hall->saw(QStringLiteral("table sends 0x112 0xf120"))) << "the hall restored";
}

// The server makes the client leave in the middle of the first hand: the
// client sends its leave frame and then closes the connection itself; the
// hand is abandoned for the others, every frame the client sent is one it
// may send, and closing its window afterwards ends it normally.
TEST_F(ClientRun, AForcedLeaveSendsTheLeaveFrameThenClosesTheConnection)
{
    const quint16 port
            = startServer({kStartWithoutReady, QStringLiteral("--force-leave-after-plays"),
                           QStringLiteral("3"), QStringLiteral("--check-client-frames")});
    startHall(port, {});
    ASSERT_TRUE(waitUntil([&] { return server->saw(QStringLiteral("leave after 3 plays")); },
                          kHandLimitMs))
            << server->output.toStdString();
    EXPECT_TRUE(server->waitFor(QStringLiteral("sends its leave frame")))
            << server->output.toStdString();
    EXPECT_TRUE(server->waitFor(QStringLiteral("closes its connection")))
            << server->output.toStdString();
    EXPECT_LT(server->output.indexOf(QStringLiteral("sends its leave frame")),
              server->output.indexOf(QStringLiteral("closes its connection")))
            << server->output.toStdString();
    EXPECT_TRUE(server->saw(QStringLiteral("hand 1 abandoned"))) << server->output.toStdString();
    EXPECT_FALSE(server->saw(QStringLiteral("refused"))) << server->output.toStdString();

    endClientAsThePlayerWould();
    // The checker found nothing to refuse: the server ends normally.
    server->process.terminate();
    EXPECT_TRUE(server->process.waitForFinished(5000));
    EXPECT_EQ(server->process.exitCode(), 0) << server->output.toStdString();
}

// A scripted server that seats the client at seat 1 beside three others,
// deals it a hand and then sends the hand's results as a test writes them.
class ScriptedHand
{
public:
    using Connection = tableserver::ScriptedConnection;

    // The login answered, the four seats described, the hand dealt.
    void seatAndDeal(Connection &peer)
    {
        std::vector<wire::MessageFrame> frames{tableserver::frames::loginAnswer(1, 15)};
        const char *names[] = {"alice", "二号电脑", "三号电脑", "四号电脑"};
        for (int i = 0; i < 4; ++i) {
            tableserver::frames::UserInfo user;
            user.nickname = names[i];
            user.account = i == 0 ? "alice" : "bot" + std::to_string(i + 1);
            user.face = "m1";
            user.coins = 1000;
            frames.push_back(tableserver::frames::userInfo(1, static_cast<std::uint8_t>(1 << i),
                                                           user, i != 0));
        }
        std::vector<rules::CardCode> hand;
        for (int i = 0; i < 25; ++i)
            hand.push_back(rules::makeCard(3 + i % 13, 1 << (i % 4), i + 1));
        frames.push_back(tableserver::frames::handStartDeal(1, hand, 2, hand[0], 1));
        send(peer, frames);
    }

    static wire::MessageFrame result(std::uint8_t seat, bool won, std::uint64_t amount)
    {
        tableserver::frames::SeatResult line;
        line.seat = seat;
        line.landlord = seat == 1;
        line.outcome = won ? tableserver::frames::kOutcomeWin : tableserver::frames::kOutcomeLoss;
        line.total = amount;
        return tableserver::frames::handResult(line, 100, {});
    }

    // Sends the frames in one write, each with the next echo number.
    void send(Connection &peer, std::vector<wire::MessageFrame> frames)
    {
        for (wire::MessageFrame &frame : frames)
            frame.setU16le(wire::offset::kEcho, ++echo_);
        peer.send(frames);
    }

private:
    std::uint16_t echo_ = 0;
};

// The client's ready for the next hand, as its ready clock sends it.
bool saysReady(tableserver::ScriptedConnection &peer)
{
    const auto ready = [](const wire::MessageFrame &frame, std::string &) {
        return !wire::isLeaveFrame(frame);
    };
    return static_cast<bool>(peer.expectEventually(wire::CmdReadyOrLeave, ready, 10000));
}

// The records file holds the hand's board, once, with these final lines.
bool recordedOnce(const QString &records, const std::vector<const char *> &finalLines)
{
    QFile file(records);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray text = file.readAll();
    if (!text.contains("[juNum:1]") || text.contains("[juNum:2]"))
        return false;
    for (const char *line : finalLines) {
        if (!text.contains(QByteArray::fromStdString(wire::utf8ToGbk(line))))
            return false;
    }
    return true;
}

// The server drops the connection after two of the hand's results and,
// once the client is back, sends the whole set again: the two results the
// client kept are replaced, not doubled, and the hand is settled: the
// board saved and the ready sent.
TEST_F(ClientRun, ResultsSentAgainAfterAReconnectionStillSettleTheHand)
{
    using tableserver::ScriptedConnection;
    const QString records = runClientFromOwnFolder();
    tableserver::ScriptedServer hostile;
    ASSERT_TRUE(hostile.listen());
    startHall(hostile.port(), {});
    std::unique_ptr<ScriptedConnection> peer = hostile.accept(10000);
    ASSERT_TRUE(peer) << hall->output.toStdString();
    ASSERT_TRUE(peer->expect(wire::CmdLogin, ScriptedConnection::Predicate{}, 10000));
    ScriptedHand hand;
    hand.seatAndDeal(*peer);
    hand.send(*peer, {ScriptedHand::result(1, true, 60), ScriptedHand::result(8, false, 30)});
    // A client in a hand sends nothing of itself: it is given time to read
    // the two results (a few of its ticks) before the connection goes.
    waitUntil([] { return false; }, 1500);
    peer->close();

    peer = hostile.accept(15000);
    ASSERT_TRUE(peer) << hall->output.toStdString();
    ASSERT_TRUE(peer->expect(wire::CmdReconnect, ScriptedConnection::Predicate{}, 10000))
            << peer->transcriptText(10);
    hand.send(*peer,
              {tableserver::frames::reconnectAnswer(1), ScriptedHand::result(1, true, 60),
               ScriptedHand::result(8, false, 30), ScriptedHand::result(2, false, 10),
               ScriptedHand::result(4, false, 20)});
    EXPECT_TRUE(waitUntil(
            [&] {
                return recordedOnce(records, {"最终分：60金币", "最终分：- 30金币"});
            },
            10000));
    EXPECT_TRUE(saysReady(*peer)) << peer->transcriptText(10);

    endClientAsThePlayerWould();
}

// Two results of a hand whose set never completes, a hand start that deals
// nothing, then the next hand's four results: the board saved is the next
// hand's alone, and the client says ready after it.
TEST_F(ClientRun, AHandStartWithoutADealEndsTheLastHandsResults)
{
    using tableserver::ScriptedConnection;
    const QString records = runClientFromOwnFolder();
    tableserver::ScriptedServer hostile;
    ASSERT_TRUE(hostile.listen());
    startHall(hostile.port(), {});
    const std::unique_ptr<ScriptedConnection> peer = hostile.accept(10000);
    ASSERT_TRUE(peer) << hall->output.toStdString();
    ASSERT_TRUE(peer->expect(wire::CmdLogin, ScriptedConnection::Predicate{}, 10000));
    ScriptedHand hand;
    hand.seatAndDeal(*peer);
    hand.send(*peer, {ScriptedHand::result(1, false, 900), ScriptedHand::result(8, true, 999)});

    wire::DealFrame start;
    start.seat = 1;
    start.form = 0;
    hand.send(*peer, {start.encode()});
    hand.send(*peer,
              {ScriptedHand::result(1, true, 61), ScriptedHand::result(2, false, 10),
               ScriptedHand::result(4, false, 20), ScriptedHand::result(8, false, 31)});
    EXPECT_TRUE(waitUntil(
            [&] {
                return recordedOnce(records, {"最终分：61金币", "最终分：- 31金币"});
            },
            10000));
    EXPECT_TRUE(saysReady(*peer)) << peer->transcriptText(10);

    endClientAsThePlayerWould();
}

} // namespace

// The server goes away in a hand: the table tries to reconnect, gives up,
// hands control back to the hall and tells the player that the network is
// gone. The hall leaves that table open for the player to read and close.
TEST_F(ClientRun, ATableThatGaveUpOnItsServerStaysOpenForThePlayer)
{
    const quint16 port = startQuickTable({});
    startHall(port, {});
    ASSERT_TRUE(waitUntil([&] { return hall->saw(QStringLiteral("table posts 0x467")); },
                          kHandLimitMs))
            << hall->output.toStdString();
    table.reset();
    ASSERT_TRUE(waitUntil(
            [&] {
                return hall->saw(QStringLiteral("could not reach its game server again"));
            },
            kHandLimitMs))
            << hall->output.toStdString();
    waitUntil([] { return false; }, 1000);
    EXPECT_EQ(hall->process.state(), QProcess::Running) << hall->output.toStdString();
    EXPECT_FALSE(hall->saw(QStringLiteral("hall posts 0x303"))) << hall->output.toStdString();
    EXPECT_FALSE(hall->saw(QStringLiteral("the table left")));

    endClientAsThePlayerWould();
}
