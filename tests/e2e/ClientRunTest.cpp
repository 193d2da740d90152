// The real client, offscreen, started by the headless hall stand-in against
// the table server with three computer players. Each run is bounded: the
// hall, the server and the client are killed at the end whatever happened.

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>

namespace {

constexpr int kRunLimitMs = 30000;

bool waitUntil(const std::function<bool()> &done, int ms = kRunLimitMs)
{
    QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
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

    QTemporaryDir runtime;
    QString clientPath = QStringLiteral(TESSAROC_CLIENT_PATH);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    std::unique_ptr<ChildRun> server;
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
    const qint64 pid = clientPid();
    ASSERT_GT(pid, 0);
    ::kill(static_cast<pid_t>(pid), SIGTERM);
    EXPECT_EQ(hallExitCode(), 0) << hall->output.toStdString();
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
    // The client runs from a folder of this run's own, beside which it keeps
    // its hand records.
    const QString folder = runtime.filePath(QStringLiteral("client"));
    ASSERT_TRUE(QDir().mkpath(folder));
    clientPath = folder + QStringLiteral("/tessaroc");
    ASSERT_TRUE(QFile::copy(QStringLiteral(TESSAROC_CLIENT_PATH), clientPath));
    const QString records = folder + QStringLiteral("/info.qn");
    const auto recorded = [&](const char *section) {
        QFile file(records);
        return file.open(QIODevice::ReadOnly) && file.readAll().contains(section);
    };

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
    EXPECT_TRUE(waitUntil([&] { return recorded("[juNum:1]\r\nname( 0 )="); }));
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

    const qint64 pid = clientPid();
    ASSERT_GT(pid, 0);
    ::kill(static_cast<pid_t>(pid), SIGTERM);
    EXPECT_EQ(hallExitCode(), 0) << hall->output.toStdString();
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

    const qint64 pid = clientPid();
    ASSERT_GT(pid, 0);
    ::kill(static_cast<pid_t>(pid), SIGTERM);
    EXPECT_EQ(hallExitCode(), 0) << hall->output.toStdString();
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

    const qint64 pid = clientPid();
    ASSERT_GT(pid, 0);
    ::kill(static_cast<pid_t>(pid), SIGTERM);
    EXPECT_EQ(hallExitCode(), 0) << hall->output.toStdString();
    // The checker found nothing to refuse: the server ends normally.
    server->process.terminate();
    EXPECT_TRUE(server->process.waitForFinished(5000));
    EXPECT_EQ(server->process.exitCode(), 0) << server->output.toStdString();
}

} // namespace
