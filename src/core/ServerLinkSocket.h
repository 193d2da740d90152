#pragma once

#include "core/services/ServerSocket.h"

#include <QObject>

namespace tessaroc::platform {
class ServerLink;
}

namespace tessaroc::core {

struct CoreContext;

// The socket service on the server link: Winsock1 for the direct
// connection, the link's SOCKS5 handshake for the proxy, and the link's
// outcomes (proxy joined, proxy refused, receive ring overflow) handed to the
// core's handlers.
class ServerLinkSocket final : public QObject, public services::ServerSocket
{
    Q_OBJECT

public:
    ServerLinkSocket(platform::ServerLink &link, CoreContext &context, QObject *parent = nullptr);

    int State() const override;
    bool SendData(const wire::MessageFrame &frame) override;
    void Close() override;
    void Connect(const QString &host, quint16 port) override;
    bool ConnectToSock5Server(const wire::CommandLine &line) override;

private:
    platform::ServerLink &link_;
    CoreContext &c_;
};

} // namespace tessaroc::core
