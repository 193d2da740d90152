#include "Hall.h"
#include "HallWindow.h"

#include "platform/HallLink.h"
#include "wire/CommandLine.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <functional>
#include <memory>
#include <string_view>

#include <sys/stat.h>
#include <unistd.h>

using namespace tessaroc;
using namespace tessaroc::hall;

namespace {

bool waitUntil(const std::function<bool()> &done, int timeoutMs = 3000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QEventLoop loop;
        QTimer::singleShot(5, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

// Captions of their own per test and process: test processes run side by
// side, and a caption names one window on the machine.
QString uniqueCaption(const char *what)
{
    return QStringLiteral("%1-%2-%3")
            .arg(QString::fromLatin1(what))
            .arg(QCoreApplication::applicationPid())
            .arg(QString::fromLatin1(
                    ::testing::UnitTest::GetInstance()->current_test_info()->name()));
}

HallOptions testOptions()
{
    HallOptions options;
    options.hallCaption = uniqueCaption("hall");
    options.tableCaption = uniqueCaption("table");
    return options;
}

std::vector<QString> described(const Hall &hall)
{
    std::vector<QString> out;
    for (const HallEvent &event : hall.events())
        out.push_back(describeEvent(event));
    return out;
}

} // namespace

TEST(HallCommandLine, HoldsTheFifteenFieldsInTheirOrder)
{
    HallOptions options;
    EXPECT_EQ(clientCommandLine(options),
              QStringLiteral("alice$secret$127.0.0.1$6000$0000001Room 1$0$$0$$$1$Ombrevale$"
                             "Tessaroc-1$0$0$"));
    options.serverHost = QStringLiteral("10.1.2.3");
    options.proxyType = 5;
    options.proxyHost = QStringLiteral("127.0.0.1");
    options.proxyPort = 1080;
    options.proxyUser = QStringLiteral("puser");
    options.proxyPassword = QStringLiteral("ppass");
    options.spectatorTail = QStringLiteral("W");
    EXPECT_EQ(clientCommandLine(options),
              QStringLiteral("alice$secret$10.1.2.3$6000$0000001Room 1$5$127.0.0.1$1080$puser$"
                             "ppass$1$Ombrevale$Tessaroc-1$0$0$W"));
}

TEST(HallCommandLine, TheClientReadsBackWhatTheHallWrote)
{
    HallOptions options;
    options.user = QStringLiteral("bob");
    options.room = QStringLiteral("1234567大厅");
    options.serverPort = 41234;
    options.proxyType = 5;
    options.proxyHost = QStringLiteral("127.0.0.1");
    options.proxyPort = 1080;
    options.proxyUser = QStringLiteral("puser");
    options.tableCaption = QStringLiteral("Tessaroc-2");
    const auto read = wire::ParseCommandLine(clientCommandLine(options).toStdString());
    ASSERT_EQ(read.ending, wire::CommandLineEnding::Player) << read.problem;
    EXPECT_EQ(read.fields.ArgUser, "bob");
    EXPECT_EQ(read.fields.ArgPassword, "secret");
    EXPECT_EQ(read.fields.ServerPort, 41234);
    EXPECT_EQ(read.fields.Location, "大厅");
    EXPECT_EQ(read.fields.ProxyType, 5);
    EXPECT_EQ(read.fields.ProxyPort, 1080);
    EXPECT_EQ(read.fields.ProxyUser, "puser");
    EXPECT_TRUE(read.fields.UseCaptions);
    EXPECT_EQ(read.fields.HallCaption, "Ombrevale");
    EXPECT_EQ(read.fields.TableCaption, "Tessaroc-2");

    options.spectatorTail = QStringLiteral("W");
    EXPECT_EQ(wire::ParseCommandLine(clientCommandLine(options).toStdString()).ending,
              wire::CommandLineEnding::Spectator);
}

TEST(HallCommandLine, OptionsFillTheFieldsAndTheSchedule)
{
    const auto parsed = parseHallOptions(
            {QStringLiteral("tessaroc-hall"), QStringLiteral("--user"), QStringLiteral("bob"),
             QStringLiteral("--server-port"), QStringLiteral("40000"), QStringLiteral("--room"),
             QStringLiteral("1234567大厅"), QStringLiteral("--request"),
             QStringLiteral("ask-close@1500"), QStringLiteral("--request"),
             QStringLiteral("reconnect@0"), QStringLiteral("--gone-after"), QStringLiteral("900"),
             QStringLiteral("--headless")});
    ASSERT_TRUE(parsed.options) << parsed.error.toStdString();
    const HallOptions &options = *parsed.options;
    EXPECT_EQ(options.user, QStringLiteral("bob"));
    EXPECT_EQ(options.serverPort, 40000);
    EXPECT_TRUE(options.headless);
    ASSERT_EQ(options.requests.size(), 2u);
    EXPECT_EQ(options.requests[0].request, Request::AskClose);
    EXPECT_EQ(options.requests[0].atMs, 1500);
    EXPECT_EQ(options.requests[1].request, Request::Reconnect);
    EXPECT_EQ(options.goneAfterMs, 900);
    EXPECT_TRUE(clientCommandLine(options).startsWith(
            QStringLiteral("bob$secret$127.0.0.1$40000$1234567大厅$")));
}

TEST(HallCommandLine, BadOptionsAreRefusedWithAReason)
{
    for (const QStringList &bad :
         {QStringList{QStringLiteral("--server-port"), QStringLiteral("six")},
          QStringList{QStringLiteral("--request"), QStringLiteral("dance@10")},
          QStringList{QStringLiteral("--request"), QStringLiteral("leave")},
          QStringList{QStringLiteral("--quit-after"), QStringLiteral("-1")},
          QStringList{QStringLiteral("stray")},
          // "$" ends a field of the client's line: in a text it would shift
          // every field after it.
          QStringList{QStringLiteral("--password"), QStringLiteral("pa$s")},
          QStringList{QStringLiteral("--room"), QStringLiteral("0000001Room$2")},
          QStringList{QStringLiteral("--table-caption"), QStringLiteral("$")}}) {
        const auto parsed = parseHallOptions(QStringList{QStringLiteral("tessaroc-hall")} + bad);
        EXPECT_FALSE(parsed.options) << bad.join(QLatin1Char(' ')).toStdString();
        EXPECT_FALSE(parsed.error.isEmpty());
    }
}

TEST(Hall, AcknowledgesTheTablesCommandsAndRecordsItsPostsInOrder)
{
    Hall hall(testOptions());
    ASSERT_TRUE(hall.open());
    std::vector<bool> states;
    QObject::connect(&hall, &Hall::windowStateRequested,
                     [&states](bool minimised) { states.push_back(minimised); });

    platform::HallLink table;
    const QString caption = hall.options().hallCaption;
    EXPECT_EQ(table.sendMessage(caption, wire::kSysCommand, wire::kScRestore, 0), 0);
    table.postMessage(caption, wire::kTableMsgConnecting);
    table.postMessage(caption, wire::kTableMsgConnected);
    EXPECT_EQ(table.sendMessage(caption, wire::kSysCommand, wire::kScMinimise, 0), 0);
    table.postMessage(caption, wire::kTableMsgHandStart);
    ASSERT_TRUE(waitUntil([&] { return hall.events().size() == 5; }));

    EXPECT_EQ(described(hall),
              (std::vector<QString>{QStringLiteral("table sends 0x112 0xf120 restore"),
                                    QStringLiteral("table posts 0x16 connecting"),
                                    QStringLiteral("table posts 0x303 connected"),
                                    QStringLiteral("table sends 0x112 0xf020 minimise"),
                                    QStringLiteral("table posts 0x467 hand start")}));
    EXPECT_EQ(states, (std::vector<bool>{false, true}));
    EXPECT_TRUE(hall.minimised());
}

TEST(Hall, ARequestReachesTheTableAndItsAnswerComesBack)
{
    Hall hall(testOptions());
    ASSERT_TRUE(hall.open());

    // A table between hands: asked whether it plays, it answers "not in
    // game"; asked whether it may close, it leaves and answers the same.
    platform::HallLink table;
    std::vector<std::uint32_t> asked;
    const QString hallCaption = hall.options().hallCaption;
    table.setHandler([&](std::uint32_t number, std::int64_t, std::int64_t) -> std::int64_t {
        asked.push_back(number);
        table.postMessage(hallCaption, wire::kTableMsgNotInGame);
        return 0;
    });
    ASSERT_TRUE(table.listen(hall.options().tableCaption));

    EXPECT_TRUE(hall.request(Request::AskInGame));
    EXPECT_TRUE(hall.request(Request::AskClose));
    ASSERT_TRUE(waitUntil([&] { return hall.events().size() == 4; }));
    EXPECT_EQ(asked, (std::vector<std::uint32_t>{0x465, 0x303}));
    const auto lines = described(hall);
    EXPECT_EQ(
            std::count(lines.begin(), lines.end(), QStringLiteral("table posts 0x400 not in game")),
            2);
    EXPECT_EQ(lines[0], QStringLiteral("hall posts 0x465 ask-in-game"));
}

TEST(Hall, ARequestWithoutATableIsReported)
{
    Hall hall(testOptions());
    ASSERT_TRUE(hall.open());
    EXPECT_FALSE(hall.request(Request::Leave));
    ASSERT_EQ(hall.events().size(), 1u);
    EXPECT_EQ(hall.events()[0].kind, HallEvent::Kind::NoTable);
    EXPECT_EQ(hall.events()[0].msg, 0x400u);
}

TEST(Hall, AnswersUnderTheDefaultCaptionWhenTheClientIgnoresTheLinesCaptions)
{
    HallOptions options = testOptions();
    options.useCaptions = 0;
    Hall hall(options);
    platform::HallLink probe;
    const bool defaultTaken = probe.findWindow(QStringLiteral("Ombrevale"));
    if (defaultTaken)
        GTEST_SKIP() << "another hall runs under the default caption on this machine";
    ASSERT_TRUE(hall.open());
    EXPECT_TRUE(probe.findWindow(QStringLiteral("Ombrevale")));
    EXPECT_TRUE(probe.findWindow(options.hallCaption));
    hall.disappear();
    EXPECT_FALSE(probe.findWindow(QStringLiteral("Ombrevale")));
}

TEST(Hall, OnceGoneItIsNotFoundAnyMore)
{
    HallOptions options = testOptions();
    options.goneAfterMs = 20;
    Hall hall(options);
    ASSERT_TRUE(hall.open());
    platform::HallLink table;
    EXPECT_TRUE(table.findWindow(options.hallCaption));
    hall.schedule();
    ASSERT_TRUE(waitUntil([&] { return !hall.events().empty(); }));
    EXPECT_EQ(hall.events().back().kind, HallEvent::Kind::HallGone);
    EXPECT_FALSE(table.findWindow(options.hallCaption));
    EXPECT_FALSE(table.sendMessage(options.hallCaption, wire::kSysCommand, wire::kScRestore, 0));
}

TEST(Hall, StartsTheClientWithItsLineAndSeesItEnd)
{
    QTemporaryDir dir;
    const QString lineFile = dir.filePath(QStringLiteral("line"));
    qputenv("HALL_TEST_LINE_FILE", lineFile.toLocal8Bit());
    HallOptions options = testOptions();
    options.clientPath = QStringLiteral(FAKE_TABLE_CLIENT);
    Hall hall(options);
    ASSERT_TRUE(hall.open());
    int exitCode = -1;
    QObject::connect(&hall, &Hall::clientFinished, [&exitCode](int code) { exitCode = code; });
    hall.startClient();
    ASSERT_TRUE(waitUntil([&] { return exitCode >= 0; }, 10000));

    EXPECT_EQ(exitCode, 3);
    QFile file(lineFile);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(file.readAll()), clientCommandLine(options));
    const auto lines = described(hall);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("client started: ")));
    EXPECT_EQ(lines[1], QStringLiteral("table sends 0x112 0xf120 restore"));
    EXPECT_EQ(lines[3], QStringLiteral("table posts 0x303 connected"));
    EXPECT_EQ(lines[5], QStringLiteral("client ended with exit code 3"));
}

