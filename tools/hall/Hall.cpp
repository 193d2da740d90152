#include "Hall.h"

#include "platform/HallLink.h"

#include <QPointer>
#include <QTimer>

#include <algorithm>

namespace tessaroc::hall {

namespace {

const QString kDefaultHallCaption = QStringLiteral("Ombrevale");

// What a shell reports for a program it could not start, and on top of which
// it reports the number of a killing signal.
constexpr int kCouldNotStart = 127;
constexpr int kKilledBase = 128;
// A table told to close unloads in well under a second; one that has not
// ended by then is killed.
constexpr int kCloseGraceMs = 5000;

QString statusName(std::uint32_t number)
{
    switch (number) {
    case wire::kTableMsgConnecting:
        return QStringLiteral("connecting");
    case wire::kTableMsgConnected:
        return QStringLiteral("connected");
    case wire::kTableMsgInGame:
        return QStringLiteral("in game");
    case wire::kTableMsgLoginSent:
        return QStringLiteral("login under way");
    case wire::kTableMsgHandStart:
        return QStringLiteral("hand start");
    case wire::kTableMsgNotInGame:
        return QStringLiteral("not in game");
    default:
        return QStringLiteral("unknown");
    }
}

QString hex(std::int64_t value)
{
    return QStringLiteral("0x") + QString::number(value, 16);
}

} // namespace

std::uint32_t requestNumber(Request request)
{
    switch (request) {
    case Request::AskInGame:
        return wire::kHallMsgAskInGame;
    case Request::AskClose:
        return wire::kHallMsgAskClose;
    case Request::Leave:
        return wire::kHallMsgLeave;
    case Request::Reconnect:
        return wire::kHallMsgReconnect;
    }
    return 0;
}

QString describeEvent(const HallEvent &event)
{
    switch (event.kind) {
    case HallEvent::Kind::TableSent: {
        QString what = QStringLiteral("system command");
        if (event.msg == wire::kSysCommand && event.wParam == wire::kScRestore)
            what = QStringLiteral("restore");
        else if (event.msg == wire::kSysCommand && event.wParam == wire::kScMinimise)
            what = QStringLiteral("minimise");
        return QStringLiteral("table sends ") + hex(event.msg) + QLatin1Char(' ')
                + hex(event.wParam) + QLatin1Char(' ') + what;
    }
    case HallEvent::Kind::TablePosted:
        return QStringLiteral("table posts ") + hex(event.msg) + QLatin1Char(' ')
                + statusName(event.msg);
    case HallEvent::Kind::HallPosted:
        return QStringLiteral("hall posts ") + hex(event.msg) + QLatin1Char(' ') + event.text;
    case HallEvent::Kind::NoTable:
        return QStringLiteral("no table window for ") + event.text;
    case HallEvent::Kind::ClientStarted:
        return QStringLiteral("client started: ") + event.text;
    case HallEvent::Kind::ClientFailed:
        return QStringLiteral("client failed to start: ") + event.text;
    case HallEvent::Kind::ClientFinished:
        return QStringLiteral("client ended with exit code ") + event.text;
    case HallEvent::Kind::ClientKilled:
        return QStringLiteral("client was killed by signal ") + event.text;
    case HallEvent::Kind::HallGone:
        return QStringLiteral("the hall window is gone");
    case HallEvent::Kind::TableLeft:
        return QStringLiteral("the table left: closing the client");
    case HallEvent::Kind::TableKeptOpen:
        return QStringLiteral("the table could not reach its game server again and says so: it "
                              "stays open until the player closes it");
    }
    return {};
}

Hall::Hall(HallOptions options, QObject *parent)
    : QObject(parent)
    , options_(std::move(options))
    , requests_(std::make_unique<platform::HallLink>())
{
    clock_.start();
}

Hall::~Hall()
{
    if (client_) {
        client_->disconnect(this);
        // The table goes with the hall, closed as a person would close it.
        closeClient(1000, 2000);
    }
}

void Hall::closeClient(int graceMs, int waitMs)
{
    if (!clientRunning())
        return;
    client_->terminate();
    QPointer<QProcess> client(client_.get());
    QTimer::singleShot(graceMs, client, [client] {
        if (client && client->state() != QProcess::NotRunning)
            client->kill();
    });
    if (waitMs > 0 && !client_->waitForFinished(std::min(graceMs, waitMs))) {
        client_->kill();
        client_->waitForFinished(std::max(waitMs - graceMs, 0));
    }
}

bool Hall::open()
{
    QStringList captions{options_.hallCaption};
    // A client that does not take the captions from its line looks for the
    // hall under the default caption once it runs.
    if (options_.useCaptions != 1 && options_.hallCaption != kDefaultHallCaption)
        captions.append(kDefaultHallCaption);
    for (const QString &caption : captions) {
        auto window = std::make_unique<platform::HallLink>();
        if (!window->listen(caption)) {
            openError_ = window->listenError();
            return false;
        }
        window->setHandler([this](std::uint32_t number, std::int64_t wParam, std::int64_t lParam) {
            return answer(number, wParam, lParam);
        });
        windows_.push_back(std::move(window));
    }
    return true;
}

std::int64_t Hall::answer(std::uint32_t number, std::int64_t wParam, std::int64_t lParam)
{
    // The system commands are the messages the table sends and waits on; it
    // posts everything else.
    const bool command = number == wire::kSysCommand;
    record({0,
            command ? HallEvent::Kind::TableSent : HallEvent::Kind::TablePosted,
            number,
            wParam,
            lParam,
            {}});
    if (!command && number == wire::kTableMsgConnected) {
        reconnecting_ = false;
        if (!connectedSeen_) {
            connectedSeen_ = true;
            if (scheduleOnConnect_)
                schedule();
        }
    }
    // Connecting again once a hand was dealt: the table lost its server in a
    // hand and tries to reach it again (a refused first login also reports
    // connecting, but the table then ends by itself).
    if (!command && number == wire::kTableMsgHandStart)
        handSeen_ = true;
    if (!command && number == wire::kTableMsgConnecting && handSeen_)
        reconnecting_ = true;
    if (command && (wParam == wire::kScRestore || wParam == wire::kScMinimise)) {
        minimised_ = wParam == wire::kScMinimise;
        Q_EMIT windowStateRequested(minimised_);
    }
    if (command && wParam == wire::kScRestore && ++restores_ > 1) {
        if (reconnecting_) {
            // It gave up and shows the player that the network is gone; the
            // table, reset, would answer that it left, and closing it would
            // take the notice away unread. Closing the notice hands back
            // again.
            reconnecting_ = false;
            record({0, HallEvent::Kind::TableKeptOpen, 0, 0, 0, {}});
        } else {
            // The table hands control back: the player left it, or it lost
            // its game. As a hall does, ask whether the table may close
            // (after this answer: the table waits on it); a table still in a
            // hand or a login stays.
            QTimer::singleShot(0, this,
                               [this] { askedAfterHandBack_ = request(Request::AskClose); });
        }
    }
    if (!command && askedAfterHandBack_
        && (number == wire::kTableMsgNotInGame || number == wire::kTableMsgInGame
            || number == wire::kTableMsgLoginSent)) {
        askedAfterHandBack_ = false;
        if (number == wire::kTableMsgNotInGame) {
            record({0, HallEvent::Kind::TableLeft, 0, 0, 0, {}});
            closeClient(kCloseGraceMs);
        }
    }
    return 0;
}

void Hall::record(HallEvent event)
{
    event.ms = clock_.elapsed();
    events_.push_back(event);
    Q_EMIT eventRecorded(events_.back());
}

void Hall::startClient()
{
    if (options_.clientPath.isEmpty())
        return;
    const QString line = clientCommandLine(options_);
    client_ = std::make_unique<QProcess>();
    client_->setProcessChannelMode(QProcess::ForwardedChannels);
    client_->setProgram(options_.clientPath);
    client_->setArguments({line});
    // A client that never starts never finishes either: its failure is the
    // end of it.
    connect(client_.get(), &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        record({0, HallEvent::Kind::ClientFailed, 0, 0, 0, client_->errorString()});
        Q_EMIT clientFinished(kCouldNotStart);
    });
    // For a process ended by a signal the exit code is the signal's number,
    // which the client could also have used as an exit code.
    connect(client_.get(), &QProcess::finished, this,
            [this](int exitCode, QProcess::ExitStatus status) {
                const bool killed = status == QProcess::CrashExit;
                record({0, killed ? HallEvent::Kind::ClientKilled : HallEvent::Kind::ClientFinished,
                        0, 0, 0, QString::number(exitCode)});
                Q_EMIT clientFinished(killed ? kKilledBase + exitCode : exitCode);
            });
    record({0, HallEvent::Kind::ClientStarted, 0, 0, 0,
            options_.clientPath + QStringLiteral(" '") + line + QLatin1Char('\'')});
    client_->start();
}

void Hall::schedule()
{
    if (options_.afterConnect && !connectedSeen_) {
        scheduleOnConnect_ = true;
        return;
    }
    for (const ScheduledRequest &scheduled : options_.requests) {
        const Request which = scheduled.request;
        QTimer::singleShot(scheduled.atMs, this, [this, which] { request(which); });
    }
    if (options_.goneAfterMs)
        QTimer::singleShot(*options_.goneAfterMs, this, &Hall::disappear);
}

bool Hall::clientRunning() const
{
    return client_ && client_->state() != QProcess::NotRunning;
}

bool Hall::request(Request which)
{
    const std::uint32_t number = requestNumber(which);
    if (!requests_->postMessage(options_.tableCaption, number)) {
        record({0, HallEvent::Kind::NoTable, number, 0, 0,
                requestName(which) + QStringLiteral(" ('") + options_.tableCaption
                        + QStringLiteral("')")});
        return false;
    }
    record({0, HallEvent::Kind::HallPosted, number, 0, 0, requestName(which)});
    return true;
}

void Hall::disappear()
{
    for (auto &window : windows_)
        window->stopListening();
    windows_.clear();
    record({0, HallEvent::Kind::HallGone, 0, 0, 0, {}});
}

} // namespace tessaroc::hall
