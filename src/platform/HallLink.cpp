#include "platform/HallLink.h"

#include "platform/SystemError.h"

#include <QCryptographicHash>
#include <QEventLoop>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>

#include <pwd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

namespace tessaroc::platform {

namespace {

constexpr int kConnectTimeoutMs = 1000;
constexpr int kProbeTimeoutMs = 200;
// Records that may wait to be written to one connection. A hall reads each
// answer before its next send, and the table posts a few records a hand, so a
// live peer has a handful waiting at most; one that has more has stopped
// reading, and whatever the link wrote to it would pile up here for good.
constexpr qint64 kMaxWaitingRecords = 256;

void putLe(QByteArray &out, int at, std::uint64_t value, int width)
{
    for (int i = 0; i < width; ++i)
        out[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::uint64_t getLe(const char *bytes, int at, int width)
{
    std::uint64_t value = 0;
    for (int i = width - 1; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

// A folder only the user may enter: its own, a real folder, with no rights
// for the group or others. The runtime folder named by the environment may be
// reached through a link; the one made below the home must be that folder
// itself, not a link that could lead anywhere.
bool isPrivateFolder(const QByteArray &path, bool followLink)
{
    struct stat info
    {
    };
    const int result
            = followLink ? ::stat(path.constData(), &info) : ::lstat(path.constData(), &info);
    return result == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::geteuid()
            && (info.st_mode & 077) == 0;
}

// The user's home: $HOME when it names one, else the user database's entry.
QByteArray homeFolder()
{
    const QByteArray home = qgetenv("HOME");
    if (home.startsWith('/'))
        return home;
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd *found = nullptr;
    if (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found
        && found->pw_dir && found->pw_dir[0] == '/')
        return QByteArray(found->pw_dir);
    return {};
}

// Makes every missing folder of an absolute path, each with mode 0700 as
// the user's base folders are made; what exists already is left as it is.
void makeFolders(const QByteArray &path)
{
    for (qsizetype slash = path.indexOf('/', 1); slash > 0; slash = path.indexOf('/', slash + 1))
        ::mkdir(path.left(slash).constData(), 0700);
    ::mkdir(path.constData(), 0700);
}

// The other end of a connection runs as this user. The kernel records the
// connecting program's user when it connects, and the listening program's
// when it listens, so neither end can pretend.
bool peerIsOwnUser(const QLocalSocket &socket)
{
    const qintptr descriptor = socket.socketDescriptor();
    ucred peer{};
    socklen_t size = sizeof peer;
    return descriptor >= 0
            && ::getsockopt(static_cast<int>(descriptor), SOL_SOCKET, SO_PEERCRED, &peer, &size)
            == 0
            && size == sizeof peer && peer.uid == ::geteuid();
}

// Writes a record to a connection. False when its peer has left more than
// kMaxWaitingRecords unread: the connection is then closed.
bool writeRecord(QLocalSocket &socket, const HallLink::Record &record)
{
    socket.write(HallLink::encodeRecord(record));
    socket.flush();
    if (socket.bytesToWrite() <= kMaxWaitingRecords * HallLink::kRecordSize)
        return true;
    socket.abort();
    return false;
}

// Why a socket could not be made at a path. The local server's own words
// name no file, and for a folder that cannot be written they say little:
// the folder's state says more.
QString cannotListenReason(const QString &path, const QString &serverError)
{
    const QByteArray folder = QFile::encodeName(path.left(path.lastIndexOf(QLatin1Char('/'))));
    if (::access(folder.constData(), W_OK | X_OK) != 0) {
        const int error = errno;
        return QStringLiteral("the folder %1 cannot be written: %2")
                .arg(QFile::decodeName(folder), systemError(error));
    }
    struct stat info
    {
    };
    if (::lstat(QFile::encodeName(path).constData(), &info) == 0 && !S_ISSOCK(info.st_mode))
        return QStringLiteral("something that is no socket has its name");
    return serverError;
}

} // namespace

QString HallLink::socketFolder()
{
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (runtime.startsWith('/') && isPrivateFolder(runtime, true))
        return QFile::decodeName(runtime);
    // Not the shared temporary folder: anyone may make a name there first.
    // Below the user's home only the user makes folders.
    QByteArray state = qgetenv("XDG_STATE_HOME");
    if (!state.startsWith('/')) {
        const QByteArray home = homeFolder();
        if (home.isEmpty())
            return {};
        state = home + "/.local/state";
    }
    const QByteArray path = state + "/tessaroc";
    // Making it fails when the name is taken; what is there is then checked
    // like a folder of our own, and refused unless it is one.
    makeFolders(path);
    return isPrivateFolder(path, false) ? QFile::decodeName(path) : QString();
}

QString HallLink::serverPathFor(const QString &caption)
{
    const QString folder = socketFolder();
    return folder.isEmpty() ? QString() : folder + QLatin1Char('/') + serverNameFor(caption);
}

QString HallLink::serverNameFor(const QString &caption)
{
    const QByteArray digest
            = QCryptographicHash::hash(caption.toUtf8(), QCryptographicHash::Sha256).left(16);
    return QStringLiteral("tessaroc-wnd-") + QString::fromLatin1(digest.toHex());
}

QByteArray HallLink::encodeRecord(const Record &record)
{
    QByteArray out(kRecordSize, '\0');
    out[0] = static_cast<char>(record.kind);
    putLe(out, 4, record.msg, 4);
    putLe(out, 8, static_cast<std::uint64_t>(record.wParam), 8);
    putLe(out, 16, static_cast<std::uint64_t>(record.lParam), 8);
    return out;
}

HallLink::Record HallLink::decodeRecord(const char *bytes)
{
    Record record;
    record.kind = static_cast<Kind>(static_cast<unsigned char>(bytes[0]));
    record.msg = static_cast<std::uint32_t>(getLe(bytes, 4, 4));
    record.wParam = static_cast<std::int64_t>(getLe(bytes, 8, 8));
    record.lParam = static_cast<std::int64_t>(getLe(bytes, 16, 8));
    return record;
}

HallLink::HallLink(QObject *parent)
    : QObject(parent)
{ }

HallLink::~HallLink()
{
    stopListening();
    for (Outgoing &out : outgoing_)
        dropKept(out);
}

bool HallLink::listen(const QString &ownCaption)
{
    stopListening();
    listenError_.clear();
    const QString path = serverPathFor(ownCaption);
    if (path.isEmpty()) {
        listenError_ = QStringLiteral(
                "there is no folder of this user alone for the hall link ($XDG_RUNTIME_DIR, else "
                "tessaroc in $XDG_STATE_HOME or ~/.local/state)");
        return false;
    }
    // Listening would silently take the name from a live window, so ask first.
    QLocalSocket probe;
    probe.connectToServer(path);
    if (probe.waitForConnected(kProbeTimeoutMs) && peerIsOwnUser(probe)) {
        listenError_ = QStringLiteral("another window already has the caption %1").arg(ownCaption);
        return false;
    }
    probe.abort();
    // Nobody of this user answers under the name: at most a window that
    // ended without freeing it.
    QLocalServer::removeServer(path);
    auto *server = new QLocalServer(this);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(path)) {
        listenError_ = QStringLiteral("the socket %1 cannot be made: %2")
                               .arg(path, cannotListenReason(path, server->errorString()));
        delete server;
        return false;
    }
    server_ = server;
    connect(server_, &QLocalServer::newConnection, this, &HallLink::acceptConnections);
    return true;
}

void HallLink::stopListening()
{
    if (server_) {
        server_->close();
        delete server_;
        server_ = nullptr;
    }
    const auto sockets = serving_.keys();
    serving_.clear();
    for (QLocalSocket *socket : sockets) {
        socket->abort();
        socket->deleteLater();
    }
}

bool HallLink::isListening() const
{
    return server_ != nullptr && server_->isListening();
}

void HallLink::acceptConnections()
{
    while (server_ && server_->hasPendingConnections()) {
        QLocalSocket *socket = server_->nextPendingConnection();
        if (!peerIsOwnUser(*socket)) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        serving_.insert(socket, false);
        connect(socket, &QLocalSocket::readyRead, this,
                [this, socket] { serveConnection(socket); });
        connect(socket, &QLocalSocket::disconnected, this, [this, socket] {
            serving_.remove(socket);
            socket->deleteLater();
        });
        serveConnection(socket);
    }
}

void HallLink::serveConnection(QLocalSocket *socket)
{
    // Records that arrive while one of this connection's records is being
    // handled wait until that handler returns, so they keep their order.
    auto busy = serving_.find(socket);
    if (busy == serving_.end() || busy.value())
        return;
    busy.value() = true;
    QPointer<QLocalSocket> guard(socket);
    while (guard && serving_.contains(socket) && guard->bytesAvailable() >= kRecordSize) {
        const QByteArray bytes = guard->read(kRecordSize);
        const Record record = decodeRecord(bytes.constData());
        if (record.kind != Kind::Send && record.kind != Kind::Post)
            continue;
        const std::int64_t result
                = handler_ ? handler_(record.msg, record.wParam, record.lParam) : 0;
        if (record.kind == Kind::Send && guard && guard->state() == QLocalSocket::ConnectedState
            && !writeRecord(*guard, {Kind::Answer, record.msg, result, 0})) {
            serving_.remove(socket);
            socket->deleteLater();
        }
    }
    if (guard && serving_.contains(socket))
        serving_[socket] = false;
}

QLocalSocket *HallLink::openConnection(const QString &caption)
{
    const QString path = serverPathFor(caption);
    if (path.isEmpty())
        return nullptr;
    auto *socket = new QLocalSocket(this);
    socket->connectToServer(path);
    // A window of another user is no window of ours, whatever its caption.
    if (!socket->waitForConnected(kConnectTimeoutMs) || !peerIsOwnUser(*socket)) {
        delete socket;
        return nullptr;
    }
    return socket;
}

QLocalSocket *HallLink::keepConnection(const QString &caption)
{
    QLocalSocket *socket = openConnection(caption);
    if (!socket)
        return nullptr;
    // The window closing its end is the window going away; this link's own
    // drops disconnect first (dropKept) and say nothing.
    connect(socket, &QLocalSocket::disconnected, this, [this, caption, socket] {
        socket->disconnect(this);
        Q_EMIT windowGone(caption);
    });
    return socket;
}

void HallLink::dropKept(Outgoing &out)
{
    if (!out.socket)
        return;
    out.socket->disconnect(this);
    out.socket->abort();
    out.socket->deleteLater();
    out.socket = nullptr;
}

QLocalSocket *HallLink::connectionTo(const QString &caption, bool forSend)
{
    Outgoing &out = outgoing_[caption];
    if (out.socket && !out.waiting) {
        // A window that went away has closed its end: reading notices it.
        if (out.socket->state() == QLocalSocket::ConnectedState)
            out.socket->waitForReadyRead(0);
        if (out.socket->state() != QLocalSocket::ConnectedState) {
            dropKept(out);
        } else {
            // Answers that came too late for their send.
            out.socket->readAll();
        }
    }
    if (out.socket) {
        // A send already waits on this connection: a further send gets its
        // own, so the two answers cannot be mixed up.
        return forSend && out.waiting ? openConnection(caption) : out.socket.data();
    }
    out.socket = keepConnection(caption);
    return out.socket;
}

bool HallLink::findWindow(const QString &caption)
{
    return connectionTo(caption, false) != nullptr;
}

bool HallLink::postMessage(const QString &caption, std::uint32_t msg, std::int64_t wParam,
                           std::int64_t lParam)
{
    QLocalSocket *socket = connectionTo(caption, false);
    // A window that has stopped reading loses the connection with this
    // record; the next lookup connects afresh.
    return socket && writeRecord(*socket, {Kind::Post, msg, wParam, lParam});
}

std::optional<std::int64_t> HallLink::sendMessage(const QString &caption, std::uint32_t msg,
                                                  std::int64_t wParam, std::int64_t lParam)
{
    QPointer<QLocalSocket> socket = connectionTo(caption, true);
    if (!socket)
        return std::nullopt;
    const bool own = socket != outgoing_.value(caption).socket;
    if (!own)
        outgoing_[caption].waiting = true;

    // A connection closed for its unread records ends the wait at once.
    writeRecord(*socket, {Kind::Send, msg, wParam, lParam});

    std::optional<std::int64_t> answer;
    QEventLoop loop;
    auto takeAnswer = [&] {
        while (socket && !answer && socket->bytesAvailable() >= kRecordSize) {
            const QByteArray bytes = socket->read(kRecordSize);
            const Record record = decodeRecord(bytes.constData());
            if (record.kind == Kind::Answer && record.msg == msg)
                answer = record.wParam;
        }
        if (answer || !socket || socket->state() != QLocalSocket::ConnectedState)
            loop.quit();
    };
    connect(socket, &QLocalSocket::readyRead, &loop, takeAnswer);
    connect(socket, &QLocalSocket::disconnected, &loop, &QEventLoop::quit);
    QTimer::singleShot(answerTimeoutMs_, &loop, &QEventLoop::quit);
    takeAnswer();
    if (!answer && socket && socket->state() == QLocalSocket::ConnectedState)
        loop.exec();

    if (own) {
        if (socket)
            socket->deleteLater();
    } else {
        auto out = outgoing_.find(caption);
        if (out != outgoing_.end()) {
            out->waiting = false;
            // Without its answer the connection is out of step: start afresh.
            if (!answer)
                dropKept(*out);
        }
    }
    return answer;
}

} // namespace tessaroc::platform