// After its start-up restore, a table that hands control back is asked
// whether it may close; only its answer that it left (not in game) closes
// the client, a table in a hand or a login stays.
TEST(Hall, ATableThatHandsBackIsAskedToCloseAndLeftOnlyIfItLeft)
{
    Hall hall(testOptions());
    ASSERT_TRUE(hall.open());
    platform::HallLink table;
    const QString hallCaption = hall.options().hallCaption;
    std::uint32_t answer = wire::kTableMsgInGame;
    int asked = 0;
    table.setHandler([&](std::uint32_t number, std::int64_t, std::int64_t) -> std::int64_t {
        if (number == wire::kHallMsgAskClose) {
            ++asked;
            table.postMessage(hallCaption, answer);
        }
        return 0;
    });
    ASSERT_TRUE(table.listen(hall.options().tableCaption));
    const auto tableLeft = [&] {
        const auto lines = described(hall);
        return std::count(lines.begin(), lines.end(),
                          QStringLiteral("the table left: closing the client"));
    };

    table.sendMessage(hallCaption, wire::kSysCommand, wire::kScRestore, 0);
    table.postMessage(hallCaption, wire::kTableMsgConnected);
    waitUntil([] { return false; }, 100);
    EXPECT_EQ(asked, 0) << "the start-up's restore is no hand-back";

    table.sendMessage(hallCaption, wire::kSysCommand, wire::kScRestore, 0);
    ASSERT_TRUE(waitUntil([&] { return asked == 1 && hall.events().size() == 5; }));
    EXPECT_EQ(tableLeft(), 0) << "a table in a hand stays";

    answer = wire::kTableMsgNotInGame;
    table.sendMessage(hallCaption, wire::kSysCommand, wire::kScRestore, 0);
    ASSERT_TRUE(waitUntil([&] { return tableLeft() == 1; }));
    EXPECT_EQ(asked, 2);
    // A status posted later, unasked, closes nothing more.
    table.postMessage(hallCaption, wire::kTableMsgNotInGame);
    waitUntil([] { return false; }, 100);
    EXPECT_EQ(tableLeft(), 1);
}

