#include "TableServer.h"

#include <QTcpServer>
#include <QTcpSocket>

#include <algorithm>

#include <sys/resource.h>

namespace tessaroc::tableserver {

namespace {

// Timed steps run in batches so that a table of computer players moving
// without delay still lets the event loop breathe.
constexpr int kStepsPerBatch = 64;
// Files the process needs besides its connections: the standard streams, the
// listener, the event loop's own, the record's writer.
constexpr int kReservedFiles = 24;
constexpr int kFirstBackoffMs = 50;
constexpr int kLongestBackoffMs = 1000;

// The most connections the open-file limit leaves room for.
int fileLimitCap()
{
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return std::numeric_limits<int>::max();
    const auto room = static_cast<long long>(limit.rlim_cur) - kReservedFiles;
    return static_cast<int>(std::clamp<long long>(room, 1, std::numeric_limits<int>::max()));
}

} // namespace

TableServer::TableServer(EngineOptions options, GameEngine::LogSink log, QObject *parent)
    : QObject(parent)
    , engine_(std::move(options), log)
    , log_(std::move(log))
    , listener_(new QTcpServer(this))
{
    setLimits(limits_);
    clock_.start();
    wake_.setSingleShot(true);
    connect(&wake_, &QTimer::timeout, this, &TableServer::pump);
    connect(listener_, &QTcpServer::newConnection, this, &TableServer::acceptConnections);
    connect(listener_, &QTcpServer::acceptError, this, &TableServer::acceptFailed);
}

TableServer::~TableServer()
{
    for (auto &[id, peer] : peers_) {
        peer.socket->disconnect(this);
        peer.socket->abort();
    }
}

void TableServer::setLimits(ServerLimits limits)
{
    limits_ = limits;
    connectionCap_ = std::clamp(limits_.maxConnections, 1, fileLimitCap());
}

bool TableServer::listen(quint16 port)
{
    if (!listener_->listen(QHostAddress::LocalHost, port))
        return false;
    // The table opens once the event loop runs, after the caller has
    // announced the port.
    QTimer::singleShot(0, this, [this] {
        engine_.open(nowMs());
        deliver();
    });
    return true;
}

quint16 TableServer::port() const
{
    return listener_->serverPort();
}

QString TableServer::errorString() const
{
    return listener_->errorString();
}

void TableServer::log(const std::string &line) const
{
    if (log_)
        log_(line);
}

void TableServer::acceptConnections()
{
    acceptBackoffMs_ = 0;
    while (QTcpSocket *socket = listener_->nextPendingConnection()) {
        if (connectionCount() >= connectionCap_) {
            // Past the cap the connection is closed at once: holding it
            // would take the files the table needs.
            socket->abort();
            socket->deleteLater();
            if (refusedSinceLog_++ == 0)
                log("connections past " + std::to_string(connectionCap_) + " are closed");
            continue;
        }
        if (refusedSinceLog_ > 1)
            log(std::to_string(refusedSinceLog_) + " connections were closed past the cap");
        refusedSinceLog_ = 0;
        const ConnectionId id = nextId_++;
        socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        peers_[id] = Peer{socket, {}};
        connect(socket, &QTcpSocket::readyRead, this, [this, id] { readFrames(id); });
        connect(socket, &QTcpSocket::disconnected, this, [this, id] { lost(id); });
        engine_.connected(id, nowMs());
        deliver();
    }
}

void TableServer::acceptFailed()
{
    // The listener stops after an error it does not take for a passing one
    // (out of files, for one): it listens again after a pause, longer each
    // time the error comes back, so that closed connections can free what
    // it lacks without the server spinning on the error.
    const int delay = acceptBackoffMs_ == 0 ? kFirstBackoffMs
                                            : std::min(acceptBackoffMs_ * 2, kLongestBackoffMs);
    if (acceptBackoffMs_ == 0)
        log("accepting connections failed (" + listener_->errorString().toStdString()
            + "); trying again shortly");
    acceptBackoffMs_ = delay;
    listener_->pauseAccepting();
    QTimer::singleShot(delay, this, [this] { listener_->resumeAccepting(); });
}

void TableServer::readFrames(ConnectionId id)
{
    const auto it = peers_.find(id);
    if (it == peers_.end())
        return;
    Peer &peer = it->second;
    peer.pending.append(peer.socket->readAll());
    const auto frameSize = static_cast<qsizetype>(wire::kFrameSize);
    qsizetype used = 0;
    while (peer.pending.size() - used >= frameSize) {
        const auto *data = reinterpret_cast<const std::uint8_t *>(peer.pending.constData() + used);
        used += frameSize;
        engine_.received(id, wire::MessageFrame::fromBytes(data), nowMs());
        deliver();
        if (!peers_.contains(id))
            return;
    }
    peer.pending.remove(0, used);
}

void TableServer::lost(ConnectionId id)
{
    const auto it = peers_.find(id);
    if (it == peers_.end())
        return;
    it->second.socket->deleteLater();
    peers_.erase(it);
    engine_.disconnected(id, nowMs());
    deliver();
}

void TableServer::cut(ConnectionId id, const std::string &why)
{
    const auto it = peers_.find(id);
    if (it == peers_.end())
        return;
    log("connection #" + std::to_string(id) + " closed: " + why);
    QTcpSocket *socket = it->second.socket;
    socket->disconnect(this);
    socket->abort();
    socket->deleteLater();
    peers_.erase(it);
    engine_.disconnected(id, nowMs());
}

void TableServer::pump()
{
    for (int step = 0; step < kStepsPerBatch && engine_.runDue(nowMs()); ++step)
        deliver();
    armTimer();
}

void TableServer::deliver()
{
    // Cutting a connection is an event of its own, whose frames go out in
    // the next round.
    for (auto deliveries = engine_.takeDeliveries(); !deliveries.empty();
         deliveries = engine_.takeDeliveries()) {
        for (Delivery &delivery : deliveries) {
            const auto it = peers_.find(delivery.connection);
            if (it == peers_.end())
                continue;
            QTcpSocket *socket = it->second.socket;
            if (!delivery.frames.empty()) {
                QByteArray burst;
                burst.reserve(static_cast<qsizetype>(delivery.frames.size() * wire::kFrameSize));
                for (const auto &frame : delivery.frames)
                    burst.append(reinterpret_cast<const char *>(frame.data()),
                                 static_cast<qsizetype>(wire::kFrameSize));
                socket->write(burst);
                // What the system takes at once is not waiting; only what it
                // cannot take counts against the bound.
                if (socket->bytesToWrite() > limits_.maxUnsentBytes)
                    socket->flush();
                if (socket->bytesToWrite() > limits_.maxUnsentBytes) {
                    cut(delivery.connection, "it does not read what it is sent");
                    continue;
                }
            }
            if (delivery.close)
                socket->disconnectFromHost();
        }
    }
    armTimer();
}

void TableServer::armTimer()
{
    const auto next = engine_.nextDeadline();
    if (!next) {
        wake_.stop();
        return;
    }
    const auto delay = std::clamp<std::int64_t>(*next - nowMs(), 0, 24 * 3600 * 1000);
    wake_.start(static_cast<int>(delay));
}

} // namespace tessaroc::tableserver
