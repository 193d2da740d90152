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

    // Listens on 127.0.0.1; port 0 lets the system choose. False on failure,
    // with the reason in errorString().
    bool listen(quint16 port = 0);
    quint16 port() const;
    QString errorString() const;

    GameEngine &engine() { return engine_; }
    std::int64_t nowMs() const { return clock_.elapsed(); }

    // Runs what the engine has due now and re-arms the wake-up; call after
    // acting on the engine directly.
    void pump();

private:
    void acceptConnections();
    void readFrames(ConnectionId id);
    void lost(ConnectionId id);
    void deliver();
    void armTimer();

    GameEngine engine_;
    QTcpServer *listener_;
    QTimer wake_;
    QElapsedTimer clock_;
    ConnectionId nextId_ = 1;
    struct Peer
    {
        QTcpSocket *socket = nullptr;
        QByteArray pending;
    };
    std::map<ConnectionId, Peer> peers_;
};

} // namespace tessaroc::tableserver