// A table that lost its server in a hand tries to reconnect (posting
// "connecting"), gives up, hands back and shows the player that the network
// is gone. Closed at once, it would take that notice away unread: it stays
// until the player closes the notice, which hands back again.
TEST(Hall, ATableThatGaveUpOnItsServerStaysUntilThePlayerClosesIt)
{
    Hall hall(testOptions());
    ASSERT_TRUE(hall.open());
    platform::HallLink table;
    const QString hallCaption = hall.options().hallCaption;
    int asked = 0;
    table.setHandler([&](std::uint32_t number, std::int64_t, std::int64_t) -> std::int64_t {
        if (number == wire::kHallMsgAskClose) {
            ++asked;
            table.postMessage(hallCaption, wire::kTableMsgNotInGame);
        }
        return 0;
    });
    ASSERT_TRUE(table.listen(hall.options().tableCaption));
    const auto count = [&](const QString &line) {
        const auto lines = described(hall);
        return std::count(lines.begin(), lines.end(), line);
    };
    const QString keptOpen = describeEvent({0, HallEvent::Kind::TableKeptOpen, 0, 0, 0, {}});
    const QString left = QStringLiteral("the table left: closing the client");
    const auto post = [&](std::uint32_t number) {
        table.postMessage(hallCaption, number);
    };
    const auto handBack = [&] {
        table.sendMessage(hallCaption, wire::kSysCommand, wire::kScRestore, 0);
    };

    handBack(); // the start-up's
    post(wire::kTableMsgConnected);
    post(wire::kTableMsgHandStart);
    // A reconnection that worked: a later hand-back is the player leaving.
    post(wire::kTableMsgConnecting);
    post(wire::kTableMsgConnected);
    // The server went away for good: attempts, then the give-up.
    post(wire::kTableMsgConnecting);
    post(wire::kTableMsgConnecting);
    handBack();
    ASSERT_TRUE(waitUntil([&] { return count(keptOpen) == 1; }));
    waitUntil([] { return false; }, 100);
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(count(left), 0);

    // The player closes the notice.
    handBack();
    ASSERT_TRUE(waitUntil([&] { return count(left) == 1; }));
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(count(keptOpen), 1);
}

