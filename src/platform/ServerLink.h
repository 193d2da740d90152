#pragma once

#include "platform/Clock.h"
#include "platform/WinsockControl.h"
#include "wire/Socks5.h"

#include <QEventLoop>
#include <QObject>
#include <QString>
#include <QTimer>

namespace tessaroc::platform {

// The thin layer between the socket Winsock1 and the pure logic of the wire:
// it hands every arrival to the rings or to the proxy handshake, sends what
// the handshake asks for, closes the socket when the other side closes it, and
// runs the handshake's time limit on the injected clock. What the table does
// on the outcomes (posting to the hall, the system message, the login frame,
// the main loop, the message box) belongs to the main loop, which listens to
// the signals.
class ServerLink : public QObject
{
    Q_OBJECT

public:
    ServerLink(wire::MsgRings &rings, const Clock &clock, QObject *parent = nullptr);

    WinsockControl &Winsock1() { return socket_; }
    const wire::Socks5Handshake &handshake() const { return handshake_; }

    // ConnectToSock5Server: empties the rings, switches the arrivals to the
    // handshake and connects to the proxy; then waits, serving events, until
    // the socket reaches the proxy (the greeting is sent; true: the caller
    // marks the login as under way and arms the connection watch) or fails
    // (proxyFailed has been signalled; false). The whole handshake must end
    // within wire::kSocks5TimeLimitMs. A second call during the wait (the hall
    // asking to reconnect) takes over; the first then returns false.
    bool ConnectToSock5Server(const QString &proxyHost, quint16 proxyPort,
                              const wire::Socks5Target &target);

Q_SIGNALS:
    // Bytes from the server went into RecvRing: the receive slot runs.
    void received();
    // The proxy has joined the client to the server: RingMode is true again
    // and any bytes the server sent already wait in RecvRing. The login frame
    // goes out now.
    void proxyConnected();
    // The handshake failed: show `message`; the socket is closed once the
    // handlers return, unless one of them started a new connection.
    void proxyFailed(const QString &message);
    // More bytes arrived than the receive ring can hold: restore the hall and
    // end.
    void receiveOverflow();

private:
    void Winsock1_DataArrival();
    void Winsock1_Close();
    void Winsock1_Connect();
    void Winsock1_Error();
    void checkClock();
    void handle(const wire::Socks5Event &event);

    wire::MsgRings &rings_;
    const Clock &clock_;
    WinsockControl socket_;
    wire::Socks5Handshake handshake_;
    QTimer proxyClock_;
    // Counts proxy connections, so a wait that a newer connection replaced
    // ends without touching it.
    unsigned proxyAttempt_ = 0;
    QEventLoop *proxyWait_ = nullptr;
};

} // namespace tessaroc::platform
