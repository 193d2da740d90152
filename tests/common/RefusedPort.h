#pragma once

#include <QHostAddress>
#include <QTcpServer>

namespace tessaroc::test {

// A port on 127.0.0.1 where nobody listens: taken from the system, then
// given back.
inline quint16 refusedPort()
{
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    const quint16 port = server.serverPort();
    server.close();
    return port;
}

} // namespace tessaroc::test