TEST(Hall, TheWindowObeysRestoreAndMinimise)
{
    Hall hall(testOptions());
    ASSERT_TRUE(hall.open());
    HallWindow window(hall);
    window.show();
    EXPECT_EQ(window.windowTitle(), hall.options().hallCaption);
    platform::HallLink table;
    table.sendMessage(hall.options().hallCaption, wire::kSysCommand, wire::kScMinimise, 0);
    EXPECT_TRUE(waitUntil([&] { return window.isMinimized(); }));
    table.sendMessage(hall.options().hallCaption, wire::kSysCommand, wire::kScRestore, 0);
    EXPECT_TRUE(waitUntil([&] { return !window.isMinimized(); }));
}

namespace {

// Points the hall link at a folder of the test's own for the scope.
class RuntimeFolder
{
public:
    RuntimeFolder()
        : saved_(qgetenv("XDG_RUNTIME_DIR"))
        , had_(qEnvironmentVariableIsSet("XDG_RUNTIME_DIR"))
    {
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(dir.path()));
    }
    ~RuntimeFolder()
    {
        ::chmod(QFile::encodeName(dir.path()).constData(), 0700);
        if (had_)
            qputenv("XDG_RUNTIME_DIR", saved_);
        else
            qunsetenv("XDG_RUNTIME_DIR");
    }
    RuntimeFolder(const RuntimeFolder &) = delete;
    RuntimeFolder &operator=(const RuntimeFolder &) = delete;

