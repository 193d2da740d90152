#pragma once

#include "WaitUntil.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTcpServer>
#include <QTcpSocket>

#include <functional>

namespace tessaroc::test {

// A TCP peer on 127.0.0.1 with an OS-chosen port, taking one connection.
class LoopbackPeer
{
public:
    LoopbackPeer() { server_.listen(QHostAddress::LocalHost, 0); }
    quint16 port() const { return server_.serverPort(); }

    // The connection the client made, once it is there.
    QTcpSocket *accept()
    {
        if (!socket_ && waitUntil([&] { return server_.hasPendingConnections(); }))
            socket_ = server_.nextPendingConnection();
        return socket_;
    }

    // Reads exactly n bytes, or what came before the time ran out.
    QByteArray read(qint64 n)
    {
        if (!accept())
            return {};
        waitUntil([&] { return socket_->bytesAvailable() >= n; });
        return socket_->read(n);
    }

    void write(const QByteArray &bytes)
    {
        if (accept()) {
            socket_->write(bytes);
            socket_->flush();
        }
    }

    bool closedByClient()
    {
        return accept()
                && waitUntil([&] { return socket_->state() == QAbstractSocket::UnconnectedState; });
    }

    QTcpServer &server() { return server_; }

private:
    QTcpServer server_;
    QTcpSocket *socket_ = nullptr;
};

inline QByteArray bytesOf(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(static_cast<char>(v));
    return out;
}

} // namespace tessaroc::test
