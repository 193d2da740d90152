#pragma once

#include "GameEngine.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QObject>
#include <QTimer>

#include <map>

class QTcpServer;
class QTcpSocket;

namespace tessaroc::tableserver {

// What the server holds for its clients at most.
struct ServerLimits
{
    // Connections held at once; a connection past it is closed as soon as it
    // is accepted. It is kept below the process's open-file limit in any case.
    int maxConnections = 256;
    // Bytes waiting to be written to one connection, beyond what the system
    // buffers: a client that does not read its frames is closed when its
    // frames pile up past this. A table client keeps at most 128 frames
    // (34 816 bytes) unread before it gives up, so a live client never comes
    // near it.
    qint64 maxUnsentBytes = 256 * 1024;
};

// The full-mode table server: listens on the loopback address, cuts each
// connection's byte stream into 272-byte frames for the engine, writes what
// the engine sends (each event's frames for a connection in one write) and
// wakes the engine when its next timed step is due.
class TableServer : public QObject
{
    Q_OBJECT

public:
    explicit TableServer(EngineOptions options, GameEngine::LogSink log = {},
                         QObject *parent = nullptr);
    ~TableServer() override;

    // Takes effect for connections accepted from then on.
    void setLimits(ServerLimits limits);
    const ServerLimits &limits() const { return limits_; }

    // Listens on 127.0.0.1; port 0 lets the system choose. False on failure,
    // with the reason in errorString().
    bool listen(quint16 port = 0);
    quint16 port() const;
    QString errorString() const;

    GameEngine &engine() { return engine_; }
    std::int64_t nowMs() const { return clock_.elapsed(); }
    int connectionCount() const { return static_cast<int>(peers_.size()); }

    // Runs what the engine has due now and re-arms the wake-up; call after
    // acting on the engine directly.
    void pump();

private:
    void acceptConnections();
    void acceptFailed();
    void readFrames(ConnectionId id);
    void lost(ConnectionId id);
    // Closes a connection at once, unsent frames and all, and tells the engine.
    void cut(ConnectionId id, const std::string &why);
    void deliver();
    void armTimer();
    void log(const std::string &line) const;

    GameEngine engine_;
    GameEngine::LogSink log_;
    ServerLimits limits_;
    int connectionCap_ = 0;
    QTcpServer *listener_;
    QTimer wake_;
    QElapsedTimer clock_;
    ConnectionId nextId_ = 1;
    int acceptBackoffMs_ = 0;
    int refusedSinceLog_ = 0;
    struct Peer
    {
        QTcpSocket *socket = nullptr;
        QByteArray pending;
    };
    std::map<ConnectionId, Peer> peers_;
};

} // namespace tessaroc::tableserver