    QTemporaryDir dir;

private:
    QByteArray saved_;
    bool had_;
};

} // namespace

// A hall that cannot open its window says what stood in the way: another
// window under the caption, or the folder or the socket file and the
// system's own reason, never the caption for a folder that failed.
TEST(Hall, SaysWhyItCannotOpenItsWindow)
{
    struct Case
    {
        const char *what;
        std::function<void(const QString &socket)> arrange;
        std::function<QStringList(const QString &socket, const QString &caption)> expected;
        bool needsOrdinaryUser = false;
    };
    std::unique_ptr<platform::HallLink> other;
    const Case cases[] = {
            {"another window has the caption",
             [&](const QString &) {
                 other = std::make_unique<platform::HallLink>();
                 ASSERT_TRUE(other->listen(uniqueCaption("hall")));
             },
             [](const QString &, const QString &caption) {
                 return QStringList{QStringLiteral("another window already has the caption ")
                                    + caption};
             }},
            {"a folder in the socket's place",
             [](const QString &socket) { ASSERT_TRUE(QDir().mkpath(socket)); },
             [](const QString &socket, const QString &) {
                 return QStringList{QStringLiteral("the socket %1 cannot be made").arg(socket),
                                    QStringLiteral("no socket")};
             }},
            // The superuser makes files in any folder.
            {"a read-only runtime folder",
             [](const QString &socket) {
                 const QByteArray folder = QFile::encodeName(QFileInfo(socket).path());
                 ASSERT_EQ(::chmod(folder.constData(), 0500), 0);
             },
             [](const QString &socket, const QString &) {
                 return QStringList{QStringLiteral("the folder %1 cannot be written")
                                            .arg(QFileInfo(socket).path()),
                                    QString::fromLocal8Bit(std::strerror(EACCES))};
             },
             true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        if (c.needsOrdinaryUser && ::geteuid() == 0)
            continue;
        const RuntimeFolder runtime;
        const HallOptions options = testOptions();
        const QString socket = platform::HallLink::serverPathFor(options.hallCaption);
        ASSERT_TRUE(socket.startsWith(runtime.dir.path()));
        c.arrange(socket);
        Hall hall(options);
        EXPECT_FALSE(hall.open());
        const QString error = hall.openError();
        for (const QString &part : c.expected(socket, options.hallCaption)) {
            EXPECT_TRUE(error.contains(part))
                    << error.toStdString() << "\nlacks " << part.toStdString();
        }
        if (std::string_view(c.what) != "another window has the caption") {
            EXPECT_FALSE(error.contains(QStringLiteral("already has the caption")))
                    << error.toStdString();
        }
        other.reset();
    }
}

// The program says it on its standard error and ends with status 1.
TEST(HallProgram, SaysWhyItCannotOpenItsWindow)
{
    QTemporaryDir runtime;
    const QString caption = uniqueCaption("hall");
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    const QString socket
            = runtime.path() + QLatin1Char('/') + platform::HallLink::serverNameFor(caption);
    ASSERT_TRUE(QDir().mkpath(socket));
    QProcess hall;
    hall.setProcessEnvironment(environment);
    hall.start(QStringLiteral(TESSAROC_HALL_PATH),
               {QStringLiteral("--headless"), QStringLiteral("--hall-caption"), caption,
                QStringLiteral("--quit-after"), QStringLiteral("3000")});
    ASSERT_TRUE(hall.waitForFinished(10000));
    const QString error = QString::fromUtf8(hall.readAllStandardError());
    EXPECT_EQ(hall.exitCode(), 1);
    EXPECT_TRUE(error.startsWith(QStringLiteral("tessaroc-hall: the socket ") + socket))
            << error.toStdString();
}

TEST(HallProgram, HeadlessItRecordsTheClientAndEndsWithItsExitCode)
{
    QTemporaryDir dir;
    QProcess hall;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HALL_TEST_LINE_FILE"), dir.filePath(QStringLiteral("line")));
    hall.setProcessEnvironment(environment);
    hall.start(QStringLiteral(TESSAROC_HALL_PATH),
               {QStringLiteral("--headless"), QStringLiteral("--client"),
                QStringLiteral(FAKE_TABLE_CLIENT), QStringLiteral("--hall-caption"),
                uniqueCaption("hall"), QStringLiteral("--table-caption"), uniqueCaption("table"),
                QStringLiteral("--quit-after"), QStringLiteral("10000")});
    ASSERT_TRUE(hall.waitForFinished(15000));
    const QString output = QString::fromUtf8(hall.readAllStandardOutput());
    EXPECT_EQ(hall.exitCode(), 3) << output.toStdString();
    EXPECT_TRUE(output.contains(QStringLiteral("table sends 0x112 0xf120 restore")))
            << output.toStdString();
    EXPECT_TRUE(output.contains(QStringLiteral("table sends 0x112 0xf020 minimise")));
    EXPECT_TRUE(output.contains(QStringLiteral("client ended with exit code 3")));
}

namespace {

struct HeadlessRun
{
    bool finished = false;
    int exitCode = -1;
    QString output;
};

// Runs the headless hall with a client program and extra environment, and
// waits for it to end by itself: no --quit-after, so a hall that never ends
// shows as a run that did not finish.
HeadlessRun runHeadless(const QString &client, const QStringList &environmentEntries = {})
{
    QProcess hall;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString &entry : environmentEntries)
        environment.insert(entry.section(QLatin1Char('='), 0, 0),
                           entry.section(QLatin1Char('='), 1));
    hall.setProcessEnvironment(environment);
    hall.start(QStringLiteral(TESSAROC_HALL_PATH),
               {QStringLiteral("--headless"), QStringLiteral("--client"), client,
                QStringLiteral("--hall-caption"), uniqueCaption("hall"),
                QStringLiteral("--table-caption"), uniqueCaption("table")});
    HeadlessRun run;
    run.finished = hall.waitForFinished(5000);
    if (!run.finished) {
        hall.kill();
        hall.waitForFinished(1000);
    }
    run.exitCode = hall.exitCode();
    run.output = QString::fromUtf8(hall.readAllStandardOutput());
    return run;
}

} // namespace

