#include "TableServer.h"

#include <QTcpServer>
#include <QTcpSocket>

#include <algorithm>

namespace tessaroc::tableserver {

namespace {

// Timed steps run in batches so that a table of computer players moving
// without delay still lets the event loop breathe.
constexpr int kStepsPerBatch = 64;

} // namespace

TableServer::TableServer(EngineOptions options, GameEngine::LogSink log, QObject *parent)
    : QObject(parent)
    , engine_(std::move(options), std::move(log))
    , listener_(new QTcpServer(this))
{
    clock_.start();
    wake_.setSingleShot(true);
    connect(&wake_, &QTimer::timeout, this, &TableServer::pump);
    connect(listener_, &QTcpServer::newConnection, this, &TableServer::acceptConnections);
}

TableServer::~TableServer()
{
    for (auto &[id, peer] : peers_) {
        peer.socket->disconnect(this);
        peer.socket->abort();
    }
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

void TableServer::acceptConnections()
{
    while (QTcpSocket *socket = listener_->nextPendingConnection()) {
        const ConnectionId id = nextId_++;
        socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        peers_[id] = Peer{socket, {}};
        connect(socket, &QTcpSocket::readyRead, this, [this, id] { readFrames(id); });
        connect(socket, &QTcpSocket::disconnected, this, [this, id] { lost(id); });
        engine_.connected(id, nowMs());
        deliver();
    }
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

void TableServer::pump()
{
    for (int step = 0; step < kStepsPerBatch && engine_.runDue(nowMs()); ++step)
        deliver();
    armTimer();
}

void TableServer::deliver()
{
    for (Delivery &delivery : engine_.takeDeliveries()) {
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
        }
        if (delivery.close)
            socket->disconnectFromHost();
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
