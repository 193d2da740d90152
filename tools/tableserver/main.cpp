// tessaroc-tableserver: a local game server for the table client. It seats
// any mix of connected clients and computer players and plays hands with
// them, logging a readable game record on standard output.

#include "TableServer.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>
#include <iostream>

using namespace tessaroc::tableserver;

namespace {

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
            {QStringLiteral("drop-seat-after-plays"),
             QStringLiteral("For tests: close the connection of the person in the lowest seat "
                            "after the Nth play of the first hand, once (0: never)."),
             QStringLiteral("plays"), QStringLiteral("0")},
    });
    parser.process(app);

    EngineOptions options;
    long long port = 0, bots = options.bots, seed = 1, seconds = options.playSeconds,
              coins = static_cast<long long>(options.playerCoins), dropAfter = 0;
    if (!readNumber(parser, QStringLiteral("port"), 0, 65535, port)
        || !readNumber(parser, QStringLiteral("bots"), 0, 4, bots)
        || !readNumber(parser, QStringLiteral("seed"), 0, std::numeric_limits<long long>::max(),
                       seed)
        || !readNumber(parser, QStringLiteral("turn-seconds"), 2, 255, seconds)
        || !readNumber(parser, QStringLiteral("coins"), 0, 1LL << 40, coins)
        || !readNumber(parser, QStringLiteral("drop-seat-after-plays"), 0, 1000, dropAfter))
        return 2;
    options.dropSeatAfterPlays = static_cast<int>(dropAfter);
    options.bots = static_cast<int>(bots);
    options.seed = static_cast<std::uint64_t>(seed);
    options.playSeconds = static_cast<std::uint8_t>(seconds);
    options.playerCoins = static_cast<std::uint64_t>(coins);
    options.password = parser.value(QStringLiteral("password")).toStdString();

    TableServer *server = nullptr;
    const auto log = [&server](const std::string &line) {
        const double at = server ? static_cast<double>(server->nowMs()) / 1000.0 : 0.0;
        std::printf("[%9.3f] %s\n", at, line.c_str());
        std::fflush(stdout);
    };
    TableServer table(options, log);
    server = &table;
    if (!table.listen(static_cast<quint16>(port))) {
        std::cerr << "tessaroc-tableserver: cannot listen on 127.0.0.1:" << port << ": "
                  << table.errorString().toStdString() << '\n';
        return 1;
    }
    std::printf("tessaroc-tableserver listening on 127.0.0.1:%u with %lld computer players\n",
                static_cast<unsigned>(table.port()), bots);
    std::fflush(stdout);
    return QCoreApplication::exec();
}
