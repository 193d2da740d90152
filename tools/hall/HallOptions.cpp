#include "HallOptions.h"

#include <QCommandLineParser>

#include <array>
#include <utility>

namespace tessaroc::hall {

namespace {

constexpr std::array<std::pair<Request, const char *>, 4> kRequestNames{{
        {Request::AskInGame, "ask-in-game"},
        {Request::AskClose, "ask-close"},
        {Request::Leave, "leave"},
        {Request::Reconnect, "reconnect"},
}};

struct TextOption
{
    const char *name;
    const char *help;
    QString HallOptions::*field;
};

struct NumberOption
{
    const char *name;
    const char *help;
    int HallOptions::*field;
};

// Numbers go to the client as they are given, so that a hall can also hand
// it a line it refuses.
const std::array<TextOption, 9> kTextOptions{{
        {"user", "Account name (field 1).", &HallOptions::user},
        {"password", "Password (field 2).", &HallOptions::password},
        {"server-host", "Game server host (field 3).", &HallOptions::serverHost},
        {"room", "Room text, seven characters of room code first (field 5).", &HallOptions::room},
        {"proxy-host", "Proxy host (field 7).", &HallOptions::proxyHost},
        {"proxy-user", "Proxy user (field 9).", &HallOptions::proxyUser},
        {"proxy-password", "Proxy password (field 10).", &HallOptions::proxyPassword},
        {"hall-caption", "The hall window's caption (field 12).", &HallOptions::hallCaption},
        {"table-caption", "The table window's caption (field 13).", &HallOptions::tableCaption},
}};

const std::array<NumberOption, 6> kNumberOptions{{
        {"server-port", "Game server port (field 4).", &HallOptions::serverPort},
        {"proxy-type", "0 direct, 5 SOCKS5 (field 6).", &HallOptions::proxyType},
        {"proxy-port", "Proxy port (field 8).", &HallOptions::proxyPort},
        {"use-captions", "1 = the client takes fields 12 and 13 (field 11).",
         &HallOptions::useCaptions},
        {"item-switch", "Item switch (field 14).", &HallOptions::itemSwitch},
        {"item-param", "Item parameter (field 15).", &HallOptions::itemParam},
}};

bool readNumber(const QString &text, int &value)
{
    bool ok = false;
    value = text.toInt(&ok);
    return ok;
}

} // namespace

QString requestName(Request request)
{
    for (const auto &[value, name] : kRequestNames) {
        if (value == request)
            return QString::fromLatin1(name);
    }
    return {};
}

std::optional<Request> requestFromName(const QString &name)
{
    for (const auto &[value, text] : kRequestNames) {
        if (name == QLatin1String(text))
            return value;
    }
    return std::nullopt;
}

ParsedHallOptions parseHallOptions(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
            "Hall stand-in for the Tessaroc table client: opens the hall window, starts the client "
            "with its fifteen-field command line, records every message the client sends and "
            "offers the hall's four requests."));
    parser.addHelpOption();
    const HallOptions defaults;
    for (const auto &option : kTextOptions)
        parser.addOption({QString::fromLatin1(option.name), QString::fromLatin1(option.help),
                          QStringLiteral("text"), defaults.*option.field});
    for (const auto &option : kNumberOptions)
        parser.addOption({QString::fromLatin1(option.name), QString::fromLatin1(option.help),
                          QStringLiteral("number"), QString::number(defaults.*option.field)});
    parser.addOptions({
            {QStringLiteral("spectator-tail"),
             QStringLiteral("Text after field 15; one not ending in \"$\" makes a spectator."),
             QStringLiteral("text")},
            {QStringLiteral("client"),
             QStringLiteral("The client program to start (none: wait for one)."),
             QStringLiteral("path")},
            {QStringLiteral("headless"),
             QStringLiteral("No window: the records go to standard output, and the hall ends with "
                            "the client's exit code (128 + the signal when it was killed, 127 "
                            "when it could not start).")},
            {QStringLiteral("exit-with-client"),
             QStringLiteral("With the window too, end when the client ends, with its exit code "
                            "(as --headless does).")},
            {QStringLiteral("request"),
             QStringLiteral("Send a request at a time: ask-in-game, ask-close, leave or reconnect, "
                            "then @ and milliseconds after the start (repeatable)."),
             QStringLiteral("name@ms")},
            {QStringLiteral("after-connect"),
             QStringLiteral("Count the requests and --gone-after from the table's report that it "
                            "connected, not from the start.")},
            {QStringLiteral("gone-after"),
             QStringLiteral("The hall window disappears after this many milliseconds."),
             QStringLiteral("ms")},
            {QStringLiteral("quit-after"),
             QStringLiteral("End the hall after this many milliseconds."), QStringLiteral("ms")},
    });

    ParsedHallOptions result;
    if (!parser.parse(arguments)) {
        result.error = parser.errorText();
        return result;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        result.error = parser.helpText();
        result.helpShown = true;
        return result;
    }
    if (!parser.positionalArguments().isEmpty()) {
        result.error
                = QStringLiteral("unexpected argument: ") + parser.positionalArguments().first();
        return result;
    }

    HallOptions options;
    for (const auto &option : kTextOptions) {
        const QString name = QString::fromLatin1(option.name);
        // "$" ends a field on the client's line: inside a text it would cut
        // the field there and move every later field along.
        if (parser.value(name).contains(QLatin1Char('$'))) {
            result.error = QStringLiteral("--") + name
                    + QStringLiteral(" cannot hold \"$\", which ends a field of the client's line");
            return result;
        }
        options.*option.field = parser.value(name);
    }
    for (const auto &option : kNumberOptions) {
        const QString name = QString::fromLatin1(option.name);
        if (!readNumber(parser.value(name), options.*option.field)) {
            result.error = QStringLiteral("--") + name + QStringLiteral(" must be a number");
            return result;
        }
    }
    options.spectatorTail = parser.value(QStringLiteral("spectator-tail"));
    options.clientPath = parser.value(QStringLiteral("client"));
    options.headless = parser.isSet(QStringLiteral("headless"));
    options.exitWithClient = options.headless || parser.isSet(QStringLiteral("exit-with-client"));
    options.afterConnect = parser.isSet(QStringLiteral("after-connect"));
    for (const QString &item : parser.values(QStringLiteral("request"))) {
        const auto at = item.indexOf(QLatin1Char('@'));
        const auto request = requestFromName(item.left(at));
        int ms = -1;
        if (!request || at < 0 || !readNumber(item.mid(at + 1), ms) || ms < 0) {
            result.error = QStringLiteral("--request wants name@ms, not ") + item;
            return result;
        }
        options.requests.push_back({*request, ms});
    }
    for (const auto &[name, field] :
         {std::pair{QStringLiteral("gone-after"), &HallOptions::goneAfterMs},
          std::pair{QStringLiteral("quit-after"), &HallOptions::quitAfterMs}}) {
        if (!parser.isSet(name))
            continue;
        int ms = -1;
        if (!readNumber(parser.value(name), ms) || ms < 0) {
            result.error = QStringLiteral("--") + name + QStringLiteral(" wants milliseconds");
            return result;
        }
        options.*field = ms;
    }
    result.options = options;
    return result;
}

QString clientCommandLine(const HallOptions &options)
{
    const QStringList fields{
            options.user,
            options.password,
            options.serverHost,
            QString::number(options.serverPort),
            options.room,
            QString::number(options.proxyType),
            options.proxyHost,
            QString::number(options.proxyPort),
            options.proxyUser,
            options.proxyPassword,
            QString::number(options.useCaptions),
            options.hallCaption,
            options.tableCaption,
            QString::number(options.itemSwitch),
            QString::number(options.itemParam),
    };
    QString line;
    for (const QString &field : fields)
        line += field + QLatin1Char('$');
    return line + options.spectatorTail;
}

} // namespace tessaroc::hall