TEST(HallProgram, HeadlessItEndsWhenTheClientCannotStart)
{
    QTemporaryDir dir;
    const HeadlessRun run = runHeadless(dir.filePath(QStringLiteral("no-such-client")));
    ASSERT_TRUE(run.finished) << run.output.toStdString();
    EXPECT_EQ(run.exitCode, 127);
    EXPECT_TRUE(run.output.contains(QStringLiteral("client failed to start")))
            << run.output.toStdString();
}

// A table that hands back and answers that it left is closed: the hall,
// which lives as long as its client, ends.
TEST(HallProgram, ClosesAClientWhoseTableLeft)
{
    QTemporaryDir dir;
    const HeadlessRun run = runHeadless(
            QStringLiteral(FAKE_TABLE_CLIENT),
            {QStringLiteral("HALL_TEST_LEAVE=1"),
             QStringLiteral("HALL_TEST_LINE_FILE=") + dir.filePath(QStringLiteral("line"))});
    ASSERT_TRUE(run.finished) << run.output.toStdString();
    EXPECT_TRUE(run.output.contains(QStringLiteral("hall posts 0x303 ask-close")))
            << run.output.toStdString();
    EXPECT_TRUE(run.output.contains(QStringLiteral("the table left: closing the client")));
    EXPECT_EQ(run.exitCode, 128 + SIGTERM) << run.output.toStdString();
}

