#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace tessaroc::hall {

// The hall's four requests to the table.
enum class Request { AskInGame, AskClose, Leave, Reconnect };

struct ScheduledRequest
{
    Request request;
    int atMs; // after the hall started
};

// What the hall stand-in is told on its command line: the fifteen fields it
// passes to the client, and how it runs.
struct HallOptions
{
    // The client's command-line fields, in their order.
    QString user = QStringLiteral("alice");
    QString password = QStringLiteral("secret");
    QString serverHost = QStringLiteral("127.0.0.1");
    int serverPort = 6000;
    QString room = QStringLiteral("0000001Room 1");
    int proxyType = 0;
    QString proxyHost;
    int proxyPort = 0;
    QString proxyUser;
    QString proxyPassword;
    int useCaptions = 1;
    QString hallCaption = QStringLiteral("Ombrevale");
    QString tableCaption = QStringLiteral("Tessaroc-1");
    int itemSwitch = 0;
    int itemParam = 0;
    // Text after the fifteenth field; one that does not end in "$" starts
    // the client as a spectator.
    QString spectatorTail;

    QString clientPath; // empty: no client is started
    bool headless = false;
    // The hall ends when its client ends, with the client's code; always so
    // without a window.
    bool exitWithClient = false;
    std::vector<ScheduledRequest> requests;
    std::optional<int> goneAfterMs; // the hall window disappears then
    std::optional<int> quitAfterMs;
    // The schedule above counts from the table's report that it connected,
    // not from the start: runs on a loaded machine keep their order.
    bool afterConnect = false;
};

struct ParsedHallOptions
{
    std::optional<HallOptions> options; // nothing: see error
    QString error;
    bool helpShown = false;
};

ParsedHallOptions parseHallOptions(const QStringList &arguments);

// The one argument the client gets: the fifteen fields, each ended by "$",
// then the spectator tail.
QString clientCommandLine(const HallOptions &options);

QString requestName(Request request);
std::optional<Request> requestFromName(const QString &name);

} // namespace tessaroc::hall
