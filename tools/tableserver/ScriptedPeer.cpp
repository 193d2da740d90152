#include "ScriptedPeer.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

namespace tessaroc::tableserver {

using wire::MessageFrame;

namespace {

// A wait wakes at least this often to look at conditions other objects
// change.
constexpr int kPollMs = 5;

const char *kindLabel(TranscriptEntry::Kind kind)
{
    switch (kind) {
    case TranscriptEntry::Kind::Received:
        return "<-";
    case TranscriptEntry::Kind::Sent:
        return "->";
    case TranscriptEntry::Kind::Closed:
        return "closed";
    case TranscriptEntry::Kind::Dropped:
        return "dropped";
    case TranscriptEntry::Kind::PeerClosed:
        return "peer closed";
    }
    return "?";
}

} // namespace

bool waitUntil(const std::function<bool()> &done, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        const auto left = timeoutMs - clock.elapsed();
        if (left <= 0)
            return done();
        QEventLoop loop;
        QTimer::singleShot(static_cast<int>(std::min<qint64>(left, kPollMs)), &loop,
                           &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

ScriptedConnection::ScriptedConnection(QTcpSocket *socket, QObject *parent)
    : QObject(parent)
    , socket_(socket)
{
    clock_.start();
    socket->setParent(this);
    connect(socket, &QTcpSocket::readyRead, this, &ScriptedConnection::readFrames);
    connect(socket, &QTcpSocket::disconnected, this, [this] {
        if (!peerClosed_) {
            peerClosed_ = true;
            transcript_.push_back({TranscriptEntry::Kind::PeerClosed, clock_.elapsed(), {}});
        }
        Q_EMIT activity();
    });
    readFrames();
}

ScriptedConnection::~ScriptedConnection()
{
    if (socket_) {
        socket_->disconnect(this);
        socket_->abort();
    }
}

void ScriptedConnection::readFrames()
{
    if (!socket_)
        return;
    buffer_.append(socket_->readAll());
    const auto size = static_cast<qsizetype>(wire::kFrameSize);
    qsizetype used = 0;
    while (buffer_.size() - used >= size) {
        const auto frame = MessageFrame::fromBytes(
                reinterpret_cast<const std::uint8_t *>(buffer_.constData() + used));
        used += size;
        transcript_.push_back({TranscriptEntry::Kind::Received, clock_.elapsed(), frame});
        if (!skipped_.contains(frame.cmd()))
            inbox_.push_back(frame);
    }
    buffer_.remove(0, used);
    if (used > 0)
        Q_EMIT activity();
}

bool ScriptedConnection::waitFor(const std::function<bool()> &done, int timeoutMs)
{
    return waitUntil(done, timeoutMs);
}

Expectation ScriptedConnection::next(int timeoutMs)
{
    Expectation result;
    if (!waitFor([this] { return !inbox_.empty() || peerClosed_; }, timeoutMs) || inbox_.empty()) {
        result.failure
                = failureText(peerClosed_ ? "the connection closed while a frame was expected"
                                          : "no frame within " + std::to_string(timeoutMs) + " ms");
        return result;
    }
    result.ok = true;
    result.frame = inbox_.front();
    inbox_.pop_front();
    return result;
}

Expectation ScriptedConnection::expect(std::uint8_t cmd, const Predicate &check, int timeoutMs)
{
    Expectation result = next(timeoutMs);
    const std::string wanted = commandName(cmd);
    if (!result.ok) {
        result.failure = "expected " + wanted + ": " + result.failure;
        return result;
    }
    std::string why;
    if (result.frame.cmd() != cmd)
        why = "the command is " + commandName(result.frame.cmd());
    else if (check && !check(result.frame, why) && why.empty())
        why = "the frame fails the check";
    if (!why.empty()) {
        result.ok = false;
        result.failure = failureText("expected " + wanted + ", but " + why + "\nframe: "
                                     + wire::describe(result.frame) + '\n' + hexDump(result.frame));
    }
    return result;
}

Expectation ScriptedConnection::expect(std::uint8_t cmd, std::string_view pattern, int timeoutMs)
{
    const FrameSpec spec = parseFrameSpec(pattern);
    return expect(
            cmd,
            [&spec](const MessageFrame &frame, std::string &why) {
                return matchesSpec(frame, spec, &why);
            },
            timeoutMs);
}

Expectation ScriptedConnection::expectEventually(std::uint8_t cmd, const Predicate &check,
                                                 int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (true) {
        const auto left = static_cast<int>(timeoutMs - clock.elapsed());
        Expectation result = next(std::max(left, 0));
        if (!result.ok) {
            result.failure = "expected " + commandName(cmd) + " eventually: " + result.failure;
            return result;
        }
        std::string why;
        if (result.frame.cmd() == cmd && (!check || check(result.frame, why)))
            return result;
    }
}

bool ScriptedConnection::expectSilence(int ms)
{
    waitFor([this] { return !inbox_.empty(); }, ms);
    return inbox_.empty();
}

void ScriptedConnection::skipCommands(std::set<std::uint8_t> commands)
{
    skipped_ = std::move(commands);
    std::erase_if(inbox_,
                  [this](const MessageFrame &frame) { return skipped_.contains(frame.cmd()); });
}

void ScriptedConnection::send(const MessageFrame &frame)
{
    send(std::span<const MessageFrame>(&frame, 1));
}

void ScriptedConnection::send(std::span<const MessageFrame> frames)
{
    QByteArray bytes;
    for (const MessageFrame &frame : frames) {
        bytes.append(reinterpret_cast<const char *>(frame.data()),
                     static_cast<qsizetype>(wire::kFrameSize));
        transcript_.push_back({TranscriptEntry::Kind::Sent, clock_.elapsed(), frame});
    }
    if (socket_)
        socket_->write(bytes);
}

void ScriptedConnection::send(std::string_view description)
{
    send(frameFrom(description));
}

void ScriptedConnection::sendBytes(const QByteArray &bytes)
{
    if (socket_)
        socket_->write(bytes);
}

void ScriptedConnection::close()
{
    transcript_.push_back({TranscriptEntry::Kind::Closed, clock_.elapsed(), {}});
    if (socket_)
        socket_->disconnectFromHost();
}

void ScriptedConnection::drop()
{
    transcript_.push_back({TranscriptEntry::Kind::Dropped, clock_.elapsed(), {}});
    if (socket_)
        socket_->abort();
}

bool ScriptedConnection::waitForPeerClose(int timeoutMs)
{
    return waitFor([this] { return peerClosed_; }, timeoutMs);
}

bool ScriptedConnection::isOpen() const
{
    return socket_ && !peerClosed_ && socket_->state() == QAbstractSocket::ConnectedState;
}

std::string ScriptedConnection::transcriptText(std::size_t lastEntries) const
{
    std::string out;
    const std::size_t first = lastEntries == 0 || lastEntries >= transcript_.size()
            ? 0
            : transcript_.size() - lastEntries;
    for (std::size_t i = first; i < transcript_.size(); ++i) {
        const TranscriptEntry &entry = transcript_[i];
        out += std::to_string(entry.ms) + " ms " + kindLabel(entry.kind);
        if (entry.kind == TranscriptEntry::Kind::Received
            || entry.kind == TranscriptEntry::Kind::Sent)
            out += ' ' + commandName(entry.frame.cmd()) + ' ' + wire::describe(entry.frame);
        out += '\n';
    }
    return out;
}

std::string ScriptedConnection::failureText(const std::string &what) const
{
    return what + "\nlast frames of the connection:\n" + transcriptText(12);
}

ScriptedServer::ScriptedServer(QObject *parent)
    : QObject(parent)
    , server_(new QTcpServer(this))
{ }

ScriptedServer::~ScriptedServer() = default;

bool ScriptedServer::listen(quint16 port)
{
    return server_->listen(QHostAddress::LocalHost, port);
}

quint16 ScriptedServer::port() const
{
    return server_->serverPort();
}

std::unique_ptr<ScriptedConnection> ScriptedServer::accept(int timeoutMs)
{
    if (!waitUntil([this] { return server_->hasPendingConnections(); }, timeoutMs))
        return nullptr;
    QTcpSocket *socket = server_->nextPendingConnection();
    socket->setParent(nullptr);
    return std::make_unique<ScriptedConnection>(socket);
}

std::unique_ptr<ScriptedConnection> connectScripted(quint16 port, int timeoutMs)
{
    auto *socket = new QTcpSocket;
    socket->connectToHost(QHostAddress::LocalHost, port);
    if (!waitUntil([socket] { return socket->state() == QAbstractSocket::ConnectedState; },
                   timeoutMs)) {
        delete socket;
        return nullptr;
    }
    return std::make_unique<ScriptedConnection>(socket);
}

} // namespace tessaroc::tableserver