// SIGTERM or SIGINT to the hall ends the client it started before the hall
// ends; the client is never left behind.
TEST(HallProgram, AStoppedHallTakesItsClientWithIt)
{
    for (const int signal : {SIGTERM, SIGINT}) {
        QTemporaryDir dir;
        QProcess hall;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HALL_TEST_STAY"), QStringLiteral("1"));
        environment.insert(QStringLiteral("HALL_TEST_LINE_FILE"),
                           dir.filePath(QStringLiteral("line")));
        hall.setProcessEnvironment(environment);
        hall.start(QStringLiteral(TESSAROC_HALL_PATH),
                   {QStringLiteral("--client"), QStringLiteral(FAKE_TABLE_CLIENT),
                    QStringLiteral("--headless"), QStringLiteral("--hall-caption"),
                    uniqueCaption("hall"), QStringLiteral("--table-caption"),
                    uniqueCaption("table")});
        ASSERT_TRUE(hall.waitForStarted(5000));
        // The client is the hall's child, up once it minimised the hall.
        pid_t client = 0;
        ASSERT_TRUE(waitUntil(
                [&] {
                    hall.waitForReadyRead(10);
                    QFile children(
                            QStringLiteral("/proc/%1/task/%1/children").arg(hall.processId()));
                    if (children.open(QIODevice::ReadOnly))
                        client = static_cast<pid_t>(children.readAll().trimmed().toLongLong());
                    return client > 0 && hall.peek(1 << 16).contains("minimise");
                },
                5000));
        ::kill(static_cast<pid_t>(hall.processId()), signal);
        ASSERT_TRUE(hall.waitForFinished(8000));
        EXPECT_EQ(hall.exitCode(), 128 + signal);
        const bool clientLives = ::kill(client, 0) == 0;
        EXPECT_FALSE(clientLives) << "signal " << signal;
        if (clientLives)
            ::kill(client, SIGKILL);
    }
}

TEST(HallProgram, HeadlessItTellsAClientKilledByASignalFromAnExitCode)
{
    QTemporaryDir dir;
    const HeadlessRun run = runHeadless(
            QStringLiteral(FAKE_TABLE_CLIENT),
            {QStringLiteral("HALL_TEST_KILL=1"),
             QStringLiteral("HALL_TEST_LINE_FILE=") + dir.filePath(QStringLiteral("line"))});
    ASSERT_TRUE(run.finished) << run.output.toStdString();
    // As a shell reports it: 128 plus the signal, never the bare signal
    // number, which a client could also use as an exit code.
    EXPECT_EQ(run.exitCode, 128 + 9) << run.output.toStdString();
    EXPECT_TRUE(run.output.contains(QStringLiteral("client was killed by signal 9")))
            << run.output.toStdString();
    EXPECT_FALSE(run.output.contains(QStringLiteral("client ended with exit code")));
}
