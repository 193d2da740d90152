// The switched-off configuration end to end: the client, started by the hall
// with the item switch on, plays a whole hand against the table server,
// leaves the table and is closed; the devices behind its item library and
// its video link record every call. The server and the hall run in this
// process, the client is the hall's child.

#include "EngineOptions.h"
#include "Hall.h"
#include "TableServer.h"
#include "WaitUntil.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>

namespace {

using namespace tessaroc;

using test::waitUntil;

TEST(SwitchedOff, AWholeHandAndLeavingLeaveTheItemLibraryAndTheVideoDevicesAlone)
{
    QTemporaryDir runtime;
    ASSERT_TRUE(runtime.isValid());
    const QString deviceLog = runtime.filePath(QStringLiteral("devices.log"));
    qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    qputenv("TMPDIR", runtime.path().toUtf8());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("TESSAROC_NONINTERACTIVE", "1");
    qputenv("TESSAROC_CLOCK_SCALE", "10");
    qputenv("TESSAROC_DEVICE_LOG", deviceLog.toUtf8());

    // A quick table: the hand starts soon after the fourth seat is taken,
    // though nobody presses ready, the computer players are fast and the
    // client's clocks are short.
    tableserver::EngineOptions table;
    table.startWithoutReady = true;
    table.firstHandWaitMs = 300;
    table.nextHandWaitMs = 600000;
    table.botDelayMinMs = 10;
    table.botDelayMaxMs = 30;
    table.playSeconds = 4;
    table.roomSeconds = 4;
    table.bidWaitMs = 5000;
    table.playGraceMs = 2000;
    QStringList serverLog;
    tableserver::TableServer server(table, [&serverLog](const std::string &line) {
        serverLog << QString::fromStdString(line);
    });
    ASSERT_TRUE(server.listen(0)) << server.errorString().toStdString();
    const auto saw = [&serverLog](const QString &text) {
        return std::any_of(serverLog.begin(), serverLog.end(),
                           [&text](const QString &line) { return line.contains(text); });
    };

    hall::HallOptions options;
    options.serverPort = server.port();
    options.clientPath = QStringLiteral(TESSAROC_RECORDED_CLIENT_PATH);
    options.headless = true;
    options.hallCaption = QStringLiteral("switched-off-hall");
    options.tableCaption = QStringLiteral("switched-off-table");
    // The hall asks for the item library; the client switches it off.
    options.itemSwitch = 1;
    options.itemParam = 3;
    hall::Hall hallWindow(options);
    ASSERT_TRUE(hallWindow.open());
    int clientResult = -1;
    QObject::connect(&hallWindow, &hall::Hall::clientFinished,
                     [&clientResult](int result) { clientResult = result; });
    hallWindow.startClient();

    ASSERT_TRUE(waitUntil([&] { return saw(QStringLiteral("hand 1: ")); }, 30000))
            << serverLog.join(QLatin1Char('\n')).toStdString();
    EXPECT_FALSE(saw(QStringLiteral("abandoned")));
    ASSERT_TRUE(hallWindow.request(hall::Request::Leave));
    ASSERT_TRUE(waitUntil([&] { return saw(QStringLiteral("leaves the table")); }, 8000))
            << serverLog.join(QLatin1Char('\n')).toStdString();
    ASSERT_NE(hallWindow.client(), nullptr);
    ::kill(static_cast<pid_t>(hallWindow.client()->processId()), SIGTERM);
    ASSERT_TRUE(waitUntil([&] { return clientResult != -1; }, 8000));
    EXPECT_EQ(clientResult, 0);
    EXPECT_EQ(
            std::count_if(serverLog.begin(), serverLog.end(),
                          [](const QString &l) { return l.contains(QStringLiteral("sits down")); }),
            1)
            << "the client's one connection; it opens no other";

    // The item library is never asked for: no plug-in file looked up, no
    // object made, no call. The video link only logs out at the unload, as
    // it does whether or not video was ever on; the camera is never touched.
    QFile log(deviceLog);
    QStringList calls;
    if (log.open(QIODevice::ReadOnly))
        calls = QString::fromUtf8(log.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    EXPECT_EQ(calls, QStringList{QStringLiteral("peers Logout")})
            << calls.join(QLatin1Char('\n')).toStdString();
}

} // namespace
