// tessaroc-tableserver: a local game server for the table client. It seats
// any mix of connected clients and computer players and plays hands with
// them, logging a readable game record on standard output.

#include "LogWriter.h"
#include "TableServer.h"
#include "Termination.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <csignal>
#include <cstdio>
#include <iostream>

#include <unistd.h>

using namespace tessaroc::tableserver;

namespace {

// Exit status when the server ends after refusing frames of a client.
constexpr int kExitRefusedClientFrames = 3;

bool readNumber(const QCommandLineParser &parser, const QString &name, long long low,
                long long high, long long &out)
{
    if (!parser.isSet(name))
        return true;
    bool ok = false;
    const long long value = parser.value(name).toLongLong(&ok);
    if (!ok || value < low || value > high) {
        std::cerr << "tessaroc-tableserver: --" << name.toStdString() << " must be a number from "
                  << low << " to " << high << '\n';
        return false;
    }
    out = value;
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    // A client gone while the record or a frame is written must not end the
    // server.
    std::signal(SIGPIPE, SIG_IGN);
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tessaroc-tableserver"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
            QStringLiteral("Local game server for the Tessaroc table client: four seats, any mix "
                           "of connected clients and computer players."));
    parser.addHelpOption();
    parser.addOptions({
            {QStringLiteral("port"), QStringLiteral("Port on 127.0.0.1; 0 lets the system choose."),
             QStringLiteral("port"), QStringLiteral("0")},
            {QStringLiteral("bots"), QStringLiteral("Seats taken by computer players (0 to 4)."),
             QStringLiteral("count"), QStringLiteral("3")},
            {QStringLiteral("seed"), QStringLiteral("Seed of the shuffles and the players' pace."),
             QStringLiteral("number"), QStringLiteral("1")},
            {QStringLiteral("turn-seconds"),
             QStringLiteral("Seconds on a player's play clock (2 to 255)."),
             QStringLiteral("seconds"), QStringLiteral("20")},
            {QStringLiteral("coins"), QStringLiteral("Coins of a player who sits down."),
             QStringLiteral("coins"), QStringLiteral("10000")},
            {QStringLiteral("password"),
             QStringLiteral("Password every login must carry (default: any)."),
             QStringLiteral("password")},
            {QStringLiteral("max-connections"),
             QStringLiteral("Connections held at once; more are closed at once (1 to 100000)."),
             QStringLiteral("count"), QStringLiteral("256")},
            {QStringLiteral("drop-seat-after-plays"),
             QStringLiteral("For tests: close the connection of the person in the lowest seat "
                            "after the Nth play of the first hand, once (0: never)."),
             QStringLiteral("plays"), QStringLiteral("0")},
            {QStringLiteral("drop-seat-after-results"),
             QStringLiteral("For tests: close the connection of the person in the lowest seat "
                            "after the Nth result frame of the first hand (1 to 3), and keep "
                            "the hand open for its return (0: never)."),
             QStringLiteral("frames"), QStringLiteral("0")},
            {QStringLiteral("force-leave-after-plays"),
             QStringLiteral("For tests: make the person in the lowest seat leave (forced leave) "
                            "after the Nth play of the first hand, once (0: never)."),
             QStringLiteral("plays"), QStringLiteral("0")},
            {QStringLiteral("start-without-ready"),
             QStringLiteral("For tests: also start a hand 15 seconds after the fourth seat is "
                            "filled (20 after the last hand's results) when a person has not "
                            "said ready.")},
            {QStringLiteral("check-client-frames"),
             QStringLiteral("For tests: refuse every frame from a client that the table client "
                            "would not send, report it on standard error, and end with status "
                            "3.")},
    });
    parser.process(app);

    EngineOptions options;
    ServerLimits limits;
    long long port = 0, bots = options.bots, seed = 1, seconds = options.playSeconds,
              coins = static_cast<long long>(options.playerCoins), dropAfter = 0,
              dropAfterResults = 0, forceAfter = 0, maxConnections = limits.maxConnections;
    if (!readNumber(parser, QStringLiteral("port"), 0, 65535, port)
        || !readNumber(parser, QStringLiteral("bots"), 0, 4, bots)
        || !readNumber(parser, QStringLiteral("seed"), 0, std::numeric_limits<long long>::max(),
                       seed)
        || !readNumber(parser, QStringLiteral("turn-seconds"), 2, 255, seconds)
        || !readNumber(parser, QStringLiteral("coins"), 0, 1LL << 40, coins)
        || !readNumber(parser, QStringLiteral("max-connections"), 1, 100000, maxConnections)
        || !readNumber(parser, QStringLiteral("drop-seat-after-plays"), 0, 1000, dropAfter)
        || !readNumber(parser, QStringLiteral("drop-seat-after-results"), 0, 3, dropAfterResults)
        || !readNumber(parser, QStringLiteral("force-leave-after-plays"), 0, 1000, forceAfter))
        return 2;
    options.bots = static_cast<int>(bots);
    options.seed = static_cast<std::uint64_t>(seed);
    options.playSeconds = static_cast<std::uint8_t>(seconds);
    options.playerCoins = static_cast<std::uint64_t>(coins);
    options.password = parser.value(QStringLiteral("password")).toStdString();
    options.dropSeatAfterPlays = static_cast<int>(dropAfter);
    options.dropSeatAfterResults = static_cast<int>(dropAfterResults);
    options.forceLeaveAfterPlays = static_cast<int>(forceAfter);
    options.checkClientFrames = parser.isSet(QStringLiteral("check-client-frames"));
    options.startWithoutReady = parser.isSet(QStringLiteral("start-without-ready"));
    limits.maxConnections = static_cast<int>(maxConnections);

    if (!tessaroc::tools::catchTermination()) {
        std::cerr << "tessaroc-tableserver: cannot catch termination signals\n";
        return 1;
    }
    LogWriter record(STDOUT_FILENO);
    LogWriter errors(STDERR_FILENO);
    TableServer *server = nullptr;
    const auto log = [&server, &record](const std::string &line) {
        const double at = server ? static_cast<double>(server->nowMs()) / 1000.0 : 0.0;
        char stamp[32];
        std::snprintf(stamp, sizeof stamp, "[%9.3f] ", at);
        record.write(stamp + line);
    };
    TableServer table(options, log);
    server = &table;
    table.setLimits(limits);
    table.engine().setClientFrameReport(
            [&errors](const std::string &line) { errors.write("tessaroc-tableserver: " + line); });
    if (!table.listen(static_cast<quint16>(port))) {
        std::cerr << "tessaroc-tableserver: cannot listen on 127.0.0.1:" << port << ": "
                  << table.errorString().toStdString() << '\n';
        return 1;
    }
    record.write("tessaroc-tableserver listening on 127.0.0.1:" + std::to_string(table.port())
                 + " with " + std::to_string(bots) + " computer players");

    tessaroc::tools::onTermination(&app, [](int) { QCoreApplication::quit(); });
    QCoreApplication::exec();
    const int refused = table.engine().refusedClientFrames();
    if (refused > 0) {
        errors.write("tessaroc-tableserver: " + std::to_string(refused) + " client frames refused");
        return kExitRefusedClientFrames;
    }
    return 0;
}
